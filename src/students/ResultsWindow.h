#pragma once

#include "toolkit/LabWindow.h"

class MoviePlayer;
class Picture;

// Results window: the grades of every stored student, deletions behind the password
class TForm10 : public LabWindow {
    Q_OBJECT
public:
    explicit TForm10(QWidget* parent = nullptr);

private:
    void FormCreate();
};
