#pragma once

#include <QByteArray>
#include <QTest>
#include <QtEndian>
#include <bit>
#include <cstring>

#include "TestSupport.h"
#include "app/Laboratory.h"
#include "app/MainWindow.h"
#include "experiments/common/ExperimentWindow.h"
#include "lab/ProgramDir.h"
#include "lab/Session.h"
#include "movie/MoviePlayer.h"
#include "shell/Loaders.h"
#include "toolkit/LabTimer.h"

// Waits until the step that target's experiment window changed to last is on show: a real
// student cannot press sooner, and presses made earlier are ignored.
inline void waitUntilStepShown(QWidget* target) {
    if (auto* window = qobject_cast<ExperimentWindow*>(target->window())) {
        EXPECT_TRUE(QTest::qWaitFor([window] { return window->isStepShown(); }, 2000));
    }
}

// A laboratory with its windows created, a registered student and the registration window
// already behind it, so returning to the main window opens nothing modal.
class ExperimentTest : public LabTest {
protected:
    void SetUp() override {
        LabTest::SetUp();
        createWindows();
        lab->window<MainWindow>()->setRegistrationShown(true);
        ASSERT_TRUE(
            session().registerStudent(QStringLiteral("ХТ-21"), QStringLiteral("Петрова А.")));
        messages->clear();
    }

    // A click on the main window's link of the experiment, with the window's player stepped
    // by hand from then on.
    template <class Window>
    void startRun(Window* window, int experiment) {
        window->movie->setManualStepping(true);
        lab->window<MainWindow>()->chooseExperiment(experiment);
        lab->window<MainWindow>()->onExperimentLinkClicked();
        ASSERT_TRUE(window->isVisible());
        ASSERT_EQ(window->step(), 1);
    }

    // A left click on target, once the step its window changed to last is on show.
    static void click(QWidget* target) {
        waitUntilStepShown(target);
        QTest::mouseClick(target, Qt::LeftButton);
    }

    // The grade of experiment k of the student in slot s, as the results file holds it.
    float recordedScore(int experiment, int slot = 1) const {
        const QByteArray file = tree->read(QStringLiteral("BDStudent.rez"));
        const int at = StudentSlotSize * (slot - 1) + 44 + 4 * (experiment - 1);
        if (file.size() < at + 4) {
            ADD_FAILURE() << "results file too short: " << file.size();
            return -1;
        }
        return std::bit_cast<float>(qFromLittleEndian<quint32>(file.constData() + at));
    }

    // Lets a timer tick until it switches itself off (at most max ticks).
    static int runTimer(LabTimer* timer, int max = 100) {
        int ticks = 0;
        while (timer->enabled() && ticks < max) {
            timer->fire();
            ++ticks;
        }
        return ticks;
    }

    // Brings a movie to its last frame, where it rests.
    static void restOnLastFrame(MoviePlayer* player) {
        player->stepFrames(player->totalFrames() - 1 - player->currentFrame());
    }

    // Types text key by key; letters outside ASCII arrive as the keyboard layout sends them.
    static void typeKeys(QWidget* widget, const QString& text) {
        for (QChar ch : text) {
            if (ch.unicode() < 128)
                QTest::keyClick(widget, char(ch.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch),
                                    Qt::NoModifier);
        }
    }

    static QString movie(const QString& relative) { return assetPath(relative); }
};
