#pragma once

#include <functional>

class Laboratory;

// What runs once every window exists, before the message loop: nothing in the program itself;
// a test-only build registers a student through the registration window here.
using LaboratoryStarted = std::function<void(Laboratory&)>;

// The program: the application object, the data folder, the lock of the data folder, then the
// session. Returns the exit code: 0 when the main window closed, 1 when another copy of the
// program holds the data folder.
int runLaboratory(int argc, char** argv, const LaboratoryStarted& started = {});

// Everything after the application object: windows, message loop, clean-up. Returns the exit
// code. Tests run it inside their own application object.
int runLaboratorySession(const LaboratoryStarted& started = {});
