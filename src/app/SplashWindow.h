#pragma once

#include "toolkit/LabWindow.h"

class Navigation;

class MoviePlayer;
class Picture;

// Splash window: the picture shown while the other windows are created
class SplashWindow : public LabWindow {
    Q_OBJECT
public:
    explicit SplashWindow(Navigation& navigation, QWidget* parent = nullptr);

private:
    void loadContents(Navigation& navigation);

    Picture* picture_ = nullptr;
};
