#pragma once

#include <initializer_list>

class QWidget;

// One row of a window's layout table: a control and its bounds in the client area, in logical
// pixels. A width of 0 leaves the control at its top-left corner, sized to its content.
struct Place {
    QWidget* widget;
    int left, top, width, height;
};

// Every window writes its geometry as one such table, bottom control first.
void placeControls(std::initializer_list<Place> table);
