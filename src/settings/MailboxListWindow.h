#pragma once

#include "settings/core/DesktopAccounts.h"
#include "settings/core/Mailbox.h"
#include "settings/core/ProgramFiles.h"
#include "ui/Window.h"

#include <QList>
#include <QPointer>

class QPushButton;
class QTreeWidget;

namespace brindle {

class BrowserSignIn;

class MailboxEditor;
class MailboxPasswords;
class MessageBoxes;
struct SharedSettings;

// The mailboxes the program watches: the first one (the server and account
// of 設定, edited there as always) and the others, which are added, changed,
// removed and moved here. Every change is stored at once; a mailbox's
// password or tokens live in the keyring and go with it.
class MailboxListWindow : public Window {
    Q_OBJECT
public:
    MailboxListWindow(QWidget* parent, ProgramFiles files, const SharedSettings& shared,
                      MailboxPasswords& passwords, BrowserSignIn& browserSignIn,
                      DesktopAccounts& desktopAccounts, MessageBoxes& messageBoxes);

    void prepare() override;
    // The editor for a new mailbox, or for the selected one.
    MailboxEditor& addMailbox();
    MailboxEditor& changeMailbox();
    void removeMailbox();
    void moveUp();
    void moveDown();

    QTreeWidget* list = nullptr;
    QPushButton* addButton = nullptr;
    QPushButton* changeButton = nullptr;
    QPushButton* removeButton = nullptr;
    QPushButton* upButton = nullptr;
    QPushButton* downButton = nullptr;
    QPushButton* closeButton = nullptr;
    QPointer<MailboxEditor> editor;

signals:
    // The list in the file changed.
    void mailboxesChanged();

protected:
    void escapePressed() override;

private:
    void showList();
    void showButtons();
    // The selected mailbox among the others, or -1 (none, or the first).
    qsizetype selectedOther() const;
    MailboxEditor& openEditor(qsizetype index);
    // Stores a mailbox from the editor at index (-1: a new one); false, the
    // user told, when it could not be stored whole.
    bool store(qsizetype index, const Mailbox& mailbox, const QString& password);
    // The password or sign-in the stored mailbox needs now, unless it has it.
    bool keepCredential(const std::optional<Mailbox>& before, const Mailbox& mailbox,
                        const QString& password);
    // Removes the mailbox's password or sign-in from the keyring; why not, else empty.
    QString forgetCredential(const Mailbox& mailbox);
    bool writeList(const QList<Mailbox>& mailboxes, qsizetype select);
    bool takenByAnother(qsizetype index, const Mailbox& mailbox) const;
    QString firstMailboxId() const;
    void tell(const QString& text);

    ProgramFiles files_;
    const SharedSettings& shared_;
    MailboxPasswords& passwords_;
    BrowserSignIn& browserSignIn_;
    DesktopAccounts& desktopAccounts_;
    QList<DesktopAccounts::MailAccount> desktopMailAccounts_;
    MessageBoxes& messageBoxes_;
    QList<Mailbox> others_;
};

} // namespace brindle
