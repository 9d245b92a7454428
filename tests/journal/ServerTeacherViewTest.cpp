// The teacher's view over the class server: the server applies the group, computer and date
// filters and sends a page of sittings at a time, yet the teacher sees what the view showed when
// it filtered every row itself; scrolling brings every sitting; an export takes all of them,
// and one cancelled leaves the file as it was.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>
#include <QTimeZone>
#include <QTimer>
#include <map>

#include "ServerFixture.h"
#include "TableCells.h"
#include "journal/ClassJournal.h"
#include "journal/JournalWindow.h"
#include "journal/LocalJournal.h"
#include "journal/MoodleExport.h"
#include "journal/ServerLink.h"
#include "journal/SittingCollector.h"
#include "journal/SittingTableModel.h"
#include "journal/StudentGrades.h"

namespace {

const auto* const environment = ::testing::AddGlobalTestEnvironment(new ServerEnvironment);

class ServerTeacherViewTest : public ServerFixture {
protected:
    // A row a computer sent long ago, straight to the server as that computer's login, and
    // kept for the reference the view is compared with.
    void sendOld(const QString& computerName, const QString& sitting, const QString& group,
                 const QString& surname, JournalEventKind kind, const QDateTime& at,
                 int experiment = 0, std::optional<float> grade = {}, int variant = 2) {
        static int localId = 100000;
        JournalEvent e;
        e.id = ++localId;
        e.recordedAt = at;
        e.computer = computerName;
        e.sitting = sitting;
        e.group = group;
        e.surname = surname;
        e.variant = variant;
        e.experiment = experiment;
        e.grade = grade;
        e.kind = kind;
        e.evidenceSummary = grade ? QStringLiteral("Оценка %1.").arg(*grade) : QString();
        insert(e);
        sent << e;
    }
    // Sends the row as the computer's login; the server skips it when it holds it already.
    void insert(const JournalEvent& e) {
        const auto text = [](const QString& s) -> QString {
            return QLatin1Char('\'') + QString(s).replace(QLatin1Char('\''), QStringLiteral("''")) +
                   QLatin1Char('\'');
        };
        const QString sql =
            QStringLiteral(
                "INSERT INTO reaktikum.journal (computer, journal_id, local_id, recorded_at,"
                " sitting, student_group, student_surname, variant, experiment, grade, event,"
                " evidence_summary) VALUES (%1, 'old', %2, %3, %4, %5, %6, %7, %8, %9, %10, %11)")
                .arg(text(e.computer))
                .arg(e.id)
                .arg(text(journalTimestamp(e.recordedAt)), text(e.sitting), text(e.group),
                     text(e.surname))
                .arg(e.variant)
                .arg(e.experiment > 0 ? QString::number(e.experiment) : QStringLiteral("NULL"),
                     e.grade ? QString::number(*e.grade) : QStringLiteral("NULL"),
                     text(eventName(e.kind)),
                     e.grade ? text(e.evidenceSummary) : QStringLiteral("NULL"));
        ASSERT_EQ(server->execAs(database, PostgresServer::computerUser(), sql), QString());
    }

    // A class of three computers and three groups over three days: this week's lesson through
    // the program, two older ones sent long ago, a sitting whose registration never arrived, a
    // sitting removed from the results window and a deletion of a student never registered.
    void fillClass() {
        struct Pupil {
            const char* computer;
            const char* group;
            const char* surname;
            int grades;
        };
        const Pupil pupils[] = {
            {"pc-31", "КРЛ-99-1", "Ларцев О.Е.", 2},  {"pc-32", "КРЛ-99-1", "Сумин Г.Д.", 4},
            {"pc-33", "КРЛ-99-2", "Ершова Л.М.", 3},  {"pc-31", "КРЛ-99-2", "Белов А.А.", 1},
            {"pc-32", "КРЛ-98-1", "Громова В.В.", 4},
        };
        for (const Pupil& p : pupils) {
            auto& pc = computers[QString::fromUtf8(p.computer)];
            if (!pc) pc = computer(QString::fromUtf8(p.computer));
            QString sitting;
            pc->registered(sitting, QString::fromUtf8(p.group), QString::fromUtf8(p.surname), 1);
            for (int k = 1; k <= p.grades; ++k)
                pc->graded(sitting, QString::fromUtf8(p.group), QString::fromUtf8(p.surname), 1, k,
                           2.5 + k * 0.5);
        }
        // Removed from the results window after its grades.
        QString removed;
        auto& pc = computers[QStringLiteral("pc-33")];
        pc->registered(removed, QStringLiteral("КРЛ-98-1"), QStringLiteral("Зотов К.К."), 4);
        pc->graded(removed, QStringLiteral("КРЛ-98-1"), QStringLiteral("Зотов К.К."), 4, 1, 5);
        pc->deleted(removed, QStringLiteral("КРЛ-98-1"), QStringLiteral("Зотов К.К."), 4);
        for (auto& [name, journal] : computers) {
            ASSERT_TRUE(journal->server()->waitUntilSent(20000)) << name.toStdString();
            sent += journal->local().events();
        }

        const QDateTime monday(QDate(2025, 3, 3), QTime(9, 0), Qt::UTC);
        const QDateTime friday(QDate(2025, 3, 7), QTime(9, 0), Qt::UTC);
        using K = JournalEventKind;
        sendOld("pc-31", "old-1", "КРЛ-99-1", "Ларцев О.Е.", K::Registered, monday);
        sendOld("pc-31", "old-1", "КРЛ-99-1", "Ларцев О.Е.", K::Graded, monday.addSecs(60), 1,
                3.5f);
        sendOld("pc-32", "old-2", "КРЛ-99-2", "Ершова Л.М.", K::Registered, friday);
        sendOld("pc-32", "old-2", "КРЛ-99-2", "Ершова Л.М.", K::Graded, friday.addSecs(90), 2,
                4.5f);
        sendOld("pc-32", "old-2", "КРЛ-99-2", "Ершова Л.М.", K::Graded, friday.addSecs(95), 2,
                5.0f);
        // The registration of this one never reached the server.
        sendOld("pc-33", "old-3", "КРЛ-98-1", "Громова В.В.", K::Graded, friday.addSecs(30), 3,
                4.0f);
        // A student deleted who was never registered here: no sitting to list.
        sendOld("pc-33", "old-4", "КРЛ-98-1", "Никто Н.Н.", K::Deleted, friday.addSecs(40));
        arriveOutOfOrder();
    }

    // Rows that reach the server after rows recorded later than they were: a grade, a variant
    // and a first row that each lose to what was recorded last (or first), and a row sent again.
    void arriveOutOfOrder() {
        const QDateTime monday(QDate(2025, 3, 3), QTime(9, 0), Qt::UTC);
        const QDateTime friday(QDate(2025, 3, 7), QTime(9, 0), Qt::UTC);
        using K = JournalEventKind;
        sendOld("pc-32", "old-2", "КРЛ-99-2", "Ершова Л.М.", K::Graded, friday.addSecs(92), 2,
                3.0f);
        sendOld("pc-31", "old-1", "КРЛ-99-1", "Ларцев О.Е.", K::Graded, monday.addSecs(120), 4,
                4.0f, 5);
        sendOld("pc-31", "old-1", "КРЛ-99-1", "Ларцев О.Е.", K::Graded, monday.addSecs(90), 4, 2.0f,
                3);
        // Entered under another spelling before the registration: the first row names the
        // student.
        sendOld("pc-31", "old-1", "КРЛ-99-1", "Ларцев Олег", K::Entered, monday.addSecs(-60), 1);
        // The same grade of the sitting without registration twice: one counts, the resent row
        // changes nothing.
        sendOld("pc-33", "old-3", "КРЛ-98-1", "Громова В.В.", K::Graded, friday.addSecs(20), 3,
                3.5f);
        insert(sent.last());
        // Removed from the results window before its last grade arrived.
        sendOld("pc-31", "old-5", "КРЛ-99-1", "Лунин П.П.", K::Registered, monday.addSecs(300));
        sendOld("pc-31", "old-5", "КРЛ-99-1", "Лунин П.П.", K::Deleted, monday.addSecs(400));
        sendOld("pc-31", "old-5", "КРЛ-99-1", "Лунин П.П.", K::Graded, monday.addSecs(350), 1,
                4.5f);
    }

    // What the view showed when it read every row and filtered them itself.
    QList<SittingRow> expected(const SittingFilter& filter) const {
        return filterSittings(summariseSittings(sent), filter);
    }

    // Scrolls the table to its end, page by page, as the teacher would.
    static void scrollToEnd(JournalWindow& window) {
        for (int guard = 0; guard < 100 && window.rows->hasMore(); ++guard) {
            window.table->scrollToBottom();
            if (!window.rows->isFetching()) window.rows->fetchMore({});
            QElapsedTimer waited;
            waited.start();
            while (window.rows->isFetching() && waited.elapsed() < 20000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
    }

    // The sittings as the files and papers read them: summarised by the server.
    std::optional<QList<SittingRow>> summarised(const SittingFilter& filter) {
        QWidget parent;
        SittingCollector collector(&parent);
        SittingQuery query;
        query.filter = filter;
        query.withEvidence = false;
        const auto rows = collector.collect(
            server->settings(database), PostgresServer::teacherUser(),
            PostgresServer::passwordOf(PostgresServer::teacherUser()), query, QStringLiteral("…"));
        EXPECT_TRUE(rows) << collector.fault().toStdString();
        return rows;
    }

    std::map<QString, std::unique_ptr<ClassJournal>> computers;
    JournalEvents sent;
};

// The filters the teacher may set, alone and together; some leave nothing.
struct FilterCase {
    QString group;
    QString computer;
    QDate from, to;
    SittingFilter filter() const { return {group, computer, from, to}; }
    std::string name() const {
        return QString(group + QLatin1Char('/') + computer + QLatin1Char('/') +
                       from.toString(Qt::ISODate) + QLatin1Char('/') + to.toString(Qt::ISODate))
            .toStdString();
    }
};

std::vector<FilterCase> filterCases() {
    const QDate today = QDate::currentDate();
    const QDate friday(2025, 3, 7);
    return {
        {"КРЛ-99-1", {}, {}, {}},      {"КРЛ-99-2", {}, {}, {}},
        {"КРЛ-98-1", {}, {}, {}},      {{}, "pc-32", {}, {}},
        {"КРЛ-99-2", "pc-32", {}, {}}, {{}, {}, friday, friday},
        {{}, {}, friday, {}},          {{}, {}, {}, friday},
        {{}, {}, today, today},        {"КРЛ-98-1", "pc-33", friday, today},
        {"КРЛ-99-1", "pc-33", {}, {}},
    };
}

// The fields the teacher reads in a row, the evidence's sentences with them.
std::string describe(const QList<SittingRow>& rows) {
    std::string out;
    for (const SittingRow& r : rows) {
        out += QString(journalTimestamp(r.registeredAt) + QLatin1Char(' ') + r.computer +
                       QLatin1Char(' ') + r.group + QLatin1Char(' ') + r.surname +
                       QStringLiteral(" v%1").arg(r.variant) + (r.deleted ? " удалён" : ""))
                   .toStdString();
        for (std::size_t k = 0; k < 4; ++k)
            out += " " +
                   (r.grades[k] ? QString::number(*r.grades[k]).toStdString() : std::string("-")) +
                   "[" + r.evidenceSummaries[k].toStdString() + "]";
        out += "\n";
    }
    return out;
}

TEST_F(ServerTeacherViewTest, TheServersFiltersShowWhatTheViewShowedWhenItFilteredEveryRow) {
    fillClass();
    JournalWindow window(computers[QStringLiteral("pc-31")].get());
    window.pageSize = 2;
    // A table one row high: a view with room to spare fetches the next page on its own, as
    // soon as it has laid itself out, and the first page would not stay alone.
    window.table->setFixedHeight(window.table->horizontalHeader()->sizeHint().height() +
                                 window.table->verticalHeader()->defaultSectionSize() +
                                 2 * window.table->frameWidth());
    loginAsTeacher(window, PostgresServer::teacherUser(),
                   PostgresServer::passwordOf(PostgresServer::teacherUser()));
    ASSERT_TRUE(window.faultLine->text().isEmpty()) << window.faultLine->text().toStdString();

    // The choices of the filters are every group and computer of the class.
    QStringList groups, computersShown;
    for (int i = 1; i < window.groupFilter->count(); ++i) groups << window.groupFilter->itemText(i);
    for (int i = 1; i < window.computerFilter->count(); ++i)
        computersShown << window.computerFilter->itemText(i);
    EXPECT_EQ(groups, (QStringList{"КРЛ-98-1", "КРЛ-99-1", "КРЛ-99-2"}));
    EXPECT_EQ(computersShown, (QStringList{"pc-31", "pc-32", "pc-33"}));

    // A page at a time: two sittings now, the rest as the table is scrolled.
    EXPECT_EQ(rowCountOf(window.table), 2);
    EXPECT_TRUE(window.rows->hasMore());
    scrollToEnd(window);
    EXPECT_EQ(describe(window.shownRows()), describe(expected({})));
    EXPECT_EQ(rowCountOf(window.table), 10);

    for (const FilterCase& c : filterCases()) {
        SCOPED_TRACE(c.name());
        window.groupFilter->setCurrentIndex(
            c.group.isEmpty() ? 0 : window.groupFilter->findText(c.group));
        window.computerFilter->setCurrentIndex(
            c.computer.isEmpty() ? 0 : window.computerFilter->findText(c.computer));
        window.fromDate->setDate(c.from.isValid() ? c.from : window.fromDate->minimumDate());
        window.toDate->setDate(c.to.isValid() ? c.to : window.toDate->minimumDate());
        waitLoaded(window);
        scrollToEnd(window);
        const SittingFilter filter = c.filter();
        EXPECT_EQ(describe(window.shownRows()), describe(expected(filter)));
        // The files and papers read the server's summaries of the same sittings.
        EXPECT_EQ(describe(summarised(filter).value_or(QList<SittingRow>{})),
                  describe(expected(filter)));
        ASSERT_EQ(rowCountOf(window.table), expected(filter).size());
        // The table shows the rows read, struck through where removed.
        for (int r = 0; r < rowCountOf(window.table); ++r) {
            EXPECT_EQ(cellText(window.table, r, 3), window.shownRows()[r].surname);
            EXPECT_EQ(cellStruckOut(window.table, r, 3), window.shownRows()[r].deleted);
        }
    }
}

TEST_F(ServerTeacherViewTest, AnExportTakesEverySittingAndOneCancelledLeavesTheFileAsItWas) {
    fillClass();
    // More sittings than the table has room for: it reads only the pages it shows.
    const QDateTime lastYear(QDate(2024, 9, 2), QTime(8, 0), Qt::UTC);
    for (int i = 0; i < 30; ++i)
        sendOld("pc-34", QStringLiteral("year-%1").arg(i), "КРЛ-97-1",
                QStringLiteral("Ученик %1").arg(i), JournalEventKind::Graded, lastYear.addDays(i),
                1 + i % 4, 3.0f + float(i % 3));
    JournalWindow window(computers[QStringLiteral("pc-31")].get());
    window.pageSize = 1;
    loginAsTeacher(window, PostgresServer::teacherUser(),
                   PostgresServer::passwordOf(PostgresServer::teacherUser()));
    ASSERT_TRUE(window.rows->hasMore());
    ASSERT_LT(rowCountOf(window.table), 20);

    // Every sitting goes to the file, not only the page in the table.
    const QString path = dir.filePath(QStringLiteral("Журнал класса.csv"));
    ASSERT_TRUE(window.exportTo(path)) << window.faultLine->text().toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray exported = file.readAll();
    file.close();
    EXPECT_EQ(exported, sittingsCsv(expected({})));
    EXPECT_EQ(exported.count("\r\n"), 1 + 40);
    EXPECT_LT(rowCountOf(window.table), 20);

    // So do the gradebook file and the class sheet's students.
    const QString moodle = dir.filePath(QStringLiteral("moodle.csv"));
    ASSERT_TRUE(window.exportMoodleTo(moodle));
    QFile moodleFile(moodle);
    ASSERT_TRUE(moodleFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(moodleFile.readAll(), moodleGradesCsv(gradesByStudent(expected({}))));

    // The teacher cancels the next export while it reads: the earlier file stays as it was,
    // no other file appears, and nothing is reported as a fault.
    const auto clickCancel = [&window] {
        QTimer::singleShot(0, &window, [&window] {
            auto* progress = window.findChild<QProgressDialog*>();
            ASSERT_NE(progress, nullptr);
            EXPECT_EQ(progress->labelText(), QStringLiteral("Экспорт…"));
            auto* cancel = progress->findChild<QPushButton*>();
            ASSERT_NE(cancel, nullptr);
            EXPECT_EQ(cancel->text(), QStringLiteral("Отмена"));
            cancel->click();
        });
    };
    clickCancel();
    EXPECT_FALSE(window.exportTo(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), exported);
    file.close();
    clickCancel();
    const QString fresh = dir.filePath(QStringLiteral("Новый.csv"));
    EXPECT_FALSE(window.exportTo(fresh));
    EXPECT_FALSE(QFile::exists(fresh));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(".csv").size(), 2);
    EXPECT_TRUE(window.faultLine->text().isEmpty()) << window.faultLine->text().toStdString();
}

// A server set up before the sittings' summaries were kept: setup.sql run again fills them from
// the journal, and rows arriving after it keep them.
TEST_F(ServerTeacherViewTest, SetupRunAgainOverAnEarlierServerSummarisesItsSittings) {
    fillClass();
    ASSERT_TRUE(server->adminExec(
        QStringLiteral("ALTER TABLE reaktikum.sittings DROP COLUMN surname, DROP COLUMN variant,"
                       " DROP COLUMN variant_at, DROP COLUMN variant_row, DROP COLUMN grades,"
                       " DROP COLUMN summaries, DROP COLUMN graded_at, DROP COLUMN graded_rows,"
                       " DROP COLUMN deleted"),
        database));
    ASSERT_TRUE(server->runSetup(database)) << server->error().toStdString();
    for (const FilterCase& c : filterCases()) {
        SCOPED_TRACE(c.name());
        EXPECT_EQ(describe(summarised(c.filter()).value_or(QList<SittingRow>{})),
                  describe(expected(c.filter())));
    }
    EXPECT_EQ(describe(summarised({}).value_or(QList<SittingRow>{})), describe(expected({})));

    // Run again over its own columns it changes nothing; rows sent afterwards count as before.
    ASSERT_TRUE(server->runSetup(database)) << server->error().toStdString();
    const QDateTime friday(QDate(2025, 3, 7), QTime(9, 0), Qt::UTC);
    sendOld("pc-32", "old-2", "КРЛ-99-2", "Ершова Л.М.", JournalEventKind::Graded,
            friday.addSecs(200), 2, 2.5f, 6);
    sendOld("pc-32", "old-2", "КРЛ-99-2", "Ершова Л.М.", JournalEventKind::Graded,
            friday.addSecs(100), 1, 3.0f, 4);
    sendOld("pc-32", "old-2", "КРЛ-99-2", "Ершова Л.М.", JournalEventKind::DeletedAll,
            friday.addSecs(300));
    insert(sent.last());
    EXPECT_EQ(describe(summarised({}).value_or(QList<SittingRow>{})), describe(expected({})));
}

}  // namespace
