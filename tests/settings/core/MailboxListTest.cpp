#include "settings/core/MailboxList.h"

#include "settings/core/Cp932.h"
#include "settings/core/ProgramFiles.h"

#include "support/TempFolder.h"

#include <QFile>
#include <gtest/gtest.h>
#include <optional>

namespace brindle {
namespace {

using SignIn = Mailbox::SignIn;

const Mailbox work{QStringLiteral("仕事"), QStringLiteral("imaps://mail.example.jp"),
                   QStringLiteral("taro"), SignIn::Password};
const Mailbox gmail{QStringLiteral("Gmail"), QStringLiteral("imaps://imap.gmail.com"),
                    QStringLiteral("taro@gmail.com"), SignIn::Browser};

QList<Mailbox> numbered(int count) {
    QList<Mailbox> mailboxes;
    for (int number = 1; number <= count; ++number) {
        mailboxes.append({QString::number(number), QStringLiteral("pop3s://%1.example").arg(number),
                          QStringLiteral("id%1").arg(number)});
    }
    return mailboxes;
}

// One row: the file as it lies (UTF-8 text stored as Shift-JIS with CR LF;
// nullopt: no file), a list to write (nullopt: none), whether the write
// succeeds, what is read afterwards and a text no longer in the file.
struct Case {
    const char* name;
    std::optional<QByteArray> fileBefore;
    std::optional<QList<Mailbox>> written;
    bool writeSucceeds;
    QList<Mailbox> read;
    QByteArray gone = {};
};

class MailboxListTest : public ::testing::TestWithParam<Case> {
protected:
    test::TempFolder temp;
    ProgramFiles files{temp.path(), SettingsLocation::besideProgram(temp.path())};
    QString path() const { return temp.file(QStringLiteral("★MailData/mailboxes.ini")); }
};

TEST_P(MailboxListTest, StoresAndReadsTheList) {
    const Case& c = GetParam();
    temp.makeFolder(QStringLiteral("★MailData"));
    if (c.fileBefore) {
        QByteArray text = *c.fileBefore;
        temp.write(QStringLiteral("★MailData/mailboxes.ini"),
                   *Cp932::encode(QString::fromUtf8(text.replace("\n", "\r\n"))));
    }
    const QByteArray before =
        c.fileBefore ? temp.read(QStringLiteral("★MailData/mailboxes.ini")) : QByteArray();
    const MailboxList list(files.mailboxSettings());
    if (c.written) {
        EXPECT_EQ(list.write(*c.written), c.writeSucceeds);
    }
    EXPECT_EQ(list.read(), c.read);
    if (!c.gone.isEmpty()) {
        EXPECT_FALSE(temp.read(QStringLiteral("★MailData/mailboxes.ini")).contains(c.gone));
    }
    if (!c.written || !c.writeSucceeds) {
        // Reading, and a refused write, never make or touch the file.
        EXPECT_EQ(QFile::exists(path()), c.fileBefore.has_value());
        if (c.fileBefore) {
            EXPECT_EQ(temp.read(QStringLiteral("★MailData/mailboxes.ini")), before);
        }
    } else {
        EXPECT_EQ(QFile::permissions(path()),
                  QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    }
}

const QByteArray twoStored = "[EXEINI]\nCOUNT=2\nNAME1=仕事\nSERVER1=imaps://mail.example.jp\n"
                             "ID1=taro\nAUTH1=\nNAME2=Gmail\nSERVER2=imaps://imap.gmail.com\n"
                             "ID2=taro@gmail.com\nAUTH2=OAUTH2\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, MailboxListTest,
    ::testing::Values(
        Case{"NoFileNoMailboxes", std::nullopt, std::nullopt, false, {}},
        Case{"ReadsEachWithItsSignIn", twoStored, std::nullopt, false, {work, gmail}},
        Case{"WritesAndReadsBack", std::nullopt, QList{gmail, work}, true, {gmail, work}},
        Case{"ShorterListLeavesNoneOfTheRemoved",
             twoStored,
             QList{gmail},
             true,
             {gmail},
             "mail.example.jp"},
        Case{"CountBeyondTheFileReadsWhatIsThere",
             "[EXEINI]\nCOUNT=5\nNAME1=a\nSERVER1=pop3://x\nID1=u\n",
             std::nullopt,
             false,
             {{"a", "pop3://x", "u"}}},
        Case{"DesktopAccountKeepsItsNameAndNeedsOne",
             "[EXEINI]\nCOUNT=3\nNAME1=a\nSERVER1=imaps://x\nID1=u\nAUTH1=GOA\n"
             "DESKTOPACCOUNT1=account_17\nNAME2=b\nSERVER2=imaps://y\nID2=v\nAUTH2=GOA\n"
             "NAME3=c\nSERVER3=imaps://z\nID3=w\nDESKTOPACCOUNT3=stray\n",
             std::nullopt,
             false,
             {{"a", "imaps://x", "u", SignIn::DesktopAccount, "account_17"},
              {"c", "imaps://z", "w"}}},
        Case{"DesktopAccountWrittenAndReadBack",
             std::nullopt,
             QList{Mailbox{"a", "imaps://x", "u", SignIn::DesktopAccount, "account_17"}},
             true,
             {{"a", "imaps://x", "u", SignIn::DesktopAccount, "account_17"}}},
        Case{"EntryWithoutServerOrIdIsLeftOut",
             "[EXEINI]\nCOUNT=3\nNAME1=a\nID1=u\nNAME2=b\nSERVER2=pop3://x\nNAME3=c\n"
             "SERVER3=pop3://y\nID3=v\nAUTH3=bogus\n",
             std::nullopt,
             false,
             {{"c", "pop3://y", "v"}}},
        Case{"NoMoreThanSevenAreRead",
             [] {
                 QByteArray file = "[EXEINI]\nCOUNT=9\n";
                 for (int n = 1; n <= 9; ++n) {
                     const QByteArray d = QByteArray::number(n);
                     file += "NAME" + d + "=" + d + "\nSERVER" + d + "=pop3s://" + d +
                             ".example\nID" + d + "=id" + d + "\n";
                 }
                 return file;
             }(),
             std::nullopt, false, numbered(7)},
        Case{"NegativeCountHasNone",
             "[EXEINI]\nCOUNT=-2\nNAME1=a\nSERVER1=p\nID1=u\n",
             std::nullopt,
             false,
             {}},
        Case{"EightAreRefused", std::nullopt, numbered(8), false, {}},
        Case{"AValueShiftJisCannotHoldIsRefusedWhole",
             twoStored,
             QList{work, Mailbox{QStringLiteral("\U0001F4EE"), "pop3://p", "u"}},
             false,
             {work, gmail}},
        Case{"ALineBreakIsRefusedWhole",
             twoStored,
             QList{Mailbox{"a", "pop3://p\nPOP3=evil", "u"}},
             false,
             {work, gmail}}),
    [](const ::testing::TestParamInfo<Case>& row) { return std::string(row.param.name); });

} // namespace
} // namespace brindle
