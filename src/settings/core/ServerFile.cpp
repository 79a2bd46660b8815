#include "settings/core/ServerFile.h"

#include "settings/core/Cp932.h"
#include "settings/core/StoredFile.h"
#include "settings/core/ValueOfText.h"

#include <QStringTokenizer>
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

void apply(QStringView line, SharedSettings& settings) {
    const QStringView key = line.left(KeyLength);
    const QString value = line.mid(KeyLength).left(ServerFile::MaxValueLength).toString();
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
    // Decoded as a whole: CR and LF never belong to a double-byte character, so
    // the lines come out as they would one by one, for one converter in all.
    const QString text = Cp932::decode(*file);
    for (QStringView line : QStringTokenizer(text, u'\n')) {
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        apply(line, settings);
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
