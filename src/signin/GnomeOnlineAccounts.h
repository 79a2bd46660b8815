#pragma once

#include "settings/core/DesktopAccounts.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>
#include <optional>

namespace brindle {

// The desktop's accounts as GNOME Online Accounts holds them, over D-Bus: its
// mail accounts that read mail over IMAP, and at each login their password or
// access token, asked afresh after the desktop has made sure of it.
class GnomeOnlineAccounts : public DesktopAccounts {
    Q_DECLARE_TR_FUNCTIONS(brindle::GnomeOnlineAccounts)

public:
    // Accounts beyond this many are not read.
    static constexpr int MaxAccounts = 64;
    // Longer texts make an account unusable rather than be cut.
    static constexpr qsizetype MaxTextLength = 1024;
    // Longer passwords and tokens are refused (some providers' tokens run to
    // a few KiB).
    static constexpr qsizetype MaxSecretLength = 16 * 1024;
    // The longest wait for one answer; making sure of an account may mean
    // asking its provider or its mail server.
    static constexpr int AnswerLimitMs = 30000;

    explicit GnomeOnlineAccounts(QDBusConnection bus);

    void listMailAccounts(QObject* receiver,
                          std::function<void(const QList<MailAccount>&)> done) override;
    std::variant<Secret, QString> loginSecret(const QString& accountId,
                                              const QString& server) override;

    // The server field of the desktop's IMAP settings: TLS from the first
    // byte, else STARTTLS (a password never goes out unencrypted); empty when
    // the host is not one.
    static QString serverField(const QString& imapHost, bool useSsl);

private:
    using Interfaces = QMap<QString, QVariantMap>;
    struct Account {
        QString path;
        Interfaces interfaces;
    };

    QDBusMessage accountsCall() const;
    // Every account object in the reply; none when the desktop has no online accounts.
    static QList<Account> accountsIn(const QDBusMessage& reply);
    // Sends the call and waits, letting events run, at most AnswerLimitMs.
    QDBusMessage call(const QString& path, const QString& interface, const QString& method,
                      const QVariantList& arguments = {});
    QDBusMessage call(const QDBusMessage& message);
    static std::optional<MailAccount> mailAccountOf(const Interfaces& interfaces);

    QDBusConnection bus_;
};

} // namespace brindle
