#pragma once

class LabWindow;

// The program's main window: closing it ends the program. It is set once the main window's
// creation has finished; a close requested before that is carried out when it is set.
void setMainForm(LabWindow* window);
LabWindow* mainForm();
// Shows the main window again: the way back from every experiment window.
void showMainWindow();

// Asks the main window to close, which ends the program once control returns to the message
// loop; a request made before the loop runs ends the program as soon as it starts.
void requestMainWindowClose();
bool programEnding();

// The message loop is running (set by the start-up sequence around it).
void setMessageLoopRunning(bool running);

// Forgets an ending program (tests).
void resetProgramEnding();
