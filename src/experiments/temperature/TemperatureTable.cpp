// The measurement table "Таблица 2" of the temperature window: its layout, the column check,
// the rates, and the stopwatch as this window uses it.
#include <QPushButton>
#include <cmath>

#include "experiments/common/MeasurementTable.h"
#include "experiments/common/Stopwatch.h"
#include "experiments/temperature/TemperatureWindow.h"
#include "toolkit/Fonts.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/StaticText.h"
#include "toolkit/StringGrid.h"

namespace {
constexpr int GridLine = 1;
}  // namespace

void TemperatureWindow::setUpTable() {
    using namespace TemperatureTable;
    measurementTable->setColCount(Columns);
    measurementTable->setRowCountCells(Rows);
    measurementTable->setFixed(1, 1);
    // Cell sizes are given without the grid line that follows each cell.
    measurementTable->setDefaultColWidth(48 + GridLine);
    measurementTable->setDefaultRowHeight(16 + GridLine);
    measurementTable->setEditingAllowed(true);
    // 12 px, as "Таблица 1": a row of 16 px holds it.
    measurementTable->setFont(labFont(QStringLiteral("MS Sans Serif"), 12));
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

    // The heading strip above shows the titles in finer typography.
    const int widths[Columns] = {72, 60, 55, 90, 140};
    for (int c = 0; c < Columns; ++c) {
        measurementTable->setCell(c, 0, heading(c));
        measurementTable->setColWidth(c, widths[c] + GridLine);
    }
    for (int r = 1; r <= LastRow; ++r) measurementTable->setCell(TubeColumn, r, QString::number(r));
    // The times are typed like those of "Таблица 1": digits, one comma, Backspace and Enter.
    makeNumeric(measurementTable);
}

bool TemperatureWindow::tableComplete() {
    using namespace TemperatureTable;
    return requireColumn(measurementTable, TimeColumn,
                         QStringLiteral("Столбец \"Время, c\" не может быть пуст"))
               .complete() &&
           requireColumn(measurementTable, TemperatureColumn,
                         QStringLiteral("Столбец \"T oC\" не может быть пуст"))
               .complete();
}

bool TemperatureWindow::computeRates() {
    return ::computeRates(measurementTable, TemperatureTable::TimeColumn,
                          TemperatureTable::RateColumn)
        .complete();
}

void TemperatureWindow::onStartClicked() {
    if (step() == At35DegreesStep || step() == At45DegreesStep) beginTubeReaction(movie);
    stopwatch->start();
    variantSolutionText->hide();
    variantAcidText->hide();
}

void TemperatureWindow::onStopClicked() {
    stopwatch->stop();
    // The measurement is taken: the picture stays at it and the next bath may follow.
    if (step() == At35DegreesStep || step() == At45DegreesStep) {
        endTubeReaction(movie);
        nextLink->show();
    }
}
