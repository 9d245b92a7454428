#pragma once

#include "toolkit/LabWindow.h"

class MoviePlayer;
class Picture;

// Main window: the experiment and variant choosers, the links to the results and About windows.
class TForm1 : public LabWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    Picture* Image1 = nullptr;
    MoviePlayer* Flash1 = nullptr;

protected:
    void FormActivate() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
};
