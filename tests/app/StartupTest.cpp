#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include "TestSupport.h"
#include "app/Laboratory.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "experiments/catalyst/CatalystWindow.h"
#include "experiments/concentration/ConcentrationWindow.h"
#include "students/RegistrationWindow.h"
#include "students/ResultsWindow.h"
#include "toolkit/LabWindow.h"
#include "toolkit/LinkLabel.h"

namespace {
QString missingPictureMessage(const TempAssetTree& tree, const char* relative) {
    return QStringLiteral("Невозможно открыть файл по адресу: ") + tree.path(relative) +
           QStringLiteral(". Выполнение программы будет остановлено!!!");
}

class StartupTest : public LabTest {};
}  // namespace

TEST_F(StartupTest, WithEveryFileThereTheLaboratoryStartsQuietly) {
    createWindows();
    EXPECT_TRUE(messages->texts().isEmpty()) << messages->texts().join("\n").toStdString();
    EXPECT_EQ(lab->window<MainWindow>()->selectedExperiment(), 1);
    EXPECT_EQ(session().variant(), 1);
    EXPECT_FALSE(lab->window<MainWindow>()->registrationShown());
    EXPECT_EQ(lab->window<MainWindow>()->experiment2Link->fontColor(), 0x999999u);
    EXPECT_EQ(lab->window<MainWindow>()->experiment1Link->fontColor(), 0x000000u);
    EXPECT_EQ(lab->window<ConcentrationWindow>()->step(), 0);
    EXPECT_FALSE(programEnding());
    ASSERT_NE(lab->window<MainWindow>(), nullptr);
    EXPECT_EQ(lab->window<SplashWindow>(), nullptr);  // the splash lives only during start-up
    for (QWidget* w : {static_cast<QWidget*>(lab->window<MainWindow>()),
                       static_cast<QWidget*>(lab->window<ConcentrationWindow>()),
                       static_cast<QWidget*>(lab->window<RegistrationWindow>())})
        EXPECT_FALSE(w->isVisible());
    // The main window waited for the next whole second of the tick counter.
    EXPECT_EQ(clock.ms % 1000, 0);
}

TEST_F(StartupTest, MissingSplashIsReportedFirstAndEndsTheProgramAfterStartUp) {
    tree->remove("BackGround/ZGround.jpg");
    tree->remove("Movie/1.swf");
    createWindows();
    const QStringList errors = messages->errorTexts();
    ASSERT_GE(errors.size(), 2);
    EXPECT_EQ(errors[0], missingPictureMessage(*tree, "BackGround/ZGround.jpg"));
    EXPECT_EQ(errors[1], missingMovieMessage(tree->path("Movie/1.swf")));
    EXPECT_TRUE(programEnding());
    // The splash failed before a main window existed; the registration window's creation
    // closed it.
    EXPECT_TRUE(programEnding());
}

TEST_F(StartupTest, EveryWindowReportsItsOwnMissingFileInCreationOrder) {
    tree->remove("BackGround/Ground.jpg");
    tree->remove("BackGround/About.swf");
    tree->remove("BackGround/Opit.jpg");
    createWindows();
    const QStringList errors = messages->errorTexts();
    // Main window picture, About movie, then the four experiment windows' backgrounds.
    ASSERT_GE(errors.size(), 6);
    EXPECT_EQ(errors[0], missingPictureMessage(*tree, "BackGround/Ground.jpg"));
    EXPECT_EQ(errors[1], missingMovieMessage(tree->path("BackGround/About.swf")));
    for (int i = 2; i < 6; ++i)
        EXPECT_EQ(errors[i], missingPictureMessage(*tree, "BackGround/Opit.jpg"));
    EXPECT_TRUE(programEnding());
}

TEST_F(StartupTest, SessionWithAFailedStartEndsWithoutTakingInput) {
    tree->remove("Movie/1.swf");
    bool modalRan = false;
    LabWindow::setModalHook([&](LabWindow&) { modalRan = true; });
    EXPECT_EQ(runSession(), 0);
    EXPECT_FALSE(modalRan);
}

TEST_F(StartupTest, SessionShowsTheMainWindowRegistersOnceAndEndsWhenItCloses) {
    bool marked = false;
    int registrations = 0;
    LabWindow::setModalHook([&](LabWindow& w) {
        if (&w != static_cast<LabWindow*>(lab->window<RegistrationWindow>())) return;
        ++registrations;
        EXPECT_TRUE(lab->window<MainWindow>()->isVisible());
        w.done();
        // Leave the program once the main window has its focus back.
        QTimer::singleShot(0, [this, &marked] {
            marked = lab->window<MainWindow>()->registrationShown();
            lab->window<MainWindow>()->close();
        });
    });
    EXPECT_EQ(runSession(), 0);
    EXPECT_EQ(registrations, 1);
    EXPECT_TRUE(marked);
}

// Closed by the window manager, no window but the main one ends the program: each leaves the
// way its own close control does, and the session runs on until the main window closes.
TEST_F(StartupTest, AWindowManagerCloseEndsTheProgramOnlyFromTheMainWindow) {
    QStringList seen;
    LabWindow::setModalHook([&](LabWindow& w) {
        if (&w == static_cast<LabWindow*>(lab->window<RegistrationWindow>())) {
            closeByWindowManager(&w);  // refused: there is no other way past it than "Принять"
            seen << (w.isVisible() ? "registration stays" : "registration gone");
            w.done();
            QTimer::singleShot(0, [&] {
                // An experiment window, with the main window hidden behind it.
                lab->window<MainWindow>()->chooseExperiment(3);
                lab->window<MainWindow>()->onExperimentLinkClicked();
                seen << (lab->window<MainWindow>()->isVisible() ? "main shown" : "main hidden");
                closeByWindowManager(lab->window<CatalystWindow>());
                seen << (lab->window<CatalystWindow>()->isVisible() ? "experiment open"
                                                                    : "experiment closed");
                seen << (lab->window<MainWindow>()->isVisible() ? "main shown" : "main hidden");
                seen << (programEnding() ? "ending" : "running");
                // The results window, modal over the main window.
                QTimer::singleShot(0, [&] { lab->window<MainWindow>()->onResultsClicked(); });
            });
            return;
        }
        if (&w == static_cast<LabWindow*>(lab->window<ResultsWindow>())) {
            closeByWindowManager(&w);
            seen << (w.isVisible() ? "results open" : "results closed");
            QTimer::singleShot(0, [&] {
                seen << (programEnding() ? "ending" : "running");
                closeByWindowManager(lab->window<MainWindow>());
            });
        }
    });
    EXPECT_EQ(runSession(), 0);
    EXPECT_EQ(seen, (QStringList{"registration stays", "main hidden", "experiment closed",
                                 "main shown", "running", "results closed", "running"}));
    EXPECT_TRUE(programEnding());
}
