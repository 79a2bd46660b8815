#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <variant>

namespace brindle {

// The mail accounts the desktop already holds (its online accounts). Their
// secrets are asked for afresh at each login and never kept.
class DesktopAccounts {
public:
    struct MailAccount {
        QString id;       // the desktop's own name for the account
        QString name;     // as the desktop shows it, e.g. the address
        QString provider; // e.g. "Google", "IMAP and SMTP"
        QString server;   // a server field: "imaps://host[:port]" or "imap://host[:port]"
        QString userName;
    };
    // A password, or an OAuth 2.0 access token.
    struct Secret {
        QString text;
        bool isAccessToken = false;
    };

    virtual ~DesktopAccounts() = default;
    // Hands the desktop's mail accounts to done once the desktop answers
    // (unless receiver has gone by then): none when it holds no mail account
    // or has no online accounts. Never waits: asking may first start them.
    virtual void listMailAccounts(QObject* receiver,
                                  std::function<void(const QList<MailAccount>&)> done) = 0;
    // The secret for one login to server, or why there is none, in words for
    // the user. Refused when the account now names another server.
    virtual std::variant<Secret, QString> loginSecret(const QString& accountId,
                                                      const QString& server) = 0;
};

} // namespace brindle
