#pragma once

#include <QString>

class LabWindow;
class QPushButton;
class QWidget;

// Building blocks the experiment windows share besides their chrome and stopwatch.

QPushButton* makeButton(QWidget* parent, const QString& text, bool arialBold);

// Leaves an experiment: the main window comes back first, so it takes the activation, then
// the experiment window hides.
void returnToMainWindow(LabWindow* window);
