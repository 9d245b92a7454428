#include "students/ResultsWindow.h"

#include <QApplication>
#include <QPushButton>

#include "lab/Grades.h"
#include "lab/Numbers.h"
#include "lab/Session.h"
#include "shell/DialogKeys.h"
#include "shell/Layout.h"
#include "toolkit/Colors.h"
#include "toolkit/StringGrid.h"

namespace {
constexpr int gridColumns = 8;
constexpr int firstStudentRow = 3;

// Two example rows stand before the students, showing how a finished record reads.
void fillSampleRow(StringGrid* grid, int row, const QString& group, const QString& surname) {
    grid->setCell(0, row, QString::number(row));
    grid->setCell(1, row, group);
    grid->setCell(2, row, surname);
    for (int col = 3; col < gridColumns; ++col) grid->setCell(col, row, QStringLiteral("5"));
}
}  // namespace

ResultsWindow::ResultsWindow(Session& session, QWidget* parent)
    : LabWindow(QStringLiteral("Результаты"), QSize(541, 458), Border::Tool, parent),
      session_(session) {
    resultsGrid = new StringGrid(this);
    resultsGrid->setAccessibleName(QStringLiteral("Оценки студентов"));
    closeButton = new QPushButton(QStringLiteral("Закрыть"), this);
    deleteRowButton = new QPushButton(QStringLiteral("Удалить строку"), this);
    deleteAllButton = new QPushButton(QStringLiteral("Удалить все"), this);
    journalButton = new QPushButton(QStringLiteral("Журнал"), this);

    placeControls({
        {resultsGrid, 3, 40, 534, 385},
        {closeButton, 463, 430, 75, 25},
        {deleteRowButton, 8, 8, 97, 25},
        {deleteAllButton, 112, 8, 89, 25},
        {journalButton, 208, 8, 75, 25},
    });
    setTabOrder(resultsGrid, closeButton);
    setTabOrder(closeButton, deleteRowButton);
    setTabOrder(deleteRowButton, deleteAllButton);
    setTabOrder(deleteAllButton, journalButton);

    // The grid keeps the usual grey of its lines and fixed cells, not the window's yellow.
    QPalette gridPalette = resultsGrid->palette();
    gridPalette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    resultsGrid->setPalette(gridPalette);
    resultsGrid->setFrameShape(QFrame::Box);
    resultsGrid->setColCount(gridColumns);
    resultsGrid->setRowCountCells(firstStudentRow);
    resultsGrid->setFixed(1, 1);
    // The "№" column stays in view when a long surname makes the table scroll sideways.
    resultsGrid->setFixedColumnFrozen(true);
    resultsGrid->setDefaultRowHeight(16);
    resultsGrid->setRowSelect(true);
    resultsGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    resultsGrid->setSelectCellHandler([this](int col, int row) { return onRowSelected(col, row); });

    connect(closeButton, &QPushButton::clicked, this, &ResultsWindow::onCloseClicked);
    connect(deleteRowButton, &QPushButton::clicked, this, &ResultsWindow::onDeleteRowClicked);
    connect(deleteAllButton, &QPushButton::clicked, this, &ResultsWindow::onDeleteAllClicked);
    connect(journalButton, &QPushButton::clicked, this, &ResultsWindow::onJournalClicked);
    attachDialogKeys(this,
                     {[this] { onCloseClicked(); }, [this] { onCloseClicked(); }, closeButton});
    loadContents();
}

void ResultsWindow::loadContents() {
    setBackgroundColor(colorFromBgr(LabColors::GoldenYellow));
}

void ResultsWindow::onActivated() {
    resultsGrid->setColWidth(0, 30);
    const QStringList header = {
        QStringLiteral("№"),       QStringLiteral(" Группа "), QStringLiteral(" Фамилия "),
        QStringLiteral(" Опыт1 "), QStringLiteral(" Опыт2 "),  QStringLiteral(" Опыт3 "),
        QStringLiteral(" Опыт4 "), QStringLiteral(" ИТОГО "),
    };
    for (int col = 0; col < gridColumns; ++col) resultsGrid->setCell(col, 0, header[col]);
    session_.results().load();
    fillResultsGrid();
    closeButton->setFocus();
}

void ResultsWindow::fillResultsGrid() {
    // The rows are about to change under any selection: a stale one would point at another
    // student, so "Удалить строку" waits for a fresh choice.
    resultsGrid->clearSelection();
    resultsGrid->setCurrentIndex(QModelIndex());
    selectedStudent = 0;
    resultsGrid->clearCells();
    fillSampleRow(resultsGrid, 1, QStringLiteral("КРЛ-99-2"), QStringLiteral("Ларцев О.Е."));
    fillSampleRow(resultsGrid, 2, QStringLiteral("КРЛ-99-1"), QStringLiteral("Сумин Г.Д."));
    const ResultsFile& results = session_.results();
    resultsGrid->setRowCountCells(results.count() + firstStudentRow);
    for (int i = 1; i <= results.count(); ++i) {
        const int row = i + 2;
        resultsGrid->setCell(0, row, QString::number(row));
        resultsGrid->setCell(1, row, results.group(i));
        resultsGrid->setCell(2, row, results.surname(i));
        std::array<double, StudentExperimentCount> scores{};
        for (int k = 1; k <= StudentExperimentCount; ++k) {
            // The grade is kept in single precision and shown widened exactly: 4.3 reads
            // 4,30000019073486, as every copy of the program shows it.
            scores[std::size_t(k - 1)] = results.score(i, k);
            resultsGrid->setCell(2 + k, row, formatGeneral(scores[std::size_t(k - 1)]));
        }
        resultsGrid->setCell(7, row, formatGeneral(totalGrade(scores)));
    }
    for (int col = 1; col < gridColumns; ++col) resultsGrid->fitColumnToContents(col);
}

bool ResultsWindow::onRowSelected(int, int row) {
    selectedStudent = row - 2;
    return true;
}

void ResultsWindow::onCloseClicked() {
    done();
}

bool ResultsWindow::passwordGiven() {
    return askPassword && askPassword();
}

void ResultsWindow::onDeleteRowClicked() {
    if (resultsGrid->currentRow() < 0) return;
    if (!passwordGiven()) return;
    if (session_.results().count() <= 0) return;
    if (selectedStudent <= 0) return;
    session_.deleteStudent(selectedStudent);
    fillResultsGrid();
}

void ResultsWindow::onDeleteAllClicked() {
    if (!passwordGiven()) return;
    if (session_.results().count() <= 0) return;
    session_.deleteAllStudents();
    fillResultsGrid();
}

void ResultsWindow::onJournalClicked() {
    if (!passwordGiven()) return;
    if (showJournalWindow) showJournalWindow();
}
