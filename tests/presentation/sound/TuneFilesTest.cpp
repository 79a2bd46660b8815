#include "support/TempFolder.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace brindle {
namespace {

QByteArray committed(const QString& name) {
    QFile file(QStringLiteral(BRINDLE_SOUND_DIR) + u'/' + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(TuneFilesTest, CommittedTunesAreTheGeneratorsOutput) {
    const test::TempFolder folder;
    QProcess generator;
    generator.start(QStringLiteral(BRINDLE_MAKE_TUNES), {folder.path()});
    ASSERT_TRUE(generator.waitForFinished(30000));
    ASSERT_EQ(generator.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();

    for (const QString& name : {QStringLiteral("Kouka.mid"), QStringLiteral("Kouka2.mid")}) {
        const QByteArray generated = folder.read(name);
        EXPECT_TRUE(generated.startsWith("MThd")) << name.toStdString();
        EXPECT_EQ(generated, committed(name)) << name.toStdString() << " differs from data/Sound";
    }
    EXPECT_NE(folder.read(QStringLiteral("Kouka.mid")), folder.read(QStringLiteral("Kouka2.mid")));
}

TEST(TuneFilesTest, GeneratorRefusesAnUnwritableFolder) {
    const test::TempFolder folder;
    QProcess generator;
    generator.start(QStringLiteral(BRINDLE_MAKE_TUNES), {folder.file(QStringLiteral("missing"))});
    ASSERT_TRUE(generator.waitForFinished(30000));
    EXPECT_NE(generator.exitCode(), 0);
}

} // namespace
} // namespace brindle
