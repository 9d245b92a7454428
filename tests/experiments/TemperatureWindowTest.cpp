#include <QPushButton>
#include <QTest>

#include "ExperimentTestSupport.h"
#include "concentration/ConcentrationWindow.h"
#include "experiments/HeadingStrip14.h"
#include "experiments/TemperatureWindow.h"
#include "toolkit/Controls.h"
#include "toolkit/FilteredEdit.h"
#include "toolkit/StringGrid.h"

namespace {

const QString WrongCoefficient =
    QStringLiteral("Температурный коэффициент рассчитан неверно. Попробуйте еще раз");

class TemperatureWindowTest : public ExperimentTest {
protected:
    void SetUp() override {
        ExperimentTest::SetUp();
        w = Form5;
        // Tube 1 of experiment 1, as its table holds it after a run.
        Form4->StringGrid1->setCell(5, 1, QStringLiteral("36"));
        Form4->StringGrid1->setCell(6, 1, QStringLiteral("0,03"));
    }

    void start() { startRun(w, 2); }

    // Steps 1 to 4 with the times of tubes 2 and 3 typed into the table.
    void reachCoefficients(const QString& time35 = QStringLiteral("18"),
                           const QString& time45 = QStringLiteral("9")) {
        start();
        w->Label14Click();
        w->Label14Click();
        w->StringGrid1->setCell(1, 2, time35);
        w->StringGrid1->setCell(1, 3, time45);
        w->Label14Click();
        ASSERT_EQ(LabState.MovieStep, 4);
    }

    void answer(FilteredEdit* box, const QString& text) {
        box->clear();
        typeKeys(box, text);
    }

    void first(const QString& a, const QString& b) {
        answer(w->Edit1, a);
        answer(w->Edit2, b);
        QTest::mouseClick(w->Button1, Qt::LeftButton);
    }

    void second(const QString& a, const QString& b) {
        answer(w->Edit3, a);
        answer(w->Edit4, b);
        QTest::mouseClick(w->Button4, Qt::LeftButton);
    }

    TForm5* w = nullptr;
};

TEST_F(TemperatureWindowTest, TableLayoutAndActivationCopy) {
    const char* headers[] = {" № пробирки", " Время, c", " T oC", " Vусл = 1/Время",
                             " Температурный коэфф-т"};
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(w->StringGrid1->cell(c, 0).toStdString(), headers[c]) << c;
    // The table's own spelling: a Latin c.
    EXPECT_TRUE(w->StringGrid1->cell(1, 0).endsWith(QLatin1Char('c')));
    EXPECT_EQ(w->StringGrid1->cell(0, 3), "3");

    start();
    EXPECT_EQ(w->StaticText2->text(), Form1->StaticText1->text());
    EXPECT_EQ(w->StaticText3->text(), Form1->StaticText2->text());
    EXPECT_EQ(w->StringGrid1->cell(1, 1), "36");
    EXPECT_EQ(w->StringGrid1->cell(3, 1), "0,03");
    EXPECT_EQ(w->StringGrid1->cell(2, 1), "25");
    EXPECT_EQ(w->StringGrid1->cell(2, 2), "35");
    EXPECT_EQ(w->StringGrid1->cell(2, 3), "45");
    EXPECT_TRUE(w->StringGrid1->isEnabled());
    EXPECT_TRUE(w->Timer4->enabled());
    EXPECT_FALSE(Form1->isVisible());
}

TEST_F(TemperatureWindowTest, HeadingStripLiesOverHeaderRow) {
    EXPECT_EQ(w->Frame14->geometry(), QRect(8, 385, 425, 16));
    const QImage strip = w->Frame14->image();
    ASSERT_EQ(strip.size(), QSize(425, 16));
    // The titles are drawn: dark pixels inside the first and the last column.
    auto darkIn = [&](int x0, int x1) {
        for (int x = x0; x < x1; ++x)
            for (int y = 0; y < 16; ++y)
                if (qGray(strip.pixel(x, y)) < 100) return true;
        return false;
    };
    EXPECT_TRUE(darkIn(3, 70));
    EXPECT_TRUE(darkIn(285, 420));
}

TEST_F(TemperatureWindowTest, VariantThreePlaysItsOwnTimingMovies) {
    LabState.VariantNumber = 3;
    start();
    EXPECT_EQ(w->Flash1->movie(), movie("\\Movie\\Opyt2\\1.swf"));
    w->Label14Click();
    EXPECT_EQ(w->Flash1->movie(), movie("\\Movie\\Opyt2\\2_3.swf"));
    EXPECT_FALSE(w->Label14->isVisible());
    EXPECT_TRUE(w->StaticText4->isVisible());
    EXPECT_EQ(w->StaticText4->text(), "00:00");
    EXPECT_TRUE(w->Button2->isVisible());
    EXPECT_FALSE(w->StaticText2->isVisible());
    // The table slides below the movie.
    EXPECT_EQ(runTimer(w->Timer1), 12);
    EXPECT_EQ(w->StringGrid1->geometry(), QRect(8, 439, 425, 19));
    EXPECT_EQ(w->StaticText1->y(), 418);
    EXPECT_EQ(w->Frame14->y(), 440);
    // "Далее" comes back once the movie rests on its last frame.
    restOnLastFrame(w->Flash1);
    w->Timer4->fire();
    EXPECT_TRUE(w->Label14->isVisible());
    w->Label14Click();
    EXPECT_EQ(w->Flash1->movie(), movie("\\Movie\\Opyt2\\3_3.swf"));
}

TEST_F(TemperatureWindowTest, RatesAndBothCoefficientsRecordGrade) {
    reachCoefficients();
    EXPECT_EQ(w->Flash1->movie(), movie("\\Movie\\Opyt2\\4.swf"));
    EXPECT_EQ(w->StringGrid1->cell(3, 1), "0,03");
    EXPECT_EQ(w->StringGrid1->cell(3, 2), "0,06");
    EXPECT_EQ(w->StringGrid1->cell(3, 3), "0,11");
    EXPECT_EQ(w->StringGrid1->cell(4, 1), "-");
    EXPECT_FALSE(w->StringGrid1->isEnabled());
    EXPECT_FALSE(w->Button2->isVisible());
    EXPECT_TRUE(w->Edit4->isVisible());
    EXPECT_FALSE(w->Label14->isVisible());

    first(QStringLiteral("0,06"), QStringLiteral("0,03"));
    EXPECT_EQ(w->StaticText5->text(), "2");
    EXPECT_EQ(w->StringGrid1->cell(4, 2), "2");
    EXPECT_EQ(recordedScore(2), 0.0f);
    EXPECT_EQ(LabState.MovieStep, 4);

    second(QStringLiteral("0,11"), QStringLiteral("0,06"));
    EXPECT_EQ(w->StringGrid1->cell(4, 3), "2");
    EXPECT_EQ(recordedScore(2), 5.0f);
    EXPECT_EQ(LabState.MovieStep, 5);
    EXPECT_EQ(w->Flash1->movie(), movie("\\Movie\\Opyt2\\5.swf"));
    for (QWidget* c :
         std::initializer_list<QWidget*>{w->Edit1, w->Edit2, w->Edit3, w->Edit4, w->Button1,
                                         w->Button4, w->StaticText5, w->StaticText6})
        EXPECT_FALSE(c->isVisible());
    EXPECT_TRUE(w->StaticText5->text().isEmpty());
    EXPECT_TRUE(messages->texts().isEmpty());
    // From step 5 on "Далее" stays away.
    w->Timer4->fire();
    EXPECT_FALSE(w->Label14->isVisible());
}

TEST_F(TemperatureWindowTest, RejectedPairsCostOnePointEach) {
    reachCoefficients();
    first(QStringLiteral("0,03"), QStringLiteral("0,06"));
    EXPECT_EQ(messages->messageTexts(), QStringList{WrongCoefficient});
    EXPECT_EQ(w->Grading.Grade, 4);
    // Not the table's text, though the same number.
    first(QStringLiteral("0,060"), QStringLiteral("0,03"));
    EXPECT_EQ(w->Grading.Grade, 3);
    for (int i = 0; i < 4; ++i) second(QStringLiteral("0,06"), QStringLiteral("0,11"));
    EXPECT_EQ(w->Grading.Grade, 0);
    EXPECT_EQ(messages->messageTexts().size(), 6);
    EXPECT_TRUE(w->StaticText5->text().isEmpty());

    first(QStringLiteral("0,06"), QStringLiteral("0,03"));
    second(QStringLiteral("0,11"), QStringLiteral("0,06"));
    EXPECT_EQ(recordedScore(2), 0.0f);
    EXPECT_EQ(LabState.MovieStep, 5);
}

TEST_F(TemperatureWindowTest, UnreadableBoxChangesNothing) {
    reachCoefficients();
    first(QStringLiteral("0,06"), QString());
    EXPECT_TRUE(messages->texts().isEmpty());
    EXPECT_EQ(w->Grading.Grade, 5);
    EXPECT_TRUE(w->StaticText5->text().isEmpty());
    EXPECT_EQ(LabState.MovieStep, 4);
}

TEST_F(TemperatureWindowTest, ExactHalfRoundsDifferentlyPerCoefficient) {
    reachCoefficients();
    w->StringGrid1->setCell(3, 1, QStringLiteral("0,5"));
    w->StringGrid1->setCell(3, 2, QStringLiteral("1,25"));
    first(QStringLiteral("1,25"), QStringLiteral("0,5"));
    EXPECT_EQ(w->StaticText5->text(), "2");
    w->StringGrid1->setCell(3, 3, QStringLiteral("3,125"));
    second(QStringLiteral("3,125"), QStringLiteral("1,25"));
    EXPECT_EQ(w->StringGrid1->cell(4, 3), "3");
}

TEST_F(TemperatureWindowTest, AnswerBoxesTakeDigitsAndCommaOnly) {
    reachCoefficients();
    struct Row {
        const char* typed;
        const char* kept;
        int beeps;
    };
    for (const Row& row : {Row{"0,06", "0,06", 0}, Row{"0.06", "006", 1}, Row{"a1b", "1", 2},
                           Row{"-2", "2", 1}, Row{"В", "", 1}}) {
        const int before = messages->beeps();
        answer(w->Edit1, QString::fromUtf8(row.typed));
        EXPECT_EQ(w->Edit1->text().toStdString(), row.kept) << row.typed;
        EXPECT_EQ(messages->beeps() - before, row.beeps) << row.typed;
    }
    // Backspace still edits.
    answer(w->Edit1, QStringLiteral("12"));
    QTest::keyClick(w->Edit1, Qt::Key_Backspace);
    EXPECT_EQ(w->Edit1->text(), "1");
}

TEST_F(TemperatureWindowTest, EmptyColumnRefusesStepFour) {
    start();
    w->Label14Click();
    w->Label14Click();
    restOnLastFrame(w->Flash1);
    w->Timer4->fire();
    ASSERT_TRUE(w->Label14->isVisible());
    w->StringGrid1->setCell(1, 3, QStringLiteral("9"));
    w->Label14Click();
    EXPECT_EQ(messages->messageTexts(),
              QStringList{QStringLiteral("Столбец \"Время, c\" не может быть пуст")});
    EXPECT_EQ(LabState.MovieStep, 3);
    EXPECT_EQ(w->Flash1->movie(), movie("\\Movie\\Opyt2\\3_1.swf"));
    EXPECT_FALSE(w->Label14->isVisible());
    EXPECT_FALSE(w->Edit1->isVisible());
    EXPECT_TRUE(w->StringGrid1->isEnabled());

    messages->clear();
    w->StringGrid1->setCell(1, 2, QStringLiteral("18"));
    w->StringGrid1->setCell(2, 2, QString());
    w->Label14Click();
    EXPECT_EQ(messages->messageTexts(),
              QStringList{QStringLiteral("Столбец \"T oC\" не может быть пуст")});
    EXPECT_EQ(LabState.MovieStep, 3);
}

TEST_F(TemperatureWindowTest, TimeStillInCellEditorCounts) {
    start();
    w->Label14Click();
    w->Label14Click();
    w->StringGrid1->setCell(1, 3, QStringLiteral("9"));
    ASSERT_TRUE(w->StringGrid1->selectCell(1, 2));
    w->StringGrid1->setFocus();
    // The first key opens the cell editor, the rest goes into it.
    QTest::keyClick(w->StringGrid1, '1');
    QWidget* editor = w->StringGrid1->indexWidget(w->StringGrid1->currentIndex());
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("8"));
    w->Label14Click();
    EXPECT_TRUE(messages->texts().isEmpty());
    EXPECT_EQ(LabState.MovieStep, 4);
    EXPECT_EQ(w->StringGrid1->cell(3, 2), "0,06");
}

TEST_F(TemperatureWindowTest, UnreadableTimeStopsRatesSilently) {
    reachCoefficients(QStringLiteral("abc"));
    EXPECT_TRUE(messages->texts().isEmpty());
    EXPECT_EQ(w->StringGrid1->cell(3, 1), "0,03");
    EXPECT_TRUE(w->StringGrid1->cell(3, 2).isEmpty());
    EXPECT_TRUE(w->StringGrid1->cell(4, 1).isEmpty());
    EXPECT_TRUE(w->Edit1->isVisible());
}

TEST_F(TemperatureWindowTest, StopwatchAndSlidingTable) {
    start();
    w->Label14Click();
    runTimer(w->Timer1);
    QTest::mouseClick(w->Button2, Qt::LeftButton);
    EXPECT_FALSE(w->Button2->isEnabled());
    EXPECT_TRUE(w->Button3->isEnabled());
    EXPECT_TRUE(w->Timer3->enabled());
    clock.advance(999);
    w->Timer3->fire();
    EXPECT_EQ(w->StaticText4->text(), "00:00");
    clock.advance(74'001);
    clock.dateTime0 -= 1;  // the wall clock is put back a day: the measurement does not care
    w->Timer3->fire();
    EXPECT_EQ(w->StaticText4->text(), "01:15");

    QTest::mouseClick(w->Button3, Qt::LeftButton);
    EXPECT_FALSE(w->Timer3->enabled());
    EXPECT_FALSE(w->Timer1->enabled());
    runTimer(w->Timer2);
    EXPECT_EQ(w->StringGrid1->geometry(), QRect(8, 384, 425, 74));
    EXPECT_EQ(w->StaticText1->y(), 363);
    EXPECT_EQ(w->Frame14->y(), 385);
    clock.advance(10'000);
    EXPECT_EQ(w->StaticText4->text(), "01:15");

    // "Стоп" in the middle of a collapse: the table still ends expanded.
    QTest::mouseClick(w->Button2, Qt::LeftButton);
    w->Timer1->fire();
    w->Timer1->fire();
    QTest::mouseClick(w->Button3, Qt::LeftButton);
    EXPECT_FALSE(w->Timer1->enabled());
    runTimer(w->Timer2);
    EXPECT_EQ(w->StringGrid1->height(), 74);
    EXPECT_EQ(w->StringGrid1->y(), 384);

    // A click on the collapsed table brings it back.
    QTest::mouseClick(w->Button2, Qt::LeftButton);
    runTimer(w->Timer1);
    ASSERT_EQ(w->StringGrid1->height(), 19);
    QTest::mouseClick(w->StringGrid1->viewport(), Qt::LeftButton, {}, QPoint(30, 8));
    EXPECT_FALSE(w->Timer1->enabled());
    runTimer(w->Timer2);
    EXPECT_EQ(w->StringGrid1->height(), 74);
}

TEST_F(TemperatureWindowTest, SecondRunKeepsGradeAndFlags) {
    reachCoefficients();
    first(QStringLiteral("0,03"), QStringLiteral("0,06"));
    first(QStringLiteral("0,06"), QStringLiteral("0,03"));
    second(QStringLiteral("0,11"), QStringLiteral("0,06"));
    EXPECT_EQ(recordedScore(2), 4.0f);

    QTest::mouseClick(w->Label5, Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(Form1->isVisible());

    // A new run: both flags are still set, so the first acceptance records at once.
    reachCoefficients();
    EXPECT_EQ(w->StringGrid1->cell(4, 2), "2");
    second(QStringLiteral("0,06"), QStringLiteral("0,11"));
    EXPECT_EQ(w->Grading.Grade, 3);
    second(QStringLiteral("0,11"), QStringLiteral("0,06"));
    EXPECT_EQ(recordedScore(2), 3.0f);
    EXPECT_EQ(LabState.MovieStep, 4);
}

TEST_F(TemperatureWindowTest, CloseGlyphReturnsToMainWindow) {
    start();
    Q_EMIT w->Image3->mouseMove(1, 1);
    ASSERT_TRUE(w->Image2->isVisible());
    QTest::mouseClick(w->Image2, Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(Form1->isVisible());
}

}  // namespace
