#include "shell/FormInstance.h"
#include "shell/Form.h"

#include <QCoreApplication>
#include <QEvent>
#include <gtest/gtest.h>

namespace brindle {
namespace {

class CountingForm : public Form {
public:
    explicit CountingForm(int& loads, int& unloads) : loads_(loads), unloads_(unloads) {}
    void Form_Load() override { ++loads_; }
    void Form_Unload() override { ++unloads_; }

private:
    int& loads_;
    int& unloads_;
};

class FormInstanceTest : public ::testing::Test {
protected:
    int created = 0;
    int loads = 0;
    int unloads = 0;
    FormInstance<CountingForm> instance{[this] {
        ++created;
        return new CountingForm(loads, unloads);
    }};
};

TEST_F(FormInstanceTest, FirstUseCreatesTheWindowHiddenAndRunsItsLoadOnce) {
    EXPECT_FALSE(instance.exists());
    CountingForm& form = instance.get();
    EXPECT_TRUE(instance.exists());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(&instance.get(), &form);
    EXPECT_EQ(created, 1);
    EXPECT_EQ(loads, 1);
}

TEST_F(FormInstanceTest, ShowingTwiceShowsTheSameWindow) {
    instance.Show();
    CountingForm* first = &instance.get();
    instance.Show();
    EXPECT_EQ(&instance.get(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(created, 1);
}

TEST_F(FormInstanceTest, ClosingDestroysAndTheNextUseCreatesItAgain) {
    instance.Show();
    QPointer<CountingForm> first = &instance.get();
    first->close();
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(instance.exists());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());

    CountingForm& second = instance.get();
    EXPECT_FALSE(second.isVisible());
    EXPECT_EQ(created, 2);
    EXPECT_EQ(loads, 2);
}

TEST_F(FormInstanceTest, CloseOfAWindowThatDoesNotExistCreatesNothing) {
    instance.Close();
    EXPECT_FALSE(instance.exists());
    EXPECT_EQ(created, 0);
}

} // namespace
} // namespace brindle
