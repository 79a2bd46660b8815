#include "support/MainFormFixture.h"

#include "settings/core/Cp932.h"

#include <QDir>
#include <QFile>

namespace brindle::test {

namespace {

void writeShiftJis(const QString& path, const QByteArray& utf8Lines) {
    QString text = QString::fromUtf8(utf8Lines);
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    const auto bytes = Cp932::encode(text);
    ASSERT_TRUE(bytes.has_value());
    file.write(*bytes);
}

} // namespace

MainFormFixture::MainFormFixture() : previousDirectory_(QDir::currentPath()) {
    programFolder.makeFolder(QStringLiteral("★MailData"));
    QDir::setCurrent(workingFolder.path());
}

MainFormFixture::~MainFormFixture() {
    form.reset();
    QDir::setCurrent(previousDirectory_);
}

MainForm& MainFormFixture::start() {
    Platform platform = makeFakePlatform(programFolder.path(), fakes);
    platform.settings = settings;
    form = std::make_unique<MainForm>(std::move(platform));
    return *form;
}

void MainFormFixture::closeMainWindow() {
    form->close();
}

void MainFormFixture::writeMainIni(const QByteArray& utf8Lines) {
    writeShiftJis(mainIni(), utf8Lines);
}

void MainFormFixture::writeAccountIni(const QByteArray& utf8Lines) {
    writeShiftJis(accountIni(), utf8Lines);
}

void MainFormFixture::writeServerFile(const QByteArray& utf8Lines) {
    writeShiftJis(serverFile(), utf8Lines);
}

QString MainFormFixture::readStored(const QString& path) const {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return Cp932::decode(file.readAll());
}

} // namespace brindle::test
