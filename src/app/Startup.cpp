#include "app/Startup.h"

#include <QApplication>
#include <QTimer>

#include "app/Laboratory.h"
#include "app/MainWindow.h"
#include "app/ProgramFolderLock.h"
#include "core/Program.h"
#include "toolkit/Fonts.h"

int runLaboratory(int argc, char** argv) {
    QApplication app(argc, argv);
    installFontSubstitutions();
    // One program per program folder: two would overwrite each other's grades.
    ProgramFolderLock lock;
    if (!lock.acquire()) return 1;
    return runLaboratorySession();
}

int runLaboratorySession(const std::function<void(Laboratory&)>& started) {
    // Only the main window ends the program: hiding the last visible other window (a tool
    // window closed by the window manager, say) must not end the run under the student.
    QApplication::setQuitOnLastWindowClosed(false);
    Laboratory laboratory;
    if (started) started(laboratory);

    int code = 0;
    // A close requested during start-up ends the program before the loop takes any input.
    if (!programEnding()) {
        MainWindow* main = laboratory.mainWindow();
        QTimer::singleShot(0, main, [main] {
            if (!programEnding()) main->showForm();
        });
        setMessageLoopRunning(true);
        code = QApplication::exec();
        setMessageLoopRunning(false);
    }
    return code;
}
