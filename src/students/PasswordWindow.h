#pragma once

#include "toolkit/LabWindow.h"

class FilteredEdit;
class QLabel;
class QPushButton;

// Password window: asked before the results window deletes anything
class TForm12 : public LabWindow {
    Q_OBJECT
public:
    explicit TForm12(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;        // "Пароль:"
    FilteredEdit* Edit1 = nullptr;   // the password, shown as asterisks
    QPushButton* Button1 = nullptr;  // "OK"

    void Button1Click();

protected:
    // Every showing starts in the password field.
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
};
