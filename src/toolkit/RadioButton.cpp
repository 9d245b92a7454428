#include "toolkit/RadioButton.h"

RadioButton::RadioButton(const QString& text, QWidget* parent) : QRadioButton(text, parent) {
    connect(this, &QRadioButton::toggled, this, [this](bool on) {
        if (on) Q_EMIT clickedOn();
    });
}
