#include "mail/pop3/Pop3Session.h"
#include "mail/net/SessionTexts.h"

#include "mail/header/MailHeaderFields.h"

#include <QLoggingCategory>
#include <algorithm>
#include <openssl/evp.h>
#include <utility>

Q_LOGGING_CATEGORY(lcPop3, "brindle.pop3", QtInfoMsg)

namespace brindle {

namespace {

// Server texts quoted in error messages are cut to this many characters.
constexpr qsizetype maxQuotedLength = 512;
// The longest command line, CR LF included (RFC 5034): a longer AUTH waits
// for the server's empty challenge to send its initial response.
constexpr qsizetype maxCommandLength = 255;

// The "<...>" part of the greeting that APOP digests, or empty.
QByteArray apopTimestamp(const QByteArray& greeting) {
    const qsizetype open = greeting.indexOf('<');
    const qsizetype close = open < 0 ? -1 : greeting.indexOf('>', open);
    return close < 0 ? QByteArray() : greeting.mid(open, close - open + 1);
}

QByteArray md5Hex(const QByteArray& data) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(data.constData(), size_t(data.size()), digest, &length, EVP_md5(), nullptr) !=
        1) {
        return {};
    }
    return QByteArray(reinterpret_cast<const char*>(digest), length).toHex();
}

bool isSafeArgument(const QByteArray& argument) {
    return !argument.contains('\r') && !argument.contains('\n') && !argument.contains('\0');
}

} // namespace

Pop3Session::Pop3Session(const MailServerAddress& address, const Pop3Options& options)
    : address_(address), options_(options), transport_(options), reader_(options.maxLineLength) {}

bool Pop3Session::connect() {
    if (!transport_.connectTo(address_.host, address_.port)) {
        return fail(transport_.errorText());
    }
    setState(State::Connected);
    return true;
}

int Pop3Session::authenticate(const QString& id, const QString& password,
                              MailSession::Authentication authentication) {
    if (state_ != State::Connected) {
        reject(SessionTexts::notReadyToLogIn());
        return -1;
    }
    id_ = id.toUtf8();
    password_ = password.toUtf8();
    authentication_ = authentication;
    if (!isSafeArgument(id_) || !isSafeArgument(password_)) {
        fail(SessionTexts::unusableCharacter());
        return -1;
    }
    if (address_.security == TransportSecurity::ImplicitTls && !startTls()) {
        return -1;
    }
    setState(State::Greeting);
    Pop3ReplyReader::StatusLine reply;
    while (state_ != State::Transaction && state_ != State::Stop) {
        if (!readStatusLine(reply) || !handleReply(reply)) {
            return -1;
        }
    }
    return state_ == State::Transaction ? count_ : -1;
}

int Pop3Session::fetchStatus(int number, MailHeader& status) {
    QByteArray header;
    if (!fetchBody({Command::Top, number}, header)) {
        return -1;
    }
    status = readMailHeaderFields(header);
    return 0;
}

qint64 Pop3Session::fetchSize(int number) {
    Pop3ReplyReader::StatusLine reply;
    if (!isMessageNumber(number) || !awaitReply({Command::List, number}, reply)) {
        return -1;
    }
    if (!reply.ok) {
        reject(tr("サーバーがエラーを返しました: %1").arg(serverText(reply.text)));
        return -1;
    }
    bool ok = false;
    const qint64 size = reply.text.split(' ').value(1).toLongLong(&ok);
    if (!ok || size < 0 || size > options_.maxMessageSize) {
        reject(
            tr("サーバーが示したメールのサイズが正しくありません: %1").arg(serverText(reply.text)));
        return -1;
    }
    listedNumber_ = number;
    listedSize_ = size;
    return size;
}

int Pop3Session::fetchMessage(int number, MailHeader& status, QByteArray& message) {
    message.clear();
    if (listedNumber_ == number) {
        message.reserve(listedSize_);
    }
    if (!fetchBody({Command::Retr, number}, message)) {
        return -1;
    }
    status = readMailHeaderFields(message);
    return 0;
}

std::optional<QList<QByteArray>> Pop3Session::fetchUniqueIds() {
    if (state_ != State::Transaction) {
        reject(errorText_.isEmpty() ? tr("ログインしていません") : errorText_);
        return std::nullopt;
    }
    if (count_ == 0) {
        return QList<QByteArray>();
    }
    Pop3ReplyReader::StatusLine reply;
    QByteArray list;
    if (!skipPendingReplies() || !sendCommand("UIDL", State::Transaction) ||
        !readStatusLine(reply)) {
        return std::nullopt;
    }
    if (!reply.ok) {
        reject(tr("サーバーがメールの ID を示しません: %1").arg(serverText(reply.text)));
        return std::nullopt;
    }
    if (!readBody(list, options_.maxUniqueIdListSize)) {
        return std::nullopt;
    }
    QList<QByteArray> ids(count_);
    for (const QByteArray& line : list.split('\n')) {
        const QList<QByteArray> words = line.trimmed().split(' ');
        bool ok = false;
        const int number = words.value(0).toInt(&ok);
        const QByteArray id = words.value(1);
        // RFC 1939: 1 to 70 characters from 0x21 to 0x7E.
        if (ok && number >= 1 && number <= count_ && words.size() == 2 && !id.isEmpty() &&
            id.size() <= 70 &&
            std::all_of(id.cbegin(), id.cend(), [](char c) { return c > ' ' && c < 0x7f; })) {
            ids[number - 1] = id;
        }
    }
    return ids;
}

bool Pop3Session::fetchHeaderStart(int number, qsizetype maxBytes, QByteArray& header) {
    Pop3ReplyReader::StatusLine reply;
    header.clear();
    if (!isMessageNumber(number) || !skipPendingReplies() ||
        !sendCommand(commandText({Command::Top, number}), State::Transaction) ||
        !readStatusLine(reply)) {
        return false;
    }
    if (!reply.ok) {
        return reject(tr("サーバーがエラーを返しました: %1").arg(serverText(reply.text)));
    }
    if (!readBody(header, options_.maxHeaderSize)) {
        return false;
    }
    header.truncate(maxBytes);
    return true;
}

bool Pop3Session::skipPendingReplies() {
    while (!pending_.empty()) {
        if (!skipReply()) {
            return false;
        }
    }
    return true;
}

void Pop3Session::quit() {
    if (state_ == State::Transaction) {
        skipPendingReplies();
        Pop3ReplyReader::StatusLine reply;
        if (state_ == State::Transaction && sendQuit()) {
            readStatusLine(reply);
        }
    }
    setState(State::Stop);
    transport_.close();
}

const char* Pop3Session::stateName(State state) {
    static const char* const names[] = {"Stop", "Connected", "Greeting",    "Capa",
                                        "Stls", "User",      "Pass",        "Apop",
                                        "Auth", "Stat",      "Transaction", "Quit"};
    static_assert(std::size(names) == size_t(State::Quit) + 1, "one name per state");
    return names[size_t(state)];
}

void Pop3Session::setState(State next) {
    if (next != state_) {
        qCDebug(lcPop3) << "state" << stateName(state_) << "->" << stateName(next);
    }
    state_ = next;
}

bool Pop3Session::sendCommand(const QByteArray& command, State next) {
    if (!transport_.send(command + "\r\n")) {
        return fail(transport_.errorText());
    }
    setState(next);
    return true;
}

bool Pop3Session::sendCapa() {
    capabilities_.clear();
    saslMechanisms_.clear();
    return sendCommand("CAPA", State::Capa);
}

bool Pop3Session::sendStls() {
    return sendCommand("STLS", State::Stls);
}

bool Pop3Session::sendLogin() {
    switch (authentication_) {
    case MailSession::Authentication::Apop:
        return sendApop();
    case MailSession::Authentication::Bearer:
        return sendAuth();
    case MailSession::Authentication::UserPass:
        break;
    }
    return sendUser();
}

bool Pop3Session::sendUser() {
    return sendCommand("USER " + id_, State::User);
}

bool Pop3Session::sendPass() {
    return sendCommand("PASS " + password_, State::Pass);
}

bool Pop3Session::sendApop() {
    if (apopTimestamp_.isEmpty()) {
        return fail(tr("APOP でログインできません: サーバーの挨拶に APOP "
                       "用のタイムスタンプがありません"));
    }
    const QByteArray digest = md5Hex(apopTimestamp_ + password_);
    if (digest.isEmpty()) {
        return fail(tr("APOP でログインできません: MD5 を計算できません"));
    }
    return sendCommand("APOP " + id_ + ' ' + digest, State::Apop);
}

bool Pop3Session::sendAuth() {
    if (const QString why = BearerSasl::whyNotSent(saslMechanisms_, transport_.isTls());
        !why.isEmpty()) {
        return fail(why);
    }
    mechanism_ = *BearerSasl::choose(saslMechanisms_);
    saslResponse_ =
        BearerSasl::initialResponse(mechanism_, id_, password_, address_.host, address_.port)
            .toBase64();
    saslSecret_ = saslResponse_;
    refusal_.reset();
    const QByteArray command = "AUTH " + BearerSasl::name(mechanism_);
    if (command.size() + 1 + saslResponse_.size() + 2 > maxCommandLength) {
        return sendCommand(command, State::Auth);
    }
    return sendCommand(command + ' ' + std::exchange(saslResponse_, {}), State::Auth);
}

bool Pop3Session::sendStat() {
    return sendCommand("STAT", State::Stat);
}

bool Pop3Session::sendQuit() {
    return sendCommand("QUIT", State::Quit);
}

bool Pop3Session::handleReply(const Pop3ReplyReader::StatusLine& reply) {
    switch (state_) {
    case State::Greeting:
        return handleGreeting(reply);
    case State::Capa:
        return handleCapa(reply);
    case State::Stls:
        return handleStls(reply);
    case State::User:
        return reply.ok ? sendPass() : handleLogin(reply);
    case State::Pass:
    case State::Apop:
        return handleLogin(reply);
    case State::Auth:
        return handleAuth(reply);
    case State::Stat:
        return handleStat(reply);
    default:
        return fail(tr("予期しない応答を受け取りました"));
    }
}

bool Pop3Session::handleGreeting(const Pop3ReplyReader::StatusLine& reply) {
    if (!reply.ok) {
        return fail(tr("サーバーが接続を断りました: %1").arg(serverText(reply.text)));
    }
    apopTimestamp_ = apopTimestamp(reply.text);
    return sendCapa();
}

bool Pop3Session::handleCapa(const Pop3ReplyReader::StatusLine& reply) {
    if (reply.ok) {
        QByteArray list;
        if (!readBody(list, options_.maxCapabilityListSize)) {
            return false;
        }
        for (const QByteArray& line : list.split('\n')) {
            QList<QByteArray> words = line.trimmed().toUpper().split(' ');
            const QByteArray name = words.takeFirst();
            if (!name.isEmpty()) {
                capabilities_.insert(name);
            }
            if (name == "SASL") {
                saslMechanisms_.unite(QSet<QByteArray>(words.cbegin(), words.cend()));
            }
        }
    }
    if (address_.security != TransportSecurity::StartTlsRequired || transport_.isTls()) {
        return sendLogin();
    }
    // Anyone on the path can remove STLS from the list: without it no
    // credential goes out unless the user asked for plain POP3.
    if (!capabilities_.contains("STLS")) {
        return fail(tr("サーバーが暗号化 (STLS) を提供していないため、ログインしません"
                       "でした。暗号化しない接続をあえて使う場合は、サーバー名を"
                       "「pop3://%1」と書いてください。")
                        .arg(plainAddressText()));
    }
    return sendStls();
}

bool Pop3Session::handleStls(const Pop3ReplyReader::StatusLine& reply) {
    if (!reply.ok) {
        return fail(tr("サーバーが TLS への切り替えを断りました: %1").arg(serverText(reply.text)));
    }
    // Bytes sent before the handshake must not count as protected replies.
    if (reader_.hasUnreadInput()) {
        return fail(tr("TLS の開始前にサーバーが余分なデータを送りました"));
    }
    return startTls() && sendCapa();
}

bool Pop3Session::handleLogin(const Pop3ReplyReader::StatusLine& reply) {
    if (!reply.ok) {
        tokenRefused_ = state_ == State::Auth;
        const QString status = refusal_ && !refusal_->status.isEmpty()
                                   ? QStringLiteral(" (%1)").arg(refusal_->status)
                                   : QString();
        return fail(tr("ログインできません: %1%2").arg(serverText(reply.text), status));
    }
    return sendStat();
}

// The first challenge asks for a held-back initial response; a later one
// tells why the token was refused and gets the answer that ends the exchange.
bool Pop3Session::handleAuth(const Pop3ReplyReader::StatusLine& reply) {
    if (!reply.challenge) {
        return handleLogin(reply);
    }
    if (!saslResponse_.isEmpty()) {
        return sendCommand(std::exchange(saslResponse_, {}), State::Auth);
    }
    if (refusal_) {
        return fail(tr("サーバーが予期しない続きを求めました"));
    }
    refusal_ = BearerSasl::readRefusal(reply.text);
    return sendCommand(BearerSasl::refusalAnswer(mechanism_).toBase64(), State::Auth);
}

bool Pop3Session::handleStat(const Pop3ReplyReader::StatusLine& reply) {
    if (!reply.ok) {
        return fail(tr("メールの数を取得できません: %1").arg(serverText(reply.text)));
    }
    bool ok = false;
    count_ = reply.text.split(' ').value(0).toInt(&ok);
    if (!ok || count_ < 0) {
        return fail(
            tr("サーバーが示したメールの数が正しくありません: %1").arg(serverText(reply.text)));
    }
    setState(State::Transaction);
    return true;
}

bool Pop3Session::isMessageNumber(int number) {
    if (state_ != State::Transaction) {
        return reject(errorText_.isEmpty() ? tr("ログインしていません") : errorText_);
    }
    if (number < 1 || number > count_) {
        return reject(tr("メール番号 %1 はありません").arg(number));
    }
    return true;
}

bool Pop3Session::sendRequests(int number) {
    // Without pipelining only the asked command goes out; with it, all three
    // commands for the window of messages starting at number. Counted in 64
    // bits: number and count may both lie near the largest int.
    const bool pipelining = capabilities_.contains("PIPELINING");
    nextAhead_ = std::max(nextAhead_, qint64(number));
    const qint64 last =
        pipelining ? std::min(qint64(count_), qint64(number) + options_.pipelineWindow - 1) : 0;
    QByteArray batch;
    for (; nextAhead_ <= last; ++nextAhead_) {
        for (Command command : {Command::Top, Command::List, Command::Retr}) {
            pending_.push_back({command, int(nextAhead_)});
            batch += commandText(pending_.back()) + "\r\n";
        }
    }
    if (!batch.isEmpty() && !transport_.send(batch)) {
        return fail(transport_.errorText());
    }
    return true;
}

bool Pop3Session::awaitReply(const Request& request, Pop3ReplyReader::StatusLine& reply) {
    if (!sendRequests(request.number)) {
        return false;
    }
    if (std::find(pending_.begin(), pending_.end(), request) == pending_.end()) {
        if (!transport_.send(commandText(request) + "\r\n")) {
            return fail(transport_.errorText());
        }
        pending_.push_back(request);
    }
    // Answers to commands the caller skipped are read and dropped.
    while (!(pending_.front() == request)) {
        if (!skipReply()) {
            return false;
        }
    }
    pending_.pop_front();
    return readStatusLine(reply);
}

QByteArray Pop3Session::commandText(const Request& request) {
    const QByteArray number = QByteArray::number(request.number);
    switch (request.command) {
    case Command::Top:
        return "TOP " + number + " 0";
    case Command::List:
        return "LIST " + number;
    case Command::Retr:
        return "RETR " + number;
    }
    return {};
}

bool Pop3Session::skipReply() {
    const Request request = pending_.front();
    pending_.pop_front();
    Pop3ReplyReader::StatusLine reply;
    if (!readStatusLine(reply)) {
        return false;
    }
    QByteArray unused;
    return !reply.ok || request.command == Command::List ||
           readBody(unused, options_.maxMessageSize);
}

bool Pop3Session::fetchBody(const Request& request, QByteArray& body) {
    Pop3ReplyReader::StatusLine reply;
    if (!isMessageNumber(request.number) || !awaitReply(request, reply)) {
        return false;
    }
    if (!reply.ok) {
        return reject(tr("サーバーがエラーを返しました: %1").arg(serverText(reply.text)));
    }
    return readBody(body, options_.maxMessageSize);
}

bool Pop3Session::readStatusLine(Pop3ReplyReader::StatusLine& reply) {
    for (;;) {
        switch (reader_.takeStatusLine(reply)) {
        case Pop3ReplyReader::Result::Done:
            return !reply.challenge || state_ == State::Auth ||
                   fail(tr("サーバーの応答が POP3 の形式ではありません"));
        case Pop3ReplyReader::Result::Error:
            return fail(reader_.errorText());
        case Pop3ReplyReader::Result::NeedMore:
            if (!receiveMore()) {
                return false;
            }
        }
    }
}

bool Pop3Session::readBody(QByteArray& body, qint64 maxSize) {
    for (;;) {
        switch (reader_.takeBody(body, maxSize)) {
        case Pop3ReplyReader::Result::Done:
            return true;
        case Pop3ReplyReader::Result::Error:
            return fail(reader_.errorText());
        case Pop3ReplyReader::Result::NeedMore:
            if (!receiveMore()) {
                return false;
            }
        }
    }
}

bool Pop3Session::receiveMore() {
    const std::optional<QByteArrayView> received = transport_.receiveSome();
    if (!received) {
        return fail(transport_.errorText());
    }
    reader_.feed(received->data(), received->size());
    return true;
}

bool Pop3Session::startTls() {
    if (!transport_.startTls(address_.host)) {
        return fail(transport_.errorText());
    }
    return true;
}

bool Pop3Session::fail(const QString& text) {
    reject(text);
    pending_.clear();
    setState(State::Stop);
    transport_.close();
    return false;
}

bool Pop3Session::reject(const QString& text) {
    errorText_ = text;
    for (const QByteArray& secret : {password_, saslSecret_}) {
        if (!secret.isEmpty()) {
            errorText_.replace(QString::fromUtf8(secret), QStringLiteral("****"));
        }
    }
    qCDebug(lcPop3) << "error:" << errorText_;
    return false;
}

QString Pop3Session::plainAddressText() const {
    const QString host = address_.host.contains(u':') ? u'[' + address_.host + u']' : address_.host;
    return address_.port ==
                   MailServerAddress::defaultPort(MailProtocol::Pop3, TransportSecurity::PlainOnly)
               ? host
               : QStringLiteral("%1:%2").arg(host).arg(address_.port);
}

// A NUL ends the quoted text: what follows it could not be shown in a message box.
QString Pop3Session::serverText(const QByteArray& text) const {
    const qsizetype nul = text.indexOf('\0');
    return QString::fromUtf8(text.left(nul < 0 ? maxQuotedLength : std::min(nul, maxQuotedLength)));
}

} // namespace brindle
