#pragma once

class QAbstractButton;

// Makes a double click on the button one click: the second press of a double click arrives as a
// double click event, which the button would otherwise take for a press of its own and answer
// with a second click. For buttons that start, stop, compute or advance something.
void actOncePerDoubleClick(QAbstractButton* button);
