#include "journal/LocalJournal.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <QAtomicInt>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QVariant>
#include <cstring>
#include <iterator>
#include <utility>

#include "lab/FileAccess.h"

namespace {

QAtomicInt connectionSerial;

// SQLite's result codes that tell the teacher something different.
constexpr int sqliteBusy = 5;
constexpr int sqliteLocked = 6;
constexpr int sqliteReadOnly = 8;
constexpr int sqliteCorrupt = 11;
constexpr int sqliteProtocol = 15;  // a lock race on the write-ahead log: worth trying again
constexpr int sqliteNotADatabase = 26;

// The files SQLite keeps beside the journal: its write-ahead log, the log's index, and the
// rollback journal of a file not (yet) in write-ahead mode.
const char* const sideSuffixes[] = {"-wal", "-shm", "-journal"};

const char* const eventColumns =
    "id, recorded_at, computer, sitting, student_group, student_surname, variant, experiment, "
    "grade, event";
// Read by name after the others; a file too old to carry them (a read-only one that could not
// be brought up) is read without them.
const char* const evidenceColumns = ", evidence, evidence_summary";

// The first schema: the journal table and the version table.
const char* const schemaVersion1[] = {
    "CREATE TABLE schema_version (version INTEGER NOT NULL)",
    "INSERT INTO schema_version (version) VALUES (1)",
    "CREATE TABLE journal ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " recorded_at TEXT NOT NULL,"
    " computer TEXT NOT NULL,"
    " sitting TEXT NOT NULL,"
    " student_group TEXT NOT NULL,"
    " student_surname TEXT NOT NULL,"
    " variant INTEGER CHECK (variant BETWEEN 1 AND 6),"
    " experiment INTEGER CHECK (experiment BETWEEN 1 AND 4),"
    " grade REAL,"
    " event TEXT NOT NULL CHECK (event IN ('registered', 'graded', 'deleted', 'deleted_all')))",
};

// Version 2: where the server link notes how far the server has confirmed, and an index for
// looking sittings up.
const char* const schemaVersion2[] = {
    "CREATE TABLE server_upload (only INTEGER PRIMARY KEY CHECK (only = 1),"
    " sent_through INTEGER NOT NULL)",
    "INSERT INTO server_upload (only, sent_through) VALUES (1, 0)",
    "CREATE INDEX journal_student ON journal (computer, student_group, student_surname)",
    "UPDATE schema_version SET version = 2",
};

// Version 3: an id of this journal file. Two journals can share a computer name (two users'
// data folders, a portable copy beside an installed one); the server tells their rows apart by
// it, so one journal's row never stands in for another's.
const char* const schemaVersion3[] = {
    "CREATE TABLE journal_identity (only INTEGER PRIMARY KEY CHECK (only = 1),"
    " journal_id TEXT NOT NULL)",
    "INSERT INTO journal_identity (only, journal_id) VALUES (1, lower(hex(randomblob(16))))",
    "UPDATE schema_version SET version = 3",
};

// Version 4: what each grade was reached from, as JSON for programs and one sentence for the
// teacher. Rows written before stay without it.
const char* const schemaVersion4[] = {
    "ALTER TABLE journal ADD COLUMN evidence TEXT",
    "ALTER TABLE journal ADD COLUMN evidence_summary TEXT",
    "UPDATE schema_version SET version = 4",
};

// Version 5: a student entering an experiment is an event too. SQLite cannot change a
// column's check, so the table is made again: the rows keep their ids, and the next row its
// place in the sequence, so what the server was sent and what it holds still match.
const char* const schemaVersion5[] = {
    "CREATE TABLE journal_v5 ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " recorded_at TEXT NOT NULL,"
    " computer TEXT NOT NULL,"
    " sitting TEXT NOT NULL,"
    " student_group TEXT NOT NULL,"
    " student_surname TEXT NOT NULL,"
    " variant INTEGER CHECK (variant BETWEEN 1 AND 6),"
    " experiment INTEGER CHECK (experiment BETWEEN 1 AND 4),"
    " grade REAL,"
    " event TEXT NOT NULL"
    " CHECK (event IN ('registered', 'entered', 'graded', 'deleted', 'deleted_all')),"
    " evidence TEXT,"
    " evidence_summary TEXT)",
    "INSERT INTO journal_v5 (id, recorded_at, computer, sitting, student_group, student_surname,"
    " variant, experiment, grade, event, evidence, evidence_summary)"
    " SELECT id, recorded_at, computer, sitting, student_group, student_surname, variant,"
    " experiment, grade, event, evidence, evidence_summary FROM journal ORDER BY id",
    "DELETE FROM sqlite_sequence WHERE name = 'journal_v5'",
    "INSERT INTO sqlite_sequence (name, seq)"
    " SELECT 'journal_v5', seq FROM sqlite_sequence WHERE name = 'journal'",
    "DROP TABLE journal",
    "ALTER TABLE journal_v5 RENAME TO journal",
    "CREATE INDEX journal_student ON journal (computer, student_group, student_surname)",
    "UPDATE schema_version SET version = 5",
};

// Drafts of a new journal (see createWhole) left by a program stopped while it made one: of no
// use to anyone once they are ten minutes old. Younger ones may be another program's at work.
void removeStaleDrafts(const QString& path) {
    const QFileInfo info(path);
    const QDateTime stale = QDateTime::currentDateTimeUtc().addSecs(-600);
    const QFileInfoList drafts = info.absoluteDir().entryInfoList(
        {info.fileName() + QStringLiteral(".new-*")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& draft : drafts) {
        if (dataFileKind(draft.filePath()) == DataFileKind::Regular && draft.lastModified() < stale)
            ::unlink(QFile::encodeName(draft.filePath()).constData());
    }
}

}  // namespace

QString journalComputerName() {
    const QString name = QSysInfo::machineHostName();
    return name.isEmpty() ? QStringLiteral("localhost") : name;
}

LocalJournal::LocalJournal(const QString& path, int busyTimeoutMs)
    : path_(path),
      connectionName_(
          QStringLiteral("journal-local-%1").arg(connectionSerial.fetchAndAddRelaxed(1))),
      busyTimeoutMs_(busyTimeoutMs) {}

LocalJournal::~LocalJournal() {
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
        if (db.isValid()) db.close();
    }
    QSqlDatabase::removeDatabase(connectionName_);
}

void LocalJournal::noteFault(const QString& what, int nativeCode) {
    const QString file = QFileInfo(path_).fileName();
    // Extended codes (SQLITE_BUSY_RECOVERY, SQLITE_BUSY_SNAPSHOT…) carry the primary code in
    // their low byte: each of them is the same "try again".
    nativeCode &= 0xFF;
    faultCode_ = nativeCode;
    busy_ = nativeCode == sqliteBusy || nativeCode == sqliteLocked || nativeCode == sqliteProtocol;
    switch (nativeCode) {
        case sqliteBusy:
        case sqliteLocked:
        case sqliteProtocol:
            fault_ = QStringLiteral(
                         "Файл журнала %1 занят другой программой: записи ждут и "
                         "будут внесены, когда он освободится.")
                         .arg(file);
            return;
        case sqliteReadOnly:
            fault_ = QStringLiteral(
                         "Файл журнала %1 доступен только для чтения: новые записи "
                         "в него не вносятся, оценки сохраняются в файле результатов.")
                         .arg(file);
            return;
        case sqliteCorrupt:
        case sqliteNotADatabase:
            fault_ = QStringLiteral(
                         "Файл журнала %1 повреждён: он оставлен как есть, оценки "
                         "сохраняются в файле результатов.")
                         .arg(file);
            return;
        default:
            fault_ = QStringLiteral(
                         "Файл журнала %1 недоступен (%2): оценки сохраняются в "
                         "файле результатов.")
                         .arg(file, what);
    }
}

bool LocalJournal::exec(const QString& sql) {
    QSqlQuery q(QSqlDatabase::database(connectionName_, false));
    if (q.exec(sql)) return true;
    noteFault(q.lastError().text(), q.lastError().nativeErrorCode().toInt());
    return false;
}

// The fault that made a transaction fail is the one to tell, not the rollback's own.
void LocalJournal::rollbackKeepingFault() {
    const QString fault = fault_;
    const bool busy = busy_;
    exec(QStringLiteral("ROLLBACK"));
    fault_ = fault;
    busy_ = busy;
}

bool LocalJournal::open() {
    if (state_ == State::Ready) return true;
    if (refuseOddSideFiles()) {
        state_ = State::Unusable;
        return false;
    }
    if (dataFileKind(path_) == DataFileKind::Missing) {
        if (!createWhole()) {
            state_ = State::Closed;
            return false;
        }
        // Whatever stands at the place now is looked at again before SQLite opens it.
        if (refuseOddSideFiles()) {
            state_ = State::Unusable;
            return false;
        }
    }
    if (openConnection()) return true;
    const bool corrupt = faultCode_ == sqliteCorrupt || faultCode_ == sqliteNotADatabase;
    if (state_ != State::Unusable || !corrupt || !movesCorruptFileAside_ || !moveCorruptFileAside())
        return false;
    if (refuseOddSideFiles() || !createWhole() || refuseOddSideFiles()) {
        state_ = State::Unusable;
        return false;
    }
    return openConnection();
}

// A new journal is made whole under a name of its own beside its place, in write-ahead mode and
// with every table, and then linked into its place, which a link never overwrites. Programs
// starting together thus find no file or a whole one, never one another is still making: one
// of them wins the place and the others open its file. The file is its owner's only, and SQLite
// gives the side files the mode of the file.
bool LocalJournal::createWhole() {
    removeStaleDrafts(path_);
    QString draft;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 16; ++attempt) {
        draft = path_ + QStringLiteral(".new-%1").arg(QRandomGenerator::global()->generate(), 8, 16,
                                                      QLatin1Char('0'));
        fd = openDataFile(draft, O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        noteFault(QString::fromLocal8Bit(strerror(errno)), 0);
        return false;
    }
    ::close(fd);
    const QByteArray draftName = QFile::encodeName(draft);
    const auto removeDraft = [&draftName] {
        for (const char* suffix : sideSuffixes)
            ::unlink(QByteArray(draftName + suffix).constData());
        ::unlink(draftName.constData());
    };

    bool made = false;
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
        if (!db.isValid())
            db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
        db.close();
        db.setDatabaseName(draft);
        db.setConnectOptions(QString());
        if (!db.open())
            noteFault(db.lastError().text(), db.lastError().nativeErrorCode().toInt());
        else
            made = exec(QStringLiteral("PRAGMA journal_mode=WAL")) && createOrMigrate();
        // The draft's only connection: closing it moves its log into the file and removes it.
        db.close();
    }
    if (!made) {
        removeDraft();
        return false;
    }
    const QByteArray target = QFile::encodeName(path_);
    bool placed = ::link(draftName.constData(), target.constData()) == 0 || errno == EEXIST;
    // A file system without links: a rename that never replaces does the same.
    if (!placed)
        placed = ::renameat2(AT_FDCWD, draftName.constData(), AT_FDCWD, target.constData(),
                             RENAME_NOREPLACE) == 0 ||
                 errno == EEXIST;
    const QString why = QString::fromLocal8Bit(strerror(errno));
    removeDraft();
    if (placed) return true;
    // Neither: an empty file of its owner's, made up by whoever opens it first.
    if (createPrivateFile(path_) || errno == EEXIST) return true;
    noteFault(why, 0);
    return false;
}

bool LocalJournal::refuseOddSideFiles() {
    QStringList files{path_};
    for (const char* suffix : sideSuffixes) files << path_ + QLatin1String(suffix);
    for (const QString& file : files) {
        const DataFileKind kind = dataFileKind(file);
        if (kind == DataFileKind::Missing || kind == DataFileKind::Regular) continue;
        fault_ = QStringLiteral(
                     "По адресу %1 находится не обычный файл (символическая ссылка, папка или "
                     "устройство): журнал не открывается и не записывается, оценки "
                     "сохраняются в файле результатов.")
                     .arg(file);
        faultCode_ = 0;
        busy_ = false;
        return true;
    }
    return false;
}

bool LocalJournal::moveCorruptFileAside() {
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
        if (db.isValid()) db.close();
    }
    const QFileInfo info(path_);
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside;
    for (int n = 1; aside.isEmpty() || QFileInfo::exists(aside) || QFileInfo(aside).isSymLink();
         ++n)
        aside = info.dir().filePath(QStringLiteral("%1.corrupt-%2%3.sqlite")
                                        .arg(info.completeBaseName(), stamp,
                                             n > 1 ? QStringLiteral("-%1").arg(n) : QString()));
    const QByteArray from = QFile::encodeName(path_);
    const QByteArray to = QFile::encodeName(aside);
    if (::rename(from.constData(), to.constData()) != 0) return false;
    // The log belongs to the old file and goes with it; its index is rebuilt from a log.
    for (const char* suffix : sideSuffixes) {
        const QByteArray side = from + suffix;
        if (::access(side.constData(), F_OK) != 0) continue;
        if (QByteArray(suffix) == "-shm")
            ::unlink(side.constData());
        else
            ::rename(side.constData(), QByteArray(to + suffix).constData());
    }
    notice_ = QStringLiteral(
                  "Файл журнала %1 был повреждён: он сохранён как %2, начат новый журнал. "
                  "Записи до повреждения остались в сохранённом файле.")
                  .arg(info.fileName(), QFileInfo(aside).fileName());
    fault_.clear();
    faultCode_ = 0;
    state_ = State::Closed;
    return true;
}

QString LocalJournal::takeNotice() {
    return std::exchange(notice_, QString());
}

// Only a file known to be unfit is given up: one that is not a database. Any other failure
// while opening (another program holding the file at whatever step, a lock race on the log, a
// side file another program is just removing) is worth trying again with the next event.
LocalJournal::State LocalJournal::stateAfterFailedOpen() const {
    const bool corrupt = faultCode_ == sqliteCorrupt || faultCode_ == sqliteNotADatabase;
    return corrupt ? State::Unusable : State::Closed;
}

bool LocalJournal::openConnection() {
    const QFileInfo info(path_);
    // A file nobody may write is read-only, whoever runs the program. The file is not opened to
    // find out: another connection of this program may hold it locked.
    const bool readOnly = info.exists() && !permitsReadWrite(path_);
    QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
    if (!db.isValid()) db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    db.setDatabaseName(path_);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1%2")
                             .arg(busyTimeoutMs_)
                             .arg(readOnly ? QStringLiteral(";QSQLITE_OPEN_READONLY") : QString()));
    if (!db.open()) {
        noteFault(db.lastError().text(), db.lastError().nativeErrorCode().toInt());
        state_ = stateAfterFailedOpen();
        return false;
    }
    // Reading the catalogue is the first thing that finds a file that is not a database, and
    // the first that waits for another program holding the file: a busy file stays closed and
    // is opened again with the next event; a file that is not a database is Unusable here (the
    // journal's keeper then moves it aside).
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        noteFault(probe.lastError().text(), probe.lastError().nativeErrorCode().toInt());
        state_ = stateAfterFailedOpen();
        return false;
    }
    // An unfinished read would hold the file in a transaction and keep the mode from changing.
    probe.finish();
    if (readOnly) {
        noteFault(QString(), sqliteReadOnly);
        state_ = storedSchemaVersion() >= 1 ? State::ReadOnly : State::Unusable;
        return false;
    }
    // Write-ahead logging: a commit appends to the log and returns; the database file is
    // updated later, so a kill between the two leaves the last whole commit.
    if (!exec(QStringLiteral("PRAGMA journal_mode=WAL")) ||
        !exec(QStringLiteral("PRAGMA synchronous=NORMAL")) || !createOrMigrate()) {
        state_ = stateAfterFailedOpen();
        return false;
    }
    fault_.clear();
    busy_ = false;
    state_ = State::Ready;
    return true;
}

int LocalJournal::storedSchemaVersion() {
    QSqlQuery q(QSqlDatabase::database(connectionName_, false));
    if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = "
                               "'schema_version'")) ||
        !q.next() || q.value(0).toInt() == 0)
        return 0;
    if (!q.exec(QStringLiteral("SELECT max(version) FROM schema_version")) || !q.next()) return 0;
    return q.value(0).toInt();
}

QString LocalJournal::journalId() {
    if (!journalId_.isEmpty()) return journalId_;
    QSqlQuery q(QSqlDatabase::database(connectionName_, false));
    if (storedSchemaVersion() >= 3 &&
        q.exec(QStringLiteral("SELECT journal_id FROM journal_identity")) && q.next())
        journalId_ = q.value(0).toString();
    return journalId_;
}

QString LocalJournal::selectedColumns() {
    QString columns = QLatin1String(eventColumns);
    if (storedSchemaVersion() >= 4) columns += QLatin1String(evidenceColumns);
    return columns;
}

bool LocalJournal::createOrMigrate() {
    struct Step {
        int version;
        const char* const* statements;
        std::size_t count;
    };
    const Step steps[] = {
        {1, schemaVersion1, std::size(schemaVersion1)},
        {2, schemaVersion2, std::size(schemaVersion2)},
        {3, schemaVersion3, std::size(schemaVersion3)},
        {4, schemaVersion4, std::size(schemaVersion4)},
        {5, schemaVersion5, std::size(schemaVersion5)},
    };
    // Each step in its own transaction, so a file is always at one version or the next.
    for (const Step& step : steps) {
        if (storedSchemaVersion() >= step.version) continue;
        if (!exec(QStringLiteral("BEGIN IMMEDIATE"))) return false;
        // Another connection (the server link's) may have taken the step while this one
        // waited for the lock.
        if (storedSchemaVersion() >= step.version) {
            if (!exec(QStringLiteral("COMMIT"))) return false;
            continue;
        }
        bool ok = true;
        for (std::size_t i = 0; ok && i < step.count; ++i)
            ok = exec(QString::fromLatin1(step.statements[i]));
        if (!ok || !exec(QStringLiteral("COMMIT"))) {
            rollbackKeepingFault();
            return false;
        }
    }
    return true;
}

bool LocalJournal::append(JournalEvents& events) {
    if (state_ != State::Ready && !open()) return false;
    QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
    if (!exec(QStringLiteral("BEGIN IMMEDIATE"))) return false;
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral(
        "INSERT INTO journal (recorded_at, computer, sitting, student_group, student_surname,"
        " variant, experiment, grade, event, evidence, evidence_summary)"
        " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    QList<qint64> ids;
    for (const JournalEvent& e : events) {
        insert.addBindValue(journalTimestamp(e.recordedAt));
        insert.addBindValue(e.computer);
        insert.addBindValue(e.sitting);
        insert.addBindValue(e.group);
        insert.addBindValue(e.surname);
        insert.addBindValue(nullableInt(e.variant));
        insert.addBindValue(nullableInt(e.experiment));
        insert.addBindValue(e.grade ? QVariant(double(*e.grade))
                                    : QVariant(QMetaType(QMetaType::Double)));
        insert.addBindValue(eventName(e.kind));
        insert.addBindValue(e.evidence.isEmpty() ? QVariant(QMetaType(QMetaType::QString))
                                                 : QVariant(e.evidence));
        insert.addBindValue(e.evidenceSummary.isEmpty() ? QVariant(QMetaType(QMetaType::QString))
                                                        : QVariant(e.evidenceSummary));
        if (!insert.exec()) {
            noteFault(insert.lastError().text(), insert.lastError().nativeErrorCode().toInt());
            rollbackKeepingFault();
            return false;
        }
        ids.append(insert.lastInsertId().toLongLong());
    }
    if (!exec(QStringLiteral("COMMIT"))) {
        rollbackKeepingFault();
        return false;
    }
    for (int i = 0; i < events.size(); ++i) events[i].id = ids[i];
    fault_.clear();
    busy_ = false;
    return true;
}

JournalEvents LocalJournal::events(qint64 afterId, int limit) {
    JournalEvents out;
    if (state_ == State::Closed) open();
    if (state_ != State::Ready && state_ != State::ReadOnly) return out;
    QSqlQuery q(QSqlDatabase::database(connectionName_, false));
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT %1 FROM journal WHERE id > ? ORDER BY id LIMIT ?")
                  .arg(selectedColumns()));
    q.addBindValue(afterId);
    q.addBindValue(limit);
    if (!q.exec()) {
        noteFault(q.lastError().text(), q.lastError().nativeErrorCode().toInt());
        return out;
    }
    while (q.next()) out.append(eventFromQuery(q));
    return out;
}

qint64 LocalJournal::sentThrough() {
    QSqlQuery q(QSqlDatabase::database(connectionName_, false));
    if (!q.exec(QStringLiteral("SELECT sent_through FROM server_upload WHERE only = 1")) ||
        !q.next())
        return 0;
    return q.value(0).toLongLong();
}

bool LocalJournal::setSentThrough(qint64 id) {
    if (state_ != State::Ready && !open()) return false;
    QSqlQuery q(QSqlDatabase::database(connectionName_, false));
    q.prepare(
        QStringLiteral("UPDATE server_upload SET sent_through = max(sent_through, ?) "
                       "WHERE only = 1"));
    q.addBindValue(id);
    if (q.exec()) return true;
    noteFault(q.lastError().text(), q.lastError().nativeErrorCode().toInt());
    return false;
}

JournalEvents LocalJournal::unsentEvents(int limit, bool* ok) {
    if (ok) *ok = false;
    if (state_ != State::Ready && !open()) return {};
    QSqlQuery q(QSqlDatabase::database(connectionName_, false));
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT %1 FROM journal WHERE id > (SELECT sent_through FROM "
                             "server_upload WHERE only = 1) ORDER BY id LIMIT ?")
                  .arg(selectedColumns()));
    q.addBindValue(limit);
    JournalEvents out;
    if (!q.exec()) {
        noteFault(q.lastError().text(), q.lastError().nativeErrorCode().toInt());
        return out;
    }
    while (q.next()) out.append(eventFromQuery(q));
    if (ok) *ok = q.lastError().type() == QSqlError::NoError;
    return out;
}

qint64 LocalJournal::unsentCount() {
    if (state_ != State::Ready && !open()) return 0;
    QSqlQuery q(QSqlDatabase::database(connectionName_, false));
    q.prepare(QStringLiteral("SELECT count(*) FROM journal WHERE id > ?"));
    q.addBindValue(sentThrough());
    if (!q.exec() || !q.next()) return 0;
    return q.value(0).toLongLong();
}

QString LocalJournal::latestSitting(const QString& computer, const QString& group,
                                    const QString& surname) {
    if (state_ != State::Ready && state_ != State::ReadOnly && !open()) return {};
    QSqlQuery q(QSqlDatabase::database(connectionName_, false));
    q.prepare(
        QStringLiteral("SELECT sitting FROM journal j WHERE computer = ? AND student_group = ?"
                       " AND student_surname = ? AND NOT EXISTS (SELECT 1 FROM journal d"
                       " WHERE d.sitting = j.sitting AND d.event IN ('deleted', 'deleted_all'))"
                       " ORDER BY id DESC LIMIT 1"));
    q.addBindValue(computer);
    q.addBindValue(group);
    q.addBindValue(surname);
    if (!q.exec() || !q.next()) return {};
    return q.value(0).toString();
}

void LocalJournal::deferCheckpoints() {
    if (state_ == State::Ready) exec(QStringLiteral("PRAGMA wal_autocheckpoint=0"));
}

void LocalJournal::checkpoint(const QString& path) {
    const QString name =
        QStringLiteral("journal-checkpoint-%1").arg(connectionSerial.fetchAndAddRelaxed(1));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=1000"));
        if (db.open()) QSqlQuery(db).exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}
