#include "settings/core/SeenMessages.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace brindle {
namespace {

// Each mailbox keeps its newest ids, the mailboxes kept longest ago go first,
// and the file is Shift-JIS with CR LF, ids one a line under their mailbox.
TEST(SeenMessagesTest, KeepsTheNewestIdsOfTheMailboxesCheckedLast) {
    test::TempFolder temp;
    const SeenMessages seen(temp.file("seen.txt"));
    QStringList ids;
    for (int id = 0; id <= SeenMessages::MaxIdsPerMailbox; ++id) {
        ids << QString::number(id);
    }
    for (int mailbox = 0; mailbox <= SeenMessages::MaxMailboxes; ++mailbox) {
        ASSERT_TRUE(seen.keep(QString::number(mailbox), {"a", "with blank"}));
    }
    ASSERT_TRUE(seen.keep("imaps://m.example 山田", ids));
    EXPECT_EQ(seen.ids("imaps://m.example 山田"), ids.mid(1));
    EXPECT_TRUE(seen.ids("0").isEmpty());
    EXPECT_TRUE(seen.ids("1").isEmpty());
    EXPECT_EQ(seen.ids("2"), QStringList{"a"});
    EXPECT_TRUE(temp.read("seen.txt").startsWith("mailbox 2\r\na\r\nmailbox 3\r\n"));
    EXPECT_TRUE(temp.read("seen.txt").contains("mailbox imaps://m.example \x8eR\x93\x63\r\n1\r\n"));
    EXPECT_FALSE(seen.keep("two\nlines", ids));
}

} // namespace
} // namespace brindle
