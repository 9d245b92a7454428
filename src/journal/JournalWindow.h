#pragma once

#include <QList>
#include <functional>
#include <memory>
#include <optional>

#include "journal/ClassSheetPaper.h"
#include "journal/ServerReader.h"
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
class QTableView;
class SittingCollector;
class SittingTableModel;

// "Журнал класса": one row per sitting, newest first, from this computer's journal, or from the
// class server once a teacher logs in to it (the login and password are typed here, or the
// password is in the teacher account's ~/.pgpass, and are forgotten when the window closes);
// filters by group, dates and computer, which the server applies itself: the table reads a page
// of sittings at a time as it is scrolled, so years of a district's lessons open as fast as one
// class's. Export of what the filters pass to a spreadsheet file and to Moodle's gradebook; the
// protocol of the selected sitting and the class sheet of what the filters pass, as PDF or on a
// printer. Selecting a grade shows what it was reached from; a last column marks
// grades that share a mistake with many students of the group. Faults of the journal file and
// the server are told here, in lines above the table, and nowhere else.
class JournalWindow : public LabWindow {
    Q_OBJECT
public:
    explicit JournalWindow(ClassJournal* journal, QWidget* parent = nullptr);
    ~JournalWindow() override;

    QComboBox* groupFilter = nullptr;
    QComboBox* computerFilter = nullptr;
    QDateEdit* fromDate = nullptr;
    QDateEdit* toDate = nullptr;
    QTableView* table = nullptr;
    SittingTableModel* rows = nullptr;  // the table's rows
    QLabel* sourceLine = nullptr;       // where the rows come from; when the server was reached
    QLabel* faultLine = nullptr;        // what is wrong with the file or the server
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
    // How many sittings one page of the server's holds.
    int pageSize = 500;

    // Reads the rows again: from the server when a teacher login is typed, else from this
    // computer's journal.
    void reload();
    // True while the rows of a reload or a change of the filters are on their way; a page
    // asked for by scrolling does not count.
    bool isLoading() const { return loading_; }
    // The rows in the table: every row that passes the filters, or those of the server's pages
    // read so far.
    const QList<SittingRow>& shownRows() const;
    // Every sitting read, whatever the filters show: this computer's journal, or the server's
    // pages read so far (the newest come first, so today's are among them).
    const QList<SittingRow>& allRows() const { return fromServer_ ? shownRows() : all_; }
    // The column that marks grades sharing a mistake with many of the group.
    int sharedMistakeColumn() const;
    // The table column of experiment 1..4's grade.
    static int gradeColumn(int experiment);
    // Writes the rows that pass the filters to path (reading every page the server holds, with
    // a progress dialog); false (and a line in the window) when it cannot or the teacher
    // cancelled.
    bool exportTo(const QString& path);
    void onExportClicked();
    // The same for the gradebook file of the students shown.
    bool exportMoodleTo(const QString& path);
    void onMoodleClicked();

    // The sitting of the selected row; nullptr when none is selected.
    const SittingRow* selectedSitting() const;
    // The class sheet of the rows in the table, with the period the date filters give.
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
    void showServerReading(const ServerReading& reading, const QString& user,
                           const SittingFilter& asked);
    void showRows(const JournalEvents& events);
    void applyFilters();
    SittingFilter currentFilter() const;
    void readServerPage(bool firstPage);
    void showServerPage(const ServerReading& reading, bool firstPage);
    void fillFilterChoices(QStringList groups, QStringList computers);
    // Every row that passes the filters, read from the server when the table holds only some
    // of them; nothing when the read failed (said in the window) or was cancelled.
    std::optional<QList<SittingRow>> allPassingRows(const QString& label);
    ClassSheet classSheetOf(const QList<SittingRow>& rows) const;
    void updateFaultLine(const QStringList& serverLines = {});
    QString lastReachedText() const;
    void showEvidence(int row, int column);

    // The shared mistakes of each row of all_.
    QList<QList<SharedMistake>> allMistakes_;

    void updatePaperButtons();
    // Writes bytes, or a paper drawn by draw, to path; a failure is said in the fault line.
    bool saveFile(const QString& path, const QByteArray& bytes);
    bool savePdf(const QString& path, const std::function<bool(QPagedPaintDevice&)>& draw);
    void printPaper(const std::function<bool(QPagedPaintDevice&)>& draw);
    void reportFault(const QString& fault);

    ClassJournal* journal_;
    ServerReader* reader_ = nullptr;
    std::unique_ptr<SittingCollector> collector_;
    QStringList serverLines_;
    // This computer's rows; empty while the server's are shown.
    QList<SittingRow> all_;
    // The server's rows are shown, read as this login; the next page starts at cursor_.
    bool fromServer_ = false;
    QString serverUser_;
    SittingCursor cursor_;
    SharedMistakeCounter serverMistakes_;
    bool loading_ = false;
    QString exportFault_;
    QString notice_;
};
