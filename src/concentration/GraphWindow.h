#pragma once

#include "toolkit/LabWindow.h"

class MoviePlayer;
class Picture;

// Graph window of experiment 1: the rate line against the reference, and the grade
class TForm8 : public LabWindow {
    Q_OBJECT
public:
    explicit TForm8(QWidget* parent = nullptr);

private:
    void FormCreate();
};
