#pragma once

#include "settings/core/ProgramFiles.h"
#include "ui/Window.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace brindle {

class BrowserSignIn;
class MessageBoxes;
struct SharedSettings;

// The account dialog: POP3 ID and password, saved to the account file when
// the box is ticked; or, instead of the password, a sign-in through the web
// browser (OAuth 2.0) whose tokens the keyring keeps.
class AccountDialog : public Window {
    Q_OBJECT
public:
    AccountDialog(QWidget* parent, ProgramFiles files, SharedSettings& shared,
                  MessageBoxes& messageBoxes, BrowserSignIn& browserSignIn);

    void prepare() override;
    // Shows the account a mail check is about to use.
    void showAccount(const QString& id, const QString& password);
    // An ID and a password are filled in, or the ID is signed in.
    bool hasAccount() const;
    void confirm();
    void cancel();
    // Signs the ID in through the browser, or out again when it is signed in.
    void signInOrOut();

    QLabel* idLabel = nullptr;
    QLineEdit* idEdit = nullptr;
    QLabel* passwordLabel = nullptr;
    QLineEdit* passwordEdit = nullptr;
    QCheckBox* savePasswordBox = nullptr;
    QLabel* savePasswordLabel = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QPushButton* signInButton = nullptr;

protected:
    // Stays open while a sign-in runs: the sign-in returns to it.
    void closeEvent(QCloseEvent* event) override;
    void enterPressed() override;
    void escapePressed() override;

private:
    void showSignedIn(bool signedIn);
    void signIn();
    void signOut();
    void tell(const QString& text);
    // True (and the user told) when why is not empty.
    bool tellIfNotSignedOut(const QString& why);

    ProgramFiles files_;
    SharedSettings& shared_;
    MessageBoxes& messageBoxes_;
    BrowserSignIn& browserSignIn_;
    bool signedIn_ = false;
    // The server field and ID the keyring's tokens are kept under; empty
    // server: none.
    QString signedInServer_;
    QString signedInId_;
    bool signingIn_ = false;
};

} // namespace brindle
