#include "settings/AccountDialog.h"

#include "settings/BrowserSignIn.h"
#include "settings/core/AccountSignIn.h"
#include "settings/core/ProfileFile.h"
#include "settings/core/ServerFile.h"
#include "settings/core/SettingKeys.h"
#include "settings/core/SharedSettings.h"
#include "ui/MessageBoxes.h"
#include "ui/Twips.h"
#include "ui/WidgetStyle.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace brindle {

namespace {

constexpr int WidthTwips = 2880;
constexpr int HeightTwips = 2205;
// The row of the desktop accounts' button, below the sign-in's.
constexpr int DesktopRowTwips = 420;

} // namespace

AccountDialog::AccountDialog(QWidget* parent, ProgramFiles files, SharedSettings& shared,
                             MessageBoxes& messageBoxes, BrowserSignIn& browserSignIn,
                             DesktopAccounts& desktopAccounts)
    : Window(parent, Qt::Dialog), files_(std::move(files)), shared_(shared),
      messageBoxes_(messageBoxes), browserSignIn_(browserSignIn),
      desktopAccounts_(desktopAccounts) {
    setFixedWindow(this, tr("ID,PASS"), WidthTwips, HeightTwips, false);
    const QColor black(0, 0, 0);
    idLabel = makeLabel(this, tr("ID"), twipsRect(120, 180, 675, 255), black);
    idEdit = makeField(this, twipsRect(960, 120, 1632, 264));
    passwordLabel = makeLabel(this, tr("Password"), twipsRect(120, 600, 795, 255), black);
    passwordEdit = makeField(this, twipsRect(960, 600, 1632, 264));
    passwordEdit->setEchoMode(QLineEdit::Password);
    passwordEdit->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // '*'
    savePasswordBox = new QCheckBox(this);
    savePasswordBox->setGeometry(twipsRect(420, 1020, 255, 255));
    savePasswordLabel = makeLabel(this, tr("IDパスワードを保存する"),
                                  twipsRect(780, 1020, 1875, 255), QColor(0, 0, 255));
    savePasswordBox->setAccessibleName(savePasswordLabel->text());
    idLabel->setBuddy(idEdit);
    passwordLabel->setBuddy(passwordEdit);
    okButton = new QPushButton(tr("OK"), this);
    okButton->setGeometry(twipsRect(900, 1380, 852, 312));
    cancelButton = new QPushButton(tr("Cancel"), this);
    cancelButton->setGeometry(twipsRect(1860, 1380, 852, 312));
    signInButton = new QPushButton(this);
    signInButton->setGeometry(twipsRect(900, 1800, 1812, 312));
    desktopAccountButton = new QPushButton(this);
    desktopAccountButton->setGeometry(twipsRect(120, 1800 + DesktopRowTwips, 2592, 312));
    desktopAccountButton->hide();
    desktopAccountMenu = new QMenu(this);

    setTabOrder(idEdit, passwordEdit);
    setTabOrder(passwordEdit, okButton);
    setTabOrder(okButton, cancelButton);
    setTabOrder(cancelButton, savePasswordBox);
    setTabOrder(savePasswordBox, signInButton);
    setTabOrder(signInButton, desktopAccountButton);

    connect(okButton, &QPushButton::clicked, this, &AccountDialog::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &AccountDialog::cancel);
    connect(signInButton, &QPushButton::clicked, this, &AccountDialog::signInOrOut);
    // With its menu set, the button opens it instead.
    connect(desktopAccountButton, &QPushButton::clicked, this,
            &AccountDialog::leaveDesktopAccount);
    showWay(Way::Password);
}

void AccountDialog::prepare() {
    const ProfileFile account = files_.accountSettings();
    idEdit->setText(account.readString(SettingKeys::Section, SettingKeys::AccountId.name,
                                       QString::fromUtf8(SettingKeys::AccountId.defaultText)));
    passwordEdit->setText(
        account.readString(SettingKeys::Section, SettingKeys::AccountPassword.name,
                           QString::fromUtf8(SettingKeys::AccountPassword.defaultText)));
    savePasswordBox->setChecked(false);
    // A sign-in made for another server field is not this one's.
    signedInServer_ =
        AccountSignIn::signedInServer(account, shared_.Pop3Server).value_or(QString());
    signedInId_ = idEdit->text();
    const bool desktop = AccountSignIn::desktopAccount(account, shared_.Pop3Server).has_value();
    showWay(desktop ? Way::Desktop
            : !signedInServer_.isEmpty() && signedInServer_ == shared_.Pop3Server ? Way::Browser
                                                                                  : Way::Password);
    offerDesktopAccounts({});
    desktopAccounts_.listMailAccounts(this, [this](const auto& accounts) {
        offerDesktopAccounts(accounts);
    });
}

// The row shows once the desktop has named a mail account, or while the
// account is one of the desktop's.
void AccountDialog::offerDesktopAccounts(const QList<DesktopAccounts::MailAccount>& accounts) {
    desktopAccountMenu->clear();
    for (const DesktopAccounts::MailAccount& account : accounts) {
        connect(desktopAccountMenu->addAction(
                    QStringLiteral("%1 (%2)").arg(account.name, account.provider)),
                &QAction::triggered, this, [this, account] { chooseDesktopAccount(account); });
    }
    const bool desktopRow = way_ == Way::Desktop || !accounts.isEmpty();
    desktopAccountButton->setVisible(desktopRow);
    setFixedHeight(twips(HeightTwips + (desktopRow ? DesktopRowTwips : 0)));
}

void AccountDialog::showAccount(const QString& id, const QString& password) {
    idEdit->setText(id);
    passwordEdit->setText(password);
}

bool AccountDialog::hasAccount() const {
    return !idEdit->text().isEmpty() && (way_ != Way::Password || !passwordEdit->text().isEmpty());
}

// A signed-in account was stored when its sign-in succeeded; the box is for
// passwords.
void AccountDialog::confirm() {
    ProfileFile account = files_.accountSettings();
    if (way_ == Way::Password && savePasswordBox->isChecked()) {
        // The ID and the password are stored together or not at all.
        if (!account.writeStrings(SettingKeys::Section,
                                  {{SettingKeys::AccountId.name, idEdit->text()},
                                   {SettingKeys::AccountPassword.name, passwordEdit->text()},
                                   {SettingKeys::AccountSaved.name, QStringLiteral("1")}})) {
            tell(tr("IDとパスワードを保存できませんでした。\n"
                    "Shift-JISで書けない文字が含まれているか、設定ファイルに書き込めません。"));
            return;
        }
    } else if (way_ == Way::Password) {
        account.writeString(SettingKeys::Section, SettingKeys::AccountSaved.name,
                            QStringLiteral("0"));
    }
    shared_.AccountId = idEdit->text();
    shared_.AccountPassword = passwordEdit->text();
    shared_.AccountConfirmed = true;
    close();
}

void AccountDialog::cancel() {
    close();
}

void AccountDialog::signInOrOut() {
    if (way_ == Way::Browser) {
        signOut();
    } else {
        signIn();
    }
}

// A signed-in account has no password: its field stays empty and locked, and
// so does its ID, which the keyring's tokens or the desktop account belong
// to. One way out of a sign-in before another way in.
void AccountDialog::showWay(Way way) {
    way_ = way;
    signInButton->setText(way == Way::Browser ? tr("サインアウト") : tr("ブラウザでサインイン"));
    signInButton->setEnabled(way != Way::Desktop);
    desktopAccountButton->setText(way == Way::Desktop ? tr("パスワードに戻す")
                                                      : tr("デスクトップのアカウント"));
    desktopAccountButton->setMenu(way == Way::Desktop ? nullptr : desktopAccountMenu);
    desktopAccountButton->setEnabled(way != Way::Browser);
    idEdit->setReadOnly(way != Way::Password);
    passwordEdit->setEnabled(way == Way::Password);
    passwordEdit->setPlaceholderText(way == Way::Browser   ? tr("サインイン済み")
                                     : way == Way::Desktop ? tr("デスクトップ経由")
                                                           : QString());
    savePasswordBox->setEnabled(way == Way::Password);
    if (way != Way::Password) {
        passwordEdit->clear();
    }
}

void AccountDialog::chooseDesktopAccount(const DesktopAccounts::MailAccount& account) {
    SharedSettings edited = shared_;
    edited.Pop3Server = account.server;
    const QString unwritable =
        tr("Shift-JISで書けない文字が含まれているか、設定ファイルに書き込めません。");
    if (!ServerFile::write(files_.serverFile(), edited)) {
        tell(tr("メールサーバーを保存できませんでした。\n") + unwritable);
        return;
    }
    shared_.Pop3Server = account.server;
    if (!files_.accountSettings().writeStrings(
            SettingKeys::Section,
            {{SettingKeys::AccountId.name, account.userName},
             {SettingKeys::AccountPassword.name, QString()},
             {SettingKeys::AccountSaved.name, QStringLiteral("1")},
             {SettingKeys::AccountSignIn.name, AccountSignIn::DesktopAccount},
             {SettingKeys::AccountSignInServer.name, account.server},
             {SettingKeys::AccountDesktopAccount.name, account.id}})) {
        tell(tr("アカウントを保存できませんでした。\n") + unwritable);
        return;
    }
    idEdit->setText(account.userName);
    shared_.AccountId = account.userName;
    shared_.AccountPassword.clear();
    shared_.AccountConfirmed = true;
    showWay(Way::Desktop);
}

void AccountDialog::leaveDesktopAccount() {
    if (way_ != Way::Desktop) {
        return;
    }
    files_.accountSettings().writeStrings(SettingKeys::Section,
                                          {{SettingKeys::AccountSignIn.name, QString()},
                                           {SettingKeys::AccountSignInServer.name, QString()},
                                           {SettingKeys::AccountDesktopAccount.name, QString()}});
    showWay(Way::Password);
}

void AccountDialog::signIn() {
    const QString id = idEdit->text();
    if (id.isEmpty() || shared_.Pop3Server.isEmpty()) {
        tell(tr("サインインする前に、IDとPOPサーバーを設定してください。"));
        return;
    }
    setEnabled(false);
    signingIn_ = true;
    const BrowserSignIn::Result result = browserSignIn_.signIn(shared_.Pop3Server, id);
    signingIn_ = false;
    setEnabled(true);
    if (!result.signedIn) {
        if (!result.text.isEmpty()) {
            tell(tr("サインインできませんでした。\n") + result.text);
        }
        return;
    }
    // The account file names the way in; the tokens stay in the keyring. Both
    // or neither.
    ProfileFile account = files_.accountSettings();
    if (!account.writeStrings(SettingKeys::Section,
                              {{SettingKeys::AccountId.name, id},
                               {SettingKeys::AccountPassword.name, QString()},
                               {SettingKeys::AccountSaved.name, QStringLiteral("1")},
                               {SettingKeys::AccountSignIn.name, AccountSignIn::OAuth2},
                               {SettingKeys::AccountSignInServer.name, shared_.Pop3Server}})) {
        browserSignIn_.signOut(shared_.Pop3Server, id);
        tell(tr("サインインを保存できませんでした。\n"
                "Shift-JISで書けない文字が含まれているか、設定ファイルに書き込めません。"));
        return;
    }
    // The sign-in for the server field before is no one's any more.
    if (!signedInServer_.isEmpty() && signedInServer_ != shared_.Pop3Server) {
        tellIfNotSignedOut(browserSignIn_.signOut(signedInServer_, signedInId_));
    }
    signedInServer_ = shared_.Pop3Server;
    signedInId_ = id;
    showWay(Way::Browser);
}

void AccountDialog::signOut() {
    if (tellIfNotSignedOut(browserSignIn_.signOut(signedInServer_, signedInId_))) {
        return;
    }
    files_.accountSettings().writeStrings(SettingKeys::Section,
                                          {{SettingKeys::AccountSignIn.name, QString()},
                                           {SettingKeys::AccountSignInServer.name, QString()}});
    signedInServer_.clear();
    showWay(Way::Password);
}

bool AccountDialog::tellIfNotSignedOut(const QString& why) {
    if (!why.isEmpty()) {
        tell(tr("サインアウトできませんでした。トークンがキーリングに残っています。\n") + why);
    }
    return !why.isEmpty();
}

void AccountDialog::tell(const QString& text) {
    messageBoxes_.show(text, QStringLiteral("Brindle"), MessageBoxes::Icon::Exclamation,
                       MessageBoxes::Buttons::Ok);
}

void AccountDialog::closeEvent(QCloseEvent* event) {
    if (signingIn_) {
        event->ignore();
        return;
    }
    Window::closeEvent(event);
}

// Enter confirms the dialog (OK is its default button) and Escape cancels it.
void AccountDialog::enterPressed() {
    okButton->click();
}

void AccountDialog::escapePressed() {
    cancelButton->click();
}

} // namespace brindle
