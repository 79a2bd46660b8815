#include "settings/core/ServerFile.h"

#include "settings/core/Cp932.h"
#include "settings/core/StoredFile.h"
#include "settings/core/ValueOfText.h"

#include <QByteArrayList>
#include <QtGlobal>
#include <algorithm>
#include <optional>
#include <utility>

namespace brindle {

namespace {

constexpr QLatin1StringView SmtpKey("SMTP=");
constexpr QLatin1StringView Pop3Key("POP3=");
constexpr QLatin1StringView MailKey("MAIL=");
constexpr QLatin1StringView ApopKey("APOP=");
constexpr qsizetype KeyLength = 5;

void apply(const QString& line, SharedSettings& settings) {
    const QStringView key = QStringView(line).left(KeyLength);
    const QString value = line.mid(KeyLength, ServerFile::MaxValueLength);
    if (key == SmtpKey) {
        settings.SmtpServer = value;
    } else if (key == Pop3Key) {
        settings.Pop3Server = value;
    } else if (key == MailKey) {
        settings.MailAddress = value;
    } else if (key == ApopKey) {
        // An out-of-range hand-edited value is held as the nearest 16-bit number,
        // so it still asks for APOP exactly when it is not 0.
        settings.ApopFlag = RoundHalfEven16(ValueOfText(value));
    }
}

QString firstLine(const QString& value) {
    const auto lineBreak = std::find_if(value.cbegin(), value.cend(),
                                        [](QChar c) { return c == u'\r' || c == u'\n'; });
    return value.first(lineBreak - value.cbegin());
}

} // namespace

void ServerFile::read(const QString& path, SharedSettings& settings) {
    const std::optional<QByteArray> file = StoredFile::read(path);
    if (!file) {
        return;
    }
    for (QByteArrayView line : file->split('\n')) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        apply(Cp932::decode(line), settings);
    }
}

bool ServerFile::write(const QString& path, const SharedSettings& settings) {
    const std::pair<QLatin1StringView, QString> lines[] = {
        {SmtpKey, firstLine(settings.SmtpServer)},
        {Pop3Key, firstLine(settings.Pop3Server)},
        {MailKey, firstLine(settings.MailAddress)},
        {ApopKey, QString::number(settings.ApopFlag)},
    };
    QString text;
    for (const auto& [key, value] : lines) {
        text += key + value + QLatin1StringView("\r\n");
    }
    const std::optional<QByteArray> bytes = Cp932::encode(text);
    if (!bytes) {
        qWarning("Not written to %s: a server setting holds a character Shift-JIS cannot hold",
                 qUtf8Printable(path));
        return false;
    }
    return StoredFile::replace(path, *bytes, StoredFile::Access::Default);
}

} // namespace brindle
