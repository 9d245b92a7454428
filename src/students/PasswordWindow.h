#pragma once

#include "toolkit/LabWindow.h"

class FilteredEdit;
class QLabel;
class QPushButton;

// Password window: asked before the results window deletes anything
class PasswordWindow : public LabWindow {
    Q_OBJECT
public:
    explicit PasswordWindow(QWidget* parent = nullptr);

    QLabel* passwordLabel = nullptr;       // "Пароль:"
    FilteredEdit* passwordEdit = nullptr;  // the password, shown as asterisks
    QPushButton* okButton = nullptr;       // "OK"

    void onOkClicked();
    // Empties the field once the password has been spent on a deletion.
    void clearPassword();

protected:
    // Every showing starts in the password field.
    void showEvent(QShowEvent* event) override;

private:
    void loadContents();
};
