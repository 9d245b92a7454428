// The grading rules of experiments 2 to 4 and the total of the four grades.
#include <gtest/gtest.h>

#include "lab/CatalystGrading.h"
#include "lab/EquilibriumAnswers.h"
#include "lab/Grades.h"
#include "lab/TemperatureCoefficients.h"

namespace {

struct CoefficientRow {
    const char* name;
    const char* numeratorBox;
    const char* denominatorBox;
    const char* numeratorRate;
    const char* denominatorRate;
    HalfRounding halves;
    CoefficientCheck::Outcome outcome;
    const char* shown;
};

class CoefficientTest : public ::testing::TestWithParam<CoefficientRow> {};

TEST_P(CoefficientTest, JudgesPairAndRoundsRatio) {
    const CoefficientRow& row = GetParam();
    const CoefficientCheck check = checkCoefficient(
        QString::fromUtf8(row.numeratorBox), QString::fromUtf8(row.denominatorBox),
        QString::fromUtf8(row.numeratorRate), QString::fromUtf8(row.denominatorRate), row.halves);
    EXPECT_EQ(check.outcome, row.outcome);
    EXPECT_EQ(check.coefficientText.toStdString(), row.shown);
}

using O = CoefficientCheck::Outcome;
INSTANTIATE_TEST_SUITE_P(
    Pairs, CoefficientTest,
    ::testing::Values(CoefficientRow{"first", "0,06", "0,03", "0,06", "0,03", HalfRounding::ToEven,
                                     O::Accepted, "2"},
                      CoefficientRow{"second", "0,11", "0,06", "0,11", "0,06",
                                     HalfRounding::AwayFromZero, O::Accepted, "2"},
                      CoefficientRow{"reversed", "0,03", "0,06", "0,06", "0,03",
                                     HalfRounding::ToEven, O::Rejected, ""},
                      CoefficientRow{"trailingZero", "0,060", "0,03", "0,06", "0,03",
                                     HalfRounding::ToEven, O::Rejected, ""},
                      CoefficientRow{"leadingSpace", " 0,06", "0,03", "0,06", "0,03",
                                     HalfRounding::ToEven, O::Rejected, ""},
                      CoefficientRow{"halfToEven", "1,25", "0,5", "1,25", "0,5",
                                     HalfRounding::ToEven, O::Accepted, "2"},
                      CoefficientRow{"halfAway", "1,25", "0,5", "1,25", "0,5",
                                     HalfRounding::AwayFromZero, O::Accepted, "3"},
                      CoefficientRow{"threeAndHalfToEven", "3,5", "1", "3,5", "1",
                                     HalfRounding::ToEven, O::Accepted, "4"},
                      CoefficientRow{"emptyDenominator", "0,06", "", "0,06", "",
                                     HalfRounding::ToEven, O::Unreadable, ""},
                      CoefficientRow{"zeroDenominator", "0,06", "0", "0,06", "0",
                                     HalfRounding::ToEven, O::Unreadable, ""},
                      CoefficientRow{"lonelyComma", ",", "0,03", ",", "0,03", HalfRounding::ToEven,
                                     O::Unreadable, ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct BoxRow {
    const char* name;
    QStringList texts;
    bool right;
};

class AnswerBoxTest : public ::testing::TestWithParam<BoxRow> {};

TEST_P(AnswerBoxTest, ComparesExactly) {
    EXPECT_EQ(answerBoxesRight(GetParam().texts), GetParam().right);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, AnswerBoxTest,
    ::testing::Values(BoxRow{"right", {"в", "г", "а", "б", "3", "3"}, true},
                      BoxRow{"upperCase", {"В", "г", "а", "б", "3", "3"}, false},
                      BoxRow{"trailingSpace", {"в", "г", "а", "б", "3", "3 "}, false},
                      BoxRow{"latinA", {"в", "г", "a", "б", "3", "3"}, false},
                      BoxRow{"swapped", {"г", "в", "а", "б", "3", "3"}, false},
                      BoxRow{"empty", {"", "", "", "", "", ""}, false}),
    [](const auto& info) { return std::string(info.param.name); });

// The total the results window and the teacher's view show: the mean of the four grades, a
// missing one counting 0, to the nearest tenth, the single-precision grades taken as stored.
TEST(TotalGrade, MeanOfFourToTheTenthWithAMissingGradeCountingZero) {
    EXPECT_EQ(totalGrade(std::array<double, 4>{5, 5, 5, 5}), 5);
    EXPECT_EQ(totalGrade(std::array<double, 4>{5, 0, 0, 0}), 1.3);  // 1.25 rounds up
    EXPECT_EQ(totalGrade(std::array<double, 4>{4.5, 4.3f, 2.5, 5}), 4.1);
    const std::array<std::optional<float>, 4> journal{4.5f, 4.3f, std::nullopt, 5.0f};
    EXPECT_EQ(totalGrade(journal), totalGrade(std::array<double, 4>{4.5, 4.3f, 0, 5}));
    EXPECT_EQ(totalGrade(journal), 3.5);
}

TEST(CatalystGrade, FiveUntilTheWrongOptionThenTwoAndAHalfForTheRun) {
    CatalystGrading grading;
    EXPECT_EQ(grading.grade, 5);
    grading.chooseWrongOption();
    grading.chooseWrongOption();
    EXPECT_EQ(grading.grade, 2.5);
    grading = {};
    EXPECT_EQ(grading.grade, 5);
}

}  // namespace
