#include "app/Startup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include "app/DataFolderGuard.h"
#include "app/HashPasswordCommand.h"
#include "app/Laboratory.h"
#include "app/MainWindow.h"
#include "app/ProgramFolderLock.h"
#include "lab/FileAccess.h"
#include "lab/ProgramDir.h"
#include "toolkit/Fonts.h"

bool installRussianForQt(QCoreApplication& app) {
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    QLocale::setDefault(russian);
    auto* translator = new QTranslator(&app);
    if (translator->load(russian, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

int runLaboratory(int argc, char** argv, const LaboratoryStarted& started) {
    if (isHashPasswordCall(argc, argv)) return runHashPassword();
    QApplication app(argc, argv);
    installFontSubstitutions();
    // Without Qt's translations its dialogs stay in English; the program runs all the same.
    installRussianForQt(app);
    // A folder other accounts may write would let them replace any file in it: refused before
    // anything is written there.
    if (!acceptDataFolder()) return 1;
    // A data folder apart from the program is made at the first start, with an empty results
    // file, so the first registration finds it. Should that fail, the results file's own
    // message names the file when it is used.
    prepareDataFolder();
    // One program per data folder: two would overwrite each other's grades.
    ProgramFolderLock lock;
    if (!lock.acquire()) return 1;
    // What a save killed midway left beside the results file; the lock keeps any other copy of
    // the program from saving now.
    removeInterruptedSaves(resultsFilePath());
    return runLaboratorySession(started);
}

int runLaboratorySession(const LaboratoryStarted& started) {
    // Only the main window ends the program: hiding the last visible other window (a tool
    // window closed by the window manager, say) must not end the run under the student.
    QApplication::setQuitOnLastWindowClosed(false);
    Laboratory laboratory;
    if (started) started(laboratory);

    int code = 0;
    // A close requested during start-up ends the program before the loop takes any input.
    if (!laboratory.isEnding()) {
        MainWindow* main = laboratory.window<MainWindow>();
        QTimer::singleShot(0, main, [main, &laboratory] {
            if (!laboratory.isEnding()) main->showAndActivate();
        });
        laboratory.setMessageLoopRunning(true);
        code = QApplication::exec();
        laboratory.setMessageLoopRunning(false);
    }
    return code;
}
