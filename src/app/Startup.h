#pragma once

#include <functional>

class Laboratory;
class QCoreApplication;

// What runs once every window exists, before the message loop: nothing in the program itself;
// a test-only build registers a student through the registration window here.
using LaboratoryStarted = std::function<void(Laboratory&)>;

// The program: the application object, the data folder, the lock of the data folder, then the
// session. Returns the exit code: 0 when the main window closed, 1 when another copy of the
// program holds the data folder.
int runLaboratory(int argc, char** argv, const LaboratoryStarted& started = {});

// Qt's own texts (file dialogs, date pickers, standard buttons) in Russian from Qt's
// translations, and the Russian locale as the default of date and number widgets. Returns false
// when Qt's Russian translations are not installed.
bool installRussianForQt(QCoreApplication& app);

// Everything after the application object: windows, message loop, clean-up. Returns the exit
// code. Tests run it inside their own application object.
int runLaboratorySession(const LaboratoryStarted& started = {});
