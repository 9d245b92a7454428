#pragma once

#include <QString>

#include "experiments/TemperatureCoefficients.h"
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
class TFrame14;

// Experiment 2 window: effect of temperature on the reaction rate
class TForm5 : public LabWindow {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);

    // Puts the window into the starting state of a new run (called by the main window before
    // it loads the first movie and shows this window).
    void prepareRun();

    void Label14Click();
    void Label5Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Timer1Timer();
    void Timer2Timer();
    void Timer3Timer();
    void Timer4Timer();
    void StringGrid1MouseDown();
    void Edit1KeyPress(unsigned char& key);

    void ShowCoefficientInputs(bool visible);
    // The column check of the measurement tables: the first empty cell of rows 1..3 shows
    // the message, takes back the step just added and focuses the table.
    bool RequireColumn(int column, const QString& message);

    // Grade and the two acceptance flags, kept for the whole program run.
    TemperatureGrading Grading;

    Picture* Image1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label1 = nullptr;
    LinkLabel* Label14 = nullptr;
    LinkLabel* Label5 = nullptr;
    Picture* Image3 = nullptr;
    Picture* Image2 = nullptr;
    MoviePlayer* Flash1 = nullptr;
    StringGrid* StringGrid1 = nullptr;
    StaticText* StaticText1 = nullptr;
    StaticText* StaticText2 = nullptr;
    StaticText* StaticText3 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    StaticText* StaticText4 = nullptr;
    FilteredEdit* Edit1 = nullptr;
    FilteredEdit* Edit2 = nullptr;
    FilteredEdit* Edit3 = nullptr;
    FilteredEdit* Edit4 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button4 = nullptr;
    StaticText* StaticText5 = nullptr;
    StaticText* StaticText6 = nullptr;
    TFrame14* Frame14 = nullptr;
    LabTimer* Timer1 = nullptr;  // table collapse
    LabTimer* Timer2 = nullptr;  // table expand
    LabTimer* Timer3 = nullptr;  // stopwatch display
    LabTimer* Timer4 = nullptr;  // end-of-movie watch

protected:
    void FormActivate() override;

private:
    void FormCreate();
    void createControls();
    void setUpTable();
    void connectHandlers();
    void loadStepMovie();
    bool computeRates();
    void startCollapse();
    void startExpand();
    // The shared part of the two "ОК" handlers.
    void checkCoefficient(int coefficient);
    void finishWhenBothShown();
};
