#pragma once

#include <cstdint>

#include "toolkit/LabWindow.h"

class QPushButton;
class StringGrid;

// Results window: the grades of every stored student, deletions behind the password
class TForm10 : public LabWindow {
    Q_OBJECT
public:
    explicit TForm10(QWidget* parent = nullptr);

    StringGrid* StringGrid1 = nullptr;
    QPushButton* Button1 = nullptr;  // "Закрыть"
    QPushButton* Button2 = nullptr;  // "Удалить строку"
    QPushButton* Button3 = nullptr;  // "Удалить все"

    // The grid row last selected, minus 2: a student's 1-based index, or −1 and 0 for the
    // sample rows. Kept from one showing to the next.
    std::int32_t SelectedStudent = 0;

    void FillResultsGrid();
    bool StringGrid1SelectCell(int col, int row);
    void Button1Click();
    void Button2Click();
    void Button3Click();

protected:
    void FormActivate() override;

private:
    void FormCreate();
    // Shows the password window; true when it has opened the gate.
    bool askPassword();
    // The gate closes again once a deletion has been carried out.
    void lockAfterDeletion();
};
