#pragma once

// Where a window goes when it is done, implemented by the composition root: back to the main
// window, or the end of the program. No window knows another.
class Navigation {
public:
    virtual ~Navigation() = default;
    // Brings the main window back: the way out of every experiment window.
    virtual void returnToMainWindow() = 0;
    // Ends the program once control returns to the message loop: the main window closed, or a
    // failure has been reported whose message says the program will be stopped. Asked before
    // the main window exists, it is carried out as soon as there is one.
    virtual void endProgram() = 0;
    // The program is ending: nothing more is shown.
    virtual bool isEnding() const = 0;
};
