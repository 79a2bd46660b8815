#include "mail/pop3/Pop3MailLib.h"

#include "mail/pop3/Pop3Session.h"

#include <limits>
#include <openssl/ssl.h>

namespace brindle {

Pop3MailLib::Pop3MailLib(const Pop3Options& options) : options_(options) {}

Pop3MailLib::~Pop3MailLib() = default;

int Pop3MailLib::MailLibInitializeWinSock() {
    return OPENSSL_init_ssl(0, nullptr) == 1 ? 0 : -1;
}

int Pop3MailLib::MailLibSetOption(int, int) {
    return 0;
}

int Pop3MailLib::MailLibPop3Connect(const QString& server) {
    const std::optional<Pop3ServerAddress> address = Pop3ServerAddress::parse(server);
    if (!address) {
        lastError_ = QStringLiteral("サーバー名「%1」が正しくありません").arg(server);
        return -1;
    }
    auto session = std::make_unique<Pop3Session>(*address, options_);
    if (!session->connect()) {
        lastError_ = session->errorText();
        return -1;
    }
    // Connecting waits in the event loop, where a nested check may have taken handles.
    while (sessions_.contains(nextHandle_)) {
        nextHandle_ = nextHandle_ == std::numeric_limits<int>::max() ? 0 : nextHandle_ + 1;
    }
    const int handle = nextHandle_;
    sessions_.emplace(handle, std::move(session));
    return handle;
}

int Pop3MailLib::MailLibPop3Authenticate(int handle, const QString& id, const QString& password,
                                         int apopFlag) {
    Pop3Session* found = session(handle);
    return found == nullptr ? -1
                            : keepError(*found, found->authenticate(id, password, apopFlag != 0));
}

int Pop3MailLib::MailLibPop3GetMailStatus(int handle, int number, MailStatus& status) {
    Pop3Session* found = session(handle);
    return found == nullptr ? -1 : keepError(*found, found->fetchStatus(number, status));
}

qint64 Pop3MailLib::MailLibPop3GetMailSize(int handle, int number) {
    Pop3Session* found = session(handle);
    return found == nullptr ? -1 : keepError(*found, found->fetchSize(number));
}

int Pop3MailLib::MailLibPop3GetMail(int handle, int number, MailStatus& status,
                                    QByteArray& message) {
    Pop3Session* found = session(handle);
    return found == nullptr ? -1 : keepError(*found, found->fetchMessage(number, status, message));
}

QString Pop3MailLib::MailLibGetMessage() {
    return lastError_;
}

int Pop3MailLib::MailLibPop3Close(int handle) {
    auto found = sessions_.find(handle);
    if (found == sessions_.end()) {
        return -1;
    }
    // Taken out first: saying QUIT waits in the event loop, where other calls may run.
    std::unique_ptr<Pop3Session> closing = std::move(found->second);
    sessions_.erase(found);
    closing->quit();
    return 0;
}

int Pop3MailLib::MailLibEndWinSock() {
    return 0;
}

Pop3Session* Pop3MailLib::session(int handle) {
    const auto found = sessions_.find(handle);
    if (found == sessions_.end()) {
        lastError_ = QStringLiteral("接続がありません");
        return nullptr;
    }
    return found->second.get();
}

template <typename Result> Result Pop3MailLib::keepError(Pop3Session& session, Result result) {
    if (result < 0) {
        lastError_ = session.errorText();
        if (!session.isOpen()) {
            return MailLib::SessionEnded;
        }
    }
    return result;
}

} // namespace brindle
