#include "support/MainWindowFixture.h"

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

MainWindowFixture::MainWindowFixture() : previousDirectory_(QDir::currentPath()) {
    programFolder.makeFolder(QStringLiteral("★MailData"));
    QDir::setCurrent(workingFolder.path());
}

MainWindowFixture::~MainWindowFixture() {
    mainWindow.reset();
    QDir::setCurrent(previousDirectory_);
}

MainWindow& MainWindowFixture::start() {
    Platform platform = makeFakePlatform(programFolder.path(), fakes);
    platform.settings = settings;
    mainWindow = std::make_unique<MainWindow>(std::move(platform));
    return *mainWindow;
}

void MainWindowFixture::closeMainWindow() {
    mainWindow->close();
}

void MainWindowFixture::writeMainIni(const QByteArray& utf8Lines) {
    writeShiftJis(mainIni(), utf8Lines);
}

void MainWindowFixture::writeAccountIni(const QByteArray& utf8Lines) {
    writeShiftJis(accountIni(), utf8Lines);
}

void MainWindowFixture::writeServerFile(const QByteArray& utf8Lines) {
    writeShiftJis(serverFile(), utf8Lines);
}

QString MainWindowFixture::readStored(const QString& path) const {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return Cp932::decode(file.readAll());
}

} // namespace brindle::test
