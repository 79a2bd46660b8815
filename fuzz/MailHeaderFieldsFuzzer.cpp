// Reads the header fields of any bytes: no field longer than its limit, and
// nothing after the first empty line changes what is read.
#include "mail/header/MailHeaderFields.h"

#include <cstdlib>

using brindle::MailHeader;

namespace {

constexpr qsizetype maxFieldLength = 4096;

bool operator==(const MailHeader& a, const MailHeader& b) {
    return a.from == b.from && a.to == b.to && a.subject == b.subject && a.date == b.date;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray message(reinterpret_cast<const char*>(data), qsizetype(size));
    const MailHeader header = brindle::readMailHeaderFields(message);
    for (const QString* field : {&header.from, &header.to, &header.subject, &header.date}) {
        if (field->size() > maxFieldLength) {
            std::abort();
        }
    }
    const MailHeader withBody =
        brindle::readMailHeaderFields(message + "\n\nSubject: in the body\n\tFrom: x\n");
    if (!(withBody == header)) {
        std::abort();
    }
    return 0;
}
