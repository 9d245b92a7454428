#include <gtest/gtest.h>

#include <QComboBox>
#include <QTest>

#include "PointerInput.h"
#include "TestSupport.h"
#include "app/AboutWindow.h"
#include "app/Laboratory.h"
#include "app/MainWindow.h"
#include "experiments/catalyst/CatalystWindow.h"
#include "experiments/concentration/ConcentrationWindow.h"
#include "experiments/equilibrium/EquilibriumWindow.h"
#include "experiments/temperature/TemperatureWindow.h"
#include "movie/MoviePlayer.h"
#include "students/RegistrationWindow.h"
#include "students/ResultsWindow.h"
#include "toolkit/Colors.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/Picture.h"
#include "toolkit/StaticText.h"

namespace {
class MainWindowTest : public LabTest {
protected:
    void SetUp() override {
        LabTest::SetUp();
        createWindows();
    }
    // Shows the main window as after sign-in, without the registration window.
    void showSignedIn() {
        lab->window<MainWindow>()->setRegistrationShown(true);
        lab->window<MainWindow>()->showAndActivate();
    }
    // Opens modal windows through the main window and records which ones it opened.
    void recordModalWindows() {
        LabWindow::setModalHook([this](LabWindow& w) {
            opened.append(&w);
            w.done();
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
    EXPECT_EQ(lab->window<MainWindow>()->titleLabel->text(),
              QStringLiteral("Скорость химических реакций и химическое равновесие"));
    EXPECT_EQ(lab->window<MainWindow>()->titleLabel->fontColor(), LabColors::Black);
    EXPECT_EQ(lab->window<MainWindow>()->experiment1Link->fontColor(), LabColors::Black);
    for (LinkLabel* grey :
         {lab->window<MainWindow>()->experiment2Link, lab->window<MainWindow>()->experiment3Link,
          lab->window<MainWindow>()->experiment4Link, lab->window<MainWindow>()->instructionLabel})
        EXPECT_EQ(grey->fontColor(), 0x999999u) << grey->text().toStdString();
    EXPECT_EQ(lab->window<MainWindow>()->instructionLabel->text(),
              QStringLiteral("Выберите номер опыта и кликните по нему"));
    EXPECT_TRUE(shown(lab->window<MainWindow>()->experiment1Plate));
    for (Picture* plate :
         {lab->window<MainWindow>()->experiment2Plate, lab->window<MainWindow>()->experiment3Plate,
          lab->window<MainWindow>()->experiment4Plate})
        EXPECT_FALSE(shown(plate));
    EXPECT_FALSE(shown(lab->window<MainWindow>()->closeGlyph));
    EXPECT_TRUE(shown(lab->window<MainWindow>()->closeSpot));

    ASSERT_EQ(lab->window<MainWindow>()->variantChooser->count(), 6);
    EXPECT_EQ(lab->window<MainWindow>()->variantChooser->currentText(),
              QStringLiteral("Вариант 1"));
    EXPECT_FALSE(lab->window<MainWindow>()->variantChooser->isEditable());
    EXPECT_EQ(lab->window<MainWindow>()->variantSolutionText->caption(), QStringLiteral("0.1M"));
    EXPECT_EQ(lab->window<MainWindow>()->variantAcidText->caption(), QStringLiteral("1N"));
    EXPECT_EQ(lab->window<MainWindow>()->selectedExperiment(), 1);
    EXPECT_EQ(session().variant(), 1);
    EXPECT_TRUE(lab->window<MainWindow>()->movie->movie().endsWith(QStringLiteral("/Movie/1.swf")));
}

TEST_F(MainWindowTest, ChooserAndValuesLieOnTheMovieAndTabInTheirOrder) {
    // Later siblings are drawn above earlier ones.
    const QObjectList& order = lab->window<MainWindow>()->children();
    EXPECT_GT(order.indexOf(lab->window<MainWindow>()->variantChooser),
              order.indexOf(lab->window<MainWindow>()->movie));
    EXPECT_GT(order.indexOf(lab->window<MainWindow>()->variantAcidText),
              order.indexOf(lab->window<MainWindow>()->movie));
    EXPECT_GT(order.indexOf(lab->window<MainWindow>()->experiment1Link),
              order.indexOf(lab->window<MainWindow>()->experiment1Plate));
    EXPECT_GT(order.indexOf(lab->window<MainWindow>()->closeGlyph),
              order.indexOf(lab->window<MainWindow>()->closeSpot));
    // Tab goes from the chooser to the movie; the value texts take no focus.
    QWidget* next = lab->window<MainWindow>()->variantChooser->nextInFocusChain();
    while (next->focusPolicy() == Qt::NoFocus ||
           lab->window<MainWindow>()->variantChooser->isAncestorOf(next))
        next = next->nextInFocusChain();
    EXPECT_EQ(next, lab->window<MainWindow>()->movie);
    EXPECT_EQ(lab->window<MainWindow>()->variantSolutionText->focusPolicy(), Qt::NoFocus);
    // The value texts keep their corner and fit their text.
    EXPECT_EQ(lab->window<MainWindow>()->variantSolutionText->pos(), QPoint(429, 269));
    EXPECT_EQ(lab->window<MainWindow>()->variantAcidText->pos(), QPoint(566, 269));
    EXPECT_GE(lab->window<MainWindow>()->variantSolutionText->width(),
              lab->window<MainWindow>()->variantSolutionText->fontMetrics().horizontalAdvance(
                  QStringLiteral("0.1M")));
}

TEST_F(MainWindowTest, HighlightFollowsTheLastTouchedExperimentLinkAndStaysOverTheBackground) {
    showSignedIn();
    pointer::move(lab->window<MainWindow>()->experiment2Link);
    EXPECT_EQ(lab->window<MainWindow>()->selectedExperiment(), 2);
    EXPECT_EQ(lab->window<MainWindow>()->experiment2Link->fontColor(), LabColors::Black);
    EXPECT_TRUE(shown(lab->window<MainWindow>()->experiment2Plate));
    EXPECT_EQ(lab->window<MainWindow>()->experiment1Link->fontColor(), 0x999999u);
    EXPECT_FALSE(shown(lab->window<MainWindow>()->experiment1Plate));

    pointer::move(lab->window<MainWindow>()->experiment3Link);
    EXPECT_EQ(lab->window<MainWindow>()->selectedExperiment(), 3);
    EXPECT_EQ(lab->window<MainWindow>()->experiment2Link->fontColor(), 0x999999u);
    EXPECT_FALSE(shown(lab->window<MainWindow>()->experiment2Plate));
    EXPECT_EQ(lab->window<MainWindow>()->experiment3Link->fontColor(), LabColors::Black);
    EXPECT_TRUE(shown(lab->window<MainWindow>()->experiment3Plate));

    pointer::move(lab->window<MainWindow>()->background, {400, 480});
    EXPECT_EQ(lab->window<MainWindow>()->selectedExperiment(), 3);
    EXPECT_EQ(lab->window<MainWindow>()->experiment3Link->fontColor(), LabColors::Black);
    EXPECT_TRUE(shown(lab->window<MainWindow>()->experiment3Plate));
    for (LinkLabel* link :
         {lab->window<MainWindow>()->experiment1Link, lab->window<MainWindow>()->experiment2Link,
          lab->window<MainWindow>()->experiment4Link})
        EXPECT_EQ(link->fontColor(), 0x999999u);
    int plates = 0;
    for (Picture* plate :
         {lab->window<MainWindow>()->experiment1Plate, lab->window<MainWindow>()->experiment2Plate,
          lab->window<MainWindow>()->experiment3Plate, lab->window<MainWindow>()->experiment4Plate})
        plates += shown(plate);
    EXPECT_EQ(plates, 1);
}

TEST_F(MainWindowTest, ChoosingAVariantShowsItsValues) {
    showSignedIn();
    lab->window<MainWindow>()->variantChooser->setFocus();
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(lab->window<MainWindow>()->variantChooser, Qt::Key_Down);
    EXPECT_EQ(lab->window<MainWindow>()->variantChooser->currentText(),
              QStringLiteral("Вариант 5"));
    EXPECT_EQ(lab->window<MainWindow>()->variantSolutionText->caption(), QStringLiteral("0.2M"));
    EXPECT_EQ(lab->window<MainWindow>()->variantAcidText->caption(), QStringLiteral("1N"));
    EXPECT_EQ(session().variant(), 5);

    QTest::keyClick(lab->window<MainWindow>()->variantChooser, Qt::Key_Up);
    EXPECT_EQ(lab->window<MainWindow>()->variantSolutionText->caption(), QStringLiteral("0.05M"));
    EXPECT_EQ(lab->window<MainWindow>()->variantAcidText->caption(), QStringLiteral("2N"));
    EXPECT_EQ(session().variant(), 4);
}

TEST_F(MainWindowTest, ClickingAnExperimentLinkOpensItsWindowAtTheFirstMovie) {
    struct Entry {
        LinkLabel* link;
        ExperimentWindow* window;
        MoviePlayer* player;
        const char* movie;
    };
    const Entry entries[] = {
        {lab->window<MainWindow>()->experiment1Link, lab->window<ConcentrationWindow>(),
         lab->window<ConcentrationWindow>()->movie, "/Movie/Opyt1/1.swf"},
        {lab->window<MainWindow>()->experiment2Link, lab->window<TemperatureWindow>(),
         lab->window<TemperatureWindow>()->movie, "/Movie/Opyt2/1.swf"},
        {lab->window<MainWindow>()->experiment3Link, lab->window<CatalystWindow>(),
         lab->window<CatalystWindow>()->movie, "/Movie/Opyt3/1.swf"},
        {lab->window<MainWindow>()->experiment4Link, lab->window<EquilibriumWindow>(),
         lab->window<EquilibriumWindow>()->movie, "/Movie/Opyt4/1.swf"},
    };
    for (const Entry& e : entries) {
        SCOPED_TRACE(e.movie);
        showSignedIn();
        e.window->setStep(4);  // as a previous visit may have left it
        pointer::click(e.link);
        EXPECT_EQ(e.window->step(), 1);
        EXPECT_TRUE(e.window->isVisible());
        EXPECT_FALSE(lab->window<MainWindow>()->isVisible());
        EXPECT_TRUE(e.player->movie().endsWith(QString::fromLatin1(e.movie)));
        // The student leaves the experiment the way its window does.
        lab->window<MainWindow>()->showAndActivate();
        e.window->done();
    }
    EXPECT_TRUE(messages->texts().isEmpty()) << messages->texts().join("\n").toStdString();
}

TEST_F(MainWindowTest, MissingFirstMovieIsReportedAndEndsTheProgramAfterTheClick) {
    tree->remove("Movie/Opyt3/1.swf");
    showSignedIn();
    pointer::click(lab->window<MainWindow>()->experiment3Link);
    ASSERT_EQ(messages->errorTexts().size(), 1);
    EXPECT_EQ(messages->errorTexts()[0], missingMovieMessage(tree->path("Movie/Opyt3/1.swf")));
    EXPECT_TRUE(programEnding());
    EXPECT_TRUE(lab->window<CatalystWindow>()->isVisible());
    EXPECT_FALSE(lab->window<MainWindow>()->isVisible());
}

TEST_F(MainWindowTest, RegistrationOpensAtTheFirstActivationOnly) {
    recordModalWindows();
    lab->window<MainWindow>()->showAndActivate();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], static_cast<LabWindow*>(lab->window<RegistrationWindow>()));
    EXPECT_TRUE(lab->window<MainWindow>()->registrationShown());
    EXPECT_TRUE(lab->window<MainWindow>()->isVisible());

    // An experiment and back: the main window is activated again.
    pointer::click(lab->window<MainWindow>()->experiment2Link);
    ASSERT_TRUE(lab->window<TemperatureWindow>()->isVisible());
    lab->window<MainWindow>()->showAndActivate();
    lab->window<TemperatureWindow>()->done();
    EXPECT_EQ(LabWindow::activeWindow(), static_cast<LabWindow*>(lab->window<MainWindow>()));
    EXPECT_EQ(opened.size(), 1);
}

TEST_F(MainWindowTest, ResultsAndAboutLinksOpenTheirWindowsAndTurnRedUnderThePointer) {
    showSignedIn();
    recordModalWindows();
    pointer::move(lab->window<MainWindow>()->aboutLink);
    EXPECT_EQ(lab->window<MainWindow>()->aboutLink->fontColor(), LabColors::Red);
    pointer::click(lab->window<MainWindow>()->aboutLink);
    pointer::click(lab->window<MainWindow>()->resultsLink);
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], static_cast<LabWindow*>(lab->window<AboutWindow>()));
    EXPECT_EQ(opened[1], static_cast<LabWindow*>(lab->window<ResultsWindow>()));
    EXPECT_TRUE(messages->texts().isEmpty());  // no password asked
    EXPECT_EQ(lab->window<MainWindow>()->aboutLink->fontColor(), LabColors::Red);
    EXPECT_EQ(lab->window<MainWindow>()->resultsLink->fontColor(), LabColors::Red);
    pointer::move(lab->window<MainWindow>()->background, {300, 480});
    EXPECT_EQ(lab->window<MainWindow>()->aboutLink->fontColor(), LabColors::Black);
    EXPECT_EQ(lab->window<MainWindow>()->resultsLink->fontColor(), LabColors::Black);
    // The experiment links keep their own colours.
    EXPECT_EQ(lab->window<MainWindow>()->experiment1Link->fontColor(), LabColors::Black);
}

TEST_F(MainWindowTest, GlyphOverTheCornerEndsTheProgram) {
    showSignedIn();
    EXPECT_EQ(lab->window<MainWindow>()->closeSpot->geometry(), QRect(699, 3, 13, 13));
    pointer::move(lab->window<MainWindow>()->closeSpot, {6, 6});
    ASSERT_TRUE(shown(lab->window<MainWindow>()->closeGlyph));
    EXPECT_EQ(lab->window<MainWindow>()->closeGlyph->geometry(), QRect(699, 2, 13, 13));
    EXPECT_FALSE(programEnding());
    pointer::click(lab->window<MainWindow>()->closeGlyph, {6, 6});
    EXPECT_TRUE(programEnding());
    EXPECT_FALSE(lab->window<MainWindow>()->isVisible());
}

// The captions a window manager shows for the experiment windows; each matches the title strip
// inside its window.
TEST_F(MainWindowTest, ExperimentWindowCaptionsMatchTheirTitles) {
    EXPECT_EQ(lab->window<ConcentrationWindow>()->windowTitle(),
              QStringLiteral("Опыт1 Влияние концентрации на скорость реакции"));
    EXPECT_EQ(lab->window<TemperatureWindow>()->windowTitle(),
              QStringLiteral("Опыт2 Влияние температуры на скорость реакции"));
    EXPECT_EQ(lab->window<CatalystWindow>()->windowTitle(),
              QStringLiteral("Опыт3 Влияние катализатора на скорость реакции"));
    EXPECT_EQ(lab->window<EquilibriumWindow>()->windowTitle(),
              QStringLiteral("Опыт 4 Смещение химического равновесия обратимой реакции"));
}
