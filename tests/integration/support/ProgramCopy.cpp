#include "ProgramCopy.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace brindle::test {

using namespace Qt::StringLiterals;

namespace {

const QString builtFolder = QStringLiteral(BRINDLE_BUILT_PROGRAM_FOLDER);
const QString mailData = u"★MailData"_s;

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
    ready_ = true;
    for (const QString& program : {u"brindle"_s, u"brindle-scene"_s}) {
        ready_ = ready_ && QFile::copy(builtFolder + u'/' + program, programFolder_.file(program));
    }
    for (const QString& data : {u"Sound"_s, u"画像データ"_s}) {
        ready_ =
            ready_ && copyTree(builtFolder + QLatin1Char('/') + data, programFolder_.file(data));
    }
    if (settings == Settings::Account) {
        setAccount("user", "secret");
        setPop3Server("127.0.0.1");
    }
}

void ProgramCopy::setMainSettings(const QByteArray& contents) {
    programFolder_.write(mailData + u"/ini.ini"_s, contents);
}

void ProgramCopy::setAccount(const QByteArray& id, const QByteArray& password) {
    programFolder_.write(mailData + u"/iniIdPass.ini"_s,
                         "[EXEINI]\r\nNAME=" + id + "\r\nNAME2=" + password + "\r\nNAME3=1\r\n");
}

void ProgramCopy::setPop3Server(const QByteArray& server) {
    workingFolder_.write(u"lunaro.ini"_s, "SMTP=127.0.0.1\r\nPOP3=" + server +
                                              "\r\nMAIL=user@localhost\r\nAPOP=0\r\n");
}

QByteArray ProgramCopy::mainSettings() const {
    return programFolder_.read(mailData + u"/ini.ini"_s);
}

bool ProgramCopy::start(const QProcessEnvironment& environment) {
    return process_.start(programFolder_.file(u"brindle"_s), {}, environment,
                          workingFolder_.path());
}

} // namespace brindle::test
