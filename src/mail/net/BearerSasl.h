#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QSet>
#include <QString>
#include <optional>

namespace brindle {

// The SASL messages that log in with an OAuth 2.0 access token, for POP3 and
// IMAP alike: OAUTHBEARER (RFC 7628) or XOAUTH2, whichever the server offers
// (OAUTHBEARER first). Messages are given unencoded; the protocols send
// them in base64.
class BearerSasl {
    Q_DECLARE_TR_FUNCTIONS(brindle::BearerSasl)

public:
    enum class Mechanism { OAuthBearer, XOAuth2 };

    // What a server said when it refused a token: its error challenge.
    struct Refusal {
        QString status;              // "invalid_token", "401", ...; may be empty
        QString openidConfiguration; // where to discover its authorization server
    };

    // Longest error challenge read, base64 included.
    static constexpr qsizetype maxChallengeLength = 8 * 1024;
    // Longest status taken from a challenge.
    static constexpr qsizetype maxStatusLength = 64;
    // Longest discovery URL taken from a challenge.
    static constexpr qsizetype maxUrlLength = 2048;

    // From the mechanism names a server lists (any case); nullopt when it
    // offers neither.
    static std::optional<Mechanism> choose(const QSet<QByteArray>& offered);
    // Why no token can go to this server, in words for the user; empty when
    // one can. A token opens the mailbox until it expires, so it never goes
    // out unencrypted, not even where the user asked for a plain connection.
    static QString whyNotSent(const QSet<QByteArray>& offered, bool encrypted);
    static QByteArray name(Mechanism mechanism);
    // The client's first message. OAUTHBEARER: GS2 header with the ID as
    // authorization identity, then host, port and the token; XOAUTH2:
    // "user=<id>^Aauth=Bearer <token>^A^A".
    static QByteArray initialResponse(Mechanism mechanism, const QByteArray& id,
                                      const QByteArray& token, const QString& host, quint16 port);
    // The answer to an error challenge, which the server then refuses for
    // good: a lone ^A for OAUTHBEARER, nothing for XOAUTH2.
    static QByteArray refusalAnswer(Mechanism mechanism);
    // Reads an error challenge as sent (base64 of a JSON object); fields
    // that are missing, malformed or too long stay empty.
    static Refusal readRefusal(QByteArrayView challenge);
};

} // namespace brindle
