#pragma once

#include "toolkit/LabWindow.h"

class FilteredEdit;
class LinkLabel;
class Picture;
class QLabel;

// Registration window: the student's group and surname before any work
class TForm11 : public LabWindow {
    Q_OBJECT
public:
    explicit TForm11(QWidget* parent = nullptr);

    Picture* Image1 = nullptr;      // the yellow-to-white strip under "Принять"
    QLabel* Label1 = nullptr;       // "ФИО:"
    QLabel* Label2 = nullptr;       // "Группа:"
    LinkLabel* Label3 = nullptr;    // "Принять"
    FilteredEdit* Edit1 = nullptr;  // group
    FilteredEdit* Edit2 = nullptr;  // surname and initials

    void Edit1KeyPress(unsigned char& key);
    void Edit2KeyPress(unsigned char& key);
    void Label3Click();

protected:
    // There is no way out but accepting: the window refuses to be closed.
    bool FormCloseQuery() override { return false; }

private:
    void FormCreate();
};

// The strip under "Принять": the window's yellow at the left fading to white at the right.
QImage registrationStripImage();
