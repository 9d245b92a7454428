#include "shell/Layout.h"

#include <QWidget>

void placeControls(std::initializer_list<Place> table) {
    for (const Place& p : table) {
        if (p.width > 0) {
            p.widget->setGeometry(p.left, p.top, p.width, p.height);
        } else {
            p.widget->move(p.left, p.top);
            p.widget->adjustSize();
        }
    }
}
