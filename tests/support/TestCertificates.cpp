#include "support/TestCertificates.h"

#include <QFile>
#include <QProcess>

namespace brindle::test {

namespace {

const QStringList ellipticKey{"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                              "-nodes"};

} // namespace

TestCertificates::TestCertificates(const QString& folder) : folder_(folder) {
    valid_ = openssl(QStringList{"req", "-x509"} + ellipticKey +
                     QStringList{"-keyout", folder_ + "/authority.key", "-out", authorityFile(),
                                 "-days", "2", "-subj", "/CN=Brindle Test Authority", "-addext",
                                 "basicConstraints=critical,CA:TRUE", "-addext",
                                 "keyUsage=critical,keyCertSign,cRLSign"});
}

QString TestCertificates::authorityFile() const {
    return folder_ + "/authority.pem";
}

bool TestCertificates::issue(const QString& base, const QStringList& names) {
    const QString request = folder_ + '/' + base + ".csr";
    const QString extensions = folder_ + '/' + base + ".ext";
    QFile extensionFile(extensions);
    if (!valid_ || !extensionFile.open(QIODevice::WriteOnly)) {
        return false;
    }
    extensionFile.write("subjectAltName=" + names.join(',').toUtf8() +
                        "\nextendedKeyUsage=serverAuth\n");
    extensionFile.close();
    return openssl(QStringList{"req"} + ellipticKey +
                   QStringList{"-keyout", keyFile(base), "-out", request, "-subj",
                               "/CN=Brindle Test Server"}) &&
           openssl({"x509", "-req", "-in", request, "-CA", authorityFile(), "-CAkey",
                    folder_ + "/authority.key", "-CAcreateserial", "-out", certificateFile(base),
                    "-days", "2", "-extfile", extensions});
}

QString TestCertificates::certificateFile(const QString& base) const {
    return folder_ + '/' + base + ".pem";
}

QString TestCertificates::keyFile(const QString& base) const {
    return folder_ + '/' + base + ".key";
}

bool TestCertificates::openssl(const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start("openssl", arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        qWarning("openssl %s failed: %s", qPrintable(arguments.join(' ')),
                 process.readAll().constData());
        return false;
    }
    return true;
}

} // namespace brindle::test
