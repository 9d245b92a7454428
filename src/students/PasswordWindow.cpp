#include "students/PasswordWindow.h"

#include <QLabel>
#include <QPushButton>

#include "shell/LabState.h"
#include "toolkit/Colors.h"
#include "toolkit/FilteredEdit.h"

namespace {
// Opens the results window's delete buttons for one deletion; compared exactly.
constexpr char16_t resultsPassword[] = u"[pkxn";
}  // namespace

TForm12::TForm12(QWidget* parent)
    : LabWindow(QStringLiteral("Введите пароль"), QSize(183, 74), Border::Tool, parent) {
    Label1 = new QLabel(QStringLiteral("Пароль:"), this);
    Edit1 = new FilteredEdit(this);
    Button1 = new QPushButton(QStringLiteral("OK"), this);

    const struct {
        QWidget* control;
        QRect bounds;
    } layout[] = {
        {Label1, {8, 3, 41, 13}},
        {Edit1, {7, 19, 169, 19}},
        {Button1, {102, 43, 75, 25}},
    };
    for (const auto& [control, bounds] : layout) control->setGeometry(bounds);

    // The flat border of the other edits, and an asterisk for every typed character.
    Edit1->setStyleSheet(
        QStringLiteral("QLineEdit { border: 1px solid #646464; background: white; "
                       "padding: 0px 1px; lineedit-password-character: 42; }"));
    Edit1->setEchoMode(QLineEdit::Password);
    // Enter in the field presses nothing: "OK" is clicked or reached with Tab.
    Button1->setAutoDefault(false);
    Button1->setDefault(false);
    setTabOrder(Edit1, Button1);
    connect(Button1, &QPushButton::clicked, this, &TForm12::Button1Click);
    FormCreate();
}

void TForm12::FormCreate() {
    setBackgroundColor(delphiColor(LabColors::GoldenYellow));
}

void TForm12::showEvent(QShowEvent* event) {
    LabWindow::showEvent(event);
    Edit1->setFocus();
}

void TForm12::Button1Click() {
    if (Edit1->text() == QStringView(resultsPassword)) {
        LabState.ResultsUnlocked = true;
        closeForm();
        setWindowTitle(QStringLiteral("Введите пароль"));
    } else {
        setWindowTitle(QStringLiteral("Неверный пароль"));
    }
}
