#include "support/FileFacts.h"
#include "support/TempFolder.h"
#include "support/ToolRun.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>
#include <memory>

namespace brindle::test {
namespace {

using namespace Qt::StringLiterals;

const QString buildFolder = QStringLiteral(BRINDLE_BUILD_FOLDER);
const QString builtProgramFolder = QStringLiteral(BRINDLE_BUILT_PROGRAM_FOLDER);
const QString desktopEntry = u"share/applications/example.quillworks.brindle.desktop"_s;
const QString metainfo = u"share/metainfo/example.quillworks.brindle.metainfo.xml"_s;

// `cmake --install` of this build under a fresh prefix, once for all cases.
class InstallTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        prefix = std::make_unique<TempFolder>();
        install =
            ToolRun::of(u"cmake"_s, {u"--install"_s, buildFolder, u"--prefix"_s, prefix->path()});
    }
    static void TearDownTestSuite() { prefix.reset(); }
    void SetUp() override { ASSERT_TRUE(install.succeeded()) << install.output.toStdString(); }

    static QString installed(const QString& relative) { return prefix->file(relative); }

    static inline std::unique_ptr<TempFolder> prefix;
    static inline ToolRun install;
};

TEST_F(InstallTest, TheProgramAndItsDataFilesLieTogetherBehindALauncher) {
    const QFileInfo launcher(installed(u"bin/brindle"_s));
    EXPECT_TRUE(launcher.isSymLink());
    EXPECT_TRUE(launcher.isExecutable());
    EXPECT_EQ(launcher.canonicalFilePath(),
              QFileInfo(installed(u"lib/brindle/brindle"_s)).canonicalFilePath());
    EXPECT_TRUE(QFileInfo(installed(u"lib/brindle/brindle-scene"_s)).isExecutable());

    // Every data file the build puts beside the program, the tunes, pages and lamps among them.
    QStringList compared;
    for (const QString& data : {u"Sound"_s, u"画像データ"_s}) {
        QDirIterator built(builtProgramFolder + u'/' + data, QDir::Files);
        while (built.hasNext()) {
            const QString file = built.next();
            const QString relative = data + u'/' + built.fileName();
            EXPECT_EQ(fileBytes(installed(u"lib/brindle/"_s + relative)), fileBytes(file))
                << relative.toStdString();
            compared << relative;
        }
    }
    for (const QString& used :
         {u"Sound/Kouka.mid"_s, u"Sound/Kouka2.mid"_s, u"画像データ/Fish.htm"_s,
          u"画像データ/Kakasi.htm"_s, u"画像データ/Green.gif"_s, u"画像データ/Red.gif"_s}) {
        EXPECT_TRUE(compared.contains(used)) << used.toStdString();
    }
    // Settings never come from the install.
    EXPECT_FALSE(QFileInfo::exists(installed(u"lib/brindle/★MailData"_s)));
}

TEST_F(InstallTest, TheMenuEntryNamesTheProgramInBothLanguagesWithItsIcons) {
    const QString entry = QString::fromUtf8(fileBytes(installed(desktopEntry)));
    for (const QString& line : {u"Name=Brindle"_s, u"Name[ja]=ブリンドル"_s, u"Exec=brindle"_s,
                                u"Icon=brindle"_s, u"Categories=Network;Email;"_s}) {
        EXPECT_TRUE(entry.split(u'\n').contains(line)) << line.toStdString();
    }
    EXPECT_EQ(QImage(installed(u"share/icons/hicolor/48x48/apps/brindle.png"_s)).size(),
              QSize(48, 48));
    EXPECT_TRUE(
        fileBytes(installed(u"share/icons/hicolor/scalable/apps/brindle.svg"_s)).contains("<svg"));
}

TEST_F(InstallTest, TheEntryAndTheMetadataPassTheDesktopsValidators) {
    const ToolRun entry = ToolRun::of(u"desktop-file-validate"_s, {installed(desktopEntry)});
    EXPECT_TRUE(entry.succeeded()) << entry.output.toStdString();
    EXPECT_TRUE(entry.output.trimmed().isEmpty()) << entry.output.toStdString();

    const ToolRun metadata =
        ToolRun::of(u"appstreamcli"_s, {u"validate"_s, u"--no-net"_s, installed(metainfo)});
    EXPECT_TRUE(metadata.succeeded()) << metadata.output.toStdString();
    const QString text = QString::fromUtf8(fileBytes(installed(metainfo)));
    EXPECT_TRUE(text.contains(u"<launchable type=\"desktop-id\">"_s +
                              QFileInfo(desktopEntry).fileName() + u"</launchable>"_s));
    EXPECT_TRUE(text.contains(u"<screenshot type=\"default\">"_s));
}

} // namespace
} // namespace brindle::test
