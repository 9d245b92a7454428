#include <gtest/gtest.h>

#include <QLineEdit>
#include <QtTest/QTest>

#include "TestSupport.h"
#include "experiments/common/MeasurementTable.h"
#include "toolkit/StringGrid.h"

namespace {
class MeasurementTableTest : public LabTest {
protected:
    void SetUp() override {
        LabTest::SetUp();
        grid = std::make_unique<StringGrid>();
        grid->setColCount(MeasurementTable::Columns);
        grid->setRowCountCells(MeasurementTable::Rows);
        setupMeasurementTable(grid.get());
    }
    void fillColumn(int column, const QStringList& texts) {
        for (int r = 1; r <= 4; ++r) grid->setCell(column, r, texts.value(r - 1));
    }
    std::unique_ptr<StringGrid> grid;
};
}  // namespace

TEST_F(MeasurementTableTest, HeadingsFixedTextsAndWidths) {
    const QStringList headings = {
        "№ пробирки", "Na2S2O3, мл",           "H2O, мл", "H2SO4, мл", "C` Na2S2O3 моль/л",
        "Время T, с", "Скорость реакции, у.е."};
    for (int c = 0; c < 7; ++c) EXPECT_EQ(grid->cell(c, 0), headings[c]) << c;
    EXPECT_EQ(grid->cell(4, 0).at(1).unicode(), 96);  // a grave accent after the C
    const char* rows[4][4] = {{"1", "2 мл", "3 мл", "5 мл"},
                              {"2", "3 мл", "2 мл", "5 мл"},
                              {"3", "4 мл", "1 мл", "5 мл"},
                              {"4", "5 мл", "0 мл", "5 мл"}};
    for (int r = 1; r <= 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(grid->cell(c, r), QString::fromUtf8(rows[r - 1][c]));
    const int widths[] = {70, 78, 55, 65, 108};
    for (int c = 0; c < 5; ++c) EXPECT_EQ(grid->colWidth(c), widths[c]) << c;
}

TEST_F(MeasurementTableTest, SetUpAgainKeepsTheStudentsColumns) {
    fillColumn(4, {"0,02", "0,03", "0,04", "0,05"});
    fillColumn(6, {"x", "", "", ""});
    setupMeasurementTable(grid.get());
    EXPECT_EQ(grid->cell(4, 2), "0,03");
    EXPECT_EQ(grid->cell(6, 1), "x");
}

TEST_F(MeasurementTableTest, numericKeyFilter) {
    struct Case {
        const char* name;
        unsigned char key;
        bool passes;
    };
    const Case cases[] = {
        {"digit 0", '0', true}, {"digit 9", '9', true},      {"comma", ',', true},
        {"backspace", 8, true}, {"enter", 13, true},         {"full stop", '.', false},
        {"letter", 'a', false}, {"minus", '-', false},       {"blank", ' ', false},
        {"escape", 27, false},  {"Cyrillic б", 0xE1, false}, {"ctrl+v", 22, false},
    };
    for (const Case& c : cases) {
        unsigned char key = c.key;
        numericKeyFilter(key);
        EXPECT_EQ(key != 0, c.passes) << c.name;
        if (c.passes) {
            EXPECT_EQ(key, c.key) << c.name;
        }
    }
}

TEST_F(MeasurementTableTest, RequireColumnShowsOneMessageAndNamesTheFirstEmptyRow) {
    QWidget window;
    auto* other = new QLineEdit(&window);
    grid->setParent(&window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    ASSERT_FALSE(grid->hasFocus());
    fillColumn(4, {"", "0,03", "", "0,05"});
    EXPECT_EQ(requireColumn(grid.get(), 4, concentrationColumnMessage()).emptyRow, 1);
    EXPECT_EQ(messages->messageTexts(),
              QStringList{QStringLiteral("Столбец \"C` Na2S2O3 моль/л\" не может быть пуст")});
    EXPECT_TRUE(grid->hasFocus());

    messages->clear();
    fillColumn(5, {"8", "12", "15", ""});
    EXPECT_EQ(requireColumn(grid.get(), 5, timeColumnMessage()).emptyRow, 4);
    EXPECT_EQ(messages->messageTexts(),
              QStringList{QStringLiteral("Столбец \"Время T, с\" не может быть пуст")});

    messages->clear();
    other->setFocus();
    fillColumn(5, {"8", "12", "15", ","});  // only emptiness counts
    EXPECT_TRUE(requireColumn(grid.get(), 5, timeColumnMessage()).complete());
    EXPECT_TRUE(messages->texts().isEmpty());
    EXPECT_FALSE(grid->hasFocus());
    grid->setParent(nullptr);
}

TEST_F(MeasurementTableTest, RateTexts) {
    struct Case {
        const char* time;
        const char* rate;  // nullptr: no rate
    };
    const Case cases[] = {
        {"8", "0,13"},   {"12", "0,08"}, {"250", "0"},   {"35", "0,03"},     {"0,5", "2"},
        {"200", "0,01"}, {"0", nullptr}, {",", nullptr}, {"1,2,3", nullptr}, {"", nullptr},
    };
    for (const Case& c : cases) {
        const std::optional<QString> rate = rateTextForTime(QString::fromUtf8(c.time));
        if (c.rate) {
            EXPECT_EQ(rate.value_or("<none>"), QString::fromUtf8(c.rate)) << c.time;
        } else {
            EXPECT_FALSE(rate.has_value()) << c.time;
        }
    }
}

TEST_F(MeasurementTableTest, ComputeRatesStopsAtTheFirstBadTimeAndNamesIt) {
    fillColumn(5, {"8", "12", "0", "20"});
    const RatesOutcome failed = computeRates(grid.get());
    ASSERT_TRUE(failed.failure.has_value());
    EXPECT_EQ(failed.failure->row, 3);
    EXPECT_EQ(
        messages->messageTexts(),
        QStringList{QStringLiteral("Время для пробирки 3 должно быть положительным числом.")});
    EXPECT_EQ(grid->selectedRow(), 3);
    EXPECT_EQ(grid->cell(6, 1), "0,13");
    EXPECT_EQ(grid->cell(6, 2), "0,08");
    EXPECT_EQ(grid->cell(6, 3), "");
    EXPECT_EQ(grid->cell(6, 4), "");

    messages->clear();
    fillColumn(5, {"8", "250", "0", "20"});
    EXPECT_EQ(computeRates(grid.get()).failure->row, 2);
    EXPECT_EQ(messages->messageTexts(),
              QStringList{QStringLiteral("Время для пробирки 2 слишком велико: скорость реакции "
                                         "округляется до 0.")});

    messages->clear();
    fillColumn(5, {"35", "23", "17,5", "14"});
    EXPECT_TRUE(computeRates(grid.get()).complete());
    EXPECT_TRUE(messages->texts().isEmpty());
    EXPECT_EQ(grid->cell(6, 1), "0,03");
    EXPECT_EQ(grid->cell(6, 2), "0,04");
    EXPECT_EQ(grid->cell(6, 3), "0,06");
    EXPECT_EQ(grid->cell(6, 4), "0,07");
}
