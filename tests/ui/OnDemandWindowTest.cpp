#include "ui/OnDemandWindow.h"
#include "ui/Window.h"

#include <QCoreApplication>
#include <QEvent>
#include <gtest/gtest.h>

namespace brindle {
namespace {

class CountingWindow : public Window {
public:
    explicit CountingWindow(int& prepares, int& closes) : prepares_(prepares), closes_(closes) {}
    void prepare() override { ++prepares_; }
    void saveOnClose() override { ++closes_; }

private:
    int& prepares_;
    int& closes_;
};

class OnDemandWindowTest : public ::testing::Test {
protected:
    int created = 0;
    int prepares = 0;
    int closes = 0;
    OnDemandWindow<CountingWindow> instance{[this] {
        ++created;
        return new CountingWindow(prepares, closes);
    }};
};

TEST_F(OnDemandWindowTest, FirstUseCreatesTheWindowHiddenAndRunsItsPrepareOnce) {
    EXPECT_FALSE(instance.exists());
    CountingWindow& window = instance.get();
    EXPECT_TRUE(instance.exists());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(&instance.get(), &window);
    EXPECT_EQ(created, 1);
    EXPECT_EQ(prepares, 1);
}

TEST_F(OnDemandWindowTest, ShowingTwiceShowsTheSameWindow) {
    instance.show();
    CountingWindow* first = &instance.get();
    instance.show();
    EXPECT_EQ(&instance.get(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(created, 1);
}

TEST_F(OnDemandWindowTest, ClosingDestroysAndTheNextUseCreatesItAgain) {
    instance.show();
    QPointer<CountingWindow> first = &instance.get();
    first->close();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(instance.exists());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());

    CountingWindow& second = instance.get();
    EXPECT_FALSE(second.isVisible());
    EXPECT_EQ(created, 2);
    EXPECT_EQ(prepares, 2);
}

TEST_F(OnDemandWindowTest, CloseOfAWindowThatDoesNotExistCreatesNothing) {
    instance.close();
    EXPECT_FALSE(instance.exists());
    EXPECT_EQ(created, 0);
}

} // namespace
} // namespace brindle
