#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "shell/Forms.h"
#include "shell/LabState.h"
#include "shell/MainWindow.h"
#include "shell/Program.h"
#include "shell/Startup.h"
#include "concentration/ConcentrationWindow.h"
#include "students/RegistrationWindow.h"
#include "toolkit/LabWindow.h"

namespace {
QString missingPictureMessage(const TempAssetTree& tree, const char* relative) {
    return QStringLiteral("Невозможно открыть файл по адресу: ") + tree.path(relative) +
           QStringLiteral(". Выполнение программы будет остановлено!!!");
}
const QString flashMessage = QStringLiteral(
    "Возможно отсутствуют необходимые файлы для дальнейшей работы программы, либо не установлена "
    "компанента Flash Player 6 AX. Выполнение программы будет остановлено!!!");

class StartupTest : public LabTest {};
}  // namespace

TEST_F(StartupTest, WithEveryFileThereTheLaboratoryStartsQuietly) {
    createWindows();
    EXPECT_TRUE(messages->texts().isEmpty()) << messages->texts().join("\n").toStdString();
    EXPECT_EQ(LabState.SelectedExperiment, 1);
    EXPECT_EQ(LabState.VariantNumber, 1);
    EXPECT_EQ(LabState.MovieStep, 0);
    EXPECT_FALSE(LabState.StartupFailed);
    EXPECT_FALSE(LabState.RegistrationShown);
    EXPECT_EQ(LabState.LinkColors.Idle, 0x999999u);
    EXPECT_EQ(LabState.LinkColors.Selected, 0x000000u);
    EXPECT_FALSE(programEnding());
    ASSERT_NE(Form1, nullptr);
    EXPECT_EQ(mainForm(), Form1);
    EXPECT_EQ(Form2, nullptr);  // the splash lives only during start-up
    for (QWidget* w : {static_cast<QWidget*>(Form1), static_cast<QWidget*>(Form4),
                       static_cast<QWidget*>(Form11)})
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
    EXPECT_EQ(errors[1], flashMessage);
    EXPECT_TRUE(LabState.StartupFailed);
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
    EXPECT_EQ(errors[1], flashMessage);
    for (int i = 2; i < 6; ++i) EXPECT_EQ(errors[i], missingPictureMessage(*tree, "BackGround/Opit.jpg"));
    EXPECT_TRUE(programEnding());
}

TEST_F(StartupTest, SessionWithAFailedStartEndsWithoutTakingInput) {
    tree->remove("Movie/1.swf");
    bool modalRan = false;
    LabWindow::setModalHook([&](LabWindow&) { modalRan = true; });
    EXPECT_EQ(runLaboratorySession(), 0);
    EXPECT_FALSE(modalRan);
    EXPECT_EQ(Form1, nullptr);
}

TEST_F(StartupTest, SessionShowsTheMainWindowRegistersOnceAndEndsWhenItCloses) {
    int registrations = 0;
    LabWindow::setModalHook([&](LabWindow& w) {
        if (&w != static_cast<LabWindow*>(Form11)) return;
        ++registrations;
        EXPECT_TRUE(Form1->isVisible());
        w.closeForm();
        // Leave the program once the main window has its focus back.
        QTimer::singleShot(0, [] { Form1->close(); });
    });
    EXPECT_EQ(runLaboratorySession(), 0);
    EXPECT_EQ(registrations, 1);
    EXPECT_TRUE(LabState.RegistrationShown);
}
