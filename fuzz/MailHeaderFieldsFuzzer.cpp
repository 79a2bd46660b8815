// Reads the header fields of any bytes: no field longer than its limit, and
// nothing after the first empty line changes what is read.
#include "mail/pop3/MailHeaderFields.h"

#include <cstdlib>

using brindle::MailStatus;

namespace {

constexpr qsizetype maxFieldLength = 4096;

bool operator==(const MailStatus& a, const MailStatus& b) {
    return a.from == b.from && a.to == b.to && a.subject == b.subject && a.date == b.date;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray message(reinterpret_cast<const char*>(data), qsizetype(size));
    const MailStatus status = brindle::readMailHeaderFields(message);
    for (const QString* field : {&status.from, &status.to, &status.subject, &status.date}) {
        if (field->size() > maxFieldLength) {
            std::abort();
        }
    }
    const MailStatus withBody =
        brindle::readMailHeaderFields(message + "\n\nSubject: in the body\n\tFrom: x\n");
    if (!(withBody == status)) {
        std::abort();
    }
    return 0;
}
