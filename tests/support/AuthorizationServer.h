#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QUrlQuery>

namespace brindle::test {

// The test authorization server (authorization_server.py) for one test, on a
// free loopback port: discovery, an authorize endpoint that consents at once,
// tokens (authorization code with PKCE S256, refresh), introspection and
// dynamic registration. The test sets token lifetimes, revokes refresh tokens
// and counts requests through it.
class AuthorizationServer {
public:
    // The account every token it issues belongs to.
    static constexpr const char* user = "alice";
    // A client it knows without registration (public: no secret).
    static constexpr const char* clientId = "brindle-test";

    AuthorizationServer();
    ~AuthorizationServer();
    AuthorizationServer(const AuthorizationServer&) = delete;
    AuthorizationServer& operator=(const AuthorizationServer&) = delete;

    // Starts it and waits for its port; false when it does not come up.
    bool start();
    quint16 port() const { return port_; }
    // "http://127.0.0.1:<port><path>".
    QString url(const QString& path) const;
    QString discoveryUrl() const {
        return url(QStringLiteral("/.well-known/openid-configuration"));
    }

    // A token answer (access_token, refresh_token, expires_in) as the token
    // endpoint gives it, issued without a browser.
    QJsonObject issueTokens();
    // Access tokens issued from now on live this long.
    void setLifetime(int seconds);
    // Each refresh from now on gives a new refresh token and ends the old one.
    void rotate(bool on);
    // Refuses the refresh token from now on; every one when it is empty.
    void revoke(const QString& refreshToken = {});
    // How many requests each endpoint had: "token", "refresh", "introspect",
    // "register", "authorize", "discovery", "revocation".
    int count(const QString& endpoint);
    // Sends a request (POST with a form when one is given, else GET) and
    // gives the JSON answer, or an empty object.
    QJsonObject call(const QString& path, const QUrlQuery& form = {});

private:
    QProcess process_;
    quint16 port_ = 0;
};

} // namespace brindle::test
