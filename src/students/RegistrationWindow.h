#pragma once

#include "toolkit/LabWindow.h"

class MoviePlayer;
class Picture;

// Registration window: the student's group and surname before any work
class TForm11 : public LabWindow {
    Q_OBJECT
public:
    explicit TForm11(QWidget* parent = nullptr);

private:
    void FormCreate();
};
