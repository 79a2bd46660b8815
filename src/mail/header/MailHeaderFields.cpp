#include "mail/header/MailHeaderFields.h"

#include "mail/header/HeaderText.h"

namespace brindle {

namespace {

// The longest text kept per field, as the status buffers of the check are 8 KiB.
constexpr qsizetype maxFieldLength = 4096;

void keepField(MailHeader& status, const QByteArray& name, const QByteArray& value) {
    const QByteArray key = name.trimmed().toLower();
    QString* field = key == "from"      ? &status.from
                     : key == "to"      ? &status.to
                     : key == "subject" ? &status.subject
                     : key == "date"    ? &status.date
                                        : nullptr;
    if (field != nullptr && field->isEmpty()) {
        *field =
            HeaderText::decode(QByteArrayView(value).first(std::min(value.size(), maxFieldLength)));
    }
}

} // namespace

MailHeader readMailHeaderFields(const QByteArray& message) {
    MailHeader status;
    QByteArray name;
    QByteArray value;
    qsizetype position = 0;
    while (position < message.size()) {
        qsizetype end = message.indexOf('\n', position);
        end = end < 0 ? message.size() : end;
        QByteArray line = message.mid(position, end - position);
        position = end + 1;
        line.chop(line.endsWith('\r') ? 1 : 0);
        if (!line.isEmpty() && (line.front() == ' ' || line.front() == '\t')) {
            if (value.size() < maxFieldLength) {
                value += ' ' + line.trimmed();
            }
            continue;
        }
        keepField(status, name, value);
        if (line.isEmpty()) {
            return status;
        }
        const qsizetype colon = line.indexOf(':');
        name = colon > 0 ? line.left(colon) : QByteArray();
        value = colon > 0 ? line.mid(colon + 1) : QByteArray();
    }
    keepField(status, name, value);
    return status;
}

} // namespace brindle
