#pragma once

#include <QTcpServer>
#include <QTcpSocket>
#include <QUrlQuery>
#include <functional>
#include <optional>

namespace brindle {

// Where the browser brings the authorization server's answer back (RFC 8252
// section 7.3): a listener on 127.0.0.1 that hands the query of each request
// to the sign-in and shows the browser the page the sign-in chooses. It
// listens until it is destroyed; every request is bounded in size and time.
class LoopbackRedirectListener : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 MaxRequestBytes = 8 * 1024;
    static constexpr int RequestLimitMs = 10'000;
    static constexpr int MaxConnections = 16;

    // The page for one answer, in words for the user.
    using PageFor = std::function<QString(const QUrlQuery& answer)>;

    explicit LoopbackRedirectListener(PageFor pageFor);
    bool listen();
    // "http://127.0.0.1:<port>/".
    QString redirectUri() const;

private:
    void take(QTcpSocket* browser);
    void answer(QTcpSocket* browser, const QByteArray& head);

    PageFor pageFor_;
    QTcpServer server_;
};

} // namespace brindle
