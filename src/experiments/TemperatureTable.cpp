// The measurement table "Таблица 2" of the temperature window: its layout, the column check,
// the rates, the stopwatch and the sliding of the table out of the movie's way.
#include <QEvent>
#include <QPushButton>
#include <cmath>

#include "concentration/MeasurementTable.h"
#include "experiments/ExperimentWindowParts.h"
#include "experiments/HeadingStrip14.h"
#include "experiments/TemperatureWindow.h"
#include "shell/LabState.h"
#include "toolkit/Clock.h"
#include "toolkit/Controls.h"
#include "toolkit/LabTimer.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/StringGrid.h"

namespace {
constexpr double MsPerDay = 86400000.0;
constexpr int SlideStep = 5;
constexpr int GridLine = 1;
constexpr int CollapsedHeight = 20;  // the collapse ends at or below this height
constexpr int ExpandedHeight = 72;   // the expand ends at or above this height

// Calls back on every mouse press inside a widget.
class PressWatcher : public QObject {
public:
    PressWatcher(QWidget* target, std::function<void()> onPress)
        : QObject(target), onPress_(std::move(onPress)) {
        target->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick)
            onPress_();
        return false;
    }

private:
    std::function<void()> onPress_;
};

double nowInDays() {
    return double(labClock().monotonicMs()) / MsPerDay;
}
}  // namespace

void TForm5::setUpTable() {
    StringGrid1->setColCount(5);
    StringGrid1->setRowCountCells(4);
    StringGrid1->setFixed(1, 1);
    // Cell sizes are given without the grid line that follows each cell.
    StringGrid1->setDefaultColWidth(48 + GridLine);
    StringGrid1->setDefaultRowHeight(16 + GridLine);
    StringGrid1->setEditingAllowed(true);
    StringGrid1->setFrameShape(QFrame::Box);
    StringGrid1->setLineWidth(1);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Read-only from step 4 on, the table must stay legible: the student copies its rates.
    QPalette pal = StringGrid1->palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Disabled, QPalette::Base, Qt::white);
    pal.setColor(QPalette::Disabled, QPalette::Text, pal.color(QPalette::Active, QPalette::Text));
    StringGrid1->setPalette(pal);

    // The Latin c in " Время, c" and the "oC" are the table's own spelling; the heading strip
    // above shows the titles in finer typography.
    const QString headers[] = {QStringLiteral(" № пробирки"), QStringLiteral(" Время, c"),
                               QStringLiteral(" T oC"), QStringLiteral(" Vусл = 1/Время"),
                               QStringLiteral(" Температурный коэфф-т")};
    const int widths[] = {72, 60, 55, 90, 140};
    for (int c = 0; c < 5; ++c) {
        StringGrid1->setCell(c, 0, headers[c]);
        StringGrid1->setColWidth(c, widths[c] + GridLine);
    }
    for (int r = 1; r <= 3; ++r) StringGrid1->setCell(0, r, QString::number(r));
    new PressWatcher(StringGrid1->viewport(), [this] { StringGrid1MouseDown(); });
}

bool TForm5::RequireColumn(int column, const QString& message) {
    return ::RequireColumn(StringGrid1, column, message);
}

bool TForm5::computeRates() {
    for (int row = 1; row <= 3; ++row) {
        const std::optional<QString> rate = rateTextForTime(StringGrid1->cell(1, row));
        if (!rate) return false;
        StringGrid1->setCell(3, row, *rate);
    }
    return true;
}

// Collapse and expand are never left running together: each would undo the other's ticks.
void TForm5::startCollapse() {
    Timer2->setEnabled(false);
    Timer1->setEnabled(true);
}

void TForm5::startExpand() {
    Timer1->setEnabled(false);
    Timer2->setEnabled(true);
}

void TForm5::Timer1Timer() {
    if (StringGrid1->height() <= CollapsedHeight) {
        Timer1->setEnabled(false);
        return;
    }
    for (QWidget* w : std::initializer_list<QWidget*>{StringGrid1, StaticText1, Frame14})
        w->move(w->x(), w->y() + SlideStep);
    StringGrid1->resize(StringGrid1->width(), StringGrid1->height() - SlideStep);
}

void TForm5::Timer2Timer() {
    if (StringGrid1->height() >= ExpandedHeight) {
        Timer2->setEnabled(false);
        return;
    }
    for (QWidget* w : std::initializer_list<QWidget*>{StringGrid1, StaticText1, Frame14})
        w->move(w->x(), w->y() - SlideStep);
    StringGrid1->resize(StringGrid1->width(), StringGrid1->height() + SlideStep);
}

void TForm5::StringGrid1MouseDown() {
    startExpand();
}

void TForm5::Button2Click() {
    startCollapse();
    LabState.StopwatchStart = nowInDays();
    Timer3->setEnabled(true);
    StaticText2->hide();
    StaticText3->hide();
    Button3->setEnabled(true);
    Button2->setEnabled(false);
}

void TForm5::Timer3Timer() {
    LabState.StopwatchElapsed = nowInDays() - LabState.StopwatchStart;
    StaticText4->setCaption(stopwatchText(std::llround(LabState.StopwatchElapsed * MsPerDay)));
}

void TForm5::Button3Click() {
    Timer3->setEnabled(false);
    startExpand();
    Button3->setEnabled(false);
    Button2->setEnabled(true);
}
