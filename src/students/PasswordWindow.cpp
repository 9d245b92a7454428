#include "students/PasswordWindow.h"

#include <QLabel>
#include <QPushButton>

#include "shell/Layout.h"
#include "toolkit/Colors.h"
#include "toolkit/FilteredEdit.h"

namespace {
// Opens the results window's delete buttons for one deletion; compared exactly.
constexpr char16_t resultsPassword[] = u"[pkxn";
}  // namespace

PasswordWindow::PasswordWindow(QWidget* parent)
    : LabWindow(QStringLiteral("Введите пароль"), QSize(183, 74), Border::Tool, parent) {
    passwordLabel = new QLabel(QStringLiteral("Пароль:"), this);
    passwordEdit = new FilteredEdit(this);
    okButton = new QPushButton(QStringLiteral("OK"), this);

    placeControls({
        {passwordLabel, 8, 3, 41, 13},
        {passwordEdit, 7, 19, 169, 19},
        {okButton, 102, 43, 75, 25},
    });
    passwordLabel->setBuddy(passwordEdit);  // a screen reader names the edit by its label

    // The flat border of the other edits, and an asterisk for every typed character.
    passwordEdit->setStyleSheet(
        QStringLiteral("QLineEdit { border: 1px solid #646464; background: white; "
                       "padding: 0px 1px; lineedit-password-character: 42; }"));
    passwordEdit->setEchoMode(QLineEdit::Password);
    // Enter in the field presses nothing: "OK" is clicked or reached with Tab.
    okButton->setAutoDefault(false);
    okButton->setDefault(false);
    setTabOrder(passwordEdit, okButton);
    connect(okButton, &QPushButton::clicked, this, &PasswordWindow::onOkClicked);
    loadContents();
}

void PasswordWindow::loadContents() {
    setBackgroundColor(colorFromBgr(LabColors::GoldenYellow));
}

void PasswordWindow::showEvent(QShowEvent* event) {
    LabWindow::showEvent(event);
    passwordEdit->setFocus();
}

void PasswordWindow::onOkClicked() {
    if (passwordEdit->text() == QStringView(resultsPassword)) {
        unlocked_ = true;
        done();
        setWindowTitle(QStringLiteral("Введите пароль"));
    } else {
        setWindowTitle(QStringLiteral("Неверный пароль"));
    }
}

void PasswordWindow::lock() {
    unlocked_ = false;
    passwordEdit->clear();
}
