#pragma once

#include <QTimer>
#include <cstdint>
#include <limits>

#include "lab/TeacherPassword.h"
#include "toolkit/LabWindow.h"

class FilteredEdit;
class QLabel;
class QPushButton;

// Password window: asked before each deletion in the results window and before the class
// journal opens. A right answer counts for the one action that asked; after a wrong one the
// window waits a second before it takes the next.
class PasswordWindow : public LabWindow {
    Q_OBJECT
public:
    explicit PasswordWindow(TeacherPassword password = {}, QWidget* parent = nullptr);

    QLabel* passwordLabel = nullptr;       // "Пароль:"
    FilteredEdit* passwordEdit = nullptr;  // the password, shown as asterisks
    QLabel* wrongLine = nullptr;           // "Неверный пароль" after a wrong answer
    QPushButton* okButton = nullptr;       // "OK", the default: Enter in the field presses it
    QPushButton* cancelButton = nullptr;   // "Отмена", as Escape and the close button

    // Shows the window modally, its field empty; true when the right password was given this
    // time. Nothing is remembered for the next action.
    bool ask();
    void onOkClicked();
    void onCancelClicked();
    // A wrong password was given less than a second ago: "OK" and Enter wait.
    bool isWaiting() const;

protected:
    // Every showing starts in the password field.
    void showEvent(QShowEvent* event) override;

private:
    void loadContents();
    void checkWait();

    TeacherPassword password_;
    bool accepted_ = false;
    // The lab clock's monotonic time from which the next try is taken.
    std::int64_t nextTryAt_ = std::numeric_limits<std::int64_t>::min();
    QTimer waitTimer_;
};
