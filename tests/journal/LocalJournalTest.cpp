// The journal on this computer: every registration, grade and deletion the results store makes
// lands in journal.sqlite; the schema and its upgrade from the first version; a corrupt, locked
// or read-only file costs the student nothing; a killed process leaves whole rows.

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include "QtPrinting.h"
#include "TestSupport.h"
#include "journal/ClassJournal.h"
#include "journal/JournalSettings.h"
#include "journal/JournalWindow.h"
#include "journal/LocalJournal.h"
#include "lab/ProgramDir.h"
#include "lab/Session.h"

namespace {

// A second, independent connection to the file, as another program would hold.
class RawConnection {
public:
    explicit RawConnection(const QString& path, const QString& name = QStringLiteral("raw"))
        : name_(name) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        db.open();
    }
    ~RawConnection() {
        QSqlDatabase::database(name_, false).close();
        QSqlDatabase::removeDatabase(name_);
    }
    bool exec(const QString& sql) { return QSqlQuery(QSqlDatabase::database(name_)).exec(sql); }
    QVariant scalar(const QString& sql) {
        QSqlQuery q(QSqlDatabase::database(name_));
        return q.exec(sql) && q.next() ? q.value(0) : QVariant();
    }

private:
    QString name_;
};

class LocalJournalTest : public LabTest {
protected:
    void SetUp() override {
        LabTest::SetUp();
        path = journalFilePath();
    }
    void TearDown() override {
        setSessionJournal(nullptr);
        classJournal.reset();
        LabTest::TearDown();
    }
    void install() {
        classJournal =
            std::make_unique<ClassJournal>(path, ServerSettings{}, QStringLiteral("pc-11"));
        setSessionJournal(classJournal.get());
    }

    QString path;
    std::unique_ptr<ClassJournal> classJournal;
};

TEST_F(LocalJournalTest, EveryEventOfTheResultsStoreIsWrittenBesideTheResultsFile) {
    ASSERT_FALSE(QFile::exists(path));
    install();
    // A missing journal is created by the first event, not before.
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(QFileInfo(path).absolutePath(),
              QFileInfo(tree->path(QStringLiteral("BDStudent.rez"))).absolutePath());

    session().setVariant(4);
    // Two students of the same name: each grade goes to its own registration.
    ASSERT_TRUE(
        session().registerStudent(QStringLiteral("КРЛ-99-1"), QStringLiteral("Ларцев О.Е.")));
    EXPECT_TRUE(QFile::exists(path));
    session().recordGrade(2, 4.5);
    ASSERT_TRUE(
        session().registerStudent(QStringLiteral("КРЛ-99-1"), QStringLiteral("Ларцев О.Е.")));
    session().recordGrade(3, 4.3);
    ASSERT_TRUE(
        session().registerStudent(QStringLiteral("КРЛ-99-2"), QStringLiteral("Сумин Г.Д.")));
    ASSERT_TRUE(session().deleteStudent(1));
    ASSERT_TRUE(session().deleteAllStudents());
    EXPECT_TRUE(messages->texts().isEmpty());

    const JournalEvents rows = classJournal->local().events();
    ASSERT_EQ(rows.size(), 8);
    const QStringList kinds = [&] {
        QStringList k;
        for (const auto& e : rows) k << eventName(e.kind);
        return k;
    }();
    EXPECT_EQ(kinds, (QStringList{"registered", "graded", "registered", "graded", "registered",
                                  "deleted", "deleted_all", "deleted_all"}));
    for (const auto& e : rows) {
        EXPECT_EQ(e.computer, QStringLiteral("pc-11"));
        EXPECT_EQ(e.variant, 4);
        EXPECT_FALSE(e.sitting.isEmpty());
        EXPECT_LE(qAbs(e.recordedAt.secsTo(QDateTime::currentDateTimeUtc())), 60);
    }
    EXPECT_NE(rows[0].sitting, rows[2].sitting);
    EXPECT_EQ(rows[1].sitting, rows[0].sitting);
    EXPECT_EQ(rows[3].sitting, rows[2].sitting);
    EXPECT_EQ(rows[1].experiment, 2);
    EXPECT_EQ(rows[1].grade, 4.5f);
    EXPECT_EQ(rows[3].grade, 4.3f);
    EXPECT_FALSE(rows[0].grade.has_value());
    // Deleting the first student names the first sitting; emptying names the two left.
    EXPECT_EQ(rows[5].sitting, rows[0].sitting);
    EXPECT_EQ(rows[6].sitting, rows[2].sitting);
    EXPECT_EQ(rows[7].sitting, rows[4].sitting);
    EXPECT_EQ(rows[7].surname, QStringLiteral("Сумин Г.Д."));

    // The stored text is what other programs read: UTC ending in Z, the event words.
    RawConnection raw(path);
    EXPECT_TRUE(raw.scalar(QStringLiteral("SELECT recorded_at FROM journal WHERE id = 1"))
                    .toString()
                    .endsWith(QLatin1Char('Z')));
    EXPECT_EQ(raw.scalar(QStringLiteral("SELECT count(*) FROM journal WHERE experiment IS NULL "
                                        "AND grade IS NULL"))
                  .toInt(),
              6);
}

TEST_F(LocalJournalTest, AStudentReloadedFromTheResultsFileIsFoundByName) {
    install();
    ASSERT_TRUE(
        session().registerStudent(QStringLiteral("КРЛ-99-1"), QStringLiteral("Иванова А.Б.")));
    // The results window reloads the table from the results file, which keeps no sitting.
    ASSERT_TRUE(results().load());
    session().recordGrade(4, 5);
    const JournalEvents rows = classJournal->local().events();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1].sitting, rows[0].sitting);
}

TEST_F(LocalJournalTest, TheSchemaCarriesItsVersionAndTheFileUsesWriteAheadLogging) {
    install();
    ASSERT_TRUE(
        session().registerStudent(QStringLiteral("КРЛ-99-1"), QStringLiteral("Ларцев О.Е.")));
    RawConnection raw(path);
    EXPECT_EQ(raw.scalar(QStringLiteral("SELECT version FROM schema_version")).toInt(),
              LocalJournal::schemaVersion);
    EXPECT_EQ(raw.scalar(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
    EXPECT_EQ(
        raw.scalar(QStringLiteral("SELECT group_concat(name, ',') FROM "
                                  "(SELECT name FROM pragma_table_info('journal') ORDER BY cid)"))
            .toString(),
        QStringLiteral("id,recorded_at,computer,sitting,student_group,student_surname,"
                       "variant,experiment,grade,event,evidence,evidence_summary"));
    // The file refuses what no event can be.
    EXPECT_FALSE(raw.exec(QStringLiteral(
        "INSERT INTO journal (recorded_at, computer, sitting, student_group, student_surname, "
        "variant, event) VALUES ('x', 'pc', 's', 'g', 'n', 7, 'registered')")));
    EXPECT_FALSE(raw.exec(QStringLiteral(
        "INSERT INTO journal (recorded_at, computer, sitting, student_group, student_surname, "
        "event) VALUES ('x', 'pc', 's', 'g', 'n', 'erased')")));
}

TEST_F(LocalJournalTest, AFileOfTheFirstVersionIsBroughtUpKeepingItsRows) {
    {
        RawConnection raw(path);
        ASSERT_TRUE(
            raw.exec(QStringLiteral("CREATE TABLE schema_version (version INTEGER NOT NULL)")));
        ASSERT_TRUE(raw.exec(QStringLiteral("INSERT INTO schema_version VALUES (1)")));
        ASSERT_TRUE(raw.exec(QStringLiteral(
            "CREATE TABLE journal (id INTEGER PRIMARY KEY AUTOINCREMENT, recorded_at TEXT NOT NULL,"
            " computer TEXT NOT NULL, sitting TEXT NOT NULL, student_group TEXT NOT NULL,"
            " student_surname TEXT NOT NULL, variant INTEGER, experiment INTEGER, grade REAL,"
            " event TEXT NOT NULL)")));
        ASSERT_TRUE(raw.exec(QStringLiteral(
            "INSERT INTO journal (recorded_at, computer, sitting, student_group, student_surname,"
            " variant, experiment, grade, event) VALUES ('2024-03-01T08:15:00.000Z', 'pc-11',"
            " 'old', 'КРЛ-99-2', 'Сумин Г.Д.', 2, 3, 4.5, 'graded')")));
    }
    install();
    ASSERT_EQ(classJournal->local().state(), LocalJournal::State::Ready);
    EXPECT_EQ(classJournal->local().storedSchemaVersion(), LocalJournal::schemaVersion);
    JournalEvents rows = classJournal->local().events();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].surname, QStringLiteral("Сумин Г.Д."));
    EXPECT_EQ(rows[0].recordedAt, QDateTime(QDate(2024, 3, 1), QTime(8, 15), Qt::UTC));
    // The old row has not been to a server yet; new rows follow it.
    EXPECT_EQ(classJournal->local().unsentCount(), 1);
    QString sitting;
    classJournal->graded(sitting, QStringLiteral("КРЛ-99-2"), QStringLiteral("Сумин Г.Д."), 3, 4,
                         5);
    EXPECT_EQ(sitting, QStringLiteral("old"));
    EXPECT_EQ(classJournal->local().events().size(), 2);
    // The upgraded file got an id of its own, which the server keys its rows by.
    EXPECT_EQ(classJournal->local().journalId().size(), 32);
}

// A file of version 3, as the program wrote it before grades kept their evidence: brought up,
// its rows, id and upload mark kept; new grades carry their evidence, old ones stay without.
// Read-only, it is shown as it is.
TEST_F(LocalJournalTest, AFileOfTheThirdVersionGainsTheEvidenceColumnsKeepingItsRows) {
    const auto writeVersion3 = [](const QString& file) {
        RawConnection raw(file, QStringLiteral("v3"));
        for (const char* sql : {
                 "CREATE TABLE schema_version (version INTEGER NOT NULL)",
                 "INSERT INTO schema_version (version) VALUES (3)",
                 "CREATE TABLE journal (id INTEGER PRIMARY KEY AUTOINCREMENT,"
                 " recorded_at TEXT NOT NULL, computer TEXT NOT NULL, sitting TEXT NOT NULL,"
                 " student_group TEXT NOT NULL, student_surname TEXT NOT NULL,"
                 " variant INTEGER CHECK (variant BETWEEN 1 AND 6),"
                 " experiment INTEGER CHECK (experiment BETWEEN 1 AND 4), grade REAL,"
                 " event TEXT NOT NULL CHECK (event IN ('registered', 'graded', 'deleted',"
                 " 'deleted_all')))",
                 "CREATE TABLE server_upload (only INTEGER PRIMARY KEY CHECK (only = 1),"
                 " sent_through INTEGER NOT NULL)",
                 "INSERT INTO server_upload (only, sent_through) VALUES (1, 1)",
                 "CREATE INDEX journal_student ON journal (computer, student_group,"
                 " student_surname)",
                 "CREATE TABLE journal_identity (only INTEGER PRIMARY KEY CHECK (only = 1),"
                 " journal_id TEXT NOT NULL)",
                 "INSERT INTO journal_identity (only, journal_id) VALUES (1, "
                 "'0123456789abcdef0123456789abcdef')",
                 "INSERT INTO journal (recorded_at, computer, sitting, student_group,"
                 " student_surname, variant, experiment, grade, event) VALUES"
                 " ('2024-03-01T08:00:00.000Z', 'pc-11', 'old', 'КРЛ-99-2', 'Сумин Г.Д.', 2,"
                 " NULL, NULL, 'registered')",
                 "INSERT INTO journal (recorded_at, computer, sitting, student_group,"
                 " student_surname, variant, experiment, grade, event) VALUES"
                 " ('2024-03-01T08:15:00.000Z', 'pc-11', 'old', 'КРЛ-99-2', 'Сумин Г.Д.', 2, 3,"
                 " 2.5, 'graded')",
             })
            ASSERT_TRUE(raw.exec(QString::fromUtf8(sql))) << sql;
    };

    // Read-only at version 3: its rows are read without the columns it lacks.
    const QString readOnlyPath =
        QFileInfo(path).absoluteDir().filePath(QStringLiteral("read-only.sqlite"));
    writeVersion3(readOnlyPath);
    ASSERT_EQ(::chmod(QFile::encodeName(readOnlyPath).constData(), 0444), 0);
    {
        LocalJournal readOnly(readOnlyPath);
        EXPECT_FALSE(readOnly.open());
        EXPECT_EQ(readOnly.state(), LocalJournal::State::ReadOnly);
        const JournalEvents rows = readOnly.events();
        ASSERT_EQ(rows.size(), 2);
        EXPECT_EQ(rows[1].grade, 2.5f);
        EXPECT_TRUE(rows[1].evidence.isEmpty());
    }
    ::chmod(QFile::encodeName(readOnlyPath).constData(), 0644);

    writeVersion3(path);
    install();
    QString sitting;
    GradeEvidence evidence;
    evidence.experiment = 3;
    evidence.grade = 5;
    evidence.summary = QStringLiteral("Верный ответ выбран сразу: 5 баллов.");
    classJournal->graded(sitting, QStringLiteral("КРЛ-99-2"), QStringLiteral("Сумин Г.Д."), 2, 3, 5,
                         evidence);
    EXPECT_EQ(sitting, QStringLiteral("old"));
    ASSERT_EQ(classJournal->local().state(), LocalJournal::State::Ready);
    EXPECT_EQ(classJournal->local().storedSchemaVersion(), LocalJournal::schemaVersion);
    EXPECT_EQ(classJournal->local().journalId(),
              QStringLiteral("0123456789abcdef0123456789abcdef"));
    EXPECT_EQ(classJournal->local().sentThrough(), 1);

    const JournalEvents rows = classJournal->local().events();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[1].grade, 2.5f);
    EXPECT_TRUE(rows[1].evidence.isEmpty());
    EXPECT_TRUE(rows[1].evidenceSummary.isEmpty());
    EXPECT_EQ(rows[2].evidenceSummary, evidence.summary);
    EXPECT_EQ(GradeEvidence::fromJson(rows[2].evidence), evidence);
    // What the server link sends next carries the evidence too.
    const JournalEvents unsent = classJournal->local().unsentEvents(10);
    ASSERT_EQ(unsent.size(), 2);
    EXPECT_EQ(unsent[1].evidenceSummary, evidence.summary);
    // The old row keeps SQL NULL, not an empty text, so other programs tell "none" apart.
    RawConnection raw(path);
    EXPECT_EQ(
        raw.scalar(QStringLiteral("SELECT count(*) FROM journal WHERE evidence IS NULL")).toInt(),
        2);
}

// A file of version 4, whose event column knows no entering of an experiment: the table is
// made again with the same rows, ids, upload mark and id, and the next row continues the
// sequence where the old table left it (ids are the keys the server holds rows by).
TEST_F(LocalJournalTest, AFileOfTheFourthVersionLearnsEntriesKeepingIdsAndSequence) {
    {
        RawConnection raw(path, QStringLiteral("v4"));
        for (const char* sql : {
                 "CREATE TABLE schema_version (version INTEGER NOT NULL)",
                 "INSERT INTO schema_version (version) VALUES (4)",
                 "CREATE TABLE journal (id INTEGER PRIMARY KEY AUTOINCREMENT,"
                 " recorded_at TEXT NOT NULL, computer TEXT NOT NULL, sitting TEXT NOT NULL,"
                 " student_group TEXT NOT NULL, student_surname TEXT NOT NULL,"
                 " variant INTEGER CHECK (variant BETWEEN 1 AND 6),"
                 " experiment INTEGER CHECK (experiment BETWEEN 1 AND 4), grade REAL,"
                 " event TEXT NOT NULL CHECK (event IN ('registered', 'graded', 'deleted',"
                 " 'deleted_all')), evidence TEXT, evidence_summary TEXT)",
                 "CREATE TABLE server_upload (only INTEGER PRIMARY KEY CHECK (only = 1),"
                 " sent_through INTEGER NOT NULL)",
                 "INSERT INTO server_upload (only, sent_through) VALUES (1, 4)",
                 "CREATE INDEX journal_student ON journal (computer, student_group,"
                 " student_surname)",
                 "CREATE TABLE journal_identity (only INTEGER PRIMARY KEY CHECK (only = 1),"
                 " journal_id TEXT NOT NULL)",
                 "INSERT INTO journal_identity (only, journal_id) VALUES (1, "
                 "'fedcba9876543210fedcba9876543210')",
                 "INSERT INTO journal VALUES (2, '2024-03-01T08:00:00.000Z', 'pc-11', 'old',"
                 " 'КРЛ-99-2', 'Сумин Г.Д.', 2, NULL, NULL, 'registered', NULL, NULL)",
                 "INSERT INTO journal VALUES (4, '2024-03-01T08:15:00.000Z', 'pc-11', 'old',"
                 " 'КРЛ-99-2', 'Сумин Г.Д.', 2, 3, 2.5, 'graded', '{}', 'Со второй попытки.')",
                 // Rows 5 to 7 were taken once (a transaction of another program, say).
                 "UPDATE sqlite_sequence SET seq = 7 WHERE name = 'journal'",
             })
            ASSERT_TRUE(raw.exec(QString::fromUtf8(sql))) << sql;
    }
    install();
    QString sitting;
    classJournal->graded(sitting, QStringLiteral("КРЛ-99-2"), QStringLiteral("Сумин Г.Д."), 2, 4,
                         5);
    EXPECT_EQ(sitting, QStringLiteral("old"));
    ASSERT_EQ(classJournal->local().state(), LocalJournal::State::Ready);
    EXPECT_EQ(classJournal->local().storedSchemaVersion(), 5);
    EXPECT_EQ(classJournal->local().journalId(),
              QStringLiteral("fedcba9876543210fedcba9876543210"));
    EXPECT_EQ(classJournal->local().sentThrough(), 4);

    const JournalEvents rows = classJournal->local().events();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].id, 2);
    EXPECT_EQ(rows[1].id, 4);
    EXPECT_EQ(rows[1].grade, 2.5f);
    EXPECT_EQ(rows[1].evidenceSummary, QStringLiteral("Со второй попытки."));
    EXPECT_EQ(rows[2].id, 8);
    EXPECT_EQ(rows[2].grade, 5.0f);
    EXPECT_EQ(classJournal->local().unsentEvents(10).size(), 1);

    RawConnection raw(path);
    // The lookup of a student's sitting keeps its index; the file still refuses a made-up event.
    EXPECT_EQ(raw.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index'"
                                        " AND name = 'journal_student' AND tbl_name = 'journal'"))
                  .toInt(),
              1);
    EXPECT_EQ(raw.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name LIKE "
                                        "'journal_v%'"))
                  .toInt(),
              0);
    EXPECT_FALSE(raw.exec(QStringLiteral(
        "INSERT INTO journal (recorded_at, computer, sitting, student_group, student_surname, "
        "event) VALUES ('x', 'pc', 's', 'g', 'n', 'erased')")));
    EXPECT_TRUE(raw.exec(QStringLiteral(
        "INSERT INTO journal (recorded_at, computer, sitting, student_group, student_surname, "
        "experiment, event) VALUES ('x', 'pc', 's', 'g', 'n', 4, 'entered')")));
    EXPECT_FALSE(raw.exec(QStringLiteral(
        "INSERT INTO journal (recorded_at, computer, sitting, student_group, student_surname, "
        "experiment, event) VALUES ('x', 'pc', 's', 'g', 'n', 5, 'entered')")));
}

TEST_F(LocalJournalTest, EveryJournalFileHasItsOwnIdThatItKeeps) {
    const QDir dir = QFileInfo(path).absoluteDir();
    QString first, second;
    {
        LocalJournal file(dir.filePath(QStringLiteral("first.sqlite")));
        ASSERT_TRUE(file.open());
        first = file.journalId();
    }
    {
        LocalJournal file(dir.filePath(QStringLiteral("second.sqlite")));
        ASSERT_TRUE(file.open());
        second = file.journalId();
    }
    EXPECT_EQ(first.size(), 32);
    EXPECT_NE(first, second);
    LocalJournal reopened(dir.filePath(QStringLiteral("first.sqlite")));
    ASSERT_TRUE(reopened.open());
    EXPECT_EQ(reopened.journalId(), first);
}

// The three files the student must never hear about: grades still reach the results file, and
// the teacher's view says what is wrong. A corrupt file is kept aside, byte for byte, under a
// name that says when, and a fresh journal takes the lesson's events.
TEST_F(LocalJournalTest, CorruptLockedOrReadOnlyFilesAreToldToTheTeacherOnly) {
    const QByteArray garbage = QByteArray("not a journal at all ").repeated(300);
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(garbage);
    }
    install();
    ASSERT_TRUE(
        session().registerStudent(QStringLiteral("КРЛ-99-1"), QStringLiteral("Ларцев О.Е.")));
    session().recordGrade(1, 5);
    EXPECT_TRUE(messages->texts().isEmpty());
    EXPECT_EQ(tree->read(QStringLiteral("BDStudent.rez")).size(), StudentBlockSize);
    EXPECT_EQ(results().score(1, 1), 5.0f);
    const QDir folder = QFileInfo(path).absoluteDir();
    const QStringList aside = folder.entryList({QStringLiteral("journal.corrupt-*.sqlite")});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(^journal\.corrupt-\d{8}-\d{6}\.sqlite$)"))
                    .match(aside[0])
                    .hasMatch())
        << aside[0].toStdString();
    {
        QFile f(folder.filePath(aside[0]));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), garbage);
    }
    EXPECT_EQ(classJournal->local().state(), LocalJournal::State::Ready);
    EXPECT_EQ(classJournal->local().events().size(), 2);
    {
        JournalWindow window(classJournal.get());
        window.reload();
        EXPECT_EQ(window.faultLine->text().count(QStringLiteral("повреждён")), 1)
            << window.faultLine->text().toStdString();
        EXPECT_TRUE(window.faultLine->text().contains(aside[0]));
        EXPECT_EQ(window.shownRows().size(), 1);
        // Said once: the next showing has nothing more to say about it.
        window.reload();
        EXPECT_TRUE(window.faultLine->text().isEmpty()) << window.faultLine->text().toStdString();
    }

    // Read-only: the rows it holds are shown, nothing is added.
    setSessionJournal(nullptr);
    classJournal.reset();
    for (const QString& file : folder.entryList({QStringLiteral("journal*")}))
        QFile::remove(folder.filePath(file));
    install();
    ASSERT_TRUE(
        session().registerStudent(QStringLiteral("КРЛ-99-1"), QStringLiteral("Сумин Г.Д.")));
    setSessionJournal(nullptr);
    classJournal.reset();
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);
    install();
    session().recordGrade(2, 4);
    EXPECT_TRUE(messages->texts().isEmpty());
    EXPECT_EQ(results().score(results().count(), 2), 4.0f);
    {
        JournalWindow window(classJournal.get());
        window.reload();
        EXPECT_TRUE(window.faultLine->text().contains(QStringLiteral("только для чтения")));
        ASSERT_EQ(window.shownRows().size(), 1);
        EXPECT_FALSE(window.shownRows()[0].grades[1].has_value());
    }
    ::chmod(QFile::encodeName(path).constData(), 0644);

    // Locked by another program: the grade waits in memory and goes in with the next one.
    setSessionJournal(nullptr);
    classJournal.reset();
    install();
    {
        RawConnection other(path, QStringLiteral("other"));
        ASSERT_TRUE(other.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        session().recordGrade(3, 3.5);
        EXPECT_EQ(classJournal->heldEvents(), 1);
        JournalWindow window(classJournal.get());
        EXPECT_TRUE(classJournal->local().fault().contains(QStringLiteral("занят")));
        // A held event is one that waits: nothing reports it sent.
        EXPECT_EQ(classJournal->waitingEvents(), 1);
        EXPECT_FALSE(classJournal->waitUntilSent(300));
        ASSERT_TRUE(other.exec(QStringLiteral("ROLLBACK")));
    }
    EXPECT_TRUE(classJournal->waitUntilSent(10000));
    session().recordGrade(4, 3);
    EXPECT_EQ(classJournal->heldEvents(), 0);
    const JournalEvents rows = classJournal->local().events();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[1].experiment, 3);
    EXPECT_EQ(classJournal->waitingEvents(), 0);
    EXPECT_EQ(rows[2].experiment, 4);
    EXPECT_TRUE(classJournal->local().fault().isEmpty());
    EXPECT_TRUE(messages->texts().isEmpty());
}

// The journal's files are their owner's alone; a link planted at the place of the journal or
// of one of its side files is never opened or written through, and the teacher's view names it.
TEST_F(LocalJournalTest, JournalFilesAreTheOwnersOnlyAndLinksAreRefused) {
    install();
    ASSERT_TRUE(
        session().registerStudent(QStringLiteral("КРЛ-99-1"), QStringLiteral("Ларцев О.Е.")));
    for (const QString& file :
         QStringList{path, path + QStringLiteral("-wal"), path + QStringLiteral("-shm")}) {
        struct stat st {};
        ASSERT_EQ(::lstat(QFile::encodeName(file).constData(), &st), 0) << file.toStdString();
        EXPECT_EQ(st.st_mode & 0777, 0600u) << file.toStdString();
    }

    const QDir folder = QFileInfo(path).absoluteDir();
    const QString victim = folder.filePath(QStringLiteral("another-account.sqlite"));
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        SCOPED_TRACE(suffix);
        setSessionJournal(nullptr);
        classJournal.reset();
        for (const QString& file : folder.entryList({QStringLiteral("journal*")}))
            QFile::remove(folder.filePath(file));
        QFile::remove(victim);
        ASSERT_TRUE(QFile(victim).open(QIODevice::WriteOnly));
        const QString planted = path + QLatin1String(suffix);
        ASSERT_EQ(::symlink(QFile::encodeName(victim).constData(),
                            QFile::encodeName(planted).constData()),
                  0);
        install();
        ASSERT_TRUE(
            session().registerStudent(QStringLiteral("КРЛ-99-2"), QStringLiteral("Сумин Г.Д.")));
        EXPECT_EQ(QFileInfo(victim).size(), 0);
        EXPECT_TRUE(QFileInfo(planted).isSymLink());
        EXPECT_EQ(classJournal->local().state(), LocalJournal::State::Unusable);
        EXPECT_FALSE(classJournal->waitUntilSent(100));
        JournalWindow window(classJournal.get());
        window.reload();
        EXPECT_TRUE(window.faultLine->text().contains(planted))
            << window.faultLine->text().toStdString();
        EXPECT_TRUE(messages->texts().isEmpty());
    }
}

// Lets the program's timers run until the journal holds no event back, for at most ten
// seconds (the journal tries a held event again every second).
bool heldEventsWrittenInTime(const ClassJournal& journal) {
    QDeadlineTimer deadline(10000);
    while (journal.heldEvents() > 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return journal.heldEvents() == 0;
}

// Another program holding the file while the journal opens it: at the first read (a program
// that keeps the file locked for itself) and at the first schema step (a program in the middle
// of writing a new file). The teacher sees the file is busy; once it is free every event of
// the lesson is in it, without another event to carry it in.
TEST_F(LocalJournalTest, AFileBusyWhileTheJournalOpensGetsEveryEventOnceFree) {
    // A lesson begun earlier: the file is there, in write-ahead mode.
    install();
    ASSERT_TRUE(
        session().registerStudent(QStringLiteral("КРЛ-99-1"), QStringLiteral("Ларцев О.Е.")));
    setSessionJournal(nullptr);
    classJournal.reset();
    {
        RawConnection other(path, QStringLiteral("other"));
        ASSERT_TRUE(other.exec(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE")));
        ASSERT_TRUE(other.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        ASSERT_TRUE(other.exec(QStringLiteral("SELECT count(*) FROM journal")));
        install();
        session().recordGrade(1, 4.5);
        EXPECT_EQ(classJournal->heldEvents(), 1);
        JournalWindow window(classJournal.get());
        window.reload();
        EXPECT_TRUE(window.faultLine->text().contains(QStringLiteral("занят")))
            << window.faultLine->text().toStdString();
        ASSERT_TRUE(other.exec(QStringLiteral("COMMIT")));
    }
    ASSERT_TRUE(heldEventsWrittenInTime(*classJournal))
        << classJournal->local().fault().toStdString();
    JournalEvents rows = classJournal->local().events();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1].kind, JournalEventKind::Graded);
    EXPECT_EQ(rows[1].sitting, rows[0].sitting);
    EXPECT_EQ(rows[1].grade, 4.5f);
    {
        JournalWindow window(classJournal.get());
        window.reload();
        EXPECT_TRUE(window.faultLine->text().isEmpty()) << window.faultLine->text().toStdString();
        ASSERT_EQ(window.shownRows().size(), 1);
        EXPECT_EQ(window.shownRows()[0].grades[0], 4.5f);
    }

    // A new file another program is still writing: it holds the write lock the journal needs
    // to make its tables.
    setSessionJournal(nullptr);
    classJournal.reset();
    QFile::remove(path);
    {
        RawConnection other(path, QStringLiteral("other"));
        ASSERT_TRUE(other.exec(QStringLiteral("BEGIN IMMEDIATE")));
        install();
        ASSERT_TRUE(
            session().registerStudent(QStringLiteral("КРЛ-99-2"), QStringLiteral("Сумин Г.Д.")));
        EXPECT_EQ(classJournal->heldEvents(), 1);
        EXPECT_TRUE(classJournal->local().fault().contains(QStringLiteral("занят")));
        ASSERT_TRUE(other.exec(QStringLiteral("COMMIT")));
    }
    ASSERT_TRUE(heldEventsWrittenInTime(*classJournal))
        << classJournal->local().fault().toStdString();
    rows = classJournal->local().events();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].kind, JournalEventKind::Registered);
    EXPECT_EQ(rows[0].surname, QStringLiteral("Сумин Г.Д."));
    EXPECT_TRUE(messages->texts().isEmpty());
}

// Whether another program could lock the whole file for itself now, as one that closes the
// journal does before it takes the write-ahead log away: asked from a process of its own, since
// a process never sees its own locks.
bool anotherProgramCouldTakeTheFile(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    const pid_t child = ::fork();
    if (child == 0) {
        const int fd = ::open(native.constData(), O_RDWR);
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        lock.l_start = 0;
        lock.l_len = 0;  // the whole file, the lock bytes of every reader among it
        const bool free = fd >= 0 && ::fcntl(fd, F_GETLK, &lock) == 0 && lock.l_type == F_UNLCK;
        ::_exit(free ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

// The program opens its journal more than once (the window's connection, the server link's);
// one opening after another must not let the file go: another program that closes the journal
// meanwhile would take the log away with rows this program has yet to see through.
TEST_F(LocalJournalTest, ASecondOpeningKeepsTheFileLockedAgainstOtherPrograms) {
    LocalJournal first(path, 1000);
    JournalEvents events(1);
    events[0].recordedAt = QDateTime::currentDateTimeUtc();
    events[0].computer = QStringLiteral("pc-1");
    events[0].sitting = QStringLiteral("s-1");
    events[0].group = QStringLiteral("КРЛ-99-1");
    events[0].surname = QStringLiteral("Ларцев О.Е.");
    events[0].kind = JournalEventKind::Registered;
    ASSERT_TRUE(first.append(events)) << first.fault().toStdString();
    ASSERT_FALSE(anotherProgramCouldTakeTheFile(path));

    LocalJournal second(path, 1000);
    ASSERT_TRUE(second.open()) << second.fault().toStdString();
    EXPECT_FALSE(anotherProgramCouldTakeTheFile(path));
    EXPECT_EQ(second.events().size(), 1);
    EXPECT_FALSE(anotherProgramCouldTakeTheFile(path));
}

// A new journal appears whole: its tables are there the moment another program can see the
// file, and the draft it was made in goes. A draft left by a program stopped while it made one
// is cleared away once it is old; one another program is making right now is left alone.
TEST_F(LocalJournalTest, ANewJournalAppearsWholeAndLeavesNoDraftBehind) {
    const QString oldDraft = path + QStringLiteral(".new-0badf00d");
    const QString freshDraft = path + QStringLiteral(".new-00c0ffee");
    for (const QString& draft : {oldDraft, freshDraft}) {
        QFile f(draft);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    {
        QFile f(oldDraft);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                  QFileDevice::FileModificationTime));
    }
    LocalJournal journal(path, 1000);
    ASSERT_TRUE(journal.open()) << journal.fault().toStdString();
    EXPECT_EQ(journal.storedSchemaVersion(), 5);
    EXPECT_FALSE(journal.journalId().isEmpty());
    EXPECT_EQ(QFileInfo(path).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);
    {
        RawConnection other(path, QStringLiteral("other"));
        EXPECT_EQ(other.scalar(QStringLiteral("PRAGMA journal_mode")).toString(),
                  QStringLiteral("wal"));
        EXPECT_EQ(other.scalar(QStringLiteral("SELECT count(*) FROM journal")).toInt(), 0);
    }
    const QStringList left = QDir(QFileInfo(path).absolutePath())
                                 .entryList({QFileInfo(path).fileName() + QStringLiteral(".new-*")},
                                            QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, QStringList{QFileInfo(freshDraft).fileName()});
}

const char* loopVariable = "LAB_JOURNAL_WRITE_LOOP";

// Run only as the child of the test below: records grades for ever, one line per commit.
TEST(JournalWriteLoop, DISABLED_Child) {
    const QString file = qEnvironmentVariable(loopVariable);
    ASSERT_FALSE(file.isEmpty());
    ClassJournal journal(file, ServerSettings{}, QStringLiteral("pc-killed"));
    QString sitting;
    journal.registered(sitting, QStringLiteral("КРЛ-99-1"), QStringLiteral("Ларцев О.Е."), 3);
    for (int n = 0;; ++n) {
        journal.graded(sitting, QStringLiteral("КРЛ-99-1"), QStringLiteral("Ларцев О.Е."), 3,
                       1 + n % 4, 2 + n % 7 * 0.5);
        // Only a grade the file has taken counts as written.
        if (journal.heldEvents() > 0) {
            std::fprintf(stderr, "held: %s\n", qPrintable(journal.local().fault()));
            continue;
        }
        std::fputs("written\n", stdout);
        std::fflush(stdout);
    }
}

TEST_F(LocalJournalTest, AProcessKilledWhileWritingLeavesWholeRows) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(loopVariable), path);
    qint64 acknowledged = 0;
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE(round);
        QProcess child;
        startChildTest(child, env, QStringLiteral("JournalWriteLoop.DISABLED_Child"));
        ASSERT_TRUE(child.waitForStarted());
        const int writes = 5 + round * 7;
        int seen = 0;
        while (seen < writes && child.state() == QProcess::Running) {
            if (!child.canReadLine()) child.waitForReadyRead(2000);
            // The test framework's own lines come first; only the child's count.
            while (child.canReadLine())
                if (child.readLine() == "written\n") ++seen;
        }
        child.kill();
        child.waitForFinished();
        acknowledged += seen;
        ASSERT_EQ(child.exitStatus(), QProcess::CrashExit);
    }
    install();
    ASSERT_EQ(classJournal->local().state(), LocalJournal::State::Ready);
    RawConnection raw(path);
    EXPECT_EQ(raw.scalar(QStringLiteral("PRAGMA integrity_check")).toString(),
              QStringLiteral("ok"));
    const JournalEvents rows = classJournal->local().events();
    // Every acknowledged grade is there (more may be: written, killed before the line).
    qint64 grades = 0;
    for (const auto& e : rows) {
        ASSERT_EQ(e.computer, QStringLiteral("pc-killed"));
        ASSERT_EQ(e.surname, QStringLiteral("Ларцев О.Е."));
        ASSERT_TRUE(e.recordedAt.isValid());
        if (e.kind == JournalEventKind::Graded) {
            ++grades;
            ASSERT_TRUE(e.grade.has_value());
            ASSERT_GE(e.experiment, 1);
        }
    }
    EXPECT_GE(grades, acknowledged);
    EXPECT_LE(grades, acknowledged + 8);
}

}  // namespace
