#include "signin/SignInPromptWindows.h"

#include "ui/Twips.h"
#include "ui/WidgetStyle.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace brindle {

QWidget* SignInPromptWindows::owner() const {
    return parent_ ? parent_ : QApplication::activeWindow();
}

bool SignInPromptWindows::trustAuthorizationServer(const QString& authorizationHost,
                                                   const QString& mailHost) {
    QMessageBox question(
        QMessageBox::Question, QStringLiteral("Brindle"),
        QCoreApplication::translate("brindle::SignIn",
                                    "メールサーバー %2 が、認可サーバー %1 でサインインするよう"
                                    "求めています。\n%1 を信頼できる場合だけ続けてください。\n\n"
                                    "ブラウザで %1 のサインインページを開きますか?")
            .arg(authorizationHost, mailHost),
        QMessageBox::Yes | QMessageBox::No, owner());
    question.setObjectName(QStringLiteral("trustAuthorizationServer"));
    question.setDefaultButton(QMessageBox::No);
    return question.exec() == QMessageBox::Yes;
}

std::optional<OAuthClient> SignInPromptWindows::askClientId(const QString& authorizationServer,
                                                            const QString& mailHost,
                                                            const OAuthClient& previous) {
    QDialog dialog(owner());
    dialog.setObjectName(QStringLiteral("clientIdDialog"));
    setFixedWindow(&dialog, QCoreApplication::translate("brindle::SignIn", "クライアントID"), 5400,
                   2520, false);
    const QColor black(0, 0, 0);
    QLabel* request =
        makeLabel(&dialog,
                  QCoreApplication::translate("brindle::SignIn",
                                              "メールサーバー %2 のサインイン先 %1 に登録した"
                                              "クライアントIDを入力してください。")
                      .arg(authorizationServer, mailHost),
                  twipsRect(120, 120, 5160, 720), black);
    request->setWordWrap(true);
    makeLabel(&dialog, QCoreApplication::translate("brindle::SignIn", "クライアントID"),
              twipsRect(120, 1020, 2040, 255), black);
    QLineEdit* idEdit = makeField(&dialog, twipsRect(2160, 960, 3120, 264));
    idEdit->setText(previous.id);
    makeLabel(&dialog, QCoreApplication::translate("brindle::SignIn", "シークレット (あれば)"),
              twipsRect(120, 1440, 2040, 255), black);
    QLineEdit* secretEdit = makeField(&dialog, twipsRect(2160, 1380, 3120, 264));
    secretEdit->setText(previous.secret);
    auto* okButton = new QPushButton(QStringLiteral("OK"), &dialog);
    okButton->setGeometry(twipsRect(3000, 1980, 1020, 312));
    okButton->setDefault(true);
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), &dialog);
    cancelButton->setGeometry(twipsRect(4200, 1980, 1020, 312));
    QObject::connect(okButton, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancelButton, &QPushButton::clicked, &dialog, &QDialog::reject);

    if (dialog.exec() != QDialog::Accepted || idEdit->text().trimmed().isEmpty()) {
        return std::nullopt;
    }
    return OAuthClient{idEdit->text().trimmed(), secretEdit->text().trimmed()};
}

} // namespace brindle
