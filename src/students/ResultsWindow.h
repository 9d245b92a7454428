#pragma once

#include <cstdint>
#include <functional>

#include "toolkit/LabWindow.h"

class QPushButton;
class Session;
class StringGrid;

// Results window: the grades of every stored student, deletions behind the password
class ResultsWindow : public LabWindow {
    Q_OBJECT
public:
    explicit ResultsWindow(Session& session, QWidget* parent = nullptr);

    StringGrid* resultsGrid = nullptr;
    QPushButton* closeButton = nullptr;      // "Закрыть"
    QPushButton* deleteRowButton = nullptr;  // "Удалить строку"
    QPushButton* deleteAllButton = nullptr;  // "Удалить все"
    QPushButton* journalButton = nullptr;    // "Журнал", behind the same password

    // The grid row last selected, minus 2: a student's 1-based index, or −1 and 0 for the
    // sample rows. Cleared with the selection whenever the rows are filled anew.
    std::int32_t selectedStudent = 0;

    // The password window: asked before every deletion and before the journal opens; true when
    // the right password was given for this one action. Set by the composition root.
    std::function<bool()> askPassword;
    // The class journal's window; set by the composition root.
    std::function<void()> showJournalWindow;

    void fillResultsGrid();
    bool onRowSelected(int col, int row);
    void onCloseClicked();
    void onDeleteRowClicked();
    void onDeleteAllClicked();
    void onJournalClicked();

protected:
    void onActivated() override;

private:
    void loadContents();
    // Shows the password window; true when the password was given for this action.
    bool passwordGiven();

    Session& session_;
};
