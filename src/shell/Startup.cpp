#include "shell/Startup.h"

#include <QApplication>
#include <QTimer>

#include "concentration/ConcentrationWindow.h"
#include "concentration/GraphWindow.h"
#include "experiments/CatalystWindow.h"
#include "experiments/EquilibriumWindow.h"
#include "experiments/TemperatureWindow.h"
#include "shell/AboutWindow.h"
#include "shell/Forms.h"
#include "shell/MainWindow.h"
#include "shell/Program.h"
#include "shell/SplashWindow.h"
#include "students/PasswordWindow.h"
#include "students/RegistrationWindow.h"
#include "students/ResultsWindow.h"
#include "toolkit/Fonts.h"

void createLaboratoryWindows() {
    // The splash is an ordinary window, never the main one; it paints at once, before the
    // message loop runs.
    Form2 = new TForm2();
    Form2->showForm();
    Form2->repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QApplication::setApplicationDisplayName(QString());
    QApplication::setApplicationName(QStringLiteral("Реактикум"));

    Form1 = new TForm1();
    setMainForm(Form1);
    Form3 = new TForm3();
    Form4 = new TForm4();
    Form5 = new TForm5();
    Form6 = new TForm6();
    Form7 = new TForm7();
    Form8 = new TForm8();
    Form10 = new TForm10();
    Form11 = new TForm11();
    Form12 = new TForm12();

    Form2->hide();
    delete Form2;
    Form2 = nullptr;
}

void destroyLaboratoryWindows() {
    setMainForm(nullptr);
    delete Form12;
    delete Form11;
    delete Form10;
    delete Form8;
    delete Form7;
    delete Form6;
    delete Form5;
    delete Form4;
    delete Form3;
    delete Form1;
    delete Form2;
    Form1 = nullptr;
    Form2 = nullptr;
    Form3 = nullptr;
    Form4 = nullptr;
    Form5 = nullptr;
    Form6 = nullptr;
    Form7 = nullptr;
    Form8 = nullptr;
    Form10 = nullptr;
    Form11 = nullptr;
    Form12 = nullptr;
}

int runLaboratory(int argc, char** argv) {
    QApplication app(argc, argv);
    installFontSubstitutions();
    return runLaboratorySession();
}

int runLaboratorySession() {
    createLaboratoryWindows();

    int code = 0;
    // A close requested during start-up ends the program before the loop takes any input.
    if (!programEnding()) {
        QTimer::singleShot(0, Form1, [] {
            if (!programEnding()) Form1->showForm();
        });
        setMessageLoopRunning(true);
        code = QApplication::exec();
        setMessageLoopRunning(false);
    }
    destroyLaboratoryWindows();
    return code;
}
