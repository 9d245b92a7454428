#include <gtest/gtest.h>

#include <QComboBox>
#include <QTest>

#include "PointerInput.h"
#include "TestSupport.h"
#include "concentration/ConcentrationWindow.h"
#include "experiments/CatalystWindow.h"
#include "experiments/EquilibriumWindow.h"
#include "experiments/TemperatureWindow.h"
#include "movie/MoviePlayer.h"
#include "shell/AboutWindow.h"
#include "shell/Forms.h"
#include "shell/LabState.h"
#include "shell/MainWindow.h"
#include "shell/Program.h"
#include "students/RegistrationWindow.h"
#include "students/ResultsWindow.h"
#include "toolkit/Colors.h"
#include "toolkit/Controls.h"

namespace {
class MainWindowTest : public LabTest {
protected:
    void SetUp() override {
        LabTest::SetUp();
        createWindows();
    }
    // Shows the main window as after sign-in, without the registration window.
    void showSignedIn() {
        LabState.RegistrationShown = true;
        Form1->showForm();
    }
    // Opens modal windows through the main window and records which ones it opened.
    void recordModalWindows() {
        LabWindow::setModalHook([this](LabWindow& w) {
            opened.append(&w);
            w.closeForm();
        });
    }
    QList<LabWindow*> opened;
};

bool shown(QWidget* w) {
    return w->isVisibleTo(w->window());
}
}  // namespace

TEST_F(MainWindowTest, StartsWithExperimentOneChosenAndVariantOne) {
    EXPECT_TRUE(messages->texts().isEmpty()) << messages->texts().join("\n").toStdString();
    EXPECT_EQ(Form1->Label3->text(),
              QStringLiteral("Скорость химических реакций и химическое равновесие"));
    EXPECT_EQ(Form1->Label3->fontColor(), LabColors::Black);
    EXPECT_EQ(Form1->Label2->fontColor(), LabColors::Black);
    for (LinkLabel* grey : {Form1->Label11, Form1->Label12, Form1->Label13, Form1->Label15})
        EXPECT_EQ(grey->fontColor(), 0x999999u) << grey->text().toStdString();
    EXPECT_EQ(Form1->Label15->text(), QStringLiteral("Выбирите номер опыта и кликните по нему"));
    EXPECT_TRUE(shown(Form1->Image4));
    for (Picture* plate : {Form1->Image5, Form1->Image6, Form1->Image7}) EXPECT_FALSE(shown(plate));
    EXPECT_FALSE(shown(Form1->Image2));
    EXPECT_TRUE(shown(Form1->Image3));

    ASSERT_EQ(Form1->ComboBox1->count(), 6);
    EXPECT_EQ(Form1->ComboBox1->currentText(), QStringLiteral("Вариант 1"));
    EXPECT_FALSE(Form1->ComboBox1->isEditable());
    EXPECT_EQ(Form1->StaticText1->caption(), QStringLiteral("0.1M"));
    EXPECT_EQ(Form1->StaticText2->caption(), QStringLiteral("1N"));
    EXPECT_EQ(LabState.SelectedExperiment, 1);
    EXPECT_EQ(LabState.VariantNumber, 1);
    EXPECT_TRUE(Form1->Flash1->movie().endsWith(QStringLiteral("/Movie/1.swf")));
}

TEST_F(MainWindowTest, ChooserAndValuesLieOnTheMovieAndTabInTheirOrder) {
    // Later siblings are drawn above earlier ones.
    const QObjectList& order = Form1->children();
    EXPECT_GT(order.indexOf(Form1->ComboBox1), order.indexOf(Form1->Flash1));
    EXPECT_GT(order.indexOf(Form1->StaticText2), order.indexOf(Form1->Flash1));
    EXPECT_GT(order.indexOf(Form1->Label2), order.indexOf(Form1->Image4));
    EXPECT_GT(order.indexOf(Form1->Image2), order.indexOf(Form1->Image3));
    // Tab goes from the chooser to the movie; the value texts take no focus.
    QWidget* next = Form1->ComboBox1->nextInFocusChain();
    while (next->focusPolicy() == Qt::NoFocus || Form1->ComboBox1->isAncestorOf(next))
        next = next->nextInFocusChain();
    EXPECT_EQ(next, Form1->Flash1);
    EXPECT_EQ(Form1->StaticText1->focusPolicy(), Qt::NoFocus);
    // The value texts keep their corner and fit their text.
    EXPECT_EQ(Form1->StaticText1->pos(), QPoint(429, 269));
    EXPECT_EQ(Form1->StaticText2->pos(), QPoint(566, 269));
    EXPECT_GE(Form1->StaticText1->width(),
              Form1->StaticText1->fontMetrics().horizontalAdvance(QStringLiteral("0.1M")));
}

TEST_F(MainWindowTest, HighlightFollowsTheLastTouchedExperimentLinkAndStaysOverTheBackground) {
    showSignedIn();
    pointer::move(Form1->Label11);
    EXPECT_EQ(LabState.SelectedExperiment, 2);
    EXPECT_EQ(Form1->Label11->fontColor(), LabColors::Black);
    EXPECT_TRUE(shown(Form1->Image5));
    EXPECT_EQ(Form1->Label2->fontColor(), 0x999999u);
    EXPECT_FALSE(shown(Form1->Image4));

    pointer::move(Form1->Label12);
    EXPECT_EQ(LabState.SelectedExperiment, 3);
    EXPECT_EQ(Form1->Label11->fontColor(), 0x999999u);
    EXPECT_FALSE(shown(Form1->Image5));
    EXPECT_EQ(Form1->Label12->fontColor(), LabColors::Black);
    EXPECT_TRUE(shown(Form1->Image6));

    pointer::move(Form1->Image1, {400, 480});
    EXPECT_EQ(LabState.SelectedExperiment, 3);
    EXPECT_EQ(Form1->Label12->fontColor(), LabColors::Black);
    EXPECT_TRUE(shown(Form1->Image6));
    for (LinkLabel* link : {Form1->Label2, Form1->Label11, Form1->Label13})
        EXPECT_EQ(link->fontColor(), 0x999999u);
    int plates = 0;
    for (Picture* plate : {Form1->Image4, Form1->Image5, Form1->Image6, Form1->Image7})
        plates += shown(plate);
    EXPECT_EQ(plates, 1);
}

TEST_F(MainWindowTest, ChoosingAVariantShowsItsValues) {
    showSignedIn();
    Form1->ComboBox1->setFocus();
    for (int i = 0; i < 4; ++i) QTest::keyClick(Form1->ComboBox1, Qt::Key_Down);
    EXPECT_EQ(Form1->ComboBox1->currentText(), QStringLiteral("Вариант 5"));
    EXPECT_EQ(Form1->StaticText1->caption(), QStringLiteral("0.2M"));
    EXPECT_EQ(Form1->StaticText2->caption(), QStringLiteral("1N"));
    EXPECT_EQ(LabState.VariantNumber, 5);

    QTest::keyClick(Form1->ComboBox1, Qt::Key_Up);
    EXPECT_EQ(Form1->StaticText1->caption(), QStringLiteral("0.05M"));
    EXPECT_EQ(Form1->StaticText2->caption(), QStringLiteral("2N"));
    EXPECT_EQ(LabState.VariantNumber, 4);
}

TEST_F(MainWindowTest, ClickingAnExperimentLinkOpensItsWindowAtTheFirstMovie) {
    struct Entry {
        LinkLabel* link;
        LabWindow* window;
        MoviePlayer* player;
        const char* movie;
    };
    const Entry entries[] = {
        {Form1->Label2, Form4, Form4->Flash1, "/Movie/Opyt1/1.swf"},
        {Form1->Label11, Form5, Form5->Flash1, "/Movie/Opyt2/1.swf"},
        {Form1->Label12, Form6, Form6->Flash1, "/Movie/Opyt3/1.swf"},
        {Form1->Label13, Form7, Form7->Flash1, "/Movie/Opyt4/1.swf"},
    };
    for (const Entry& e : entries) {
        SCOPED_TRACE(e.movie);
        showSignedIn();
        LabState.MovieStep = 4;  // as a previous visit may have left it
        pointer::click(e.link);
        EXPECT_EQ(LabState.MovieStep, 1);
        EXPECT_TRUE(e.window->isVisible());
        EXPECT_FALSE(Form1->isVisible());
        EXPECT_TRUE(e.player->movie().endsWith(QString::fromLatin1(e.movie)));
        // The student leaves the experiment the way its window does.
        Form1->showForm();
        e.window->closeForm();
    }
    EXPECT_TRUE(messages->texts().isEmpty()) << messages->texts().join("\n").toStdString();
}

TEST_F(MainWindowTest, MissingFirstMovieIsReportedAndEndsTheProgramAfterTheClick) {
    tree->remove("Movie/Opyt3/1.swf");
    showSignedIn();
    pointer::click(Form1->Label12);
    ASSERT_EQ(messages->errorTexts().size(), 1);
    EXPECT_TRUE(messages->errorTexts()[0].contains(QStringLiteral("Flash Player 6 AX")));
    EXPECT_TRUE(programEnding());
    EXPECT_TRUE(Form6->isVisible());
    EXPECT_FALSE(Form1->isVisible());
}

TEST_F(MainWindowTest, RegistrationOpensAtTheFirstActivationOnly) {
    recordModalWindows();
    Form1->showForm();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], static_cast<LabWindow*>(Form11));
    EXPECT_TRUE(LabState.RegistrationShown);
    EXPECT_TRUE(Form1->isVisible());

    // An experiment and back: the main window is activated again.
    pointer::click(Form1->Label11);
    ASSERT_TRUE(Form5->isVisible());
    Form1->showForm();
    Form5->closeForm();
    EXPECT_EQ(LabWindow::activeForm(), static_cast<LabWindow*>(Form1));
    EXPECT_EQ(opened.size(), 1);
}

TEST_F(MainWindowTest, ResultsAndAboutLinksOpenTheirWindowsAndTurnRedUnderThePointer) {
    showSignedIn();
    recordModalWindows();
    pointer::move(Form1->Label16);
    EXPECT_EQ(Form1->Label16->fontColor(), LabColors::Red);
    pointer::click(Form1->Label16);
    pointer::click(Form1->Label1);
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], static_cast<LabWindow*>(Form3));
    EXPECT_EQ(opened[1], static_cast<LabWindow*>(Form10));
    EXPECT_TRUE(messages->texts().isEmpty());  // no password asked
    EXPECT_EQ(Form1->Label16->fontColor(), LabColors::Red);
    EXPECT_EQ(Form1->Label1->fontColor(), LabColors::Red);
    pointer::move(Form1->Image1, {300, 480});
    EXPECT_EQ(Form1->Label16->fontColor(), LabColors::Black);
    EXPECT_EQ(Form1->Label1->fontColor(), LabColors::Black);
    // The experiment links keep their own colours.
    EXPECT_EQ(Form1->Label2->fontColor(), LabColors::Black);
}

TEST_F(MainWindowTest, GlyphOverTheCornerEndsTheProgram) {
    showSignedIn();
    EXPECT_EQ(Form1->Image3->geometry(), QRect(699, 3, 13, 13));
    pointer::move(Form1->Image3, {6, 6});
    ASSERT_TRUE(shown(Form1->Image2));
    EXPECT_EQ(Form1->Image2->geometry(), QRect(699, 2, 13, 13));
    EXPECT_FALSE(programEnding());
    pointer::click(Form1->Image2, {6, 6});
    EXPECT_TRUE(programEnding());
    EXPECT_FALSE(Form1->isVisible());
}
