#include "students/ResultsWindow.h"

#include <QApplication>
#include <QPushButton>

#include "shell/Forms.h"
#include "shell/Helpers.h"
#include "shell/LabState.h"
#include "shell/Numbers.h"
#include "students/PasswordWindow.h"
#include "students/StudentStore.h"
#include "toolkit/Colors.h"
#include "toolkit/FilteredEdit.h"
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

TForm10::TForm10(QWidget* parent)
    : LabWindow(QStringLiteral("Результаты"), QSize(541, 458), Border::Tool, parent) {
    StringGrid1 = new StringGrid(this);
    Button1 = new QPushButton(QStringLiteral("Закрыть"), this);
    Button2 = new QPushButton(QStringLiteral("Удалить строку"), this);
    Button3 = new QPushButton(QStringLiteral("Удалить все"), this);

    const struct {
        QWidget* control;
        QRect bounds;
    } layout[] = {
        {StringGrid1, {3, 40, 534, 385}},
        {Button1, {463, 430, 75, 25}},
        {Button2, {8, 8, 97, 25}},
        {Button3, {112, 8, 89, 25}},
    };
    for (const auto& [control, bounds] : layout) control->setGeometry(bounds);
    setTabOrder(StringGrid1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);

    // The grid keeps the usual grey of its lines and fixed cells, not the window's yellow.
    QPalette gridPalette = StringGrid1->palette();
    gridPalette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    StringGrid1->setPalette(gridPalette);
    StringGrid1->setFrameShape(QFrame::Box);
    StringGrid1->setColCount(gridColumns);
    StringGrid1->setRowCountCells(firstStudentRow);
    StringGrid1->setFixed(1, 1);
    StringGrid1->setDefaultRowHeight(16);
    StringGrid1->setRowSelect(true);
    StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    StringGrid1->setSelectCellHandler(
        [this](int col, int row) { return StringGrid1SelectCell(col, row); });

    connect(Button1, &QPushButton::clicked, this, &TForm10::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm10::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm10::Button3Click);
    FormCreate();
}

void TForm10::FormCreate() {
    setBackgroundColor(delphiColor(LabColors::GoldenYellow));
}

void TForm10::FormActivate() {
    StringGrid1->setColWidth(0, 30);
    const QStringList header = {
        QStringLiteral("№"),       QStringLiteral(" Группа "), QStringLiteral(" Фамилия "),
        QStringLiteral(" Опыт1 "), QStringLiteral(" Опыт2 "),  QStringLiteral(" Опыт3 "),
        QStringLiteral(" Опыт4 "), QStringLiteral(" ИТОГО "),
    };
    for (int col = 0; col < gridColumns; ++col) StringGrid1->setCell(col, 0, header[col]);
    LoadStudents();
    FillResultsGrid();
    Button1->setFocus();
}

void TForm10::FillResultsGrid() {
    ClearGridCells(StringGrid1);
    fillSampleRow(StringGrid1, 1, QStringLiteral("КРЛ-99-2"), QStringLiteral("Ларцев О.Е."));
    fillSampleRow(StringGrid1, 2, QStringLiteral("КРЛ-99-1"), QStringLiteral("Сумин Г.Д."));
    StringGrid1->setRowCountCells(StudentCount + firstStudentRow);
    for (int i = 1; i <= StudentCount; ++i) {
        const int row = i + 2;
        StringGrid1->setCell(0, row, QString::number(row));
        StringGrid1->setCell(1, row, studentGroup(i));
        StringGrid1->setCell(2, row, studentSurname(i));
        double sum = 0;
        for (int k = 1; k <= StudentExperimentCount; ++k) {
            // The grade is kept in single precision and shown widened exactly: 4.3 reads
            // 4,30000019073486, as every copy of the program shows it.
            const double score = studentScore(i, k);
            StringGrid1->setCell(2 + k, row, formatGeneral(score));
            sum += score;
        }
        StringGrid1->setCell(7, row, formatGeneral(RoundToFraction(10, sum / 4)));
    }
    for (int col = 1; col < gridColumns; ++col) FitGridColumn(StringGrid1, col);
}

bool TForm10::StringGrid1SelectCell(int, int row) {
    SelectedStudent = row - 2;
    return true;
}

void TForm10::Button1Click() {
    closeForm();
}

bool TForm10::askPassword() {
    if (Form12) Form12->showModalForm();
    return LabState.ResultsUnlocked;
}

void TForm10::lockAfterDeletion() {
    LabState.ResultsUnlocked = false;
    if (Form12) Form12->Edit1->clear();
}

void TForm10::Button2Click() {
    if (!askPassword()) return;
    if (StudentCount <= 0) return;
    if (SelectedStudent <= 0) return;
    DeleteStudent(SelectedStudent);
    SaveStudents();
    FillResultsGrid();
    lockAfterDeletion();
}

void TForm10::Button3Click() {
    if (!askPassword()) return;
    if (StudentCount <= 0) return;
    DeleteAllStudents();
    SaveStudents();
    FillResultsGrid();
    lockAfterDeletion();
}
