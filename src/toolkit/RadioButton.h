#pragma once

#include <QRadioButton>

// A single radio button; clickedOn() is emitted whenever it becomes checked.
class RadioButton : public QRadioButton {
    Q_OBJECT
public:
    explicit RadioButton(const QString& text = {}, QWidget* parent = nullptr);

Q_SIGNALS:
    void clickedOn();
};
