#pragma once

// The program: shows the splash, creates every window, runs the message loop until the main
// window closes. Returns the exit code (0).
int runLaboratory(int argc, char** argv);

// Everything after the application object: windows, message loop, clean-up. Returns the exit
// code. Tests run it inside their own application object.
int runLaboratorySession();

// Creates the windows in their fixed order behind the splash (the part of start-up between
// the application object and the message loop); tests call it against their own asset tree.
void createLaboratoryWindows();
// Destroys every window created by createLaboratoryWindows.
void destroyLaboratoryWindows();
