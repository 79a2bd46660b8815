#pragma once

#include <QCoreApplication>
#include <QString>

namespace brindle {

// The error texts that POP3 and IMAP sessions share, in the interface's language.
class SessionTexts {
    Q_DECLARE_TR_FUNCTIONS(SessionTexts)
public:
    static QString notReadyToLogIn() { return tr("ログインできる状態ではありません"); }
    static QString unusableCharacter() {
        return tr("ID かパスワードに使えない文字が含まれています");
    }
    static QString replyOverLimit(qint64 limit) {
        return tr("サーバーの応答が上限の %1 バイトを超えました").arg(limit);
    }
    static QString replyLineTooLong() { return tr("サーバーの応答の行が長すぎます"); }
};

} // namespace brindle
