#pragma once

#include "settings/core/DesktopAccounts.h"
#include "settings/core/ProgramFiles.h"
#include "ui/Window.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace brindle {

class BrowserSignIn;
class MessageBoxes;
struct SharedSettings;

// The account dialog: POP3 ID and password, saved to the account file when
// the box is ticked; or, instead of the password, a sign-in through the web
// browser (OAuth 2.0) whose tokens the keyring keeps; or, where the desktop
// holds mail accounts, one of those, which brings its server and ID along.
class AccountDialog : public Window {
    Q_OBJECT
public:
    AccountDialog(QWidget* parent, ProgramFiles files, SharedSettings& shared,
                  MessageBoxes& messageBoxes, BrowserSignIn& browserSignIn,
                  DesktopAccounts& desktopAccounts);

    void prepare() override;
    // Shows the account a mail check is about to use.
    void showAccount(const QString& id, const QString& password);
    // An ID and a password are filled in, or the ID is signed in.
    bool hasAccount() const;
    void confirm();
    void cancel();
    // Signs the ID in through the browser, or out again when it is signed in.
    void signInOrOut();
    // Signs in through this desktop account from now on: its server and ID
    // replace the dialog's, and the files name the account, nothing secret.
    void chooseDesktopAccount(const DesktopAccounts::MailAccount& account);
    // Back to a password: the files forget the desktop account.
    void leaveDesktopAccount();

    QLabel* idLabel = nullptr;
    QLineEdit* idEdit = nullptr;
    QLabel* passwordLabel = nullptr;
    QLineEdit* passwordEdit = nullptr;
    QCheckBox* savePasswordBox = nullptr;
    QLabel* savePasswordLabel = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QPushButton* signInButton = nullptr;
    // Shown where the desktop holds mail accounts, or the account is one.
    QPushButton* desktopAccountButton = nullptr;
    QMenu* desktopAccountMenu = nullptr; // one item a desktop account

protected:
    // Stays open while a sign-in runs: the sign-in returns to it.
    void closeEvent(QCloseEvent* event) override;
    void enterPressed() override;
    void escapePressed() override;

private:
    enum class Way { Password, Browser, Desktop };

    void showWay(Way way);
    void offerDesktopAccounts(const QList<DesktopAccounts::MailAccount>& accounts);
    void signIn();
    void signOut();
    void tell(const QString& text);
    // True (and the user told) when why is not empty.
    bool tellIfNotSignedOut(const QString& why);

    ProgramFiles files_;
    SharedSettings& shared_;
    MessageBoxes& messageBoxes_;
    BrowserSignIn& browserSignIn_;
    DesktopAccounts& desktopAccounts_;
    Way way_ = Way::Password;
    // The server field and ID the keyring's tokens are kept under; empty
    // server: none.
    QString signedInServer_;
    QString signedInId_;
    bool signingIn_ = false;
};

} // namespace brindle
