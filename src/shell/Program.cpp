#include "shell/Program.h"

#include <QCoreApplication>
#include <QPointer>

#include "toolkit/LabWindow.h"

namespace {
QPointer<LabWindow> mainWindow;
bool ending = false;
bool loopRunning = false;
// A failure reported while the main window was still being created: its box says the program
// will be stopped, so the close is carried out as soon as there is a main window to close.
bool closeAskedEarly = false;
}  // namespace

void setMainForm(LabWindow* window) {
    mainWindow = window;
    if (window && closeAskedEarly) requestMainWindowClose();
}

LabWindow* mainForm() {
    return mainWindow.data();
}

void showMainWindow() {
    if (mainWindow) mainWindow->showForm();
}

void requestMainWindowClose() {
    if (!mainWindow) {
        closeAskedEarly = true;
        return;
    }
    ending = true;
    mainWindow->hide();
    LabWindow::terminateModalLoops();
    if (loopRunning) QCoreApplication::exit(0);
}

bool programEnding() {
    return ending;
}

void setMessageLoopRunning(bool running) {
    loopRunning = running;
}

void resetProgramEnding() {
    ending = false;
    closeAskedEarly = false;
    LabWindow::resetTermination();
}
