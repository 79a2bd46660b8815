#include "support/TrustedTls.h"

#include <QFile>

namespace brindle::test {

TrustedTls::TrustedTls()
    : previousTrust_(qgetenv("SSL_CERT_FILE")),
      valid_(certificates_.issue(QStringLiteral("server"), {QStringLiteral("IP:127.0.0.1")})) {
    qputenv("SSL_CERT_FILE", QFile::encodeName(certificates_.authorityFile()));
}

TrustedTls::~TrustedTls() {
    if (previousTrust_.isNull()) {
        qunsetenv("SSL_CERT_FILE");
    } else {
        qputenv("SSL_CERT_FILE", previousTrust_);
    }
}

} // namespace brindle::test
