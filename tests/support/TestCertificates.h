#pragma once

#include <QString>
#include <QStringList>

namespace brindle::test {

// A certificate authority made at test time with the openssl command, and
// server certificates it signs. Clients trust it through SSL_CERT_FILE.
class TestCertificates {
public:
    // Creates the authority's key and certificate inside folder.
    explicit TestCertificates(const QString& folder);

    bool isValid() const { return valid_; }
    QString authorityFile() const;
    // Issues a certificate whose subject alternative names are names, e.g.
    // {"DNS:localhost", "IP:127.0.0.1"}; writes <base>.pem and <base>.key.
    bool issue(const QString& base, const QStringList& names);
    QString certificateFile(const QString& base) const;
    QString keyFile(const QString& base) const;

private:
    bool openssl(const QStringList& arguments);

    QString folder_;
    bool valid_ = false;
};

} // namespace brindle::test
