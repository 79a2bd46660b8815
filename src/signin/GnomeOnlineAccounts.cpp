#include "signin/GnomeOnlineAccounts.h"

#include "mail/net/LocalEventLoop.h"
#include "mail/net/MailServerAddress.h"
#include "signin/AuthorizationServerReplies.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QEventLoop>

namespace brindle {

namespace {

const QString Service = QStringLiteral("org.gnome.OnlineAccounts");
const QString Root = QStringLiteral("/org/gnome/OnlineAccounts");
const QString AccountInterface = QStringLiteral("org.gnome.OnlineAccounts.Account");
const QString MailInterface = QStringLiteral("org.gnome.OnlineAccounts.Mail");
const QString OAuth2Interface = QStringLiteral("org.gnome.OnlineAccounts.OAuth2Based");
const QString PasswordInterface = QStringLiteral("org.gnome.OnlineAccounts.PasswordBased");

using ManagedObjects = QMap<QDBusObjectPath, QMap<QString, QVariantMap>>;

QString text(const QVariantMap& properties, const char* name) {
    return properties.value(QLatin1String(name)).toString();
}

bool flag(const QVariantMap& properties, const char* name) {
    return properties.value(QLatin1String(name)).toBool();
}

// Texts too long to be what they claim, or holding line breaks, are refused.
bool isPlainText(const QString& given) {
    return !given.isEmpty() && given.size() <= GnomeOnlineAccounts::MaxTextLength &&
           std::none_of(given.begin(), given.end(), [](QChar c) { return c.unicode() < 0x20; });
}

} // namespace

GnomeOnlineAccounts::GnomeOnlineAccounts(QDBusConnection bus) : bus_(std::move(bus)) {
    qDBusRegisterMetaType<QMap<QString, QVariantMap>>();
    qDBusRegisterMetaType<ManagedObjects>();
}

QString GnomeOnlineAccounts::serverField(const QString& imapHost, bool useSsl) {
    const QString field = (useSsl ? QStringLiteral("imaps://") : QStringLiteral("imap://")) + imapHost;
    const std::optional<MailServerAddress> address = MailServerAddress::parse(field);
    const bool plainHost =
        isPlainText(imapHost) && !imapHost.contains(u'/') && !imapHost.contains(u' ');
    return plainHost && address && address->protocol == MailProtocol::Imap ? field : QString();
}

QDBusMessage GnomeOnlineAccounts::call(const QString& path, const QString& interface,
                                       const QString& method, const QVariantList& arguments) {
    QDBusMessage message = QDBusMessage::createMethodCall(Service, path, interface, method);
    message.setArguments(arguments);
    return call(message);
}

QDBusMessage GnomeOnlineAccounts::call(const QDBusMessage& message) {
    QDBusPendingCallWatcher watcher(bus_.asyncCall(message, AnswerLimitMs));
    QEventLoop loop;
    QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
    runEventLoopUntil(loop, [&watcher] { return watcher.isFinished(); });
    return watcher.reply();
}

QDBusMessage GnomeOnlineAccounts::accountsCall() const {
    return QDBusMessage::createMethodCall(Service, Root,
                                          QStringLiteral("org.freedesktop.DBus.ObjectManager"),
                                          QStringLiteral("GetManagedObjects"));
}

QList<GnomeOnlineAccounts::Account> GnomeOnlineAccounts::accountsIn(const QDBusMessage& reply) {
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1 ||
        !reply.arguments().front().canConvert<QDBusArgument>()) {
        return {};
    }
    const auto objects = qdbus_cast<ManagedObjects>(reply.arguments().front());
    QList<Account> found;
    for (auto object = objects.begin(); object != objects.end() && found.size() < MaxAccounts;
         ++object) {
        if (object.value().contains(AccountInterface)) {
            found.append(Account{object.key().path(), object.value()});
        }
    }
    return found;
}

std::optional<DesktopAccounts::MailAccount>
GnomeOnlineAccounts::mailAccountOf(const Interfaces& interfaces) {
    const QVariantMap account = interfaces.value(AccountInterface);
    const QVariantMap mail = interfaces.value(MailInterface);
    MailAccount found{text(account, "Id"), text(account, "PresentationIdentity"),
                      text(account, "ProviderName"),
                      serverField(text(mail, "ImapHost"), flag(mail, "ImapUseSsl")),
                      text(mail, "ImapUserName")};
    const bool usable = interfaces.contains(MailInterface) && flag(mail, "ImapSupported") &&
                        !flag(account, "MailDisabled") && !found.server.isEmpty() &&
                        isPlainText(found.id) && isPlainText(found.name) &&
                        isPlainText(found.provider) && isPlainText(found.userName);
    return usable ? std::optional(found) : std::nullopt;
}

void GnomeOnlineAccounts::listMailAccounts(
    QObject* receiver, std::function<void(const QList<MailAccount>&)> done) {
    if (!bus_.isConnected()) {
        done({});
        return;
    }
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(accountsCall(), AnswerLimitMs),
                                                receiver);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, receiver,
                     [watcher, done = std::move(done)] {
                         watcher->deleteLater();
                         QList<MailAccount> found;
                         for (const Account& account : accountsIn(watcher->reply())) {
                             if (const auto mail = mailAccountOf(account.interfaces)) {
                                 found.append(*mail);
                             }
                         }
                         done(found);
                     });
}

std::variant<DesktopAccounts::Secret, QString>
GnomeOnlineAccounts::loginSecret(const QString& accountId, const QString& server) {
    const QString fixIt = tr("デスクトップの設定の「オンラインアカウント」で確かめてください。");
    const QList<Account> all =
        bus_.isConnected() ? accountsIn(call(accountsCall())) : QList<Account>();
    const auto account = std::find_if(all.begin(), all.end(), [&](const Account& each) {
        return text(each.interfaces.value(AccountInterface), "Id") == accountId;
    });
    if (account == all.end()) {
        return tr("デスクトップのオンラインアカウントが見つかりません。"
                  "削除されたか、オンラインアカウントが動いていません。\n") +
               fixIt;
    }
    const QVariantMap properties = account->interfaces.value(AccountInterface);
    const QString name = text(properties, "PresentationIdentity");
    const std::optional<MailAccount> mail = mailAccountOf(account->interfaces);
    if (!mail) {
        return tr("デスクトップのオンラインアカウント「%1」ではメールが使えません。\n").arg(name) +
               fixIt;
    }
    if (mail->server != server) {
        return tr("デスクトップのオンラインアカウント「%1」のメールサーバーが変わりました。\n"
                  "ID,PASSの画面でアカウントを選び直してください。")
            .arg(name);
    }
    const QString needsAttention =
        tr("デスクトップのオンラインアカウント「%1」は手当てが必要です。"
           "サインインし直してください。\n")
            .arg(name) +
        fixIt;
    if (flag(properties, "AttentionNeeded")) {
        return needsAttention;
    }
    const QDBusMessage ensured =
        call(account->path, AccountInterface, QStringLiteral("EnsureCredentials"));
    if (ensured.type() != QDBusMessage::ReplyMessage) {
        return needsAttention + u'\n' + ensured.errorMessage().left(MaxTextLength);
    }
    const bool byToken = account->interfaces.contains(OAuth2Interface);
    const QDBusMessage secret =
        byToken ? call(account->path, OAuth2Interface, QStringLiteral("GetAccessToken"))
                : call(account->path, PasswordInterface, QStringLiteral("GetPassword"),
                       {QStringLiteral("imap-password")});
    const QString given = secret.arguments().value(0).toString();
    if (secret.type() != QDBusMessage::ReplyMessage || given.size() > MaxSecretLength ||
        (byToken ? !isBearerToken(given) : given.isEmpty())) {
        return tr("デスクトップのオンラインアカウント「%1」からパスワードを受け取れませんでした。\n")
                   .arg(name) +
               secret.errorMessage().left(MaxTextLength);
    }
    return Secret{given, byToken};
}

} // namespace brindle
