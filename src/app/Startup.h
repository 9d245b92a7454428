#pragma once

#include <functional>

class Laboratory;

// The program: shows the splash, creates every window, runs the message loop until the main
// window closes. Returns the exit code (0).
int runLaboratory(int argc, char** argv);

// Everything after the application object: windows, message loop, clean-up. Returns the exit
// code. Tests run it inside their own application object; started, when given, is called
// once every window exists, before the message loop runs.
int runLaboratorySession(const std::function<void(Laboratory&)>& started = {});
