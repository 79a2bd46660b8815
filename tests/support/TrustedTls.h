#pragma once

#include "support/TempFolder.h"
#include "support/TestCertificates.h"

#include <QByteArray>

namespace brindle::test {

// A server certificate for 127.0.0.1 from a test authority that this
// process's clients trust (through SSL_CERT_FILE) while the object lives.
class TrustedTls {
public:
    TrustedTls();
    ~TrustedTls();
    TrustedTls(const TrustedTls&) = delete;
    TrustedTls& operator=(const TrustedTls&) = delete;

    bool isValid() const { return valid_; }
    QString certificateFile() const {
        return certificates_.certificateFile(QStringLiteral("server"));
    }
    QString keyFile() const { return certificates_.keyFile(QStringLiteral("server")); }

private:
    TempFolder folder_;
    TestCertificates certificates_{folder_.path()};
    QByteArray previousTrust_;
    bool valid_ = false;
};

} // namespace brindle::test
