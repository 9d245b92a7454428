#pragma once

#include <QString>

#include "core/Layout.h"

class LabWindow;
class LinkLabel;
class Picture;
class QLabel;
class QPushButton;
class QWidget;

// Building blocks the three experiment windows of this folder share.

// A transparent title label in Arial bold; the long title is centred and word-wrapped.
QLabel* makeTitleLabel(QWidget* parent, const QString& text, int pixelSize, bool centredWrapped);
// "Далее" and "Закончить опыт": Arial Black 16 px, black at rest.
LinkLabel* makeLinkLabel(QWidget* parent, const QString& text);
QPushButton* makeButton(QWidget* parent, const QString& text, bool arialBold);

// dragging by the background, the close glyph over the top-right spot (it leads back to the
// main window, and so does a close from the window manager) and the red hover of the two links.
void attachExperimentChrome(LabWindow* window, Picture* background, Picture* glyph, Picture* spot,
                            LinkLabel* next, LinkLabel* finish);

// Leaves an experiment: the main window comes back first, so it takes the activation, then
// the experiment window hides.
void returnToMainWindow(LabWindow* window);
