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
    // The right password has been given and not yet spent on a deletion.
    bool isUnlocked() const { return unlocked_; }
    // Spends the password: the gate closes and the field is emptied.
    void lock();

protected:
    // Every showing starts in the password field.
    void showEvent(QShowEvent* event) override;

private:
    void loadContents();

    bool unlocked_ = false;
};
