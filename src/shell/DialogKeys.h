#pragma once

#include <functional>

class QPushButton;
class QWidget;

// Enter and Escape in a small window, as a desktop user expects of a dialog: Enter on a focused
// push button presses that button; Enter anywhere else that leaves the key unused (a table, a
// date box, the window itself) does what the window's default control does; Escape does what
// its cancel or close control does, wherever the focus is. The default button, when there is
// one, is drawn as such.
struct DialogKeys {
    std::function<void()> enter;
    std::function<void()> escape;
    QPushButton* defaultButton = nullptr;
};
void attachDialogKeys(QWidget* window, const DialogKeys& keys);
