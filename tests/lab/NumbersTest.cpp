// Numbers as the windows show and read them, and the one-second wait of the splash.
#include <gtest/gtest.h>

#include "lab/Clock.h"
#include "lab/Numbers.h"

namespace {
struct RoundCase {
    const char* name;
    int n;
    double x;
    double expected;
};

class RoundToFractionTest : public ::testing::TestWithParam<RoundCase> {};
}  // namespace

TEST_P(RoundToFractionTest, RoundsToTheNearestFractionTiesAwayFromZero) {
    const RoundCase& c = GetParam();
    EXPECT_EQ(roundToFraction(c.n, c.x), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, RoundToFractionTest,
    ::testing::Values(
        RoundCase{"tie_up", 10, 2.25, 2.3}, RoundCase{"tie_down_negative", 10, -2.25, -2.3},
        RoundCase{"third", 100, 1.0 / 3.0, 0.33}, RoundCase{"whole_tie", 1, 2.5, 3},
        RoundCase{"below_tie", 10, 4.449, 4.4}, RoundCase{"product_rounded_first", 10, 0.15, 0.2},
        RoundCase{"seven_quarter", 10, 7.25, 7.3}, RoundCase{"seven_24", 10, 7.24, 7.2},
        RoundCase{"minus_half", 1, -0.5, -1}, RoundCase{"zero", 100, 0, 0},
        RoundCase{"rate_of_8s", 100, 1.0 / 8.0, 0.13},
        RoundCase{"rate_of_12s", 100, 1.0 / 12.0, 0.08}, RoundCase{"mean_2_25", 10, 2.25, 2.3}),
    [](const ::testing::TestParamInfo<RoundCase>& info) { return std::string(info.param.name); });

TEST(NumberFormat, GeneralFormatWithAComma) {
    EXPECT_EQ(formatGeneral(double(4.3f)), QStringLiteral("4,30000019073486"));
    EXPECT_EQ(formatGeneral(double(4.5f)), QStringLiteral("4,5"));
    EXPECT_EQ(formatGeneral(0.13), QStringLiteral("0,13"));
    EXPECT_EQ(formatGeneral(2.3), QStringLiteral("2,3"));
    EXPECT_EQ(formatGeneral(5), QStringLiteral("5"));
    EXPECT_EQ(formatGeneral(0), QStringLiteral("0"));
    EXPECT_EQ(formatGeneral(-2.25), QStringLiteral("-2,25"));
    EXPECT_EQ(formatGeneral(250), QStringLiteral("250"));
    EXPECT_EQ(formatGeneral(0.0001), QStringLiteral("0,0001"));
    EXPECT_EQ(formatGeneral(0.00001), QStringLiteral("1E-5"));
    EXPECT_EQ(formatGeneral(1.0 / 3.0), QStringLiteral("0,333333333333333"));
    EXPECT_EQ(formatGeneral(1e15), QStringLiteral("1E15"));
    EXPECT_EQ(formatGeneral(123456789012345.0), QStringLiteral("123456789012345"));
}

TEST(NumberFormat, ParsingAcceptsOnlyTheComma) {
    EXPECT_EQ(parseNumber(QStringLiteral("0,13")), 0.13);
    EXPECT_EQ(parseNumber(QStringLiteral(" 2,3 ")), 2.3);
    EXPECT_EQ(parseNumber(QStringLiteral("12")), 12.0);
    EXPECT_EQ(parseNumber(QStringLiteral("-1,5E2")), -150.0);
    EXPECT_EQ(parseNumber(QStringLiteral(",5")), 0.5);
    for (const char* bad : {"", " ", "2.3", "abc", "1,2,3", "0,1x", "--1", ","})
        EXPECT_FALSE(parseNumber(QString::fromUtf8(bad)).has_value()) << bad;
    // What is shown reads back as the same number.
    for (double v : {0.13, 4.30000019073486, 1e-7, 2.5, 123456.75})
        EXPECT_EQ(parseNumber(formatGeneral(v)), v);
}

TEST(WaitOneSecondTest, EndsAtTheNextWholeSecondOfTheTickCounter) {
    ManualClock clock;
    setLabClock(&clock);
    for (std::int64_t start : {1500, 1999, 2000, 0}) {
        clock.ms = start;
        waitOneSecond();
        EXPECT_EQ(clock.ms, (start / 1000 + 1) * 1000) << start;
    }
    // A wrap of the 32-bit counter ends the wait as well.
    clock.ms = 0xFFFFFFFFLL - 5;
    waitOneSecond();
    EXPECT_LE(clock.ms, 0xFFFFFFFFLL + 1);
    setLabClock(nullptr);
}
