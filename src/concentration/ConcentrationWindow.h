#pragma once

#include "toolkit/LabWindow.h"

class FilteredEdit;
class LabTimer;
class LinkLabel;
class MoviePlayer;
class Picture;
class QLabel;
class QPushButton;
class StaticText;
class StringGrid;
class TFrame13;

// Experiment 1 window: effect of concentration on the reaction rate
class TForm4 : public LabWindow {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);

    // Puts the window into the starting state of a new run (called by the main window before
    // it loads the first movie and shows this window).
    void prepareRun();

    Picture* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    LinkLabel* Label14 = nullptr;  // "Далее"
    LinkLabel* Label5 = nullptr;   // "Закончить опыт"
    LinkLabel* Label8 = nullptr;   // "График"
    Picture* Image3 = nullptr;
    Picture* Image2 = nullptr;
    MoviePlayer* Flash1 = nullptr;
    StringGrid* StringGrid1 = nullptr;  // "Таблица 1"; experiment 2 reads row 1
    QPushButton* Button1 = nullptr;     // "Ok" of the dilution calculator
    FilteredEdit* Edit1 = nullptr;
    FilteredEdit* Edit2 = nullptr;
    FilteredEdit* Edit3 = nullptr;
    FilteredEdit* Edit4 = nullptr;
    FilteredEdit* Edit5 = nullptr;
    FilteredEdit* Edit6 = nullptr;
    StaticText* StaticText1 = nullptr;
    StaticText* StaticText2 = nullptr;
    StaticText* StaticText3 = nullptr;
    StaticText* StaticText4 = nullptr;  // stopwatch display
    QPushButton* Button2 = nullptr;     // "Старт"
    QPushButton* Button3 = nullptr;     // "Стоп"
    TFrame13* Frame13 = nullptr;
    LabTimer* Timer1 = nullptr;  // table collapse
    LabTimer* Timer2 = nullptr;  // table expand
    LabTimer* Timer3 = nullptr;  // stopwatch display
    LabTimer* Timer4 = nullptr;  // end-of-movie watch

    void Label14Click();
    void Label5Click();
    void Label8Click();
    void Image2Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Timer1Timer();
    void Timer2Timer();
    void Timer3Timer();
    void Timer4Timer();

    void SetCalculatorVisible(bool visible);

protected:
    void FormActivate() override;

private:
    void createControls();
    void FormCreate();
    void loadStepMovie();
    void runStep8();
    void startCollapse();
    void startExpand();
    void slideTable(int delta);
};
