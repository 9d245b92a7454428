#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScatterSeries>
#include <QtTest/QTest>
#include <cstring>

#include "TestSupport.h"
#include "app/Laboratory.h"
#include "app/MainWindow.h"
#include "experiments/ExperimentTestSupport.h"
#include "experiments/common/HeadingStrip.h"
#include "experiments/common/MovieEndWatch.h"
#include "experiments/common/Stopwatch.h"
#include "experiments/concentration/ConcentrationWindow.h"
#include "experiments/concentration/RateGraphWindow.h"
#include "experiments/concentration/ReferenceDataReport.h"
#include "lab/ReferenceData.h"
#include "lab/Session.h"
#include "movie/MoviePlayer.h"
#include "shell/Loaders.h"
#include "toolkit/FilteredEdit.h"
#include "toolkit/LabTimer.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/StaticText.h"
#include "toolkit/StringGrid.h"

namespace {
const QString column4Message = QStringLiteral("Столбец \"C` Na2S2O3 моль/л\" не может быть пуст");
const QString column5Message = QStringLiteral("Столбец \"Время T, с\" не может быть пуст");

class ConcentrationWindowTest : public LabTest {
protected:
    void SetUp() override {
        LabTest::SetUp();
        createWindows();
        lab->window<MainWindow>()->setRegistrationShown(
            true);  // the main window opens no registration
    }

    // What the main window does when the student opens experiment 1.
    void enterExperiment() {
        lab->window<ConcentrationWindow>()->prepareRun();
        loadMovie(*lab, lab->window<ConcentrationWindow>()->movie,
                  QStringLiteral("\\Movie\\Opyt1\\1.swf"));
        lab->window<ConcentrationWindow>()->showAndActivate();
        lab->window<MainWindow>()->hide();
        lab->window<ConcentrationWindow>()->movie->setManualStepping(true);
    }
    // A left click on target once the step shown last is drawn.
    static void click(QWidget* target) {
        waitUntilStepShown(target);
        QTest::mouseClick(target, Qt::LeftButton);
    }
    void next() { click(lab->window<ConcentrationWindow>()->nextLink); }
    static void runDown(LabTimer* timer) {
        for (int i = 0; i < 100 && timer->enabled(); ++i) timer->fire();
        ASSERT_FALSE(timer->enabled());
    }
    QString movie() const { return lab->window<ConcentrationWindow>()->movie->movie(); }
    QString moviePath(const char* name) const { return tree->path(QString("Movie/Opyt1/") + name); }
    void fillColumn(int column, const QStringList& texts) {
        for (int r = 1; r <= 4; ++r)
            lab->window<ConcentrationWindow>()->measurementTable->setCell(column, r,
                                                                          texts.value(r - 1));
    }
    bool calculatorVisible() const {
        return lab->window<ConcentrationWindow>()->initialConcentrationBox->isVisible() &&
               lab->window<ConcentrationWindow>()->dilutedConcentrationBox->isVisible() &&
               lab->window<ConcentrationWindow>()->calculatorOkButton->isVisible() &&
               lab->window<ConcentrationWindow>()->variantSolutionText->isVisible();
    }
    bool calculatorHidden() const {
        for (QWidget* w : std::initializer_list<QWidget*>{
                 lab->window<ConcentrationWindow>()->initialConcentrationBox,
                 lab->window<ConcentrationWindow>()->thiosulfateVolumeBox,
                 lab->window<ConcentrationWindow>()->mixThiosulfateVolumeBox,
                 lab->window<ConcentrationWindow>()->mixWaterVolumeBox,
                 lab->window<ConcentrationWindow>()->mixAcidVolumeBox,
                 lab->window<ConcentrationWindow>()->dilutedConcentrationBox,
                 lab->window<ConcentrationWindow>()->calculatorOkButton,
                 lab->window<ConcentrationWindow>()->variantSolutionText,
                 lab->window<ConcentrationWindow>()->variantAcidText})
            if (w->isVisible()) return false;
        return true;
    }
    QRect tableLayout() const {
        return QRect(lab->window<ConcentrationWindow>()->tableCaption->y(),
                     lab->window<ConcentrationWindow>()->measurementTable->y(),
                     lab->window<ConcentrationWindow>()->headingStrip->y(),
                     lab->window<ConcentrationWindow>()->measurementTable->height());
    }
};

// caption top, grid top, strip top, grid height
const QRect expanded(349, 369, 370, 89);
}  // namespace

TEST_F(ConcentrationWindowTest, ControlsAsDefined) {
    struct Case {
        QWidget* widget;
        QRect bounds;
        bool visible;
    };
    enterExperiment();
    const Case cases[] = {
        {lab->window<ConcentrationWindow>()->background, {0, 0, 715, 505}, true},
        {lab->window<ConcentrationWindow>()->topicTitle, {239, 17, 250, 44}, true},
        {lab->window<ConcentrationWindow>()->movie, {5, 64, 705, 350}, true},
        {lab->window<ConcentrationWindow>()->measurementTable, {10, 369, 575, 89}, true},
        {lab->window<ConcentrationWindow>()->calculatorOkButton, {430, 274, 33, 25}, false},
        {lab->window<ConcentrationWindow>()->initialConcentrationBox, {321, 262, 41, 19}, false},
        {lab->window<ConcentrationWindow>()->mixAcidVolumeBox, {395, 294, 25, 19}, false},
        {lab->window<ConcentrationWindow>()->dilutedConcentrationBox, {486, 277, 33, 19}, false},
        {lab->window<ConcentrationWindow>()->tableCaption, {11, 349, 80, 20}, true},
        {lab->window<ConcentrationWindow>()->stopwatch->startButton(), {604, 316, 50, 25}, false},
        {lab->window<ConcentrationWindow>()->stopwatch->stopButton(), {653, 316, 50, 25}, false},
        {lab->window<ConcentrationWindow>()->headingStrip, {10, 370, 575, 16}, true},
        {lab->window<ConcentrationWindow>()->closeGlyph, {699, 2, 13, 13}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.widget->geometry(), c.bounds) << c.widget->metaObject()->className();
        EXPECT_EQ(c.widget->isVisible(), c.visible) << c.widget->metaObject()->className();
    }
    EXPECT_EQ(lab->window<ConcentrationWindow>()->size(), QSize(715, 505));
    EXPECT_EQ(lab->window<ConcentrationWindow>()->nextLink->pos(), QPoint(11, 461));
    EXPECT_EQ(lab->window<ConcentrationWindow>()->finishLink->pos(), QPoint(290, 461));
    EXPECT_EQ(lab->window<ConcentrationWindow>()->graphLink->pos(), QPoint(106, 461));
    EXPECT_FALSE(lab->window<ConcentrationWindow>()->graphLink->isVisible());
    EXPECT_EQ(lab->window<ConcentrationWindow>()->nextLink->text(), "Далее");
    EXPECT_EQ(lab->window<ConcentrationWindow>()->finishLink->text(), "Закончить опыт");
    EXPECT_EQ(lab->window<ConcentrationWindow>()->graphLink->text(), "График");
    EXPECT_EQ(lab->window<ConcentrationWindow>()->tableCaption->text(), "Таблица 1");
    EXPECT_EQ(lab->window<ConcentrationWindow>()->stopwatch->display()->text(), ".....");
    EXPECT_TRUE(lab->window<ConcentrationWindow>()->stopwatch->startButton()->isEnabled());
    EXPECT_FALSE(lab->window<ConcentrationWindow>()->stopwatch->stopButton()->isEnabled());
    EXPECT_TRUE(lab->window<ConcentrationWindow>()->dilutedConcentrationBox->isReadOnly());
    EXPECT_EQ(lab->window<ConcentrationWindow>()->stopwatch->interval(), 1000);
    EXPECT_FALSE(lab->window<ConcentrationWindow>()->stopwatch->enabled());
    // The table's own text at the smallest size a student reads, in rows that still hold it.
    EXPECT_EQ(lab->window<ConcentrationWindow>()->measurementTable->font().pixelSize(), 12);
    EXPECT_GE(lab->window<ConcentrationWindow>()->measurementTable->rowHeight(1),
              QFontMetrics(lab->window<ConcentrationWindow>()->measurementTable->font()).height());
    // The strip shows its headings over the grid's heading row.
    EXPECT_EQ(lab->window<ConcentrationWindow>()->headingStrip->image().size(), QSize(575, 16));
}

TEST_F(ConcentrationWindowTest, ActivationCopiesTheVariantTextsAndStartsTheWatch) {
    lab->window<MainWindow>()->variantSolutionText->setText("0.05M");
    lab->window<MainWindow>()->variantAcidText->setText("2N");
    EXPECT_FALSE(lab->window<ConcentrationWindow>()->movieEndWatch->enabled());
    enterExperiment();
    EXPECT_EQ(lab->window<ConcentrationWindow>()->variantSolutionText->text(), "0.05M");
    EXPECT_EQ(lab->window<ConcentrationWindow>()->variantAcidText->text(), "2N");
    EXPECT_TRUE(lab->window<ConcentrationWindow>()->movieEndWatch->enabled());
}

TEST_F(ConcentrationWindowTest, StartUpWithoutOrWithABrokenDataFileStillSetsUpTheTable) {
    struct Case {
        const char* name;
        QByteArray file;  // empty: no file
        QString error;
    };
    const Case cases[] = {
        {"missing", QByteArray(),
         QStringLiteral("Невозможно открыть файл по адресу: ") + tree->path("Dannie.txt") +
             QStringLiteral(". Выполнение программы будет остановлено!!!")},
        {"malformed", QByteArray("1 2 3\n4 0,5 6\n"),
         QStringLiteral("В файле ") + tree->path("Dannie.txt") +
             QStringLiteral(" в строке 2 вместо числа записано «0,5».")},
        {"too large", QByteArray("1 2 3\n\n\n4 5 1e999\n"),
         QStringLiteral("В файле ") + tree->path("Dannie.txt") +
             QStringLiteral(" в строке 4 записано слишком большое число: «1e999».")},
    };
    const QString incomplete = incompleteReferenceDataMessage(tree->path("Dannie.txt"));
    for (const Case& c : cases) {
        messages->clear();
        if (c.file.isEmpty())
            tree->remove("Dannie.txt");
        else
            tree->write("Dannie.txt", c.file);
        ReferenceData data;
        ConcentrationWindow window(session(), navigation, data);
        // Data that could not be read whole is also reported as incomplete.
        const QStringList expected =
            c.file.isEmpty() ? QStringList{c.error} : QStringList{c.error, incomplete};
        EXPECT_EQ(messages->errorTexts(), expected) << c.name;
        EXPECT_EQ(window.measurementTable->cell(4, 0), "C` Na2S2O3 моль/л") << c.name;
        EXPECT_EQ(window.measurementTable->cell(1, 4), "5 мл") << c.name;
        EXPECT_EQ(window.measurementTable->colWidth(4), 108) << c.name;
    }
}

TEST_F(ConcentrationWindowTest, OnlyTheStudentsColumnsCanBeSelectedAndTakeNumbersOnly) {
    enterExperiment();
    StringGrid* grid = lab->window<ConcentrationWindow>()->measurementTable;
    auto clickCell = [grid](int col, int row) {
        const QRect r = grid->visualRect(grid->model()->index(row, col));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
    };
    clickCell(4, 1);
    ASSERT_EQ(grid->selectedCol(), 4);
    for (int col : {1, 2, 3, 6}) {
        clickCell(col, 2);
        EXPECT_EQ(grid->selectedCol(), 4) << col;
        EXPECT_EQ(grid->selectedRow(), 1) << col;
    }
    clickCell(5, 3);
    EXPECT_EQ(grid->selectedCol(), 5);
    EXPECT_EQ(grid->selectedRow(), 3);

    ASSERT_TRUE(QTest::qWaitForWindowActive(lab->window<ConcentrationWindow>()));
    // Keys go where the focus is: the grid first, then its cell editor.
    auto type = [grid](const QString& text) {
        for (QChar ch : text) {
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : grid;
            QTest::keyClick(target, ch.toLatin1());
        }
    };
    clickCell(4, 2);
    grid->setFocus();
    type("0,03");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QApplication::processEvents();  // the editor commits on the next turn of the loop
    EXPECT_EQ(grid->cell(4, 2), "0,03");
    const int beeps = messages->beeps();
    grid->setFocus();
    type("a.");
    EXPECT_EQ(messages->beeps(), beeps + 2);
    EXPECT_EQ(grid->cell(4, 2), "0,03");
}

TEST_F(ConcentrationWindowTest, DilutionCalculator) {
    enterExperiment();
    next();
    ASSERT_TRUE(calculatorVisible());
    struct Case {
        const char* name;
        QStringList inputs;
        QString result;
    };
    const Case cases[] = {
        {"tube 1 of variant 1", {"0,1", "2", "2", "3", "5"}, "0,02"},
        {"tube 4 of variant 5", {"0,2", "5", "5", "0", "5"}, "0,1"},
        {"zero denominator keeps the result", {"0,2", "5", "0", "0", "0"}, "0,1"},
        {"empty box keeps the result", {"0,2", "", "1", "1", "1"}, "0,1"},
        {"lone comma keeps the result", {",", "1", "1", "1", "1"}, "0,1"},
        {"one third", {"1", "1", "1", "1", "1"}, "0,333333333333333"},
    };
    FilteredEdit* boxes[] = {lab->window<ConcentrationWindow>()->initialConcentrationBox,
                             lab->window<ConcentrationWindow>()->thiosulfateVolumeBox,
                             lab->window<ConcentrationWindow>()->mixThiosulfateVolumeBox,
                             lab->window<ConcentrationWindow>()->mixWaterVolumeBox,
                             lab->window<ConcentrationWindow>()->mixAcidVolumeBox};
    for (const Case& c : cases) {
        for (int i = 0; i < 5; ++i) boxes[i]->setText(c.inputs[i]);
        click(lab->window<ConcentrationWindow>()->calculatorOkButton);
        EXPECT_EQ(lab->window<ConcentrationWindow>()->dilutedConcentrationBox->text(), c.result)
            << c.name;
    }
    EXPECT_TRUE(messages->texts().isEmpty());
}

TEST_F(ConcentrationWindowTest, CalculatorBoxesFilterKeysAndEnterWalksOn) {
    enterExperiment();
    next();
    ASSERT_TRUE(QTest::qWaitForWindowActive(lab->window<ConcentrationWindow>()));
    lab->window<ConcentrationWindow>()->initialConcentrationBox->setFocus();
    lab->window<ConcentrationWindow>()->initialConcentrationBox->clear();
    const int beeps = messages->beeps();
    QTest::keyClicks(lab->window<ConcentrationWindow>()->initialConcentrationBox, "0.1x,5");
    EXPECT_EQ(lab->window<ConcentrationWindow>()->initialConcentrationBox->text(), "01,5");
    EXPECT_EQ(messages->beeps(), beeps + 2);
    const std::pair<FilteredEdit*, FilteredEdit*> chain[] = {
        {lab->window<ConcentrationWindow>()->initialConcentrationBox,
         lab->window<ConcentrationWindow>()->thiosulfateVolumeBox},
        {lab->window<ConcentrationWindow>()->thiosulfateVolumeBox,
         lab->window<ConcentrationWindow>()->mixThiosulfateVolumeBox},
        {lab->window<ConcentrationWindow>()->mixThiosulfateVolumeBox,
         lab->window<ConcentrationWindow>()->mixWaterVolumeBox},
        {lab->window<ConcentrationWindow>()->mixWaterVolumeBox,
         lab->window<ConcentrationWindow>()->mixAcidVolumeBox},
        {lab->window<ConcentrationWindow>()->mixAcidVolumeBox,
         lab->window<ConcentrationWindow>()->thiosulfateVolumeBox}};
    for (auto [from, to] : chain) {
        from->setFocus();
        QTest::keyClick(from, Qt::Key_Return);
        EXPECT_TRUE(to->hasFocus()) << from->geometry().x();
    }
}

TEST_F(ConcentrationWindowTest, StopwatchCountsOnTheMonotonicClock) {
    enterExperiment();
    lab->window<ConcentrationWindow>()->setStep(3);
    next();  // step 4: the stopwatch comes up
    EXPECT_EQ(lab->window<ConcentrationWindow>()->stopwatch->display()->text(), "00:00");
    ASSERT_TRUE(lab->window<ConcentrationWindow>()->stopwatch->startButton()->isVisible());
    click(lab->window<ConcentrationWindow>()->stopwatch->startButton());
    EXPECT_FALSE(lab->window<ConcentrationWindow>()->stopwatch->startButton()->isEnabled());
    EXPECT_TRUE(lab->window<ConcentrationWindow>()->stopwatch->stopButton()->isEnabled());
    EXPECT_TRUE(lab->window<ConcentrationWindow>()->stopwatch->enabled());

    clock.advance(999);
    lab->window<ConcentrationWindow>()->stopwatch->fire();
    EXPECT_EQ(lab->window<ConcentrationWindow>()->stopwatch->display()->text(), "00:00");
    // The wall clock is set back a day in the middle of the measurement: no effect.
    clock.dateTime0 -= 1;
    clock.advance(13500);
    lab->window<ConcentrationWindow>()->stopwatch->fire();
    EXPECT_EQ(lab->window<ConcentrationWindow>()->stopwatch->display()->text(), "00:14");
    clock.advance(61 * 60 * 1000);
    lab->window<ConcentrationWindow>()->stopwatch->fire();
    EXPECT_EQ(lab->window<ConcentrationWindow>()->stopwatch->display()->text(),
              "01:14");  // hours are not shown

    click(lab->window<ConcentrationWindow>()->stopwatch->stopButton());
    EXPECT_FALSE(lab->window<ConcentrationWindow>()->stopwatch->enabled());
    EXPECT_TRUE(lab->window<ConcentrationWindow>()->stopwatch->startButton()->isEnabled());
    EXPECT_FALSE(lab->window<ConcentrationWindow>()->stopwatch->stopButton()->isEnabled());
    EXPECT_EQ(lab->window<ConcentrationWindow>()->stopwatch->display()->text(), "01:14");

    // "Далее" while the stopwatch runs: "00:00" until the next tick.
    click(lab->window<ConcentrationWindow>()->stopwatch->startButton());
    clock.advance(5000);
    next();
    EXPECT_EQ(lab->window<ConcentrationWindow>()->stopwatch->display()->text(), "00:00");
    lab->window<ConcentrationWindow>()->stopwatch->fire();
    EXPECT_EQ(lab->window<ConcentrationWindow>()->stopwatch->display()->text(), "00:05");
    EXPECT_FALSE(lab->window<ConcentrationWindow>()->stopwatch->startButton()->isEnabled());
}

// The tube movies keep the table's band free, so the table stays in view with its rows while
// the tubes are timed: the student sees the row the time goes into.
TEST_F(ConcentrationWindowTest, TableStaysInViewWhileTheTubesAreTimed) {
    enterExperiment();
    lab->window<ConcentrationWindow>()->setStep(3);
    EXPECT_EQ(tableLayout(), expanded);
    for (int tube = 1; tube <= 4; ++tube) {
        next();
        EXPECT_EQ(lab->window<ConcentrationWindow>()->step(), 3 + tube);
        EXPECT_TRUE(lab->window<ConcentrationWindow>()->stopwatch->startButton()->isVisible());
        EXPECT_EQ(tableLayout(), expanded) << tube;
        click(lab->window<ConcentrationWindow>()->stopwatch->startButton());
        EXPECT_EQ(tableLayout(), expanded) << tube;
        click(lab->window<ConcentrationWindow>()->stopwatch->stopButton());
        EXPECT_EQ(tableLayout(), expanded) << tube;
        lab->window<ConcentrationWindow>()->nextLink->show();  // as at the end of the movie
    }
}

// A tube movie stops itself when the acid is in and waits for «Старт»: the reaction and the
// stopwatch start together, whenever «Старт» is pressed.
TEST_F(ConcentrationWindowTest, TheTubeMovieWaitsForStartWhenTheAcidIsIn) {
    const QString generated = QStringLiteral(LAB_PROGRAM_DIR "/Movie/Opyt1/4_1.swf");
    QFile file(generated);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "the asset tree is generated by the build";
    tree->write("Movie/Opyt1/4_1.swf", file.readAll());
    enterExperiment();
    auto* w = lab->window<ConcentrationWindow>();
    MoviePlayer* player = w->movie;
    auto waitForTheAcid = [&] {
        w->setStep(3);
        next();
        EXPECT_EQ(movie(), moviePath("4_1.swf"));
        int waitedAt = -1;
        for (int i = 0; i < player->totalFrames() && waitedAt < 0; ++i) {
            player->stepFrames(1);
            w->movieEndWatch->fire();
            if (!player->isPlaying()) waitedAt = player->currentFrame();
        }
        return waitedAt;
    };
    const int acidIn = waitForTheAcid();
    ASSERT_GT(acidIn, 12);
    ASSERT_LT(acidIn, player->totalFrames() - 1);
    // However long the student waits, the movie stays there.
    for (int i = 0; i < 50; ++i) w->movieEndWatch->fire();
    player->stepFrames(24);
    EXPECT_EQ(player->currentFrame(), acidIn);
    w->nextLink->hide();
    // «Старт»: the movie plays on from there to its end, and «Далее» comes.
    click(w->stopwatch->startButton());
    w->movieEndWatch->fire();
    EXPECT_TRUE(player->isPlaying());
    player->stepFrames(1);
    EXPECT_EQ(player->currentFrame(), acidIn + 1);
    // «Стоп»: the picture stays at the moment measured, however long the student looks, and
    // «Далее» comes at once.
    player->stepFrames(10);
    click(w->stopwatch->stopButton());
    const int stoppedAt = player->currentFrame();
    EXPECT_EQ(stoppedAt, acidIn + 11);
    for (int i = 0; i < 50; ++i) {
        player->stepFrames(1);
        w->movieEndWatch->fire();
    }
    EXPECT_EQ(player->currentFrame(), stoppedAt);
    EXPECT_FALSE(player->isPlaying());
    EXPECT_TRUE(w->nextLink->isVisible());
    // «Старт» again after «Стоп»: the stopwatch starts from nothing, and so does the reaction,
    // in a fresh tube shown at the moment the acid is in.
    click(w->stopwatch->startButton());
    EXPECT_EQ(player->currentFrame(), acidIn);
    w->movieEndWatch->fire();
    EXPECT_TRUE(player->isPlaying());
    player->stepFrames(1);
    EXPECT_EQ(player->currentFrame(), acidIn + 1);
    // Left to run, the reaction plays to its end, where «Далее» comes too.
    w->nextLink->hide();
    player->stepFrames(player->totalFrames() - 1 - player->currentFrame());
    w->movieEndWatch->fire();
    EXPECT_EQ(player->currentFrame(), player->totalFrames() - 1);
    EXPECT_FALSE(player->isPlaying());
    EXPECT_TRUE(w->nextLink->isVisible());
    click(w->stopwatch->stopButton());

    // «Старт» pressed while the tube is still being filled: the tube is shown with its acid in
    // at once, so the stopwatch and the reaction still begin together.
    w->setStep(3);
    next();
    player->stepFrames(3);
    w->movieEndWatch->fire();
    ASSERT_LT(player->currentFrame(), acidIn);
    click(w->stopwatch->startButton());
    EXPECT_EQ(player->currentFrame(), acidIn);
    w->movieEndWatch->fire();
    EXPECT_TRUE(player->isPlaying());
    player->stepFrames(1);
    EXPECT_EQ(player->currentFrame(), acidIn + 1);
}

TEST_F(ConcentrationWindowTest, EndOfMovieWatchStopsTheMovieOnItsLastFrame) {
    tree->write("Movie/Opyt1/4_1.swf", minimalSwf(705, 350, 5));
    enterExperiment();
    lab->window<ConcentrationWindow>()->setStep(3);
    next();
    ASSERT_EQ(movie(), moviePath("4_1.swf"));
    lab->window<ConcentrationWindow>()->nextLink->hide();
    MoviePlayer* player = lab->window<ConcentrationWindow>()->movie;
    player->stepFrames(player->totalFrames() - 2);
    lab->window<ConcentrationWindow>()->movieEndWatch->fire();
    EXPECT_TRUE(player->isPlaying());
    EXPECT_FALSE(lab->window<ConcentrationWindow>()->nextLink->isVisible());
    player->stepFrames(1);
    ASSERT_EQ(player->currentFrame(), player->totalFrames() - 1);
    lab->window<ConcentrationWindow>()->movieEndWatch->fire();
    EXPECT_FALSE(player->isPlaying());
    EXPECT_EQ(player->currentFrame(), player->totalFrames() - 1);
    EXPECT_TRUE(lab->window<ConcentrationWindow>()->nextLink->isVisible());
}

TEST_F(ConcentrationWindowTest, LeavingShowsTheMainWindow) {
    enterExperiment();
    click(lab->window<ConcentrationWindow>()->finishLink);
    EXPECT_TRUE(lab->window<MainWindow>()->isVisible());
    EXPECT_FALSE(lab->window<ConcentrationWindow>()->isVisible());

    enterExperiment();
    QTest::mouseMove(lab->window<ConcentrationWindow>()->closeSpot, QPoint(5, 5));
    ASSERT_TRUE(lab->window<ConcentrationWindow>()->closeGlyph->isVisible());
    QTest::mouseClick(lab->window<ConcentrationWindow>()->closeGlyph, Qt::LeftButton, {},
                      QPoint(6, 6));
    EXPECT_TRUE(lab->window<MainWindow>()->isVisible());
    EXPECT_FALSE(lab->window<ConcentrationWindow>()->isVisible());
    EXPECT_TRUE(messages->texts().isEmpty());
}

TEST_F(ConcentrationWindowTest, ANewRunStartsFromTheResetLayoutAndKeepsTheTable) {
    enterExperiment();
    next();
    fillColumn(4, {"0,02", "0,03", "0,04", "0,05"});
    lab->window<ConcentrationWindow>()->initialConcentrationBox->setText("0,1");
    lab->window<ConcentrationWindow>()->setStep(3);
    next();  // step 4: the stopwatch comes up
    click(lab->window<ConcentrationWindow>()->finishLink);

    enterExperiment();
    EXPECT_EQ(lab->window<ConcentrationWindow>()->step(), 1);
    EXPECT_EQ(tableLayout(), expanded);
    EXPECT_TRUE(calculatorHidden());
    EXPECT_FALSE(lab->window<ConcentrationWindow>()->stopwatch->display()->isVisible());
    EXPECT_FALSE(lab->window<ConcentrationWindow>()->stopwatch->startButton()->isVisible());
    EXPECT_TRUE(lab->window<ConcentrationWindow>()->nextLink->isVisible());
    EXPECT_EQ(lab->window<ConcentrationWindow>()->measurementTable->cell(4, 3), "0,04");
    EXPECT_EQ(lab->window<ConcentrationWindow>()->initialConcentrationBox->text(), "0,1");
    EXPECT_EQ(movie(), moviePath("1.swf"));
}

TEST_F(ConcentrationWindowTest, TheEightStepsWithTheGraphAndTheGrade) {
    ASSERT_TRUE(session().registerStudent("ХТ-21", "Петрова А.В."));
    lab->window<MainWindow>()->variantChooser->setCurrentIndex(0);
    session().setVariant(1);
    enterExperiment();
    EXPECT_EQ(movie(), moviePath("1.swf"));

    next();  // 2: the calculator
    EXPECT_EQ(lab->window<ConcentrationWindow>()->step(), 2);
    EXPECT_TRUE(calculatorVisible());
    EXPECT_EQ(movie(), moviePath("2.swf"));

    fillColumn(4, {"0,02", "", "0,04", "0,05"});
    next();  // 3 refused: a concentration is missing
    EXPECT_EQ(messages->messageTexts(), QStringList{column4Message});
    EXPECT_EQ(lab->window<ConcentrationWindow>()->step(), 2);
    EXPECT_EQ(movie(), moviePath("2.swf"));
    EXPECT_TRUE(calculatorVisible());

    messages->clear();
    lab->window<ConcentrationWindow>()->measurementTable->setCell(4, 2, "0,03");
    next();  // 3
    EXPECT_EQ(lab->window<ConcentrationWindow>()->step(), 3);
    EXPECT_TRUE(calculatorHidden());
    EXPECT_EQ(movie(), moviePath("3.swf"));

    const QStringList times = {"35", "23", "17", "14"};
    for (int tube = 1; tube <= 4; ++tube) {
        next();  // 4..7: one tube each
        EXPECT_EQ(lab->window<ConcentrationWindow>()->step(), tube + 3);
        EXPECT_EQ(movie(), moviePath(qPrintable(QString("%1_1.swf").arg(tube + 3))));
        EXPECT_EQ(tableLayout(), expanded) << tube;
        click(lab->window<ConcentrationWindow>()->stopwatch->startButton());
        clock.advance(times[tube - 1].toInt() * 1000 + 300);
        lab->window<ConcentrationWindow>()->stopwatch->fire();
        EXPECT_EQ(lab->window<ConcentrationWindow>()->stopwatch->display()->text(),
                  QString("00:%1").arg(times[tube - 1]));
        click(lab->window<ConcentrationWindow>()->stopwatch->stopButton());
        EXPECT_EQ(tableLayout(), expanded);
        lab->window<ConcentrationWindow>()->movie->stepFrames(
            lab->window<ConcentrationWindow>()->movie->totalFrames());
        lab->window<ConcentrationWindow>()->movieEndWatch->fire();
        if (tube < 4)
            lab->window<ConcentrationWindow>()->measurementTable->setCell(5, tube, times[tube - 1]);
    }

    next();  // 8 refused: a time is missing
    EXPECT_EQ(messages->messageTexts(), QStringList{column5Message});
    EXPECT_EQ(lab->window<ConcentrationWindow>()->step(), 7);
    EXPECT_EQ(movie(), moviePath("7_1.swf"));
    EXPECT_FALSE(lab->window<ConcentrationWindow>()->movieEndWatch->enabled());
    EXPECT_TRUE(lab->window<ConcentrationWindow>()->nextLink->isVisible());

    messages->clear();
    fillColumn(5, {"8", "12", "17", "14"});
    int graphShown = 0;
    QStringList pointsSeen;
    LabWindow::setModalHook([&](LabWindow& w) {
        if (&w != lab->window<RateGraphWindow>()) return;
        ++graphShown;
        for (const QPointF& p : lab->window<RateGraphWindow>()->measuredPoints->points())
            pointsSeen << QString("%1;%2").arg(p.x()).arg(p.y());
        click(lab->window<RateGraphWindow>()->nextLink);
        runDown(lab->window<RateGraphWindow>()->lineGrowthTimer);
        click(lab->window<RateGraphWindow>()->backLink);
    });
    next();  // 8
    LabWindow::setModalHook(nullptr);
    EXPECT_EQ(lab->window<ConcentrationWindow>()->step(), 8);
    EXPECT_EQ(graphShown, 1);
    EXPECT_EQ(lab->window<ConcentrationWindow>()->measurementTable->cell(6, 1), "0,13");
    EXPECT_EQ(lab->window<ConcentrationWindow>()->measurementTable->cell(6, 2), "0,08");
    EXPECT_EQ(lab->window<ConcentrationWindow>()->measurementTable->cell(6, 3), "0,06");
    EXPECT_EQ(lab->window<ConcentrationWindow>()->measurementTable->cell(6, 4), "0,07");
    EXPECT_EQ(pointsSeen, QStringList({"0;0", "0.02;0.13", "0.03;0.08", "0.04;0.06", "0.05;0.07"}));
    EXPECT_FALSE(lab->window<ConcentrationWindow>()->nextLink->isVisible());
    EXPECT_TRUE(lab->window<ConcentrationWindow>()->graphLink->isVisible());
    EXPECT_EQ(movie(), moviePath("7_1.swf"));  // step 8 has no movie
    EXPECT_FALSE(lab->window<RateGraphWindow>()->isVisible());
    EXPECT_TRUE(lab->window<ConcentrationWindow>()->isVisible());
    EXPECT_FALSE(lab->window<ConcentrationWindow>()
                     ->movieEndWatch->enabled());  // closing the graph is no fresh activation

    // The sample data's tube 4 of variant 1 is V 0.081, C 0.1; measured 0.07 and 0.05 give
    // the partial grades 5 and 1.
    EXPECT_EQ(messages->messageTexts(), QStringList{"Оценка за выполнение опыта№1: 3 !!!!"});
    EXPECT_EQ(results().score(1, 1), 3.f);
    const float grade = 3;
    // Slot 1's experiment-1 grade in the file: after group (15 bytes), surname (26), padding (3).
    const QByteArray file = tree->read("BDStudent.rez");
    ASSERT_EQ(file.size(), 300);
    float stored = 0;
    std::memcpy(&stored, file.constData() + 44, sizeof stored);
    EXPECT_EQ(stored, grade);
    EXPECT_GT(stored, 0.f);
}

TEST_F(ConcentrationWindowTest, Step8NamesATimeWithoutARateAndWaitsForTheCorrection) {
    enterExperiment();
    lab->window<ConcentrationWindow>()->setStep(7);
    fillColumn(4, {"0,02", "0,03", "0,04", "0,05"});
    fillColumn(6, {"", "", "", ""});
    int graphShown = 0;
    LabWindow::setModalHook([&](LabWindow& w) {
        ++graphShown;
        w.done();
    });
    for (const char* bad : {"0", ","}) {
        SCOPED_TRACE(bad);
        messages->clear();
        fillColumn(5, {"8", "12", bad, "14"});
        next();
        EXPECT_EQ(
            messages->messageTexts(),
            QStringList{QStringLiteral("Время для пробирки 3 должно быть положительным числом.")});
        EXPECT_EQ(lab->window<ConcentrationWindow>()->step(), 7);
        EXPECT_EQ(graphShown, 0);
        EXPECT_EQ(lab->window<ConcentrationWindow>()->measurementTable->cell(6, 2), "0,08");
        EXPECT_TRUE(lab->window<ConcentrationWindow>()->nextLink->isVisible());
        EXPECT_EQ(lab->window<ConcentrationWindow>()->measurementTable->selectedRow(), 3);
    }
    messages->clear();
    lab->window<ConcentrationWindow>()->measurementTable->setCell(5, 3, QStringLiteral("10"));
    next();
    EXPECT_EQ(graphShown, 1);
    EXPECT_EQ(lab->window<ConcentrationWindow>()->measurementTable->cell(6, 3), "0,1");
    EXPECT_TRUE(lab->window<ConcentrationWindow>()->graphLink->isVisible());
    LabWindow::setModalHook(nullptr);
}

// A close by the window manager (Alt+F4, a title-bar button) leaves like the close glyph: the
// main window comes back, the run and its table stay as they were, the program goes on.
TEST_F(ConcentrationWindowTest, AWindowManagerCloseLeavesLikeTheCloseGlyph) {
    enterExperiment();
    lab->window<ConcentrationWindow>()->setStep(5);
    fillColumn(4, {"0,02", "0,03", "0,04", "0,05"});
    closeByWindowManager(lab->window<ConcentrationWindow>());
    EXPECT_FALSE(lab->window<ConcentrationWindow>()->isVisible());
    EXPECT_TRUE(lab->window<MainWindow>()->isVisible());
    EXPECT_FALSE(programEnding());
    EXPECT_EQ(lab->window<ConcentrationWindow>()->step(), 5);
    EXPECT_EQ(lab->window<ConcentrationWindow>()->measurementTable->cell(4, 4), "0,05");
    EXPECT_TRUE(messages->texts().isEmpty());
}

namespace {
// A double click as the window system delivers it to a widget: a press and release, then the
// second press as a double click event, then its release.
void doubleClick(QWidget* w) {
    waitUntilStepShown(w);
    QTest::mouseClick(w, Qt::LeftButton);
    QTest::mouseDClick(w, Qt::LeftButton);
    QTest::mouseRelease(w, Qt::LeftButton);
}
}  // namespace

// A student who double-clicks «Далее» out of habit goes one step on, never two: at step 4 a
// second step would skip tube 2 for the rest of the run.
TEST_F(ConcentrationWindowTest, ADoubleClickOnNextAdvancesOneStepAtEveryStep) {
    enterExperiment();
    fillColumn(4, {"0,02", "0,03", "0,04", "0,05"});
    fillColumn(5, {"8", "12", "17", "14"});
    int graphShown = 0;
    LabWindow::setModalHook([&](LabWindow& w) {
        ++graphShown;
        w.done();
    });
    ConcentrationWindow* window = lab->window<ConcentrationWindow>();
    for (int step = ConcentrationWindow::TaskStep; step < ConcentrationWindow::RatesStep; ++step) {
        SCOPED_TRACE(step);
        ASSERT_EQ(window->step(), step);
        doubleClick(window->nextLink);
        EXPECT_EQ(window->step(), step + 1);
        if (step + 1 < ConcentrationWindow::RatesStep) {
            const QString name = step + 1 >= ConcentrationWindow::FirstTubeStep
                                     ? QString("%1_1.swf").arg(step + 1)
                                     : QString("%1.swf").arg(step + 1);
            EXPECT_EQ(movie(), moviePath(qPrintable(name)));
        }
    }
    LabWindow::setModalHook(nullptr);
    EXPECT_EQ(graphShown, 1);
    EXPECT_TRUE(messages->texts().isEmpty()) << messages->texts().join("\n").toStdString();
}

// Clicks made while a step change keeps the window busy arrive before the new step is drawn: they
// were aimed at the step before and are ignored, the mouse's and Enter's alike. Once the step is
// on show, the next click goes on again.
TEST_F(ConcentrationWindowTest, PressesBeforeTheNewStepIsDrawnAreIgnored) {
    enterExperiment();
    fillColumn(4, {"0,02", "0,03", "0,04", "0,05"});
    ConcentrationWindow* window = lab->window<ConcentrationWindow>();
    ASSERT_TRUE(window->isVisible());
    const int step = window->step();
    QTest::mouseClick(window->nextLink, Qt::LeftButton);
    EXPECT_FALSE(window->isStepShown());
    QTest::mouseClick(window->nextLink, Qt::LeftButton);
    window->nextLink->setFocus();
    QTest::keyClick(window->nextLink, Qt::Key_Return);
    QTest::mouseClick(window->nextLink, Qt::LeftButton);
    EXPECT_EQ(window->step(), step + 1);
    EXPECT_EQ(movie(), moviePath("2.swf"));

    ASSERT_TRUE(QTest::qWaitFor([window] { return window->isStepShown(); }, 2000));
    // Later than a double click's second press.
    QTest::mouseClick(window->nextLink, Qt::LeftButton, {}, QPoint(),
                      QApplication::doubleClickInterval() + 50);
    EXPECT_EQ(window->step(), step + 2);
}

// A fast double click on «Старт» starts one timing and on «Стоп» stops it once; one on the
// calculator's «Ok» computes once.
TEST_F(ConcentrationWindowTest, ADoubleClickOnTheStopwatchButtonsActsOnce) {
    enterExperiment();
    ConcentrationWindow* window = lab->window<ConcentrationWindow>();
    window->setStep(ConcentrationWindow::TimingStep);
    fillColumn(4, {"0,02", "0,03", "0,04", "0,05"});
    next();
    ASSERT_TRUE(window->stopwatch->startButton()->isVisible());
    int starts = 0, stops = 0;
    QObject::connect(window->stopwatch->startButton(), &QPushButton::clicked, [&] { ++starts; });
    QObject::connect(window->stopwatch->stopButton(), &QPushButton::clicked, [&] { ++stops; });
    doubleClick(window->stopwatch->startButton());
    EXPECT_EQ(starts, 1);
    EXPECT_TRUE(window->stopwatch->enabled());
    clock.advance(3000);
    window->stopwatch->fire();
    EXPECT_EQ(window->stopwatch->display()->text(), "00:03");
    doubleClick(window->stopwatch->stopButton());
    EXPECT_EQ(stops, 1);
    EXPECT_FALSE(window->stopwatch->enabled());
    EXPECT_EQ(window->stopwatch->display()->text(), "00:03");

    // «Ok» of the calculator: a double click computes once, and a second press on a button
    // that stays enabled is no second action either.
    int computed = 0;
    QObject::connect(window->calculatorOkButton, &QPushButton::clicked, [&] { ++computed; });
    window->calculatorOkButton->show();
    doubleClick(window->calculatorOkButton);
    EXPECT_EQ(computed, 1);
}

// «Старт» and «Стоп» clicked with the mouse disable themselves and Qt passes the focus on; that
// focus did not come from the keyboard, so no link shows the dotted frame.
TEST_F(ConcentrationWindowTest, MouseClicksOnTheStopwatchLeaveNoFocusFrameOnALink) {
    enterExperiment();
    ConcentrationWindow* window = lab->window<ConcentrationWindow>();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    window->setStep(ConcentrationWindow::TimingStep);
    fillColumn(4, {"0,02", "0,03", "0,04", "0,05"});
    next();
    window->nextLink->show();  // as at the end of the tube's movie
    auto framedLinks = [window] {
        QStringList framed;
        for (LinkLabel* link : window->findChildren<LinkLabel*>())
            if (link->showsFocusMark()) framed << link->text();
        return framed;
    };
    click(window->stopwatch->startButton());
    EXPECT_EQ(framedLinks(), QStringList());
    click(window->stopwatch->stopButton());
    EXPECT_EQ(framedLinks(), QStringList());
}

// A number holds one decimal comma: a second one typed into a cell of «Таблица 1» or a box of
// the calculator, or pasted, is refused with a beep; a comma typed over a selection that held
// the first is fine.
TEST_F(ConcentrationWindowTest, NumericFieldsTakeOneDecimalComma) {
    enterExperiment();
    ConcentrationWindow* window = lab->window<ConcentrationWindow>();
    StringGrid* grid = window->measurementTable;
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    auto type = [grid](const QString& text) {
        for (QChar ch : text) {
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : grid;
            QTest::keyClick(target, ch.toLatin1());
        }
    };
    grid->selectCell(4, 3);
    grid->setFocus();
    const int beeps = messages->beeps();
    type("0,0,25");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(grid->cell(4, 3), "0,025");
    EXPECT_EQ(messages->beeps(), beeps + 1);

    next();  // the calculator
    FilteredEdit* box = window->initialConcentrationBox;
    box->setFocus();
    box->clear();
    type("1,5,");
    EXPECT_EQ(box->text(), "1,5");
    box->setSelection(1, 1);  // the comma itself
    type(",");
    EXPECT_EQ(box->text(), "1,5");
    box->typeText(QStringLiteral(",7"));  // what a paste does, at the caret after the comma
    EXPECT_EQ(box->text(), "1,75");
    EXPECT_EQ(messages->beeps(), beeps + 3);
}

// A concentration that still cannot be read (a lone comma) stops the step with a message that
// names the column and the tube, like the times do; «График» names the cell the same way.
TEST_F(ConcentrationWindowTest, AConcentrationThatIsNotANumberStopsTheStepWithARussianMessage) {
    enterExperiment();
    ConcentrationWindow* window = lab->window<ConcentrationWindow>();
    const QString message =
        QStringLiteral("В столбце \"C` Na2S2O3 моль/л\" для пробирки 3 записано не число.");
    window->setStep(ConcentrationWindow::CalculatorStep);
    fillColumn(4, {"0,02", "0,03", ",", "0,05"});
    next();
    EXPECT_EQ(window->step(), ConcentrationWindow::CalculatorStep);
    EXPECT_EQ(messages->messageTexts(), QStringList{message});
    EXPECT_EQ(window->measurementTable->selectedCol(), 4);
    EXPECT_EQ(window->measurementTable->selectedRow(), 3);

    // At step 8 the same, and «Далее» stays for another try.
    messages->clear();
    window->setStep(ConcentrationWindow::LastTubeStep);
    fillColumn(5, {"8", "12", "17", "14"});
    int graphShown = 0;
    LabWindow::setModalHook([&](LabWindow& w) {
        ++graphShown;
        w.done();
    });
    window->nextLink->show();
    next();
    EXPECT_EQ(window->step(), ConcentrationWindow::LastTubeStep);
    EXPECT_EQ(messages->messageTexts(), QStringList{message});
    EXPECT_TRUE(window->nextLink->isVisible());
    EXPECT_EQ(graphShown, 0);

    messages->clear();
    window->measurementTable->setCell(4, 3, QStringLiteral("0,04"));
    next();
    LabWindow::setModalHook(nullptr);
    EXPECT_EQ(graphShown, 1);
    EXPECT_TRUE(messages->texts().isEmpty()) << messages->texts().join("\n").toStdString();
}
