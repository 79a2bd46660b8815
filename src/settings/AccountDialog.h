#pragma once

#include "settings/core/ProgramFiles.h"
#include "ui/Window.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace brindle {

class MessageBoxes;
struct SharedSettings;

// The account dialog: POP3 ID and password, saved to the account file when
// the box is ticked.
class AccountDialog : public Window {
    Q_OBJECT
public:
    AccountDialog(QWidget* parent, ProgramFiles files, SharedSettings& shared,
                  MessageBoxes& messageBoxes);

    void prepare() override;
    // Shows the account a mail check is about to use.
    void showAccount(const QString& id, const QString& password);
    // Both an ID and a password are filled in.
    bool hasAccount() const;
    void confirm();
    void cancel();

    QLabel* idLabel = nullptr;
    QLineEdit* idEdit = nullptr;
    QLabel* passwordLabel = nullptr;
    QLineEdit* passwordEdit = nullptr;
    QCheckBox* savePasswordBox = nullptr;
    QLabel* savePasswordLabel = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;

protected:
    void enterPressed() override;
    void escapePressed() override;

private:
    ProgramFiles files_;
    SharedSettings& shared_;
    MessageBoxes& messageBoxes_;
};

} // namespace brindle
