#include "ui/WindowVisibility.h"

#include <QSignalSpy>
#include <QWidget>
#include <gtest/gtest.h>

namespace brindle {
namespace {

TEST(WindowVisibility, ShownAndNotMinimisedIsSeenAndEachChangeIsToldOnce) {
    QWidget window;
    WindowVisibility visibility(window);
    QSignalSpy changes(&visibility, &WindowVisibility::seenChanged);
    EXPECT_TRUE(visibility.isSeen()); // not shown yet: about to be

    window.show();
    window.hide();
    window.hide();
    window.show();
    window.showMinimized();
    window.showMinimized();
    window.showNormal();
    window.show();

    QList<bool> told;
    for (const QList<QVariant>& change : changes) {
        told << change.at(0).toBool();
    }
    EXPECT_EQ(told, (QList<bool>{false, true, false, true}));
    EXPECT_TRUE(visibility.isSeen());
}

TEST(WindowVisibility, AWindowHiddenWhileMinimisedIsSeenOnlyOnceRestored) {
    QWidget window;
    WindowVisibility visibility(window);
    window.showMinimized();
    window.hide();
    window.show();
    EXPECT_FALSE(visibility.isSeen());
    window.showNormal();
    EXPECT_TRUE(visibility.isSeen());
}

} // namespace
} // namespace brindle
