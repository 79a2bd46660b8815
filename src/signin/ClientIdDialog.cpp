#include "signin/ClientIdDialog.h"

#include "ui/Twips.h"
#include "ui/WidgetStyle.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace brindle {

std::optional<OAuthClient> ClientIdDialog::ask(const QString& providerName,
                                               const OAuthClient& previous) {
    // Above the window that asked (the account dialog), which the main window,
    // kept in front, does not cover.
    QDialog dialog(parent_ ? parent_ : QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("clientIdDialog"));
    setFixedWindow(&dialog, QCoreApplication::translate("brindle::SignIn", "クライアントID"), 5400,
                   2100, false);
    const QColor black(0, 0, 0);
    makeLabel(&dialog,
              QCoreApplication::translate("brindle::SignIn",
                                          "%1 に登録したクライアントIDを入力してください。")
                  .arg(providerName),
              twipsRect(120, 120, 5160, 255), black);
    makeLabel(&dialog, QCoreApplication::translate("brindle::SignIn", "クライアントID"),
              twipsRect(120, 600, 1800, 255), black);
    QLineEdit* idEdit = makeField(&dialog, twipsRect(1920, 540, 3360, 264));
    idEdit->setText(previous.id);
    makeLabel(&dialog, QCoreApplication::translate("brindle::SignIn", "シークレット (あれば)"),
              twipsRect(120, 1020, 1800, 255), black);
    QLineEdit* secretEdit = makeField(&dialog, twipsRect(1920, 960, 3360, 264));
    secretEdit->setText(previous.secret);
    auto* okButton = new QPushButton(QStringLiteral("OK"), &dialog);
    okButton->setGeometry(twipsRect(3000, 1560, 1020, 312));
    okButton->setDefault(true);
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), &dialog);
    cancelButton->setGeometry(twipsRect(4200, 1560, 1020, 312));
    QObject::connect(okButton, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancelButton, &QPushButton::clicked, &dialog, &QDialog::reject);

    if (dialog.exec() != QDialog::Accepted || idEdit->text().trimmed().isEmpty()) {
        return std::nullopt;
    }
    return OAuthClient{idEdit->text().trimmed(), secretEdit->text().trimmed()};
}

} // namespace brindle
