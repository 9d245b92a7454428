#pragma once

#include "toolkit/LabWindow.h"

class MoviePlayer;
class Picture;

// About window: the credits and a small looping movie
class TForm3 : public LabWindow {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);

private:
    void FormCreate();
};
