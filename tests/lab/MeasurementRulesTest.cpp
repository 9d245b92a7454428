#include <gtest/gtest.h>

#include "lab/MeasurementRules.h"

TEST(MeasurementRulesTest, Table1ShowsItsHeadingsTubesAndVolumes) {
    const QStringList headings = {
        "№ пробирки", "Na2S2O3, мл",           "H2O, мл", "H2SO4, мл", "C` Na2S2O3 моль/л",
        "Время T, с", "Скорость реакции, у.е."};
    for (int c = 0; c < MeasurementTable::Columns; ++c)
        EXPECT_EQ(MeasurementTable::heading(c), headings[c]) << c;
    EXPECT_EQ(MeasurementTable::heading(MeasurementTable::Columns), QString());
    EXPECT_EQ(MeasurementTable::heading(-1), QString());

    // Thiosulfate and water make 5 ml together in every tube; the acid is always 5 ml.
    const char* rows[4][4] = {{"1", "2 мл", "3 мл", "5 мл"},
                              {"2", "3 мл", "2 мл", "5 мл"},
                              {"3", "4 мл", "1 мл", "5 мл"},
                              {"4", "5 мл", "0 мл", "5 мл"}};
    for (int r = 1; r <= MeasurementTable::LastRow; ++r)
        for (int c = MeasurementTable::TubeColumn; c <= MeasurementTable::AcidColumn; ++c)
            EXPECT_EQ(MeasurementTable::fixedText(c, r), QString::fromUtf8(rows[r - 1][c]))
                << r << "," << c;
    // The student's columns have no fixed text, and only they can be selected.
    for (int c = MeasurementTable::ConcentrationColumn; c < MeasurementTable::Columns; ++c)
        EXPECT_EQ(MeasurementTable::fixedText(c, 1), QString()) << c;
    for (int c = 0; c < MeasurementTable::Columns; ++c)
        EXPECT_EQ(MeasurementTable::isSelectable(c, 1),
                  c == MeasurementTable::ConcentrationColumn || c == MeasurementTable::TimeColumn)
            << c;
}

TEST(MeasurementRulesTest, Table2ShowsItsHeadingsAndTemperatures) {
    const QStringList headings = {" № пробирки", " Время, c", " T oC", " Vусл = 1/Время",
                                  " Температурный коэфф-т"};
    for (int c = 0; c < TemperatureTable::Columns; ++c)
        EXPECT_EQ(TemperatureTable::heading(c), headings[c]) << c;
    EXPECT_EQ(TemperatureTable::heading(TemperatureTable::Columns), QString());
    EXPECT_EQ(TemperatureTable::temperatureText(1), "25");
    EXPECT_EQ(TemperatureTable::temperatureText(2), "35");
    EXPECT_EQ(TemperatureTable::temperatureText(3), "45");
    EXPECT_EQ(TemperatureTable::temperatureText(0), QString());
    EXPECT_EQ(TemperatureTable::temperatureText(4), QString());
}

TEST(MeasurementRulesTest, AColumnIsCompleteWhenNoCellIsEmpty) {
    struct Case {
        QStringList cells;
        std::optional<int> emptyRow;
    };
    const Case cases[] = {
        {{"0,02", "0,03", "0,04", "0,05"}, std::nullopt},
        {{"", "0,03", "", "0,05"}, 1},
        {{"8", "12", "15", ""}, 4},
        {{"8", "12", "15", ","}, std::nullopt},  // only emptiness counts, not the number
        {{" ", "x", "-1"}, std::nullopt},
        {{}, std::nullopt},
    };
    for (const Case& c : cases) {
        const ColumnCheck check = checkColumnFilled(c.cells);
        EXPECT_EQ(check.emptyRow, c.emptyRow) << c.cells.join('|').toStdString();
        EXPECT_EQ(check.complete(), !c.emptyRow.has_value());
    }
}

TEST(MeasurementRulesTest, RatesRunRowByRowUpToTheFirstUnusableTime) {
    struct Case {
        const char* name;
        QStringList times;
        QStringList rates;
        int failingRow;  // 0: none
        RateProblem problem;
    };
    const Case cases[] = {
        {"all usable", {"35", "23", "17,5", "14"}, {"0,03", "0,04", "0,06", "0,07"}, 0, {}},
        {"zero", {"8", "12", "0", "20"}, {"0,13", "0,08"}, 3, RateProblem::TimeNotPositive},
        {"not a number", {",", "12"}, {}, 1, RateProblem::TimeNotPositive},
        {"empty", {"8", ""}, {"0,13"}, 2, RateProblem::TimeNotPositive},
        {"negative", {"-5"}, {}, 1, RateProblem::TimeNotPositive},
        {"rounds to 0", {"8", "250", "0"}, {"0,13"}, 2, RateProblem::RateRoundsToZero},
        {"just above 0", {"200"}, {"0,01"}, 0, {}},
        {"half a second", {"0,5"}, {"2"}, 0, {}},
        {"no rows", {}, {}, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RatesOutcome outcome = ratesForTimes(c.times);
        EXPECT_EQ(outcome.rates, c.rates);
        EXPECT_EQ(outcome.complete(), c.failingRow == 0);
        if (c.failingRow == 0) continue;
        ASSERT_TRUE(outcome.failure.has_value());
        EXPECT_EQ(outcome.failure->row, c.failingRow);
        EXPECT_EQ(outcome.failure->problem, c.problem);
    }
}
