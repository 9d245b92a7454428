#include "students/PasswordWindow.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include "lab/Clock.h"
#include "shell/DialogKeys.h"
#include "shell/Layout.h"
#include "toolkit/Colors.h"
#include "toolkit/FilteredEdit.h"

namespace {
const QString askCaption = QStringLiteral("Введите пароль");
const QString wrongCaption = QStringLiteral("Неверный пароль");
constexpr std::int64_t retryDelayMs = 1000;
}  // namespace

PasswordWindow::PasswordWindow(TeacherPassword password, QWidget* parent)
    : LabWindow(askCaption, QSize(183, 94), Border::Tool, parent), password_(std::move(password)) {
    passwordLabel = new QLabel(QStringLiteral("Пароль:"), this);
    passwordEdit = new FilteredEdit(this);
    wrongLine = new QLabel(this);
    okButton = new QPushButton(QStringLiteral("OK"), this);
    cancelButton = new QPushButton(QStringLiteral("Отмена"), this);

    placeControls({
        {passwordLabel, 8, 3, 41, 13},
        {passwordEdit, 7, 19, 169, 19},
        {wrongLine, 8, 42, 169, 13},
        {okButton, 21, 62, 75, 25},
        {cancelButton, 102, 62, 75, 25},
    });
    passwordLabel->setBuddy(passwordEdit);  // a screen reader names the edit by its label
    wrongLine->setAccessibleName(QStringLiteral("Ответ на пароль"));
    QPalette wrongPalette = wrongLine->palette();
    wrongPalette.setColor(QPalette::WindowText, colorFromBgr(0x0000C0));
    wrongLine->setPalette(wrongPalette);

    // The flat border of the other edits, and an asterisk for every typed character.
    passwordEdit->setStyleSheet(
        QStringLiteral("QLineEdit { border: 1px solid #646464; background: white; "
                       "padding: 0px 1px; lineedit-password-character: 42; }"));
    passwordEdit->setEchoMode(QLineEdit::Password);
    setTabOrder(passwordEdit, okButton);
    setTabOrder(okButton, cancelButton);
    connect(okButton, &QPushButton::clicked, this, &PasswordWindow::onOkClicked);
    connect(cancelButton, &QPushButton::clicked, this, &PasswordWindow::onCancelClicked);
    // The field uses Enter itself, so it gives the password from there.
    connect(passwordEdit, &QLineEdit::returnPressed, this, &PasswordWindow::onOkClicked);
    attachDialogKeys(this, {[this] { onOkClicked(); }, [this] { onCancelClicked(); }, okButton});
    waitTimer_.setInterval(50);
    connect(&waitTimer_, &QTimer::timeout, this, &PasswordWindow::checkWait);
    loadContents();
}

void PasswordWindow::loadContents() {
    setBackgroundColor(colorFromBgr(LabColors::GoldenYellow));
}

void PasswordWindow::showEvent(QShowEvent* event) {
    LabWindow::showEvent(event);
    passwordEdit->setFocus();
}

bool PasswordWindow::ask() {
    accepted_ = false;
    passwordEdit->clear();
    wrongLine->clear();
    setWindowTitle(askCaption);
    checkWait();
    exec();
    const bool given = accepted_;
    accepted_ = false;
    passwordEdit->clear();
    return given;
}

bool PasswordWindow::isWaiting() const {
    return labClock().monotonicMs() < nextTryAt_;
}

void PasswordWindow::onOkClicked() {
    if (isWaiting()) return;
    // An administrator's hash takes a moment to check.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool right = password_.accepts(passwordEdit->text());
    QApplication::restoreOverrideCursor();
    if (right) {
        accepted_ = true;
        done();
        return;
    }
    setWindowTitle(wrongCaption);
    wrongLine->setText(wrongCaption);
    nextTryAt_ = labClock().monotonicMs() + retryDelayMs;
    checkWait();
}

void PasswordWindow::onCancelClicked() {
    accepted_ = false;
    done();
}

// Holds "OK" and the field while a wrong answer's second runs, and frees them after.
void PasswordWindow::checkWait() {
    const bool waiting = isWaiting();
    okButton->setEnabled(!waiting);
    passwordEdit->setReadOnly(waiting);
    if (waiting) {
        if (!waitTimer_.isActive()) waitTimer_.start();
        return;
    }
    if (!waitTimer_.isActive()) return;
    waitTimer_.stop();
    passwordEdit->setFocus();
    passwordEdit->selectAll();  // typing replaces the wrong answer
}
