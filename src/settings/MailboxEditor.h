#pragma once

#include "settings/core/DesktopAccounts.h"
#include "settings/core/Mailbox.h"
#include "ui/Window.h"

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace brindle {

class MessageBoxes;

// Adds or changes one mailbox of the list: its name, server field, ID and how
// it signs in, with the password where it has one. A desktop account brings
// its own server and ID. OK hands the fields on once they can be stored; the
// list decides and closes the editor.
class MailboxEditor : public Window {
    Q_OBJECT
public:
    // editing: the mailbox as it stands, or nullopt for a new one;
    // desktopAccounts: the mail accounts the desktop holds now.
    MailboxEditor(QWidget* parent, std::optional<Mailbox> editing,
                  QList<DesktopAccounts::MailAccount> desktopAccounts, MessageBoxes& messageBoxes);

    // Checks the fields and, when they can be stored, emits confirmed.
    void confirm();

    QLineEdit* nameEdit = nullptr;
    QLineEdit* serverEdit = nullptr;
    QLineEdit* idEdit = nullptr;
    QComboBox* signInChoice = nullptr;
    QLineEdit* passwordEdit = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;

signals:
    // password is empty where the stored one is to stay, and for a browser sign-in.
    void confirmed(const Mailbox& mailbox, const QString& password);

protected:
    void enterPressed() override;
    void escapePressed() override;

private:
    Mailbox edited() const;
    // Why the fields cannot be stored, for the user; empty when they can.
    QString whyNot() const;
    void showSignIn();

    // The sign-in chosen: Password, Browser, or the desktop account at this
    // index of desktopAccounts_ when at least DesktopAccount.
    int chosenSignIn() const;

    std::optional<Mailbox> editing_;
    QList<DesktopAccounts::MailAccount> desktopAccounts_;
    MessageBoxes& messageBoxes_;
};

} // namespace brindle
