// The measurement table "Таблица 2" of the temperature window: its layout, the column check,
// the rates, and the stopwatch and sliding table as this window uses them.
#include <QEvent>
#include <QPushButton>
#include <cmath>

#include "experiments/common/ExperimentWindowParts.h"
#include "experiments/common/MeasurementTable.h"
#include "experiments/common/SlidingTable.h"
#include "experiments/common/Stopwatch.h"
#include "experiments/temperature/TemperatureWindow.h"
#include "shell/LabState.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/StaticText.h"
#include "toolkit/StringGrid.h"

namespace {
constexpr int GridLine = 1;

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
}  // namespace

void TemperatureWindow::setUpTable() {
    measurementTable->setColCount(5);
    measurementTable->setRowCountCells(4);
    measurementTable->setFixed(1, 1);
    // Cell sizes are given without the grid line that follows each cell.
    measurementTable->setDefaultColWidth(48 + GridLine);
    measurementTable->setDefaultRowHeight(16 + GridLine);
    measurementTable->setEditingAllowed(true);
    measurementTable->setFrameShape(QFrame::Box);
    measurementTable->setLineWidth(1);
    measurementTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    measurementTable->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Read-only from step 4 on, the table must stay legible: the student copies its rates.
    QPalette pal = measurementTable->palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Disabled, QPalette::Base, Qt::white);
    pal.setColor(QPalette::Disabled, QPalette::Text, pal.color(QPalette::Active, QPalette::Text));
    measurementTable->setPalette(pal);

    // The Latin c in " Время, c" and the "oC" are the table's own spelling; the heading strip
    // above shows the titles in finer typography.
    const QString headers[] = {QStringLiteral(" № пробирки"), QStringLiteral(" Время, c"),
                               QStringLiteral(" T oC"), QStringLiteral(" Vусл = 1/Время"),
                               QStringLiteral(" Температурный коэфф-т")};
    const int widths[] = {72, 60, 55, 90, 140};
    for (int c = 0; c < 5; ++c) {
        measurementTable->setCell(c, 0, headers[c]);
        measurementTable->setColWidth(c, widths[c] + GridLine);
    }
    for (int r = 1; r <= 3; ++r) measurementTable->setCell(0, r, QString::number(r));
    // The times are typed like those of "Таблица 1": digits, one comma, Backspace and Enter.
    measurementTable->setKeyPressHandler(numericKeyFilter);
    new PressWatcher(measurementTable->viewport(), [this] { onTablePressed(); });
}

bool TemperatureWindow::requireColumn(int column, const QString& message) {
    return ::requireColumn(measurementTable, column, message);
}

bool TemperatureWindow::computeRates() {
    return ::computeRates(measurementTable, 1, 3);
}

void TemperatureWindow::onTablePressed() {
    slidingTable->expand();
}

void TemperatureWindow::onStartClicked() {
    slidingTable->collapse();
    stopwatch->start();
    variantSolutionText->hide();
    variantAcidText->hide();
}

void TemperatureWindow::onStopClicked() {
    stopwatch->stop();
    slidingTable->expand();
}
