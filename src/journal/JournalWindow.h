#pragma once

#include <QList>
#include <functional>

#include "journal/SittingSummary.h"
#include "toolkit/LabWindow.h"

class ClassJournal;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class ServerReader;
struct ServerReading;

// "Журнал класса": one row per sitting, newest first, from this computer's journal, or from the
// class server once a teacher logs in to it (the login and password are typed here, or the
// password is in the teacher account's ~/.pgpass, and are forgotten when the window closes);
// filters by group, dates and computer; export of what is shown to a spreadsheet file. Faults
// of the journal file and the server are told here, in lines above the table, and nowhere else.
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
    // The teacher's login to the class server; shown only when one is set up.
    QLineEdit* teacherLogin = nullptr;
    QLineEdit* teacherPassword = nullptr;
    QPushButton* loginButton = nullptr;

    // The file the export writes to; the save dialog unless a test sets another.
    std::function<QString()> askExportPath;

    // Reads the rows again: from the server when a teacher login is typed, else from this
    // computer's journal.
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
    void hideEvent(QHideEvent* event) override;

private:
    void showLocalRows();
    void showServerReading(const ServerReading& reading, const QString& user);
    void showRows(const JournalEvents& events);
    void applyFilters();
    void fillFilterChoices();
    void updateFaultLine(const QStringList& serverLines = {});
    QString lastReachedText() const;

    ClassJournal* journal_;
    ServerReader* reader_ = nullptr;
    QStringList serverLines_;
    QList<SittingRow> all_;
    QList<SittingRow> shown_;
    bool loading_ = false;
    QString exportFault_;
};
