#include "settings/core/MailboxList.h"

#include "settings/core/AccountSignIn.h"
#include "settings/core/SettingKeys.h"

#include <algorithm>

namespace brindle {

namespace {

QString numbered(const SettingKeys::Key& key, int number) {
    return QString::fromUtf8(key.name) + QString::number(number);
}

Mailbox::SignIn signInOf(const QString& stored) {
    if (stored == AccountSignIn::OAuth2) {
        return Mailbox::SignIn::Browser;
    }
    return stored == AccountSignIn::DesktopAccount ? Mailbox::SignIn::DesktopAccount
                                                   : Mailbox::SignIn::Password;
}

QString storedSignIn(Mailbox::SignIn signIn) {
    switch (signIn) {
    case Mailbox::SignIn::Browser:
        return AccountSignIn::OAuth2;
    case Mailbox::SignIn::DesktopAccount:
        return AccountSignIn::DesktopAccount;
    case Mailbox::SignIn::Password:
        break;
    }
    return {};
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
                        read(SettingKeys::MailboxId), signInOf(read(SettingKeys::MailboxSignIn)),
                        read(SettingKeys::MailboxDesktopAccount)};
        if (mailbox.signIn != Mailbox::SignIn::DesktopAccount) {
            mailbox.desktopAccount.clear();
        }
        const bool named =
            mailbox.signIn != Mailbox::SignIn::DesktopAccount || !mailbox.desktopAccount.isEmpty();
        if (!mailbox.server.isEmpty() && !mailbox.id.isEmpty() && named) {
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
        values.append(
            {{numbered(SettingKeys::MailboxName, number), mailbox.name},
             {numbered(SettingKeys::MailboxServer, number), mailbox.server},
             {numbered(SettingKeys::MailboxId, number), mailbox.id},
             {numbered(SettingKeys::MailboxSignIn, number), storedSignIn(mailbox.signIn)},
             {numbered(SettingKeys::MailboxDesktopAccount, number), mailbox.desktopAccount}});
    }
    const bool whole = std::all_of(values.begin(), values.end(), [](const auto& keyAndValue) {
        return ProfileFile::holdsWhole(keyAndValue.second);
    });
    return whole && file_.writeStrings(QString::fromUtf8(SettingKeys::Section), values);
}

} // namespace brindle
