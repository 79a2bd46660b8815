#include "settings/core/MailboxList.h"

#include "settings/core/AccountSignIn.h"
#include "settings/core/SettingKeys.h"

#include <algorithm>

namespace brindle {

namespace {

QString numbered(const SettingKeys::Key& key, int number) {
    return QString::fromUtf8(key.name) + QString::number(number);
}

} // namespace

QList<Mailbox> MailboxList::read() const {
    const QString section = QString::fromUtf8(SettingKeys::Section);
    const int count =
        std::clamp(file_.readInt(section, SettingKeys::MailboxCount.name), 0, MaxMore);
    QList<Mailbox> mailboxes;
    for (int number = 1; number <= count; ++number) {
        const auto read = [&](const SettingKeys::Key& key) {
            return file_.readString(section, numbered(key, number),
                                    QString::fromUtf8(key.defaultText));
        };
        Mailbox mailbox{read(SettingKeys::MailboxName), read(SettingKeys::MailboxServer),
                        read(SettingKeys::MailboxId),
                        read(SettingKeys::MailboxSignIn) == AccountSignIn::OAuth2
                            ? Mailbox::SignIn::Browser
                            : Mailbox::SignIn::Password};
        if (!mailbox.server.isEmpty() && !mailbox.id.isEmpty()) {
            mailboxes.append(mailbox);
        }
    }
    return mailboxes;
}

// The entries past the new count are emptied, so a shorter list leaves no
// account of a removed mailbox behind.
bool MailboxList::write(const QList<Mailbox>& mailboxes) const {
    if (mailboxes.size() > MaxMore) {
        return false;
    }
    QList<std::pair<QString, QString>> values{
        {SettingKeys::MailboxCount.name, QString::number(mailboxes.size())}};
    for (int number = 1; number <= MaxMore; ++number) {
        const Mailbox mailbox = number <= mailboxes.size() ? mailboxes[number - 1] : Mailbox{};
        const bool browser = mailbox.signIn == Mailbox::SignIn::Browser;
        values.append({{numbered(SettingKeys::MailboxName, number), mailbox.name},
                       {numbered(SettingKeys::MailboxServer, number), mailbox.server},
                       {numbered(SettingKeys::MailboxId, number), mailbox.id},
                       {numbered(SettingKeys::MailboxSignIn, number),
                        browser ? AccountSignIn::OAuth2 : QString()}});
    }
    const bool whole = std::all_of(values.begin(), values.end(), [](const auto& keyAndValue) {
        return ProfileFile::holdsWhole(keyAndValue.second);
    });
    return whole && file_.writeStrings(QString::fromUtf8(SettingKeys::Section), values);
}

} // namespace brindle
