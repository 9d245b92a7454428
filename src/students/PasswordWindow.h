#pragma once

#include "toolkit/LabWindow.h"

class MoviePlayer;
class Picture;

// Password window: asked before the results window deletes anything
class TForm12 : public LabWindow {
    Q_OBJECT
public:
    explicit TForm12(QWidget* parent = nullptr);

private:
    void FormCreate();
};
