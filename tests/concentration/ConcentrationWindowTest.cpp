#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScatterSeries>
#include <QtTest/QTest>
#include <cstring>

#include "TestSupport.h"
#include "concentration/ConcentrationWindow.h"
#include "concentration/GraphWindow.h"
#include "concentration/HeadingStrip.h"
#include "movie/MoviePlayer.h"
#include "shell/Forms.h"
#include "shell/LabState.h"
#include "shell/Loaders.h"
#include "shell/MainWindow.h"
#include "students/StudentStore.h"
#include "toolkit/Controls.h"
#include "toolkit/FilteredEdit.h"
#include "toolkit/LabTimer.h"
#include "toolkit/StringGrid.h"

namespace {
const QString column4Message = QStringLiteral("Столбец \"C` Na2S2O3 моль/л\" не может быть пуст");
const QString column5Message = QStringLiteral("Столбец \"Время T, с\" не может быть пуст");

class ConcentrationWindowTest : public LabTest {
protected:
    void SetUp() override {
        LabTest::SetUp();
        createWindows();
        LabState.RegistrationShown = true;  // the main window opens no registration
        resetStudentTable();
    }
    void TearDown() override {
        resetStudentTable();
        LabTest::TearDown();
    }

    // What the main window does when the student opens experiment 1.
    void enterExperiment() {
        LabState.MovieStep = 1;
        Form4->prepareRun();
        LoadMovie(Form4->Flash1, QStringLiteral("\\Movie\\Opyt1\\1.swf"));
        Form4->showForm();
        Form1->hide();
        Form4->Flash1->setManualStepping(true);
    }
    void next() { QTest::mouseClick(Form4->Label14, Qt::LeftButton); }
    static void runDown(LabTimer* timer) {
        for (int i = 0; i < 100 && timer->enabled(); ++i) timer->fire();
        ASSERT_FALSE(timer->enabled());
    }
    QString movie() const { return Form4->Flash1->movie(); }
    QString moviePath(const char* name) const { return tree->path(QString("Movie/Opyt1/") + name); }
    void fillColumn(int column, const QStringList& texts) {
        for (int r = 1; r <= 4; ++r) Form4->StringGrid1->setCell(column, r, texts.value(r - 1));
    }
    bool calculatorVisible() const {
        return Form4->Edit1->isVisible() && Form4->Edit6->isVisible() &&
               Form4->Button1->isVisible() && Form4->StaticText2->isVisible();
    }
    bool calculatorHidden() const {
        for (QWidget* w : std::initializer_list<QWidget*>{
                 Form4->Edit1, Form4->Edit2, Form4->Edit3, Form4->Edit4, Form4->Edit5, Form4->Edit6,
                 Form4->Button1, Form4->StaticText2, Form4->StaticText3})
            if (w->isVisible()) return false;
        return true;
    }
    QRect tableLayout() const {
        return QRect(Form4->StaticText1->y(), Form4->StringGrid1->y(), Form4->Frame13->y(),
                     Form4->StringGrid1->height());
    }
};

// caption top, grid top, strip top, grid height
const QRect expanded(349, 369, 370, 89);
const QRect collapsed(419, 439, 440, 19);
}  // namespace

TEST_F(ConcentrationWindowTest, ControlsAsDefined) {
    struct Case {
        QWidget* widget;
        QRect bounds;
        bool visible;
    };
    enterExperiment();
    const Case cases[] = {
        {Form4->Image1, {0, 0, 715, 505}, true},
        {Form4->Label2, {239, 17, 250, 44}, true},
        {Form4->Flash1, {5, 64, 705, 350}, true},
        {Form4->StringGrid1, {10, 369, 575, 89}, true},
        {Form4->Button1, {430, 274, 33, 25}, false},
        {Form4->Edit1, {321, 262, 41, 19}, false},
        {Form4->Edit5, {395, 294, 25, 19}, false},
        {Form4->Edit6, {486, 277, 33, 19}, false},
        {Form4->StaticText1, {11, 349, 80, 20}, true},
        {Form4->Button2, {604, 316, 50, 25}, false},
        {Form4->Button3, {653, 316, 50, 25}, false},
        {Form4->Frame13, {10, 370, 575, 16}, true},
        {Form4->Image2, {699, 2, 13, 13}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.widget->geometry(), c.bounds) << c.widget->metaObject()->className();
        EXPECT_EQ(c.widget->isVisible(), c.visible) << c.widget->metaObject()->className();
    }
    EXPECT_EQ(Form4->size(), QSize(715, 505));
    EXPECT_EQ(Form4->Label14->pos(), QPoint(11, 461));
    EXPECT_EQ(Form4->Label5->pos(), QPoint(290, 461));
    EXPECT_EQ(Form4->Label8->pos(), QPoint(106, 461));
    EXPECT_FALSE(Form4->Label8->isVisible());
    EXPECT_EQ(Form4->Label14->text(), "Далее");
    EXPECT_EQ(Form4->Label5->text(), "Закончить опыт");
    EXPECT_EQ(Form4->Label8->text(), "График");
    EXPECT_EQ(Form4->StaticText1->text(), "Таблица 1");
    EXPECT_EQ(Form4->StaticText4->text(), ".....");
    EXPECT_TRUE(Form4->Button2->isEnabled());
    EXPECT_FALSE(Form4->Button3->isEnabled());
    EXPECT_TRUE(Form4->Edit6->isReadOnly());
    EXPECT_EQ(Form4->Timer3->interval(), 1000);
    for (LabTimer* t : {Form4->Timer1, Form4->Timer2, Form4->Timer3}) EXPECT_FALSE(t->enabled());
    // The strip shows its headings over the grid's heading row.
    EXPECT_EQ(Form4->Frame13->Image1->image().size(), QSize(575, 16));
}

TEST_F(ConcentrationWindowTest, ActivationCopiesTheVariantTextsAndStartsTheWatch) {
    Form1->StaticText1->setText("0.05M");
    Form1->StaticText2->setText("2N");
    EXPECT_FALSE(Form4->Timer4->enabled());
    enterExperiment();
    EXPECT_EQ(Form4->StaticText2->text(), "0.05M");
    EXPECT_EQ(Form4->StaticText3->text(), "2N");
    EXPECT_TRUE(Form4->Timer4->enabled());
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
        {"malformed", QByteArray("1 0,5 3\n"), QStringLiteral("Invalid numeric input")},
    };
    for (const Case& c : cases) {
        messages->clear();
        if (c.file.isEmpty())
            tree->remove("Dannie.txt");
        else
            tree->write("Dannie.txt", c.file);
        TForm4 window;
        EXPECT_EQ(messages->errorTexts(), QStringList{c.error}) << c.name;
        EXPECT_EQ(window.StringGrid1->cell(4, 0), "C` Na2S2O3 моль/л") << c.name;
        EXPECT_EQ(window.StringGrid1->cell(1, 4), "5 мл") << c.name;
        EXPECT_EQ(window.StringGrid1->colWidth(4), 108) << c.name;
    }
}

TEST_F(ConcentrationWindowTest, OnlyTheStudentsColumnsCanBeSelectedAndTakeNumbersOnly) {
    enterExperiment();
    StringGrid* grid = Form4->StringGrid1;
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

    ASSERT_TRUE(QTest::qWaitForWindowActive(Form4));
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
    FilteredEdit* boxes[] = {Form4->Edit1, Form4->Edit2, Form4->Edit3, Form4->Edit4, Form4->Edit5};
    for (const Case& c : cases) {
        for (int i = 0; i < 5; ++i) boxes[i]->setText(c.inputs[i]);
        QTest::mouseClick(Form4->Button1, Qt::LeftButton);
        EXPECT_EQ(Form4->Edit6->text(), c.result) << c.name;
    }
    EXPECT_TRUE(messages->texts().isEmpty());
}

TEST_F(ConcentrationWindowTest, CalculatorBoxesFilterKeysAndEnterWalksOn) {
    enterExperiment();
    next();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form4));
    Form4->Edit1->setFocus();
    Form4->Edit1->clear();
    const int beeps = messages->beeps();
    QTest::keyClicks(Form4->Edit1, "0.1x,5");
    EXPECT_EQ(Form4->Edit1->text(), "01,5");
    EXPECT_EQ(messages->beeps(), beeps + 2);
    const std::pair<FilteredEdit*, FilteredEdit*> chain[] = {{Form4->Edit1, Form4->Edit2},
                                                             {Form4->Edit2, Form4->Edit3},
                                                             {Form4->Edit3, Form4->Edit4},
                                                             {Form4->Edit4, Form4->Edit5},
                                                             {Form4->Edit5, Form4->Edit2}};
    for (auto [from, to] : chain) {
        from->setFocus();
        QTest::keyClick(from, Qt::Key_Return);
        EXPECT_TRUE(to->hasFocus()) << from->geometry().x();
    }
}

TEST_F(ConcentrationWindowTest, StopwatchCountsOnTheMonotonicClock) {
    enterExperiment();
    LabState.MovieStep = 3;
    next();  // step 4: the stopwatch comes up
    EXPECT_EQ(Form4->StaticText4->text(), "00:00");
    ASSERT_TRUE(Form4->Button2->isVisible());
    QTest::mouseClick(Form4->Button2, Qt::LeftButton);
    EXPECT_FALSE(Form4->Button2->isEnabled());
    EXPECT_TRUE(Form4->Button3->isEnabled());
    EXPECT_TRUE(Form4->Timer3->enabled());

    clock.advance(999);
    Form4->Timer3->fire();
    EXPECT_EQ(Form4->StaticText4->text(), "00:00");
    // The wall clock is set back a day in the middle of the measurement: no effect.
    clock.dateTime0 -= 1;
    clock.advance(13500);
    Form4->Timer3->fire();
    EXPECT_EQ(Form4->StaticText4->text(), "00:14");
    clock.advance(61 * 60 * 1000);
    Form4->Timer3->fire();
    EXPECT_EQ(Form4->StaticText4->text(), "01:14");  // hours are not shown

    QTest::mouseClick(Form4->Button3, Qt::LeftButton);
    EXPECT_FALSE(Form4->Timer3->enabled());
    EXPECT_TRUE(Form4->Button2->isEnabled());
    EXPECT_FALSE(Form4->Button3->isEnabled());
    EXPECT_EQ(Form4->StaticText4->text(), "01:14");

    // "Далее" while the stopwatch runs: "00:00" until the next tick.
    QTest::mouseClick(Form4->Button2, Qt::LeftButton);
    clock.advance(5000);
    next();
    EXPECT_EQ(Form4->StaticText4->text(), "00:00");
    Form4->Timer3->fire();
    EXPECT_EQ(Form4->StaticText4->text(), "00:05");
    EXPECT_FALSE(Form4->Button2->isEnabled());
}

TEST_F(ConcentrationWindowTest, TableSlidesAwayForTheTimingAndBack) {
    enterExperiment();
    LabState.MovieStep = 3;
    EXPECT_EQ(tableLayout(), expanded);
    next();  // step 4
    EXPECT_TRUE(Form4->Timer1->enabled());
    int ticks = 0;
    while (Form4->Timer1->enabled() && ticks < 100) Form4->Timer1->fire(), ++ticks;
    EXPECT_EQ(ticks, 15);  // 14 moves, then the tick that finds it done
    EXPECT_EQ(tableLayout(), collapsed);
    QTest::mouseClick(Form4->Button2, Qt::LeftButton);
    QTest::mouseClick(Form4->Button3, Qt::LeftButton);
    runDown(Form4->Timer2);
    EXPECT_EQ(tableLayout(), expanded);

    // "Стоп" in the middle of a collapse: the collapse stops, the table comes back.
    next();  // step 5
    for (int i = 0; i < 4; ++i) Form4->Timer1->fire();
    QTest::mouseClick(Form4->Button2, Qt::LeftButton);
    QTest::mouseClick(Form4->Button3, Qt::LeftButton);
    EXPECT_FALSE(Form4->Timer1->enabled());
    runDown(Form4->Timer2);
    EXPECT_EQ(tableLayout(), expanded);

    // "Далее" in the middle of an expand: it ends collapsed.
    next();  // step 6
    runDown(Form4->Timer1);
    QTest::mouseClick(Form4->Button2, Qt::LeftButton);
    QTest::mouseClick(Form4->Button3, Qt::LeftButton);
    Form4->Timer2->fire();
    Form4->Timer2->fire();
    LabState.MovieStep = 4;
    next();  // step 5 again
    EXPECT_FALSE(Form4->Timer2->enabled());
    runDown(Form4->Timer1);
    EXPECT_EQ(tableLayout(), collapsed);

    // Step 7 does not slide the table.
    QTest::mouseClick(Form4->Button2, Qt::LeftButton);
    QTest::mouseClick(Form4->Button3, Qt::LeftButton);
    runDown(Form4->Timer2);
    LabState.MovieStep = 6;
    next();
    EXPECT_FALSE(Form4->Timer1->enabled());
    EXPECT_EQ(tableLayout(), expanded);
}

TEST_F(ConcentrationWindowTest, EndOfMovieWatchStopsTheMovieOnItsLastFrame) {
    tree->write("Movie/Opyt1/4_1.swf", minimalSwf(705, 350, 5));
    enterExperiment();
    LabState.MovieStep = 3;
    next();
    ASSERT_EQ(movie(), moviePath("4_1.swf"));
    Form4->Label14->hide();
    MoviePlayer* player = Form4->Flash1;
    player->stepFrames(player->TotalFrames() - 2);
    Form4->Timer4->fire();
    EXPECT_TRUE(player->isPlaying());
    EXPECT_FALSE(Form4->Label14->isVisible());
    player->stepFrames(1);
    ASSERT_EQ(player->FrameNum(), player->TotalFrames() - 1);
    Form4->Timer4->fire();
    EXPECT_FALSE(player->isPlaying());
    EXPECT_EQ(player->FrameNum(), player->TotalFrames() - 1);
    EXPECT_TRUE(Form4->Label14->isVisible());
}

TEST_F(ConcentrationWindowTest, LeavingShowsTheMainWindow) {
    enterExperiment();
    QTest::mouseClick(Form4->Label5, Qt::LeftButton);
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_FALSE(Form4->isVisible());

    enterExperiment();
    QTest::mouseMove(Form4->Image3, QPoint(5, 5));
    ASSERT_TRUE(Form4->Image2->isVisible());
    QTest::mouseClick(Form4->Image2, Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_FALSE(Form4->isVisible());
    EXPECT_TRUE(messages->texts().isEmpty());
}

TEST_F(ConcentrationWindowTest, ANewRunStartsFromTheResetLayoutAndKeepsTheTable) {
    enterExperiment();
    next();
    fillColumn(4, {"0,02", "0,03", "0,04", "0,05"});
    Form4->Edit1->setText("0,1");
    LabState.MovieStep = 3;
    next();  // step 4: the table slides away, the stopwatch comes up
    for (int i = 0; i < 5; ++i) Form4->Timer1->fire();
    Form4->Timer1->setEnabled(false);
    QTest::mouseClick(Form4->Label5, Qt::LeftButton);

    enterExperiment();
    EXPECT_EQ(LabState.MovieStep, 1);
    EXPECT_EQ(tableLayout(), expanded);
    EXPECT_TRUE(calculatorHidden());
    EXPECT_FALSE(Form4->StaticText4->isVisible());
    EXPECT_FALSE(Form4->Button2->isVisible());
    EXPECT_TRUE(Form4->Label14->isVisible());
    EXPECT_EQ(Form4->StringGrid1->cell(4, 3), "0,04");
    EXPECT_EQ(Form4->Edit1->text(), "0,1");
    EXPECT_EQ(movie(), moviePath("1.swf"));
}

TEST_F(ConcentrationWindowTest, TheEightStepsWithTheGraphAndTheGrade) {
    ASSERT_TRUE(AddStudent("ХТ-21", "Петрова А.В."));
    Form1->ComboBox1->setCurrentIndex(0);
    LabState.VariantNumber = 1;
    enterExperiment();
    EXPECT_EQ(movie(), moviePath("1.swf"));

    next();  // 2: the calculator
    EXPECT_EQ(LabState.MovieStep, 2);
    EXPECT_TRUE(calculatorVisible());
    EXPECT_EQ(movie(), moviePath("2.swf"));

    fillColumn(4, {"0,02", "", "0,04", "0,05"});
    next();  // 3 refused: a concentration is missing
    EXPECT_EQ(messages->messageTexts(), QStringList{column4Message});
    EXPECT_EQ(LabState.MovieStep, 2);
    EXPECT_EQ(movie(), moviePath("2.swf"));
    EXPECT_TRUE(calculatorVisible());

    messages->clear();
    Form4->StringGrid1->setCell(4, 2, "0,03");
    next();  // 3
    EXPECT_EQ(LabState.MovieStep, 3);
    EXPECT_TRUE(calculatorHidden());
    EXPECT_EQ(movie(), moviePath("3.swf"));

    const QStringList times = {"35", "23", "17", "14"};
    for (int tube = 1; tube <= 4; ++tube) {
        next();  // 4..7: one tube each
        EXPECT_EQ(LabState.MovieStep, tube + 3);
        EXPECT_EQ(movie(), moviePath(qPrintable(QString("%1_1.swf").arg(tube + 3))));
        EXPECT_EQ(Form4->Timer1->enabled(), tube < 4) << tube;
        if (tube < 4) runDown(Form4->Timer1);
        QTest::mouseClick(Form4->Button2, Qt::LeftButton);
        clock.advance(times[tube - 1].toInt() * 1000 + 300);
        Form4->Timer3->fire();
        EXPECT_EQ(Form4->StaticText4->text(), QString("00:%1").arg(times[tube - 1]));
        QTest::mouseClick(Form4->Button3, Qt::LeftButton);
        runDown(Form4->Timer2);
        EXPECT_EQ(tableLayout(), expanded);
        Form4->Flash1->stepFrames(Form4->Flash1->TotalFrames());
        Form4->Timer4->fire();
        if (tube < 4) Form4->StringGrid1->setCell(5, tube, times[tube - 1]);
    }

    next();  // 8 refused: a time is missing
    EXPECT_EQ(messages->messageTexts(), QStringList{column5Message});
    EXPECT_EQ(LabState.MovieStep, 7);
    EXPECT_EQ(movie(), moviePath("7_1.swf"));
    EXPECT_FALSE(Form4->Timer4->enabled());
    EXPECT_TRUE(Form4->Label14->isVisible());

    messages->clear();
    fillColumn(5, {"8", "12", "17", "14"});
    int graphShown = 0;
    QStringList pointsSeen;
    LabWindow::setModalHook([&](LabWindow& w) {
        if (&w != Form8) return;
        ++graphShown;
        for (const QPointF& p : Form8->Series3->points())
            pointsSeen << QString("%1;%2").arg(p.x()).arg(p.y());
        QTest::mouseClick(Form8->Label14, Qt::LeftButton);
        runDown(Form8->Timer1);
        QTest::mouseClick(Form8->Label5, Qt::LeftButton);
    });
    next();  // 8
    LabWindow::setModalHook(nullptr);
    EXPECT_EQ(LabState.MovieStep, 8);
    EXPECT_EQ(graphShown, 1);
    EXPECT_EQ(Form4->StringGrid1->cell(6, 1), "0,13");
    EXPECT_EQ(Form4->StringGrid1->cell(6, 2), "0,08");
    EXPECT_EQ(Form4->StringGrid1->cell(6, 3), "0,06");
    EXPECT_EQ(Form4->StringGrid1->cell(6, 4), "0,07");
    EXPECT_EQ(pointsSeen, QStringList({"0;0", "0.02;0.13", "0.03;0.08", "0.04;0.06", "0.05;0.07"}));
    EXPECT_FALSE(Form4->Label14->isVisible());
    EXPECT_TRUE(Form4->Label8->isVisible());
    EXPECT_EQ(movie(), moviePath("7_1.swf"));  // step 8 has no movie
    EXPECT_FALSE(Form8->isVisible());
    EXPECT_TRUE(Form4->isVisible());
    EXPECT_FALSE(Form4->Timer4->enabled());  // closing the graph is no fresh activation

    // The sample data's tube 4 of variant 1 is V 0.081, C 0.1; measured 0.07 and 0.05 give
    // the partial grades 5 and 1.
    EXPECT_EQ(messages->messageTexts(), QStringList{"Оценка за выполнение опыта№1: 3 !!!!"});
    EXPECT_EQ(studentScore(1, 1), 3.f);
    const float grade = 3;
    // Slot 1's experiment-1 grade in the file: after group (15 bytes), surname (26), padding (3).
    const QByteArray file = tree->read("BDStudent.rez");
    ASSERT_EQ(file.size(), 300);
    float stored = 0;
    std::memcpy(&stored, file.constData() + 44, sizeof stored);
    EXPECT_EQ(stored, grade);
    EXPECT_GT(stored, 0.f);
}

TEST_F(ConcentrationWindowTest, AZeroTimeEndsStep8Silently) {
    enterExperiment();
    LabState.MovieStep = 7;
    fillColumn(4, {"0,02", "0,03", "0,04", "0,05"});
    fillColumn(5, {"8", "12", "0", "14"});
    fillColumn(6, {"", "", "", ""});
    int graphShown = 0;
    LabWindow::setModalHook([&](LabWindow& w) {
        ++graphShown;
        w.closeForm();
    });
    next();
    EXPECT_EQ(graphShown, 0);
    EXPECT_EQ(Form4->StringGrid1->cell(6, 2), "0,08");
    EXPECT_EQ(Form4->StringGrid1->cell(6, 3), "");
    EXPECT_FALSE(Form4->Label14->isVisible());
    EXPECT_FALSE(Form4->Label8->isVisible());
    EXPECT_TRUE(messages->texts().isEmpty());
}
