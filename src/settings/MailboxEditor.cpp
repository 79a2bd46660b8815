#include "settings/MailboxEditor.h"

#include "settings/core/ProfileFile.h"
#include "settings/core/ServerFile.h"
#include "ui/MessageBoxes.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace brindle {

namespace {

constexpr int FirstDesktopAccount = int(Mailbox::SignIn::DesktopAccount);

} // namespace

MailboxEditor::MailboxEditor(QWidget* parent, std::optional<Mailbox> editing,
                             QList<DesktopAccounts::MailAccount> desktopAccounts,
                             MessageBoxes& messageBoxes)
    : Window(parent, Qt::Dialog), editing_(std::move(editing)),
      desktopAccounts_(std::move(desktopAccounts)), messageBoxes_(messageBoxes) {
    setWindowTitle(editing_ ? tr("メールボックスの変更") : tr("メールボックスの追加"));
    nameEdit = new QLineEdit(this);
    serverEdit = new QLineEdit(this);
    idEdit = new QLineEdit(this);
    signInChoice = new QComboBox(this);
    signInChoice->addItem(tr("パスワード"), int(Mailbox::SignIn::Password));
    signInChoice->addItem(tr("ブラウザでサインイン"), int(Mailbox::SignIn::Browser));
    // A desktop account no longer there is still shown as the one chosen.
    if (editing_ && editing_->signIn == Mailbox::SignIn::DesktopAccount &&
        std::none_of(desktopAccounts_.begin(), desktopAccounts_.end(), [this](const auto& account) {
            return account.id == editing_->desktopAccount;
        })) {
        desktopAccounts_.append({editing_->desktopAccount,
                                 editing_->desktopAccount,
                                 {},
                                 editing_->server,
                                 editing_->id});
    }
    for (qsizetype index = 0; index < desktopAccounts_.size(); ++index) {
        const DesktopAccounts::MailAccount& account = desktopAccounts_[index];
        signInChoice->addItem(tr("デスクトップのアカウント: %1").arg(account.name),
                              FirstDesktopAccount + int(index));
    }
    passwordEdit = new QLineEdit(this);
    passwordEdit->setEchoMode(QLineEdit::Password);
    okButton = new QPushButton(tr("OK"), this);
    cancelButton = new QPushButton(tr("Cancel"), this);

    auto* fields = new QFormLayout;
    fields->addRow(tr("名前(&N)"), nameEdit);
    fields->addRow(tr("サーバー(&S)"), serverEdit);
    fields->addRow(tr("ID(&I)"), idEdit);
    fields->addRow(tr("サインイン(&G)"), signInChoice);
    fields->addRow(tr("パスワード(&P)"), passwordEdit);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    serverEdit->setPlaceholderText(QStringLiteral("imaps://mail.example.com"));
    serverEdit->setMinimumWidth(serverEdit->fontMetrics().averageCharWidth() * 36);

    if (editing_) {
        nameEdit->setText(editing_->name);
        serverEdit->setText(editing_->server);
        idEdit->setText(editing_->id);
        int chosen = int(editing_->signIn);
        for (qsizetype index = 0; index < desktopAccounts_.size(); ++index) {
            if (editing_->signIn == Mailbox::SignIn::DesktopAccount &&
                desktopAccounts_[index].id == editing_->desktopAccount) {
                chosen = FirstDesktopAccount + int(index);
            }
        }
        signInChoice->setCurrentIndex(signInChoice->findData(chosen));
    }
    showSignIn();

    connect(signInChoice, &QComboBox::currentIndexChanged, this, &MailboxEditor::showSignIn);
    connect(okButton, &QPushButton::clicked, this, &MailboxEditor::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &MailboxEditor::close);
}

int MailboxEditor::chosenSignIn() const {
    return signInChoice->currentData().toInt();
}

Mailbox MailboxEditor::edited() const {
    const int chosen = chosenSignIn();
    if (chosen >= FirstDesktopAccount) {
        const DesktopAccounts::MailAccount& account =
            desktopAccounts_[chosen - FirstDesktopAccount];
        return Mailbox{nameEdit->text().trimmed(), account.server, account.userName,
                       Mailbox::SignIn::DesktopAccount, account.id};
    }
    return Mailbox{nameEdit->text().trimmed(), serverEdit->text().trimmed(),
                   idEdit->text().trimmed(), Mailbox::SignIn(chosen)};
}

void MailboxEditor::confirm() {
    const QString why = whyNot();
    if (!why.isEmpty()) {
        messageBoxes_.show(why, QStringLiteral("Brindle"), MessageBoxes::Icon::Exclamation,
                           MessageBoxes::Buttons::Ok);
        return;
    }
    const Mailbox mailbox = edited();
    emit confirmed(mailbox,
                   mailbox.signIn == Mailbox::SignIn::Password ? passwordEdit->text() : QString());
}

// The checks the server and account dialogs make when they store their
// fields, and a password wherever none is stored for this account yet.
QString MailboxEditor::whyNot() const {
    const Mailbox mailbox = edited();
    if (mailbox.name.isEmpty() || mailbox.server.isEmpty() || mailbox.id.isEmpty()) {
        return tr("名前、サーバー、IDを入力してください。");
    }
    const bool whole = ProfileFile::holdsWhole(mailbox.name) &&
                       ProfileFile::holdsWhole(mailbox.id) &&
                       ProfileFile::holdsWhole(mailbox.server) &&
                       ProfileFile::holdsWhole(mailbox.desktopAccount) &&
                       mailbox.server.size() <= ServerFile::MaxValueLength;
    if (!whole) {
        return tr("保存できませんでした。\n"
                  "Shift-JISで書けない文字が含まれているか、長すぎます。");
    }
    const bool passwordStored =
        editing_ && editing_->sameAccount(mailbox) && editing_->signIn == Mailbox::SignIn::Password;
    if (mailbox.signIn == Mailbox::SignIn::Password && passwordEdit->text().isEmpty() &&
        !passwordStored) {
        return tr("パスワードを入力してください。");
    }
    return {};
}

// A browser sign-in has no password; a stored one is kept when left empty. A
// desktop account names its server and ID.
void MailboxEditor::showSignIn() {
    const int chosen = chosenSignIn();
    const bool password = chosen == int(Mailbox::SignIn::Password);
    if (chosen >= FirstDesktopAccount) {
        const DesktopAccounts::MailAccount& account =
            desktopAccounts_[chosen - FirstDesktopAccount];
        serverEdit->setText(account.server);
        idEdit->setText(account.userName);
    }
    serverEdit->setReadOnly(chosen >= FirstDesktopAccount);
    idEdit->setReadOnly(chosen >= FirstDesktopAccount);
    passwordEdit->setEnabled(password);
    passwordEdit->setPlaceholderText(password && editing_ ? tr("変更しない場合は空欄") : QString());
}

void MailboxEditor::enterPressed() {
    okButton->click();
}

void MailboxEditor::escapePressed() {
    cancelButton->click();
}

} // namespace brindle
