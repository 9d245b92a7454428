#pragma once

#include <QList>
#include <functional>

#include "journal/SittingSummary.h"
#include "toolkit/LabWindow.h"

class ClassJournal;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTableWidget;

// "Журнал класса": one row per sitting, newest first, from the class server when one is set up
// and reachable, from this computer's journal otherwise; filters by group, dates and computer;
// export of what is shown to a spreadsheet file. Faults of the journal file and the server are
// told here, in lines above the table, and nowhere else.
class JournalWindow : public LabWindow {
    Q_OBJECT
public:
    explicit JournalWindow(ClassJournal* journal, QWidget* parent = nullptr);

    QComboBox* groupFilter = nullptr;
    QComboBox* computerFilter = nullptr;
    QDateEdit* fromDate = nullptr;
    QDateEdit* toDate = nullptr;
    QTableWidget* table = nullptr;
    QLabel* sourceLine = nullptr;  // where the rows come from; when the server was reached
    QLabel* faultLine = nullptr;   // what is wrong with the file or the server
    QPushButton* refreshButton = nullptr;
    QPushButton* exportButton = nullptr;
    QPushButton* closeButton = nullptr;

    // The file the export writes to; the save dialog unless a test sets another.
    std::function<QString()> askExportPath;

    // Reads the rows again (from the server when one is set up).
    void reload();
    bool isLoading() const { return loading_; }
    const QList<SittingRow>& shownRows() const { return shown_; }
    // Writes the shown rows to path; false (and a line in the window) when it cannot.
    bool exportTo(const QString& path);
    void onExportClicked();

Q_SIGNALS:
    void loaded();

protected:
    void onActivated() override;

private:
    void showRows(const JournalEvents& events);
    void applyFilters();
    void fillFilterChoices();
    void updateFaultLine(const QString& serverFault);

    ClassJournal* journal_;
    QList<SittingRow> all_;
    QList<SittingRow> shown_;
    bool loading_ = false;
    QString exportFault_;
    QString notice_;
};
