#include "mail/imap/ImapSession.h"
#include "mail/net/SessionTexts.h"

#include <QLoggingCategory>
#include <algorithm>
#include <utility>

Q_LOGGING_CATEGORY(lcImap, "brindle.imap", QtInfoMsg)

namespace brindle {

namespace {

// Server texts quoted in error messages are cut to this many characters.
constexpr qsizetype maxQuotedLength = 512;

bool isSafeArgument(const QByteArray& argument) {
    return !argument.contains('\r') && !argument.contains('\n') && !argument.contains('\0');
}

// A quoted string for LOGIN; empty when the text holds what a quoted string
// cannot (8-bit or control characters).
QByteArray quoted(const QByteArray& text) {
    QByteArray result = "\"";
    for (char c : text) {
        if (c < ' ' || c > '~') {
            return {};
        }
        if (c == '"' || c == '\\') {
            result += '\\';
        }
        result += c;
    }
    return result + '"';
}

// A UID or UIDVALIDITY: 1 to 2^32-1 in digits.
std::optional<quint32> number(const QByteArray& digits) {
    bool ok = false;
    const quint32 value = digits.toUInt(&ok);
    return ok && value > 0 && !digits.startsWith('+') ? std::optional(value) : std::nullopt;
}

// The UID item of a FETCH response, wherever the server put it among the items.
std::optional<quint32> fetchedUid(const QByteArray& text) {
    const QList<QByteArray> words = text.toUpper().replace('(', ' ').replace(')', ' ').split(' ');
    const qsizetype item = words.indexOf("UID");
    return item < 0 ? std::nullopt : number(words.value(item + 1));
}

// The number after "UNSEEN" in a STATUS response's item list, or -1.
int unseenItem(const ImapResponse& response) {
    const QByteArray& text = response.text;
    const qsizetype open = text.lastIndexOf('(');
    const qsizetype close = text.indexOf(')', open);
    if (open < 0 || close < 0) {
        return -1;
    }
    const QList<QByteArray> items = text.mid(open + 1, close - open - 1).split(' ');
    for (qsizetype index = 0; index + 1 < items.size(); index += 2) {
        if (items.at(index).toUpper() == "UNSEEN") {
            bool ok = false;
            const int count = items.at(index + 1).toInt(&ok);
            return ok && count >= 0 ? count : -1;
        }
    }
    return -1;
}

} // namespace

ImapSession::ImapSession(const MailServerAddress& address, const ImapOptions& options)
    : address_(address), options_(options), transport_(options), reader_(options.replyLimits) {}

bool ImapSession::connect() {
    if (!transport_.connectTo(address_.host, address_.port)) {
        return fail(transport_.errorText());
    }
    open_ = true;
    return true;
}

bool ImapSession::logIn(const QString& id, const QString& password,
                        MailSession::Authentication authentication) {
    if (!open_ || loggedIn_) {
        errorText_ = SessionTexts::notReadyToLogIn();
        return false;
    }
    id_ = id.toUtf8();
    password_ = password.toUtf8();
    bearer_ = authentication == MailSession::Authentication::Bearer;
    if (!isSafeArgument(id_) || !isSafeArgument(password_)) {
        return fail(SessionTexts::unusableCharacter());
    }
    if (address_.security == TransportSecurity::ImplicitTls && !startTls()) {
        return false;
    }
    if (!readGreeting()) {
        return false;
    }
    if (loggedIn_) {
        return true; // PREAUTH over a protected connection
    }
    if (!askCapabilities()) {
        return false;
    }
    if (address_.security == TransportSecurity::StartTlsRequired && !transport_.isTls()) {
        // Anyone on the path can remove STARTTLS from the list: without it no
        // credential goes out.
        if (!hasCapability("STARTTLS")) {
            return fail(tr("サーバーが暗号化 (STARTTLS) を提供していないため、ログイン"
                           "しませんでした。最初から TLS で接続するサーバーなら、"
                           "サーバー名を「imaps://%1」と書いてください。")
                            .arg(address_.host.contains(u':') ? u'[' + address_.host + u']'
                                                              : address_.host));
        }
        if (!executeOk("STARTTLS", tr("サーバーが TLS への切り替えを断りました"), {})) {
            return false;
        }
        // Bytes sent before the handshake must not count as protected replies.
        if (reader_.hasUnreadInput()) {
            return fail(tr("TLS の開始前にサーバーが余分なデータを送りました"));
        }
        if (!startTls() || !askCapabilities()) {
            return false;
        }
    }
    return authenticate();
}

int ImapSession::unseenCount() {
    if (!loggedIn_) {
        return -1;
    }
    int count = -1;
    QByteArray answer;
    Expect status;
    status.onUntagged = [&](const ImapResponse& response) {
        if (response.word(0) == "STATUS") {
            count = unseenItem(response);
            answer = response.text;
        }
        return true;
    };
    if (!executeOk("STATUS INBOX (UNSEEN)", tr("未読メールの数を取得できません"), status)) {
        return -1;
    }
    if (count < 0) {
        fail(tr("サーバーが示した未読メールの数が正しくありません: %1")
                 .arg(QString::fromUtf8(answer.left(maxQuotedLength))));
    }
    return count;
}

bool ImapSession::examineInbox() {
    Expect examine;
    examine.onUntagged = [this](const ImapResponse& response) {
        const QByteArray code = response.afterFirstWord();
        if (response.word(0) == "OK" && code.toUpper().startsWith("[UIDVALIDITY ")) {
            uidValidity_ = number(code.mid(13, code.indexOf(']') - 13)).value_or(0);
        }
        return true;
    };
    return loggedIn_ && executeOk("EXAMINE INBOX", tr("INBOX を開けません"), examine);
}

std::optional<QList<quint32>> ImapSession::unseenUids() {
    QList<quint32> uids;
    Expect search;
    search.onUntagged = [&uids](const ImapResponse& response) {
        if (response.word(0) == "SEARCH") {
            for (const QByteArray& word : response.afterFirstWord().split(' ')) {
                if (const std::optional<quint32> uid = number(word)) {
                    uids.append(*uid);
                }
            }
        }
        return true;
    };
    if (!loggedIn_ || !executeOk("UID SEARCH UNSEEN", tr("未読メールを探せません"), search)) {
        return std::nullopt;
    }
    std::sort(uids.begin(), uids.end());
    uids.erase(std::unique(uids.begin(), uids.end()), uids.end());
    return uids;
}

std::optional<QHash<quint32, QByteArray>> ImapSession::fetchHeaderFields(const QList<quint32>& uids,
                                                                         qsizetype maxBytes) {
    QHash<quint32, QByteArray> headers;
    if (uids.isEmpty()) {
        return headers;
    }
    QByteArrayList set;
    for (const quint32 uid : uids) {
        set.append(QByteArray::number(uid));
    }
    Expect fetch;
    fetch.onUntagged = [&](const ImapResponse& response) {
        // "n FETCH (UID u BODY[HEADER.FIELDS (FROM SUBJECT DATE)]<0> {size}", the literal.
        const std::optional<quint32> uid = fetchedUid(response.text);
        if (response.word(1) == "FETCH" && uid && response.literals.size() == 1 &&
            uids.contains(*uid)) {
            headers.insert(*uid, response.literals.first().left(maxBytes));
        }
        return true;
    };
    const QByteArray command = "UID FETCH " + set.join(',') +
                               " (BODY.PEEK[HEADER.FIELDS (FROM SUBJECT DATE)]<0." +
                               QByteArray::number(maxBytes) + ">)";
    if (!loggedIn_ || !executeOk(command, tr("メールのヘッダーを取得できません"), fetch)) {
        return std::nullopt;
    }
    return headers;
}

bool ImapSession::startIdle() {
    if (!loggedIn_ || !idleTag_.isEmpty()) {
        return false;
    }
    ImapResponse begun;
    Expect idle;
    idle.continuationEnds = true;
    if (!execute("IDLE", begun, idle)) {
        return false;
    }
    if (begun.kind != ImapResponse::Kind::Continuation) {
        return fail(tr("サーバーが IDLE を断りました: %1").arg(reason(begun)));
    }
    // News sent right after the continuation may have come with it.
    idleTag_ = lastTag_;
    return takeReadIdleNews();
}

bool ImapSession::takeIdleNews() {
    if (idleTag_.isEmpty()) {
        return false;
    }
    qCDebug(lcImap) << "woken during IDLE";
    for (int read = 0; read < options_.maxIdleReads; ++read) {
        if (!receiveMore() || !takeReadIdleNews()) {
            return false;
        }
        if (!transport_.hasBufferedInput()) {
            return true;
        }
    }
    return true;
}

bool ImapSession::takeReadIdleNews() {
    ImapResponse response;
    for (;;) {
        switch (reader_.take(response)) {
        case ImapReplyReader::Result::Error:
            return fail(reader_.errorText());
        case ImapReplyReader::Result::NeedMore:
            return true;
        case ImapReplyReader::Result::Done:
            if (response.kind == ImapResponse::Kind::Tagged) {
                return fail(tr("サーバーが IDLE を終えました: %1").arg(reason(response)));
            }
            if (!noteUntagged(response, false)) {
                return false;
            }
        }
    }
}

bool ImapSession::stopIdle() {
    if (idleTag_.isEmpty()) {
        return false;
    }
    const QByteArray tag = idleTag_;
    idleTag_.clear();
    if (!transport_.send("DONE\r\n")) {
        return fail(transport_.errorText());
    }
    ImapResponse done;
    if (!awaitEnd(tag, done, {})) {
        return false;
    }
    return done.word(0) == "OK" ||
           fail(tr("サーバーが IDLE を正しく終えませんでした: %1").arg(reason(done)));
}

void ImapSession::logOut() {
    if (open_ && !idleTag_.isEmpty()) {
        stopIdle();
    }
    if (open_ && loggedIn_) {
        ImapResponse done;
        Expect goodbye;
        goodbye.byeExpected = true;
        execute("LOGOUT", done, goodbye);
    }
    open_ = false;
    loggedIn_ = false;
    transport_.close();
}

bool ImapSession::execute(const QByteArray& command, ImapResponse& done, const Expect& expect) {
    if (!open_) {
        return false;
    }
    lastTag_ = 'a' + QByteArray::number(nextTag_++);
    if (!transport_.send(lastTag_ + ' ' + command + "\r\n")) {
        return fail(transport_.errorText());
    }
    return awaitEnd(lastTag_, done, expect);
}

bool ImapSession::awaitEnd(const QByteArray& tag, ImapResponse& done, const Expect& expect) {
    for (int untagged = 0; untagged <= options_.maxUntaggedPerCommand; ++untagged) {
        if (!readResponse(done)) {
            return false;
        }
        switch (done.kind) {
        case ImapResponse::Kind::Tagged:
            if (done.tag != tag) {
                return fail(tr("サーバーが別のコマンドへの応答を返しました"));
            }
            // A login's answer may list what the server offers from now on.
            if (const QByteArray code = done.afterFirstWord();
                code.toUpper().startsWith("[CAPABILITY ") && code.contains(']')) {
                noteCapabilities(code.mid(12, code.indexOf(']') - 12));
            }
            return true;
        case ImapResponse::Kind::Continuation:
            if (expect.continuationEnds) {
                return true;
            }
            if (const std::optional<QByteArray> answer =
                    expect.onContinuation ? expect.onContinuation(done) : std::nullopt;
                !answer) {
                return fail(tr("サーバーが予期しない続きを求めました"));
            } else if (!transport_.send(*answer + "\r\n")) {
                return fail(transport_.errorText());
            }
            break;
        case ImapResponse::Kind::Untagged:
            if (!noteUntagged(done, expect.byeExpected)) {
                return false;
            }
            if (done.word(0) == "CAPABILITY") {
                noteCapabilities(done.afterFirstWord());
            }
            if (expect.onUntagged && !expect.onUntagged(done)) {
                return false;
            }
            break;
        }
    }
    return fail(tr("サーバーが 1 つのコマンドに %1 個を超える応答を返しました")
                    .arg(options_.maxUntaggedPerCommand));
}

bool ImapSession::executeOk(const QByteArray& command, const QString& failureText,
                            const Expect& expect) {
    ImapResponse done;
    if (!execute(command, done, expect)) {
        return false;
    }
    if (done.word(0) != "OK") {
        return fail(QStringLiteral("%1: %2").arg(failureText, reason(done)));
    }
    return true;
}

bool ImapSession::readGreeting() {
    ImapResponse greeting;
    if (!readResponse(greeting)) {
        return false;
    }
    const QByteArray status = greeting.word(0);
    if (greeting.kind != ImapResponse::Kind::Untagged || (status != "OK" && status != "PREAUTH")) {
        return fail(tr("サーバーが接続を断りました: %1").arg(reason(greeting)));
    }
    if (status == "PREAUTH") {
        if (address_.security == TransportSecurity::StartTlsRequired && !transport_.isTls()) {
            return fail(tr("サーバーが暗号化の前にログイン済みとしたため、接続を"
                           "打ち切りました"));
        }
        loggedIn_ = true;
    }
    return true;
}

bool ImapSession::askCapabilities() {
    capabilities_.clear();
    return executeOk("CAPABILITY", tr("サーバーの機能を取得できません"), {});
}

bool ImapSession::startTls() {
    if (!transport_.startTls(address_.host)) {
        return fail(transport_.errorText());
    }
    return true;
}

bool ImapSession::authenticate() {
    const QString failureText = tr("ログインできません");
    bool accepted = false;
    if (bearer_) {
        accepted = authenticateBearer();
    } else if (hasCapability("AUTH=PLAIN")) {
        // With SASL-IR the credentials go with the command, else when asked for.
        sentCredentials_ = ('\0' + id_ + '\0' + password_).toBase64();
        Expect askedFor;
        askedFor.onContinuation = [this, asked = false](const ImapResponse&) mutable {
            return std::exchange(asked, true) ? std::nullopt
                                              : std::optional<QByteArray>(sentCredentials_);
        };
        accepted = hasCapability("SASL-IR")
                       ? executeOk("AUTHENTICATE PLAIN " + sentCredentials_, failureText, {})
                       : executeOk("AUTHENTICATE PLAIN", failureText, askedFor);
    } else if (hasCapability("LOGINDISABLED")) {
        return fail(tr("サーバーがこの接続でのログインを受け付けていません"));
    } else {
        const QByteArray id = quoted(id_);
        const QByteArray password = quoted(password_);
        if (id.isEmpty() || password.isEmpty()) {
            return fail(tr("ID かパスワードに、このサーバーでは使えない文字が"
                           "含まれています"));
        }
        accepted = executeOk("LOGIN " + id + ' ' + password, failureText, {});
    }
    loggedIn_ = accepted;
    return accepted;
}

// With SASL-IR the token goes with the command, else when asked for. A
// further challenge tells why the server refuses it; its answer ends the
// exchange, and the tagged NO that follows is the failure.
bool ImapSession::authenticateBearer() {
    QSet<QByteArray> offered;
    for (const QByteArray& capability : std::as_const(capabilities_)) {
        if (capability.startsWith("AUTH=")) {
            offered.insert(capability.mid(5));
        }
    }
    if (const QString why = BearerSasl::whyNotSent(offered, transport_.isTls()); !why.isEmpty()) {
        return fail(why);
    }
    const std::optional<BearerSasl::Mechanism> mechanism = BearerSasl::choose(offered);
    sentCredentials_ =
        BearerSasl::initialResponse(*mechanism, id_, password_, address_.host, address_.port)
            .toBase64();
    const bool initialResponse = hasCapability("SASL-IR");
    bool sent = initialResponse;
    std::optional<BearerSasl::Refusal> refusal;
    Expect exchange;
    exchange.onContinuation = [&](const ImapResponse& challenge) -> std::optional<QByteArray> {
        if (!std::exchange(sent, true)) {
            return sentCredentials_;
        }
        if (refusal) {
            return std::nullopt;
        }
        refusal = BearerSasl::readRefusal(challenge.text);
        openidConfiguration_ = refusal->openidConfiguration;
        return BearerSasl::refusalAnswer(*mechanism).toBase64();
    };
    const QByteArray command = "AUTHENTICATE " + BearerSasl::name(*mechanism);
    ImapResponse done;
    if (!execute(initialResponse ? command + ' ' + sentCredentials_ : command, done, exchange)) {
        return false;
    }
    if (done.word(0) != "OK") {
        tokenRefused_ = true;
        const QString status = refusal && !refusal->status.isEmpty()
                                   ? QStringLiteral(" (%1)").arg(refusal->status)
                                   : QString();
        return fail(tr("ログインできません: %1%2").arg(reason(done), status));
    }
    return true;
}

void ImapSession::noteCapabilities(const QByteArray& list) {
    capabilities_.clear();
    for (const QByteArray& name : list.toUpper().split(' ')) {
        capabilities_.insert(name);
    }
}

bool ImapSession::noteUntagged(const ImapResponse& response, bool byeExpected) {
    const QByteArray kind = response.word(1);
    if (kind == "EXISTS" || kind == "EXPUNGE") {
        bool ok = false;
        const int number = response.word(0).toInt(&ok);
        if (ok && number >= 0) {
            messageCount_ = kind == "EXISTS" ? number : std::max(messageCount_ - 1, 0);
        }
    }
    if (response.word(0) == "BYE" && !byeExpected) {
        return fail(tr("サーバーが接続を終えました: %1").arg(reason(response)));
    }
    return true;
}

bool ImapSession::readResponse(ImapResponse& response) {
    for (;;) {
        switch (reader_.take(response)) {
        case ImapReplyReader::Result::Done:
            return true;
        case ImapReplyReader::Result::Error:
            return fail(reader_.errorText());
        case ImapReplyReader::Result::NeedMore:
            if (!receiveMore()) {
                return false;
            }
        }
    }
}

bool ImapSession::receiveMore() {
    const std::optional<QByteArrayView> received = transport_.receiveSome();
    if (!received) {
        return fail(transport_.errorText());
    }
    reader_.feed(received->data(), received->size());
    return true;
}

bool ImapSession::fail(const QString& text) {
    errorText_ = text;
    for (const QByteArray& secret : {password_, sentCredentials_}) {
        if (!secret.isEmpty()) {
            errorText_.replace(QString::fromUtf8(secret), QStringLiteral("****"));
        }
    }
    qCDebug(lcImap) << "error:" << errorText_;
    open_ = false;
    loggedIn_ = false;
    idleTag_.clear();
    transport_.close();
    return false;
}

QString ImapSession::reason(const ImapResponse& response) const {
    QByteArray text = response.afterFirstWord();
    if (text.startsWith('[')) {
        const qsizetype close = text.indexOf(']');
        text = close < 0 ? text : text.mid(close + 1).trimmed();
    }
    const qsizetype nul = text.indexOf('\0');
    return QString::fromUtf8(text.left(nul < 0 ? maxQuotedLength : std::min(nul, maxQuotedLength)));
}

} // namespace brindle
