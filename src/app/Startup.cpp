#include "app/Startup.h"

#include <QApplication>
#include <QTimer>

#include "app/Laboratory.h"
#include "app/MainWindow.h"
#include "app/ProgramFolderLock.h"
#include "lab/ProgramDir.h"
#include "shell/Program.h"
#include "students/RegistrationWindow.h"
#include "toolkit/FilteredEdit.h"
#include "toolkit/Fonts.h"

namespace {
// An unattended check of an installed program registers a student by itself and ends:
// REAKTIKUM_REGISTER_STUDENT holds "group/surname". The student goes through the registration
// window's own acceptance, so the results file is found and written as a student's would be.
void registerStudentUnattended(Laboratory& laboratory, const QString& groupAndSurname) {
    RegistrationWindow* registration = laboratory.window<RegistrationWindow>();
    const QString group = groupAndSurname.section('/', 0, 0);
    const QString surname = groupAndSurname.section('/', 1);
    auto* watch = new QTimer(registration);
    QObject::connect(watch, &QTimer::timeout, registration, [=] {
        if (!registration->isVisible()) return;
        watch->stop();
        registration->groupEdit->setText(group);
        registration->surnameEdit->setText(surname);
        registration->onAcceptClicked();
        QTimer::singleShot(0, [] { requestMainWindowClose(); });
    });
    watch->start(50);
}
}  // namespace

int runLaboratory(int argc, char** argv) {
    QApplication app(argc, argv);
    installFontSubstitutions();
    // A data folder apart from the program is made at the first start, with an empty results
    // file, so the first registration finds it. Should that fail, the results file's own
    // message names the file when it is used.
    prepareDataFolder();
    // One program per data folder: two would overwrite each other's grades.
    ProgramFolderLock lock;
    if (!lock.acquire()) return 1;
    const QString unattended = qEnvironmentVariable("REAKTIKUM_REGISTER_STUDENT");
    if (unattended.isEmpty()) return runLaboratorySession();
    return runLaboratorySession(
        [&](Laboratory& laboratory) { registerStudentUnattended(laboratory, unattended); });
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
        MainWindow* main = laboratory.window<MainWindow>();
        QTimer::singleShot(0, main, [main] {
            if (!programEnding()) main->showForm();
        });
        setMessageLoopRunning(true);
        code = QApplication::exec();
        setMessageLoopRunning(false);
    }
    return code;
}
