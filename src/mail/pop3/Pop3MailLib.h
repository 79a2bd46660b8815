#pragma once

#include "mail/MailLib.h"
#include "mail/pop3/Pop3Options.h"

#include <map>
#include <memory>

namespace brindle {

class Pop3Session;

// The mail library boundary served by our own POP3 client. Sessions are kept
// by handle; the last failure's text is kept for MailLibGetMessage.
// MailLibSetOption accepts and ignores every option: buffer sizes are fixed.
class Pop3MailLib : public MailLib {
public:
    explicit Pop3MailLib(const Pop3Options& options = {});
    ~Pop3MailLib() override;

    int MailLibInitializeWinSock() override;
    int MailLibSetOption(int option, int value) override;
    int MailLibPop3Connect(const QString& server) override;
    int MailLibPop3Authenticate(int handle, const QString& id, const QString& password,
                                int apopFlag) override;
    int MailLibPop3GetMailStatus(int handle, int number, MailStatus& status) override;
    qint64 MailLibPop3GetMailSize(int handle, int number) override;
    int MailLibPop3GetMail(int handle, int number, MailStatus& status,
                           QByteArray& message) override;
    QString MailLibGetMessage() override;
    int MailLibPop3Close(int handle) override;
    int MailLibEndWinSock() override;

private:
    Pop3Session* session(int handle);
    // Keeps the session's error text when result is negative; returns result, or
    // SessionEnded when the failure ended the session.
    template <typename Result> Result keepError(Pop3Session& session, Result result);

    Pop3Options options_;
    std::map<int, std::unique_ptr<Pop3Session>> sessions_;
    int nextHandle_ = 0;
    QString lastError_;
};

} // namespace brindle
