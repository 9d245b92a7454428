#include <QFile>
#include <QFontMetrics>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include "ExperimentTestSupport.h"
#include "experiments/common/HeadingStrip.h"
#include "experiments/common/MovieEndWatch.h"
#include "experiments/common/Stopwatch.h"
#include "experiments/concentration/ConcentrationWindow.h"
#include "experiments/temperature/TemperatureWindow.h"
#include "toolkit/FilteredEdit.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/StaticText.h"
#include "toolkit/StringGrid.h"

namespace {

const QString WrongCoefficient =
    QStringLiteral("Температурный коэффициент рассчитан неверно. Попробуйте еще раз");

class TemperatureWindowTest : public ExperimentTest {
protected:
    void SetUp() override {
        ExperimentTest::SetUp();
        w = lab->window<TemperatureWindow>();
        // Tube 1 of experiment 1, as its table holds it after a run.
        lab->window<ConcentrationWindow>()->measurementTable->setCell(5, 1, QStringLiteral("36"));
        lab->window<ConcentrationWindow>()->measurementTable->setCell(6, 1, QStringLiteral("0,03"));
    }

    void start() { startRun(w, 2); }

    // Steps 1 to 4 with the times of tubes 2 and 3 typed into the table.
    void reachCoefficients(const QString& time35 = QStringLiteral("18"),
                           const QString& time45 = QStringLiteral("9")) {
        start();
        w->onNextClicked();
        w->onNextClicked();
        w->measurementTable->setCell(1, 2, time35);
        w->measurementTable->setCell(1, 3, time45);
        w->onNextClicked();
        ASSERT_EQ(w->step(), 4);
    }

    void answer(FilteredEdit* box, const QString& text) {
        box->clear();
        typeKeys(box, text);
    }

    void first(const QString& a, const QString& b) {
        answer(w->coefficientInputs[0].numeratorBox, a);
        answer(w->coefficientInputs[0].denominatorBox, b);
        click(w->coefficientInputs[0].okButton);
    }

    void second(const QString& a, const QString& b) {
        answer(w->coefficientInputs[1].numeratorBox, a);
        answer(w->coefficientInputs[1].denominatorBox, b);
        click(w->coefficientInputs[1].okButton);
    }

    TemperatureWindow* w = nullptr;
};

TEST_F(TemperatureWindowTest, TableLayoutAndActivationCopy) {
    const char* headers[] = {" № пробирки", " Время, c", " T oC", " Vусл = 1/Время",
                             " Температурный коэфф-т"};
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(w->measurementTable->cell(c, 0).toStdString(), headers[c]) << c;
    // The table's own spelling: a Latin c.
    EXPECT_TRUE(w->measurementTable->cell(1, 0).endsWith(QLatin1Char('c')));
    EXPECT_EQ(w->measurementTable->cell(0, 3), "3");

    start();
    EXPECT_EQ(w->variantSolutionText->text(),
              lab->window<MainWindow>()->variantSolutionText->text());
    EXPECT_EQ(w->variantAcidText->text(), lab->window<MainWindow>()->variantAcidText->text());
    EXPECT_EQ(w->measurementTable->cell(1, 1), "36");
    EXPECT_EQ(w->measurementTable->cell(3, 1), "0,03");
    EXPECT_EQ(w->measurementTable->cell(2, 1), "25");
    EXPECT_EQ(w->measurementTable->cell(2, 2), "35");
    EXPECT_EQ(w->measurementTable->cell(2, 3), "45");
    EXPECT_TRUE(w->measurementTable->isEnabled());
    EXPECT_TRUE(w->movieEndWatch->enabled());
    EXPECT_FALSE(lab->window<MainWindow>()->isVisible());
}

TEST_F(TemperatureWindowTest, HeadingStripLiesOverHeaderRow) {
    EXPECT_EQ(w->headingStrip->geometry(), QRect(8, 385, 425, 16));
    const QImage strip = w->headingStrip->image();
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

// At the tables' 12 px a long heading would run over its cell's line: each heading keeps a
// clear pixel column before the line on its right, in both tables.
TEST_F(TemperatureWindowTest, NoHeadingRunsOverItsCellsLine) {
    auto check = [](const HeadingSet& set, const StringGrid* grid) {
        QList<int> widths;
        for (int c = 0; c < grid->colCount(); ++c) widths.append(grid->colWidth(c));
        QImage strip(set.width, 16, QImage::Format_RGB32);
        strip.fill(Qt::white);
        QPainter p(&strip);
        paintHeadingStrip(p, set, widths);
        p.end();
        int line = 0;
        for (int c = 0; c < set.headings.size(); ++c) {
            line += widths[c];
            for (int y = 1; y < 15; ++y)
                EXPECT_GT(qGray(strip.pixel(line - 1, y)), 150)
                    << set.headings[c].toStdString() << " touches its line at y " << y;
        }
    };
    check(temperatureHeadings(), w->measurementTable);
    check(concentrationHeadings(), lab->window<ConcentrationWindow>()->measurementTable);
}

TEST_F(TemperatureWindowTest, VariantThreePlaysItsOwnTimingMovies) {
    session().setVariant(3);
    start();
    EXPECT_EQ(w->movie->movie(), movie("\\Movie\\Opyt2\\1.swf"));
    w->onNextClicked();
    EXPECT_EQ(w->movie->movie(), movie("\\Movie\\Opyt2\\2_3.swf"));
    EXPECT_FALSE(w->nextLink->isVisible());
    EXPECT_TRUE(w->stopwatch->display()->isVisible());
    EXPECT_EQ(w->stopwatch->display()->text(), "00:00");
    EXPECT_TRUE(w->stopwatch->startButton()->isVisible());
    EXPECT_FALSE(w->variantSolutionText->isVisible());
    // The table stays in view with its rows: the movie keeps its band free.
    EXPECT_EQ(w->measurementTable->geometry(), QRect(8, 384, 425, 74));
    EXPECT_EQ(w->tableCaption->y(), 363);
    EXPECT_EQ(w->headingStrip->y(), 385);
    // "Далее" comes back once the movie rests on its last frame.
    restOnLastFrame(w->movie);
    w->movieEndWatch->fire();
    EXPECT_TRUE(w->nextLink->isVisible());
    w->onNextClicked();
    EXPECT_EQ(w->movie->movie(), movie("\\Movie\\Opyt2\\3_3.swf"));
}

TEST_F(TemperatureWindowTest, RatesAndBothCoefficientsRecordGrade) {
    reachCoefficients();
    EXPECT_EQ(w->movie->movie(), movie("\\Movie\\Opyt2\\4.swf"));
    EXPECT_EQ(w->measurementTable->cell(3, 1), "0,03");
    EXPECT_EQ(w->measurementTable->cell(3, 2), "0,06");
    EXPECT_EQ(w->measurementTable->cell(3, 3), "0,11");
    EXPECT_EQ(w->measurementTable->cell(4, 1), "-");
    EXPECT_FALSE(w->measurementTable->isEnabled());
    EXPECT_FALSE(w->stopwatch->startButton()->isVisible());
    EXPECT_TRUE(w->coefficientInputs[1].denominatorBox->isVisible());
    EXPECT_FALSE(w->nextLink->isVisible());

    first(QStringLiteral("0,06"), QStringLiteral("0,03"));
    EXPECT_EQ(w->coefficientInputs[0].coefficientText->text(), "2");
    EXPECT_EQ(w->measurementTable->cell(4, 2), "2");
    EXPECT_EQ(recordedScore(2), 0.0f);
    EXPECT_EQ(w->step(), 4);

    second(QStringLiteral("0,11"), QStringLiteral("0,06"));
    EXPECT_EQ(w->measurementTable->cell(4, 3), "2");
    EXPECT_EQ(recordedScore(2), 5.0f);
    EXPECT_EQ(w->step(), 5);
    EXPECT_EQ(w->movie->movie(), movie("\\Movie\\Opyt2\\5.swf"));
    for (const TemperatureWindow::CoefficientInput& input : w->coefficientInputs)
        for (QWidget* c : std::initializer_list<QWidget*>{input.numeratorBox, input.denominatorBox,
                                                          input.okButton, input.coefficientText})
            EXPECT_FALSE(c->isVisible());
    EXPECT_TRUE(w->coefficientInputs[0].coefficientText->text().isEmpty());
    EXPECT_EQ(messages->messageTexts(),
              QStringList{QStringLiteral("Оценка за выполнение опыта№2: 5 !!!!")});
    // From step 5 on "Далее" stays away.
    w->movieEndWatch->fire();
    EXPECT_FALSE(w->nextLink->isVisible());
}

TEST_F(TemperatureWindowTest, RejectedPairsCostOnePointEach) {
    reachCoefficients();
    first(QStringLiteral("0,03"), QStringLiteral("0,06"));
    EXPECT_EQ(messages->messageTexts(), QStringList{WrongCoefficient});
    EXPECT_EQ(w->grading.grade, 4);
    // Not the table's text, though the same number.
    first(QStringLiteral("0,060"), QStringLiteral("0,03"));
    EXPECT_EQ(w->grading.grade, 3);
    for (int i = 0; i < 4; ++i) second(QStringLiteral("0,06"), QStringLiteral("0,11"));
    EXPECT_EQ(w->grading.grade, 0);
    EXPECT_EQ(messages->messageTexts().size(), 6);
    EXPECT_TRUE(w->coefficientInputs[0].coefficientText->text().isEmpty());

    first(QStringLiteral("0,06"), QStringLiteral("0,03"));
    second(QStringLiteral("0,11"), QStringLiteral("0,06"));
    EXPECT_EQ(recordedScore(2), 0.0f);
    EXPECT_EQ(w->step(), 5);
}

TEST_F(TemperatureWindowTest, UnreadableBoxChangesNothing) {
    reachCoefficients();
    first(QStringLiteral("0,06"), QString());
    EXPECT_TRUE(messages->texts().isEmpty());
    EXPECT_EQ(w->grading.grade, 5);
    EXPECT_TRUE(w->coefficientInputs[0].coefficientText->text().isEmpty());
    EXPECT_EQ(w->step(), 4);
}

TEST_F(TemperatureWindowTest, ExactHalfRoundsDifferentlyPerCoefficient) {
    reachCoefficients();
    w->measurementTable->setCell(3, 1, QStringLiteral("0,5"));
    w->measurementTable->setCell(3, 2, QStringLiteral("1,25"));
    first(QStringLiteral("1,25"), QStringLiteral("0,5"));
    EXPECT_EQ(w->coefficientInputs[0].coefficientText->text(), "2");
    w->measurementTable->setCell(3, 3, QStringLiteral("3,125"));
    second(QStringLiteral("3,125"), QStringLiteral("1,25"));
    EXPECT_EQ(w->measurementTable->cell(4, 3), "3");
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
        answer(w->coefficientInputs[0].numeratorBox, QString::fromUtf8(row.typed));
        EXPECT_EQ(w->coefficientInputs[0].numeratorBox->text().toStdString(), row.kept)
            << row.typed;
        EXPECT_EQ(messages->beeps() - before, row.beeps) << row.typed;
    }
    // Backspace still edits.
    answer(w->coefficientInputs[0].numeratorBox, QStringLiteral("12"));
    QTest::keyClick(w->coefficientInputs[0].numeratorBox, Qt::Key_Backspace);
    EXPECT_EQ(w->coefficientInputs[0].numeratorBox->text(), "1");
}

TEST_F(TemperatureWindowTest, EmptyColumnRefusesStepFour) {
    start();
    w->onNextClicked();
    w->onNextClicked();
    restOnLastFrame(w->movie);
    w->movieEndWatch->fire();
    ASSERT_TRUE(w->nextLink->isVisible());
    w->measurementTable->setCell(1, 3, QStringLiteral("9"));
    w->onNextClicked();
    EXPECT_EQ(messages->messageTexts(),
              QStringList{QStringLiteral("Столбец \"Время, c\" не может быть пуст")});
    EXPECT_EQ(w->step(), 3);
    EXPECT_EQ(w->movie->movie(), movie("\\Movie\\Opyt2\\3_1.swf"));
    EXPECT_FALSE(w->nextLink->isVisible());
    EXPECT_FALSE(w->coefficientInputs[0].numeratorBox->isVisible());
    EXPECT_TRUE(w->measurementTable->isEnabled());

    messages->clear();
    w->measurementTable->setCell(1, 2, QStringLiteral("18"));
    w->measurementTable->setCell(2, 2, QString());
    w->onNextClicked();
    EXPECT_EQ(messages->messageTexts(),
              QStringList{QStringLiteral("Столбец \"T oC\" не может быть пуст")});
    EXPECT_EQ(w->step(), 3);
}

TEST_F(TemperatureWindowTest, TimeStillInCellEditorCounts) {
    start();
    w->onNextClicked();
    w->onNextClicked();
    w->measurementTable->setCell(1, 3, QStringLiteral("9"));
    ASSERT_TRUE(w->measurementTable->selectCell(1, 2));
    w->measurementTable->setFocus();
    // The first key opens the cell editor, the rest goes into it.
    QTest::keyClick(w->measurementTable, '1');
    QWidget* editor = w->measurementTable->indexWidget(w->measurementTable->currentIndex());
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("8"));
    w->onNextClicked();
    EXPECT_TRUE(messages->texts().isEmpty());
    EXPECT_EQ(w->step(), 4);
    EXPECT_EQ(w->measurementTable->cell(3, 2), "0,06");
}

// A time that gives no rate is named with its tube; the table stays open for the correction
// and the student goes on from there.
TEST_F(TemperatureWindowTest, ATimeWithoutARateIsNamedAndCanBeCorrected) {
    const struct {
        const char* time;
        QString message;
    } cases[] = {
        {",", QStringLiteral("Время для пробирки 2 должно быть положительным числом.")},
        {"0", QStringLiteral("Время для пробирки 2 должно быть положительным числом.")},
        {"250", QStringLiteral("Время для пробирки 2 слишком велико: скорость реакции "
                               "округляется до 0.")},
    };
    start();
    w->onNextClicked();
    w->onNextClicked();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.time);
        messages->clear();
        w->measurementTable->setCell(1, 2, QString::fromLatin1(c.time));
        w->measurementTable->setCell(1, 3, QStringLiteral("9"));
        w->onNextClicked();
        EXPECT_EQ(messages->messageTexts(), QStringList{c.message});
        EXPECT_EQ(w->step(), 3);
        EXPECT_TRUE(w->measurementTable->isEnabled());
        EXPECT_FALSE(w->coefficientInputs[0].numeratorBox->isVisible());
        EXPECT_EQ(w->measurementTable->selectedRow(), 2);
        EXPECT_EQ(w->measurementTable->selectedCol(), 1);
    }

    // The student types the right time over the named cell, with the keyboard.
    messages->clear();
    w->measurementTable->setFocus();
    QTest::keyClick(w->measurementTable, '1');
    QWidget* editor = w->measurementTable->indexWidget(w->measurementTable->currentIndex());
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("8"));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(w->measurementTable->cell(1, 2), QStringLiteral("18"));
    w->onNextClicked();
    EXPECT_TRUE(messages->texts().isEmpty());
    EXPECT_EQ(w->step(), 4);
    EXPECT_EQ(w->measurementTable->cell(3, 2), QStringLiteral("0,06"));
    EXPECT_TRUE(w->coefficientInputs[0].numeratorBox->isVisible());
}

TEST_F(TemperatureWindowTest, TheTimesTakeTheKeysOfTheFirstTable) {
    start();
    w->onNextClicked();
    ASSERT_TRUE(w->measurementTable->selectCell(1, 2));
    w->measurementTable->setFocus();
    QTest::keyClick(w->measurementTable, 'x');  // refused before an editor opens
    EXPECT_EQ(messages->beeps(), 1);
    QTest::keyClick(w->measurementTable, '1');
    QWidget* editor = w->measurementTable->indexWidget(w->measurementTable->currentIndex());
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("7,a5-"));
    EXPECT_EQ(w->measurementTable->cell(1, 2), QStringLiteral("17,5"));
    EXPECT_EQ(messages->beeps(), 3);
}

TEST_F(TemperatureWindowTest, StopwatchWithTheTableInView) {
    start();
    w->onNextClicked();
    click(w->stopwatch->startButton());
    EXPECT_FALSE(w->stopwatch->startButton()->isEnabled());
    EXPECT_TRUE(w->stopwatch->stopButton()->isEnabled());
    EXPECT_TRUE(w->stopwatch->enabled());
    clock.advance(999);
    w->stopwatch->fire();
    EXPECT_EQ(w->stopwatch->display()->text(), "00:00");
    clock.advance(74'001);
    clock.dateTime0 -= 1;  // the wall clock is put back a day: the measurement does not care
    w->stopwatch->fire();
    EXPECT_EQ(w->stopwatch->display()->text(), "01:15");
    EXPECT_EQ(w->measurementTable->geometry(), QRect(8, 384, 425, 74));

    click(w->stopwatch->stopButton());
    EXPECT_FALSE(w->stopwatch->enabled());
    EXPECT_EQ(w->measurementTable->geometry(), QRect(8, 384, 425, 74));
    EXPECT_EQ(w->tableCaption->y(), 363);
    EXPECT_EQ(w->headingStrip->y(), 385);
    clock.advance(10'000);
    EXPECT_EQ(w->stopwatch->display()->text(), "01:15");
    // The table's own text at the smallest size a student reads, in rows that still hold it.
    EXPECT_EQ(w->measurementTable->font().pixelSize(), 12);
    EXPECT_GE(w->measurementTable->rowHeight(1),
              QFontMetrics(w->measurementTable->font()).height());
}

// A tube movie stops itself when the acid is in and waits for «Старт»; the window plays it on
// once the stopwatch runs, in the timed steps only.
TEST_F(TemperatureWindowTest, TheTubeMovieWaitsForStartWhenTheAcidIsIn) {
    QFile file(QStringLiteral(LAB_PROGRAM_DIR "/Movie/Opyt2/2_1.swf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "the asset tree is generated by the build";
    tree->write("Movie/Opyt2/2_1.swf", file.readAll());
    session().setVariant(1);
    start();
    w->onNextClicked();
    ASSERT_EQ(w->movie->movie(), movie("\\Movie\\Opyt2\\2_1.swf"));
    MoviePlayer* player = w->movie;
    int waitedAt = -1;
    for (int i = 0; i < player->totalFrames() && waitedAt < 0; ++i) {
        player->stepFrames(1);
        w->movieEndWatch->fire();
        if (!player->isPlaying()) waitedAt = player->currentFrame();
    }
    ASSERT_GT(waitedAt, 12);
    ASSERT_LT(waitedAt, player->totalFrames() - 1);
    player->stepFrames(24);
    w->movieEndWatch->fire();
    EXPECT_EQ(player->currentFrame(), waitedAt);
    click(w->stopwatch->startButton());
    w->movieEndWatch->fire();
    player->stepFrames(1);
    EXPECT_EQ(player->currentFrame(), waitedAt + 1);
    // A second «Старт» after «Стоп» times a fresh tube from the moment its acid is in.
    player->stepFrames(40);
    ASSERT_FALSE(w->nextLink->isVisible());
    click(w->stopwatch->stopButton());
    // «Стоп» keeps the picture of the moment measured and lets the next bath follow.
    const int stoppedAt = player->currentFrame();
    for (int i = 0; i < 50; ++i) {
        player->stepFrames(1);
        w->movieEndWatch->fire();
    }
    EXPECT_EQ(player->currentFrame(), stoppedAt);
    EXPECT_TRUE(w->nextLink->isVisible());
    click(w->stopwatch->startButton());
    EXPECT_EQ(player->currentFrame(), waitedAt);
    w->movieEndWatch->fire();
    EXPECT_TRUE(player->isPlaying());
}

// Leaving while the stopwatch is up: the next run starts with it out of sight.
TEST_F(TemperatureWindowTest, NewRunHidesTheStopwatch) {
    start();
    w->onNextClicked();
    ASSERT_TRUE(w->stopwatch->display()->isVisible());
    click(w->finishLink);

    start();
    EXPECT_EQ(w->measurementTable->geometry(), QRect(8, 384, 425, 74));
    EXPECT_EQ(w->tableCaption->y(), 363);
    EXPECT_EQ(w->headingStrip->y(), 385);
    for (QWidget* part : std::initializer_list<QWidget*>{
             w->stopwatch->display(), w->stopwatch->startButton(), w->stopwatch->stopButton()})
        EXPECT_FALSE(part->isVisible());
    EXPECT_TRUE(w->variantSolutionText->isVisible());
    EXPECT_TRUE(w->nextLink->isVisible());
}

TEST_F(TemperatureWindowTest, SecondRunKeepsGradeAndFlags) {
    reachCoefficients();
    first(QStringLiteral("0,03"), QStringLiteral("0,06"));
    first(QStringLiteral("0,06"), QStringLiteral("0,03"));
    second(QStringLiteral("0,11"), QStringLiteral("0,06"));
    EXPECT_EQ(recordedScore(2), 4.0f);

    click(w->finishLink);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(lab->window<MainWindow>()->isVisible());

    // A new run: both flags are still set, so the first acceptance records at once.
    reachCoefficients();
    EXPECT_EQ(w->measurementTable->cell(4, 2), "2");
    second(QStringLiteral("0,06"), QStringLiteral("0,11"));
    EXPECT_EQ(w->grading.grade, 3);
    second(QStringLiteral("0,11"), QStringLiteral("0,06"));
    EXPECT_EQ(recordedScore(2), 3.0f);
    EXPECT_EQ(w->step(), 4);
}

TEST_F(TemperatureWindowTest, CloseGlyphReturnsToMainWindow) {
    start();
    Q_EMIT w->closeSpot->mouseMove(1, 1);
    ASSERT_TRUE(w->closeGlyph->isVisible());
    click(w->closeGlyph);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(lab->window<MainWindow>()->isVisible());
}

}  // namespace

// «Старт» and «Стоп» clicked with the mouse disable themselves, and Qt hands the focus on along
// the window's chain, round to «Далее» and «Закончить опыт». That focus did not come from the
// keyboard: no link shows the dotted frame, nor turns red as under the pointer.
TEST_F(TemperatureWindowTest, MouseClicksOnTheStopwatchLeaveNoFocusFrameOnALink) {
    start();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    w->onNextClicked();
    w->nextLink->show();  // as at the end of the tube's movie
    auto framedLinks = [this] {
        QStringList framed;
        for (LinkLabel* link : w->findChildren<LinkLabel*>())
            if (link->showsFocusMark() || (link->fontColor() != 0 && link->hasFocus()))
                framed << link->text();
        return framed;
    };
    click(w->stopwatch->startButton());
    EXPECT_EQ(framedLinks(), QStringList());
    click(w->stopwatch->stopButton());
    EXPECT_EQ(framedLinks(), QStringList());
    click(w->stopwatch->startButton());
    click(w->stopwatch->stopButton());
    EXPECT_EQ(framedLinks(), QStringList());
}
