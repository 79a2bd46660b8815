#include "settings/MailboxListWindow.h"

#include "settings/BrowserSignIn.h"
#include "settings/MailboxEditor.h"
#include "settings/core/DesktopAccounts.h"
#include "settings/core/MailboxList.h"
#include "settings/core/MailboxPasswords.h"
#include "settings/core/SettingKeys.h"
#include "settings/core/SharedSettings.h"
#include "ui/MessageBoxes.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace brindle {

MailboxListWindow::MailboxListWindow(QWidget* parent, ProgramFiles files,
                                     const SharedSettings& shared, MailboxPasswords& passwords,
                                     BrowserSignIn& browserSignIn, DesktopAccounts& desktopAccounts,
                                     MessageBoxes& messageBoxes)
    : Window(parent, Qt::Dialog), files_(std::move(files)), shared_(shared), passwords_(passwords),
      browserSignIn_(browserSignIn), desktopAccounts_(desktopAccounts),
      messageBoxes_(messageBoxes) {
    setWindowTitle(tr("メールボックス"));
    list = new QTreeWidget(this);
    list->setHeaderLabels({tr("名前"), tr("サーバー"), tr("ID")});
    list->setRootIsDecorated(false);
    list->setAccessibleName(tr("メールボックスの一覧"));
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list->setMinimumSize(list->fontMetrics().averageCharWidth() * 64,
                         list->fontMetrics().height() * 12);
    addButton = new QPushButton(tr("追加(&A)"), this);
    changeButton = new QPushButton(tr("変更(&C)"), this);
    removeButton = new QPushButton(tr("削除(&R)"), this);
    upButton = new QPushButton(tr("上へ(&U)"), this);
    downButton = new QPushButton(tr("下へ(&D)"), this);
    closeButton = new QPushButton(tr("閉じる"), this);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {addButton, changeButton, removeButton, upButton, downButton}) {
        buttons->addWidget(button);
    }
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list);
    layout->addLayout(buttons);

    connect(list, &QTreeWidget::currentItemChanged, this, &MailboxListWindow::showButtons);
    connect(list, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (selectedOther() >= 0) {
            changeMailbox();
        }
    });
    connect(addButton, &QPushButton::clicked, this, [this] { addMailbox(); });
    connect(changeButton, &QPushButton::clicked, this, [this] { changeMailbox(); });
    connect(removeButton, &QPushButton::clicked, this, &MailboxListWindow::removeMailbox);
    connect(upButton, &QPushButton::clicked, this, &MailboxListWindow::moveUp);
    connect(downButton, &QPushButton::clicked, this, &MailboxListWindow::moveDown);
    connect(closeButton, &QPushButton::clicked, this, &MailboxListWindow::close);
}

void MailboxListWindow::prepare() {
    // The editor offers what the desktop named last; asking never waits.
    desktopAccounts_.listMailAccounts(
        this, [this](const auto& accounts) { desktopMailAccounts_ = accounts; });
    others_ = MailboxList(files_.mailboxSettings()).read();
    showList();
}

// The first row is the mailbox of 設定, named after nothing of its own.
void MailboxListWindow::showList() {
    const qsizetype selected = selectedOther();
    list->clear();
    auto* first = new QTreeWidgetItem(
        list, {tr("（設定のメールボックス）"), shared_.Pop3Server, firstMailboxId()});
    first->setToolTip(0, tr("このメールボックスは「設定」で変更します。"));
    for (const Mailbox& mailbox : others_) {
        new QTreeWidgetItem(list, {mailbox.name, mailbox.server, mailbox.id});
    }
    list->setCurrentItem(list->topLevelItem(int(selected + 1)));
    showButtons();
}

void MailboxListWindow::showButtons() {
    const qsizetype selected = selectedOther();
    addButton->setEnabled(others_.size() < MailboxList::MaxMore);
    changeButton->setEnabled(selected >= 0);
    removeButton->setEnabled(selected >= 0);
    upButton->setEnabled(selected > 0);
    downButton->setEnabled(selected >= 0 && selected + 1 < others_.size());
}

qsizetype MailboxListWindow::selectedOther() const {
    QTreeWidgetItem* item = list->currentItem();
    return item ? list->indexOfTopLevelItem(item) - 1 : -1;
}

MailboxEditor& MailboxListWindow::addMailbox() {
    return openEditor(-1);
}

MailboxEditor& MailboxListWindow::changeMailbox() {
    return openEditor(selectedOther());
}

// One editor at a time; it stays open until its mailbox is stored or the
// user cancels.
MailboxEditor& MailboxListWindow::openEditor(qsizetype index) {
    if (editor) {
        editor->close();
    }
    editor = new MailboxEditor(this, index >= 0 ? std::optional(others_[index]) : std::nullopt,
                               desktopMailAccounts_, messageBoxes_);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    connect(
        editor, &MailboxEditor::confirmed, this,
        [this, index, editing = editor.data()](const Mailbox& mailbox, const QString& password) {
            if (store(index, mailbox, password)) {
                editing->close();
            }
        });
    editor->show();
    return *editor;
}

bool MailboxListWindow::store(qsizetype index, const Mailbox& mailbox, const QString& password) {
    if (takenByAnother(index, mailbox)) {
        tell(tr("このサーバーとIDのメールボックスはもう一覧にあります。"));
        return false;
    }
    const std::optional<Mailbox> before = index >= 0 ? std::optional(others_[index]) : std::nullopt;
    if (!keepCredential(before, mailbox, password)) {
        return false;
    }
    QList<Mailbox> changed = others_;
    if (index >= 0) {
        changed[index] = mailbox;
    } else {
        changed.append(mailbox);
    }
    const bool newCredential =
        !before || !before->sameAccount(mailbox) || before->signIn != mailbox.signIn;
    if (!writeList(changed, index >= 0 ? index : changed.size() - 1)) {
        if (newCredential) {
            forgetCredential(mailbox);
        }
        return false;
    }
    // The account before is no one's any more.
    if (before && newCredential) {
        const QString why = forgetCredential(*before);
        if (!why.isEmpty()) {
            tell(tr("前のアカウントをキーリングから削除できませんでした。\n") + why);
        }
    }
    return true;
}

bool MailboxListWindow::keepCredential(const std::optional<Mailbox>& before, const Mailbox& mailbox,
                                       const QString& password) {
    const bool unchanged =
        before && before->sameAccount(mailbox) && before->signIn == mailbox.signIn;
    // The desktop gives a desktop account's secret at each login.
    if (mailbox.signIn == Mailbox::SignIn::DesktopAccount) {
        return true;
    }
    // OK on a browser sign-in signs in anew: the way back after a sign-in was
    // revoked or has expired.
    if (mailbox.signIn == Mailbox::SignIn::Browser) {
        const BrowserSignIn::Result result = browserSignIn_.signIn(mailbox.server, mailbox.id);
        if (!result.signedIn && !result.text.isEmpty()) {
            tell(tr("サインインできませんでした。\n") + result.text);
        }
        return result.signedIn;
    }
    if (unchanged && password.isEmpty()) {
        return true;
    }
    const QString why = passwords_.store(mailbox, password);
    if (!why.isEmpty()) {
        tell(tr("パスワードをキーリングに保存できなかったため、何も保存していません。\n") + why);
        return false;
    }
    return true;
}

QString MailboxListWindow::forgetCredential(const Mailbox& mailbox) {
    switch (mailbox.signIn) {
    case Mailbox::SignIn::Browser:
        return browserSignIn_.signOut(mailbox.server, mailbox.id);
    case Mailbox::SignIn::DesktopAccount:
        return {}; // the desktop keeps it
    case Mailbox::SignIn::Password:
        break;
    }
    return passwords_.remove(mailbox);
}

// The keyring item goes first: a mailbox is never removed from the list
// while its password or tokens stay behind.
void MailboxListWindow::removeMailbox() {
    const qsizetype index = selectedOther();
    if (index < 0) {
        return;
    }
    const QString why = forgetCredential(others_[index]);
    if (!why.isEmpty()) {
        tell(tr("キーリングから削除できなかったため、メールボックスを残しました。\n") + why);
        return;
    }
    QList<Mailbox> changed = others_;
    changed.removeAt(index);
    writeList(changed, std::min(index, changed.size() - 1));
}

void MailboxListWindow::moveUp() {
    const qsizetype index = selectedOther();
    if (index > 0) {
        QList<Mailbox> changed = others_;
        changed.swapItemsAt(index, index - 1);
        writeList(changed, index - 1);
    }
}

void MailboxListWindow::moveDown() {
    const qsizetype index = selectedOther();
    if (index >= 0 && index + 1 < others_.size()) {
        QList<Mailbox> changed = others_;
        changed.swapItemsAt(index, index + 1);
        writeList(changed, index + 1);
    }
}

bool MailboxListWindow::writeList(const QList<Mailbox>& mailboxes, qsizetype select) {
    if (!MailboxList(files_.mailboxSettings()).write(mailboxes)) {
        tell(tr("メールボックスの一覧を保存できませんでした。\n"
                "Shift-JISで書けない文字が含まれているか、設定ファイルに書き込めません。"));
        return false;
    }
    others_ = mailboxes;
    showList();
    list->setCurrentItem(list->topLevelItem(int(select + 1)));
    emit mailboxesChanged();
    return true;
}

// Two entries of one account would share its keyring item.
bool MailboxListWindow::takenByAnother(qsizetype index, const Mailbox& mailbox) const {
    if (mailbox.server == shared_.Pop3Server && mailbox.id == firstMailboxId()) {
        return true;
    }
    for (qsizetype other = 0; other < others_.size(); ++other) {
        if (other != index && others_[other].sameAccount(mailbox)) {
            return true;
        }
    }
    return false;
}

QString MailboxListWindow::firstMailboxId() const {
    return files_.accountSettings().readString(
        SettingKeys::Section, SettingKeys::AccountId.name,
        QString::fromUtf8(SettingKeys::AccountId.defaultText));
}

void MailboxListWindow::tell(const QString& text) {
    messageBoxes_.show(text, QStringLiteral("Brindle"), MessageBoxes::Icon::Exclamation,
                       MessageBoxes::Buttons::Ok);
}

void MailboxListWindow::escapePressed() {
    closeButton->click();
}

} // namespace brindle
