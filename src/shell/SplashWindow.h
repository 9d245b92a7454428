#pragma once

#include "toolkit/LabWindow.h"

class MoviePlayer;
class Picture;

// Splash window: the picture shown while the other windows are created
class TForm2 : public LabWindow {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
    Picture* Image1 = nullptr;

private:
    void FormCreate();
};
