#include "ui/TimeMarks.h"

#include <QList>
#include <chrono>
#include <gtest/gtest.h>

namespace brindle::test {
namespace {

// The lines written so far, split into their fields.
QList<QList<QByteArray>> linesOf(std::FILE* file) {
    std::rewind(file);
    QByteArray text;
    char chunk[256];
    while (std::fgets(chunk, sizeof chunk, file) != nullptr) {
        text += chunk;
    }
    QList<QList<QByteArray>> lines;
    for (const QByteArray& line : text.split('\n')) {
        if (!line.isEmpty()) {
            lines.append(line.split(' '));
        }
    }
    return lines;
}

TEST(TimeMarks, EachMarkIsOneLineWithItsNameAndTheMonotonicClockInSeconds) {
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    const TimeMarks marks(out);
    using namespace std::chrono;
    const double before = duration<double>(steady_clock::now().time_since_epoch()).count();
    marks.mark("first");
    marks.mark("second");
    const double after = duration<double>(steady_clock::now().time_since_epoch()).count();

    const auto lines = linesOf(out);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].value(0), "brindle-time");
    EXPECT_EQ(lines[0].value(1), "first");
    EXPECT_EQ(lines[1].value(1), "second");
    const double first = lines[0].value(2).toDouble();
    const double second = lines[1].value(2).toDouble();
    // Microseconds are written: the times lie between the clock's readings around them.
    EXPECT_GE(first, before - 1e-6);
    EXPECT_LE(first, second);
    EXPECT_LE(second, after + 1e-6);
    std::fclose(out);
}

} // namespace
} // namespace brindle::test
