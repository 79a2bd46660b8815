#include "settings/core/ProgramFolder.h"

#include <gtest/gtest.h>

namespace brindle {
namespace {

TEST(ProgramFolder, JoinTurnsBackslashesIntoSlashesAndAddsNothing) {
    EXPECT_EQ(ProgramFolder::join("/opt/brindle", QString::fromUtf8("\\★MailData\\ini.ini")),
              QString::fromUtf8("/opt/brindle/★MailData/ini.ini"));
    EXPECT_EQ(ProgramFolder::join("/opt/brindle/", "\\Sound\\Kouka.mid"),
              "/opt/brindle//Sound/Kouka.mid");
    EXPECT_EQ(ProgramFolder::join("/opt", "x.htm"), "/optx.htm");
}

} // namespace
} // namespace brindle
