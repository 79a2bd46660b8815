#include "ProgramCopy.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace brindle::test {

namespace {

const QString builtFolder = QStringLiteral(BRINDLE_BUILT_PROGRAM_FOLDER);
const QString mailData = QStringLiteral("★MailData");

bool copyTree(const QString& from, const QString& to) {
    QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(source, target)) {
            return false;
        }
    }
    return true;
}

} // namespace

ProgramCopy::ProgramCopy(Settings settings) {
    // A real copy, not a link: the program takes its folder from its resolved path.
    ready_ = QFile::copy(builtFolder + QStringLiteral("/brindle"),
                         programFolder_.file(QStringLiteral("brindle")));
    for (const QString& data : {QStringLiteral("Sound"), QStringLiteral("画像データ")}) {
        ready_ =
            ready_ && copyTree(builtFolder + QLatin1Char('/') + data, programFolder_.file(data));
    }
    if (settings == Settings::Account) {
        programFolder_.write(mailData + QStringLiteral("/iniIdPass.ini"),
                             "[EXEINI]\r\nNAME=user\r\nNAME2=secret\r\nNAME3=1\r\n");
        workingFolder_.write(
            QStringLiteral("lunaro.ini"),
            "SMTP=127.0.0.1\r\nPOP3=127.0.0.1\r\nMAIL=user@localhost\r\nAPOP=0\r\n");
    }
}

QByteArray ProgramCopy::mainSettings() const {
    return programFolder_.read(mailData + QStringLiteral("/ini.ini"));
}

bool ProgramCopy::start(const QProcessEnvironment& environment) {
    return process_.start(programFolder_.file(QStringLiteral("brindle")), {}, environment,
                          workingFolder_.path());
}

} // namespace brindle::test
