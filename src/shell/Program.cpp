#include "shell/Program.h"

#include <QCoreApplication>
#include <QPointer>

#include "toolkit/LabWindow.h"

namespace {
QPointer<LabWindow> mainWindow;
bool ending = false;
bool loopRunning = false;
}  // namespace

void setMainForm(LabWindow* window) { mainWindow = window; }

LabWindow* mainForm() { return mainWindow.data(); }

void requestMainWindowClose() {
    if (!mainWindow) return;
    ending = true;
    mainWindow->hide();
    LabWindow::terminateModalLoops();
    if (loopRunning) QCoreApplication::exit(0);
}

bool programEnding() { return ending; }

void setMessageLoopRunning(bool running) { loopRunning = running; }

void resetProgramEnding() {
    ending = false;
    LabWindow::resetTermination();
}
