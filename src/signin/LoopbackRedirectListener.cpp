#include "signin/LoopbackRedirectListener.h"

#include "signin/AuthorizationServerReplies.h"

#include <QCoreApplication>
#include <QTcpSocket>
#include <QTimer>

namespace brindle {

namespace {

QByteArray httpAnswer(const char* status, const QString& text) {
    const QByteArray page =
        QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Brindle</title>"
                       "</head><body><p>%1</p></body></html>")
            .arg(text.toHtmlEscaped())
            .toUtf8();
    return QByteArray("HTTP/1.1 ") + status +
           "\r\nContent-Type: text/html; charset=utf-8\r\nCache-Control: no-store\r\n"
           "Connection: close\r\nContent-Length: " +
           QByteArray::number(page.size()) + "\r\n\r\n" + page;
}

} // namespace

LoopbackRedirectListener::LoopbackRedirectListener(PageFor pageFor) : pageFor_(std::move(pageFor)) {
    server_.setMaxPendingConnections(MaxConnections);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* browser = server_.nextPendingConnection()) {
            take(browser);
        }
    });
}

bool LoopbackRedirectListener::listen() {
    return server_.listen(QHostAddress::LocalHost, 0);
}

QString LoopbackRedirectListener::redirectUri() const {
    return QStringLiteral("http://127.0.0.1:%1/").arg(server_.serverPort());
}

// Reads the request head (the browser would take closing on unread bytes for
// a failure), answers once and closes.
void LoopbackRedirectListener::take(QTcpSocket* browser) {
    if (findChildren<QTcpSocket*>(Qt::FindDirectChildrenOnly).size() >= MaxConnections) {
        browser->abort();
        browser->deleteLater();
        return;
    }
    browser->setParent(this);
    connect(browser, &QTcpSocket::disconnected, browser, &QObject::deleteLater);
    QTimer::singleShot(RequestLimitMs, browser, [browser] {
        browser->abort();
        browser->deleteLater();
    });
    connect(browser, &QTcpSocket::readyRead, browser,
            [this, browser, head = QByteArray()]() mutable {
                head += browser->read(MaxRequestBytes + 1 - head.size());
                if (head.contains("\r\n\r\n") || head.size() > MaxRequestBytes) {
                    disconnect(browser, &QTcpSocket::readyRead, nullptr, nullptr);
                    answer(browser, head);
                }
            });
}

void LoopbackRedirectListener::answer(QTcpSocket* browser, const QByteArray& head) {
    const auto query = redirectQuery(head);
    browser->write(query ? httpAnswer("200 OK", pageFor_(*query))
                         : httpAnswer("404 Not Found", QStringLiteral("Not found")));
    // Into the system's hands at once: the sign-in may end, and this listener
    // with it, before the event loop would have written it.
    browser->flush();
    browser->disconnectFromHost();
}

} // namespace brindle
