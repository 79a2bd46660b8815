#include "settings/MailboxListWindow.h"
#include "settings/MailboxEditor.h"
#include "settings/core/MailboxList.h"
#include "support/MainWindowFixture.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>

namespace brindle::test {
namespace {

class MailboxListWindowTest : public MainWindowFixture {
protected:
    QList<Mailbox> stored() const {
        return MailboxList(ProgramFiles(programFolder.path(), settings).mailboxSettings()).read();
    }
    static void confirm(MailboxEditor& editor, const QString& name, const QString& server,
                        const QString& password) {
        editor.nameEdit->setText(name);
        editor.serverEdit->setText(server);
        editor.idEdit->setText(QStringLiteral("taro"));
        editor.passwordEdit->setText(password);
        editor.okButton->click();
    }
    std::map<QString, QByteArray>& keyring() { return fakes.secrets->secrets; }
};

TEST_F(MailboxListWindowTest, KeyringFailureKeepsNothingAndAChangedAccountLeavesNoItemBehind) {
    start();
    MailboxListWindow& list = mainWindow->mailboxListWindow.get();
    fakes.secrets->failure = SecretStore::Failure{QStringLiteral("no keyring here")};
    QPointer<MailboxEditor> editor = &list.addMailbox();
    confirm(*editor, QStringLiteral("仕事"), QStringLiteral("imaps://a.example"),
            QStringLiteral("pw"));
    ASSERT_TRUE(editor);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_TRUE(fakes.messageBoxes->shown.back().text.contains(QStringLiteral("no keyring here")));
    EXPECT_FALSE(QFile::exists(settings.folder + QStringLiteral("/★MailData/mailboxes.ini")));

    fakes.secrets->failure.reset();
    editor->okButton->click();
    const Mailbox work{QStringLiteral("仕事"), QStringLiteral("imaps://a.example"),
                       QStringLiteral("taro")};
    EXPECT_EQ(stored(), QList{work});
    EXPECT_EQ(keyring(), (std::map<QString, QByteArray>{
                             {QStringLiteral("password imaps://a.example taro"), "pw"}}));

    // The same account twice would share one keyring item.
    const qsizetype boxes = fakes.messageBoxes->shown.size();
    confirm(list.addMailbox(), QStringLiteral("again"), work.server, QStringLiteral("other"));
    EXPECT_EQ(fakes.messageBoxes->shown.size(), boxes + 1);
    EXPECT_EQ(stored(), QList{work});

    // A new name alone keeps the stored password; a new server takes it along.
    list.list->setCurrentItem(list.list->topLevelItem(1));
    confirm(list.changeMailbox(), QStringLiteral("会社"), work.server, QString());
    EXPECT_EQ(keyring().at(QStringLiteral("password imaps://a.example taro")), "pw");
    list.list->setCurrentItem(list.list->topLevelItem(1));
    confirm(list.changeMailbox(), QStringLiteral("会社"), QStringLiteral("imaps://b.example"),
            QStringLiteral("pw2"));
    EXPECT_EQ(stored(), (QList{Mailbox{QStringLiteral("会社"), QStringLiteral("imaps://b.example"),
                                       QStringLiteral("taro")}}));
    EXPECT_EQ(keyring(), (std::map<QString, QByteArray>{
                             {QStringLiteral("password imaps://b.example taro"), "pw2"}}));
}

} // namespace
} // namespace brindle::test
