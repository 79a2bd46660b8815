#include "settings/core/ValueOfText.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace brindle {
namespace {

TEST(ValueOfText, ReadsTheLeadingNumberSkippingBlanksAnywhere) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"12", 12},       {"-3.5", -3.5}, {"+.5", 0.5},   {"1 2", 12},    {" - 3", -3},
        {"1\t2\n3", 123}, {"1.5e2", 150}, {"25E-1", 2.5}, {"2e", 2},      {"2e+", 2},
        {"2e - 1", 0.2},  {"7.", 7},      {"12abc", 12},  {"1.2.3", 1.2}, {"1e2e3", 100},
        {"abc", 0},       {"x12", 0},     {".", 0},       {"+", 0},       {"-", 0},
        {"", 0},          {"--1", 0},     {"e5", 0},      {".e5", 0},     {"1\r2", 1},
        {"5 分", 5},      {"１２", 0},    {"0.000", 0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(ValueOfText(QString::fromUtf8(c.text)), c.value) << c.text;
    }
}

TEST(ValueOfText, OutOfRangeGivesInfinityOrZero) {
    EXPECT_EQ(ValueOfText("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ValueOfText("-1e400"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(ValueOfText("1e-400"), 0.0);
    EXPECT_EQ(ValueOfText(QString(10000, u'9')), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ValueOfText("1e" + QString(9998, u'9')), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ValueOfText("0." + QString(9997, u'0') + "1"), 0.0);
    EXPECT_DOUBLE_EQ(ValueOfText("0." + QString(5000, u'0') + "25e5002"), 25);
    EXPECT_DOUBLE_EQ(ValueOfText(QString(5000, u' ') + "4" + QString(5000, u' ')), 4);
}

TEST(RoundHalfEven, RoundsHalvesToEvenAndClampsToTheType) {
    EXPECT_EQ(RoundHalfEven32(2.5), 2);
    EXPECT_EQ(RoundHalfEven32(3.5), 4);
    EXPECT_EQ(RoundHalfEven32(-2.5), -2);
    EXPECT_EQ(RoundHalfEven32(1.4999), 1);
    EXPECT_EQ(RoundHalfEven32(-0.6), -1);
    EXPECT_EQ(RoundHalfEven32(std::nan("")), 0);
    EXPECT_EQ(RoundHalfEven32(1e10), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(RoundHalfEven32(-std::numeric_limits<double>::infinity()),
              std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(RoundHalfEven16(40000), 32767);
    EXPECT_EQ(RoundHalfEven16(-40000), -32768);
}

} // namespace
} // namespace brindle
