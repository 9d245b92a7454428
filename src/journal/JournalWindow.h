#pragma once

#include <QList>
#include <functional>

#include "journal/ClassSheetPaper.h"
#include "journal/SharedMistakes.h"
#include "journal/SittingSummary.h"
#include "toolkit/LabWindow.h"

class ClassJournal;
class ClassPresenceView;
class EvidenceTable;
class JournalFollower;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPagedPaintDevice;
class QPrinter;
class QPushButton;
class QTableWidget;
class ServerReader;
struct ServerReading;

// "Журнал класса": one row per sitting, newest first, from this computer's journal, or from the
// class server once a teacher logs in to it (the login and password are typed here, or the
// password is in the teacher account's ~/.pgpass, and are forgotten when the window closes);
// filters by group, dates and computer; export of what is shown to a spreadsheet file and to
// Moodle's gradebook; the protocol of the selected sitting and the class sheet of what is shown,
// as PDF or on a printer. Selecting a grade shows what it was reached from; a last column marks
// grades that share a mistake with many students of the group. Faults of the journal file and
// the server are told here, in lines above the table, and nowhere else.
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
    QPushButton* moodleButton = nullptr;
    QPushButton* protocolButton = nullptr;    // its menu: to a PDF file, to a printer
    QPushButton* classSheetButton = nullptr;  // the same
    QPushButton* closeButton = nullptr;
    // The evidence of the grade selected in the table.
    QLabel* evidenceTitle = nullptr;
    QPlainTextEdit* evidenceText = nullptr;
    EvidenceTable* evidenceTable = nullptr;
    // The teacher's login to the class server; shown only when one is set up.
    QLineEdit* teacherLogin = nullptr;
    QLineEdit* teacherPassword = nullptr;
    QPushButton* loginButton = nullptr;
    // «Сейчас в классе», and what reads the rows again as they arrive while the window is open.
    ClassPresenceView* classNow = nullptr;
    JournalFollower* follower = nullptr;

    // The file the export writes to; the save dialog unless a test sets another.
    std::function<QString()> askExportPath;
    std::function<QString()> askMoodlePath;
    // The PDF file a paper is saved to, the dialog starting at the name given.
    std::function<QString(const QString& suggestedName)> askPdfPath;
    // The print dialog: false when cancelled.
    std::function<bool(QPrinter& printer)> askPrinter;

    // Reads the rows again: from the server when a teacher login is typed, else from this
    // computer's journal.
    void reload();
    bool isLoading() const { return loading_; }
    const QList<SittingRow>& shownRows() const { return shown_; }
    // Every sitting read, whatever the filters show.
    const QList<SittingRow>& allRows() const { return all_; }
    // The column that marks grades sharing a mistake with many of the group.
    int sharedMistakeColumn() const;
    // The table column of experiment 1..4's grade.
    static int gradeColumn(int experiment);
    // Writes the shown rows to path; false (and a line in the window) when it cannot.
    bool exportTo(const QString& path);
    void onExportClicked();
    // The same for the gradebook file of the students shown.
    bool exportMoodleTo(const QString& path);
    void onMoodleClicked();

    // The sitting of the selected row; nullptr when none is selected.
    const SittingRow* selectedSitting() const;
    // The class sheet of the rows shown, with the period the date filters give.
    ClassSheet classSheet() const;
    // The papers as PDF files; false (and a line in the window) when they cannot be written.
    bool saveProtocolTo(const QString& path);
    bool saveClassSheetTo(const QString& path);
    void onProtocolToPdf();
    void onProtocolToPrinter();
    void onClassSheetToPdf();
    void onClassSheetToPrinter();

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
    void showEvidence(int row, int column);

    // The shared mistakes of each row of all_, and of shown_.
    QList<QList<SharedMistake>> allMistakes_;
    QList<QList<SharedMistake>> shownMistakes_;

    void updatePaperButtons();
    // Writes bytes, or a paper drawn by draw, to path; a failure is said in the fault line.
    bool saveFile(const QString& path, const QByteArray& bytes);
    bool savePdf(const QString& path, const std::function<bool(QPagedPaintDevice&)>& draw);
    void printPaper(const std::function<bool(QPagedPaintDevice&)>& draw);
    void reportFault(const QString& fault);

    ClassJournal* journal_;
    ServerReader* reader_ = nullptr;
    QStringList serverLines_;
    QList<SittingRow> all_;
    QList<SittingRow> shown_;
    bool loading_ = false;
    QString exportFault_;
    QString notice_;
};
