#pragma once

#include "toolkit/LabWindow.h"

class MoviePlayer;
class Picture;

// Splash window: the picture shown while the other windows are created
class SplashWindow : public LabWindow {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);

private:
    void loadContents();

    Picture* picture_ = nullptr;
};
