#pragma once

#include "toolkit/LabWindow.h"

class FilteredEdit;
class LinkLabel;
class Picture;
class QLabel;
class Session;

// Registration window: the student's group and surname before any work
class RegistrationWindow : public LabWindow {
    Q_OBJECT
public:
    explicit RegistrationWindow(Session& session, QWidget* parent = nullptr);

    Picture* acceptStrip = nullptr;       // the yellow-to-white strip under "Принять"
    QLabel* surnameLabel = nullptr;       // "ФИО:"
    QLabel* groupLabel = nullptr;         // "Группа:"
    LinkLabel* acceptLink = nullptr;      // "Принять"
    FilteredEdit* groupEdit = nullptr;    // group
    FilteredEdit* surnameEdit = nullptr;  // surname and initials

    void filterGroupKey(unsigned char& key);
    void filterSurnameKey(unsigned char& key);
    void onAcceptClicked();

protected:
    // There is no way out but accepting: the window refuses to be closed.
    bool canClose() override { return false; }

private:
    void loadContents();

    Session& session_;
};

// The strip under "Принять": the window's yellow at the left fading to white at the right.
QImage registrationStripImage();
