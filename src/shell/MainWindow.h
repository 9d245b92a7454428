#pragma once

#include "toolkit/LabWindow.h"

class MoviePlayer;
class Picture;
class StaticText;
class QComboBox;

// Main window: the experiment and variant choosers, the links to the results and About windows.
class TForm1 : public LabWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    Picture* Image1 = nullptr;
    MoviePlayer* Flash1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    StaticText* StaticText1 = nullptr;  // the variant's thiosulfate solution, read by experiments 1, 2
    StaticText* StaticText2 = nullptr;  // the variant's acid, read by experiments 1, 2

protected:
    void FormActivate() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
};
