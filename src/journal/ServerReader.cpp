#include "journal/ServerReader.h"

#include <QMetaObject>
#include <QTimeZone>
#include <array>
#include <future>

#include "journal/ServerConnection.h"

namespace {

// How many sittings one statement reads when all of them are asked for: the rows of a chunk
// are summarised while the next is on its way, and the memory a read holds stays small.
constexpr int chunkSittings = 2000;

// A local date's bounds as the server's time, in UTC.
QString startOfLocalDay(const QDate& day) {
    return day.startOfDay().toUTC().toString(Qt::ISODateWithMs);
}

// The conditions of the filter and the cursor on reaktikum.sittings, each value a parameter.
QString sittingConditions(const SittingQuery& query, QVariantList* parameters) {
    QString where = QStringLiteral("attended");
    const auto bind = [parameters](const QVariant& value) {
        *parameters << value;
        return QStringLiteral("$%1").arg(parameters->size());
    };
    const SittingFilter& filter = query.filter;
    if (!filter.group.isEmpty())
        where += QStringLiteral(" AND student_group = ") + bind(filter.group);
    if (!filter.computer.isEmpty())
        where += QStringLiteral(" AND computer = ") + bind(filter.computer);
    if (filter.from.isValid())
        where += QStringLiteral(" AND shown_at >= ") + bind(startOfLocalDay(filter.from)) +
                 QStringLiteral("::timestamptz");
    if (filter.to.isValid())
        where += QStringLiteral(" AND shown_at < ") + bind(startOfLocalDay(filter.to.addDays(1))) +
                 QStringLiteral("::timestamptz");
    if (!query.after.atStart()) {
        const QString at = bind(query.after.shownAt), id = bind(query.after.shownId),
                      computer = bind(query.after.computer), sitting = bind(query.after.sitting);
        where += QStringLiteral(
                     " AND (shown_at, shown_id, computer, sitting) < (%1::timestamptz, "
                     "%2::integer, %3, %4)")
                     .arg(at, id, computer, sitting);
    }
    return where;
}

}  // namespace

namespace {

// The sittings of a page in the view's order, each with its place on the page.
QString pageOfSittings(const SittingQuery& query, int limit, QVariantList* parameters) {
    const QString where = sittingConditions(query, parameters);
    *parameters << limit;
    return QStringLiteral(
               "WITH page AS (SELECT computer, sitting, student_group, shown_at, shown_id,"
               " row_number() OVER (ORDER BY shown_at DESC, shown_id DESC, computer DESC,"
               " sitting DESC) AS place FROM reaktikum.sittings WHERE %1"
               " ORDER BY shown_at DESC, shown_id DESC, computer DESC, sitting DESC LIMIT $%2)")
        .arg(where)
        .arg(parameters->size());
}

// Where the page ends, for the cursor of the next one.
const QLatin1String pageEnd(
    " to_char(page.shown_at AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS.US\"Z\"') AS page_at,"
    " page.shown_id AS page_id, page.place AS page_place");

}  // namespace

// One page: the sittings in the view's order, and every row of each of them. Timestamps in UTC
// with milliseconds, as the local journal keeps them.
QString sittingPageStatement(const SittingQuery& query, int limit, QVariantList* parameters) {
    return pageOfSittings(query, limit, parameters) +
           QStringLiteral(
               " SELECT j.*, %2 FROM page CROSS JOIN LATERAL"
               // Each sitting's rows through the index, never a pass over the whole journal
               // (OFFSET 0 keeps the planner from turning the lookups into one).
               " (SELECT r.id, r.local_id, to_char(r.recorded_at AT TIME ZONE 'UTC',"
               " 'YYYY-MM-DD\"T\"HH24:MI:SS.MS\"Z\"') AS recorded_at, r.computer, r.sitting,"
               " r.student_group, r.student_surname, r.variant, r.experiment, r.grade, r.event,"
               " %1 AS evidence, r.evidence_summary FROM reaktikum.journal r"
               " WHERE r.sitting = page.sitting AND r.computer = page.computer OFFSET 0) j"
               " ORDER BY j.id")
               .arg(query.withEvidence ? QStringLiteral("r.evidence") : QStringLiteral("NULL"),
                    pageEnd);
}

// The same sittings summarised, one row each, for the files and papers: what the view makes of a
// sitting's rows (the last grade of each experiment and its sentence, the last variant chosen,
// the surname of its first row, removed or not), as the server keeps it beside the sitting. One
// indexed read of reaktikum.sittings, nothing gathered from the journal.
QString summarisedPageStatement(const SittingQuery& query, int limit, QVariantList* parameters) {
    const QString where = sittingConditions(query, parameters);
    *parameters << limit;
    QString grades;
    for (int k = 1; k <= 4; ++k)
        grades +=
            QStringLiteral(", grades[%1]::text AS grade%1, summaries[%1] AS summary%1").arg(k);
    return QStringLiteral(
               "SELECT computer, sitting, student_group,"
               " to_char(shown_at AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS.MS\"Z\"')"
               " AS registered_at, shown_id, surname, variant, deleted%1,"
               " to_char(shown_at AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS.US\"Z\"')"
               " AS page_at, shown_id AS page_id, row_number() OVER (ORDER BY shown_at DESC,"
               " shown_id DESC, computer DESC, sitting DESC) AS page_place"
               " FROM reaktikum.sittings WHERE %2"
               " ORDER BY shown_at DESC, shown_id DESC, computer DESC, sitting DESC LIMIT $%3")
        .arg(grades, where)
        .arg(parameters->size());
}

namespace {

// The distinct values of a column of the listed sittings, one index probe each: a handful of
// groups among a million rows costs a handful of steps.
QString distinctStatement(const char* column) {
    return QStringLiteral(
               "WITH RECURSIVE v(value) AS ("
               " (SELECT %1 FROM reaktikum.sittings WHERE attended ORDER BY %1 LIMIT 1)"
               " UNION ALL SELECT (SELECT s.%1 FROM reaktikum.sittings s"
               " WHERE s.attended AND s.%1 > v.value ORDER BY s.%1 LIMIT 1)"
               " FROM v WHERE v.value IS NOT NULL)"
               " SELECT value FROM v WHERE value IS NOT NULL")
        .arg(QLatin1String(column));
}

QStringList firstColumn(const ServerRows& rows) {
    QStringList values;
    for (const QVariantList& row : rows.values) values << row.value(0).toString();
    return values;
}

// A value of a row as the text it holds, without a copy; empty for NULL.
const QString& textOf(const QVariant& value) {
    static const QString none;
    return value.typeId() == QMetaType::QString ? *static_cast<const QString*>(value.constData())
                                                : none;
}

// The rows of summarisedPageStatement as the view's rows.
QList<SittingRow> summarisedSittings(const ServerRows& rows) {
    const auto column = [&rows](const QString& name) { return int(rows.columns.indexOf(name)); };
    const int computer = column(QStringLiteral("computer")),
              sitting = column(QStringLiteral("sitting")),
              group = column(QStringLiteral("student_group")),
              registeredAt = column(QStringLiteral("registered_at")),
              registrationId = column(QStringLiteral("shown_id")),
              surname = column(QStringLiteral("surname")),
              variant = column(QStringLiteral("variant")),
              deleted = column(QStringLiteral("deleted"));
    std::array<int, 4> grades{}, summaries{};
    for (int k = 1; k <= 4; ++k) {
        grades[std::size_t(k - 1)] = column(QStringLiteral("grade%1").arg(k));
        summaries[std::size_t(k - 1)] = column(QStringLiteral("summary%1").arg(k));
    }
    QList<SittingRow> out;
    out.reserve(rows.values.size());
    for (const QVariantList& values : rows.values) {
        SittingRow row;
        row.registeredAt = parseJournalTimestamp(textOf(values[registeredAt]));
        row.registrationId = textOf(values[registrationId]).toLongLong();
        row.computer = textOf(values[computer]);
        row.sitting = textOf(values[sitting]);
        row.group = textOf(values[group]);
        row.surname = textOf(values[surname]);
        row.variant = textOf(values[variant]).toInt();
        row.deleted = textOf(values[deleted]) == QLatin1String("t");
        for (std::size_t k = 0; k < 4; ++k) {
            const QVariant& grade = values[grades[k]];
            if (grade.isNull()) continue;
            row.grades[k] = textOf(grade).toFloat();
            row.evidenceSummaries[k] = textOf(values[summaries[k]]);
        }
        out << std::move(row);
    }
    return out;
}

// One page as the server sent it, with where the next one starts.
struct FetchedPage {
    bool ok = false;
    ServerRows rows;
    SittingCursor next;
    bool more = false;  // the page was full: the server may hold further sittings
};

// Reads one page of at most limit sittings after the cursor.
FetchedPage fetchPage(ServerConnection& connection, const SittingQuery& query,
                      const SittingCursor& after, int limit) {
    SittingQuery from = query;
    from.after = after;
    QVariantList parameters;
    FetchedPage page;
    page.next = after;
    const QString statement = query.withEvidence
                                  ? sittingPageStatement(from, limit, &parameters)
                                  : summarisedPageStatement(from, limit, &parameters);
    page.ok = connection.exec(statement, parameters, &page.rows);
    if (!page.ok) return page;
    const ServerRows& rows = page.rows;
    const auto column = [&rows](const char* name) {
        return int(rows.columns.indexOf(QLatin1String(name)));
    };
    const int at = column("page_at"), id = column("page_id"), place = column("page_place"),
              computer = column("computer"), sitting = column("sitting");
    // The page ends at its last sitting in the server's order: the next one starts after it.
    qint64 lastPlace = 0;
    const QVariantList* last = nullptr;
    for (const QVariantList& row : rows.values) {
        const qint64 rowPlace = textOf(row[place]).toLongLong();
        if (rowPlace <= lastPlace) continue;
        lastPlace = rowPlace;
        last = &row;
    }
    if (last)
        page.next = {textOf((*last)[at]), textOf((*last)[id]), textOf((*last)[computer]),
                     textOf((*last)[sitting])};
    page.more = lastPlace == limit;
    return page;
}

// Adds the sittings of a page to reading.
void takePage(const SittingQuery& query, const FetchedPage& page, ServerReading* reading) {
    QList<SittingRow> sittings = query.withEvidence ? summariseSittings(eventsFromRows(page.rows))
                                                    : summarisedSittings(page.rows);
    // The evidence is read here rather than on the window's thread.
    if (query.withEvidence)
        for (const SittingRow& row : sittings) reading->mistakes << readEvidenceMistakes(row);
    reading->sittings.append(std::move(sittings));
    reading->next = page.next;
    reading->more = page.more;
}

ServerReading readSittings(ServerConnection& connection, const QString& user,
                           const QString& password, const SittingQuery& query,
                           const std::function<void(qint64, qint64)>& progress) {
    ServerReading reading;
    reading.next = query.after;
    // A connection kept from the read before is already logged in.
    reading.ok = connection.isOpen() || connection.open(user, password);
    if (reading.ok && query.withChoices) {
        ServerRows groups, computers, conflicts;
        reading.ok = connection.exec(distinctStatement("student_group"), {}, &groups) &&
                     connection.exec(distinctStatement("computer"), {}, &computers) &&
                     connection.exec(QStringLiteral("SELECT count(*) FROM "
                                                    "reaktikum.journal_conflicts"),
                                     {}, &conflicts);
        reading.groups = firstColumn(groups);
        reading.computers = firstColumn(computers);
        if (!conflicts.values.isEmpty()) reading.conflicts = conflicts.values[0][0].toLongLong();
    }
    if (reading.ok && query.limit > 0) {
        const FetchedPage page = fetchPage(connection, query, reading.next, query.limit);
        reading.ok = page.ok;
        if (page.ok) takePage(query, page, &reading);
    } else if (reading.ok) {
        // Every sitting that passes, chunk by chunk, with how far the read has come.
        QVariantList parameters;
        ServerRows total;
        reading.ok = connection.exec(QStringLiteral("SELECT count(*) FROM reaktikum.sittings "
                                                    "WHERE ") +
                                         sittingConditions(query, &parameters),
                                     parameters, &total);
        const qint64 count =
            reading.ok && !total.values.isEmpty() ? total.values[0][0].toLongLong() : 0;
        if (progress) progress(0, count);
        // The server reads the next chunk while this thread turns the last one into sittings.
        FetchedPage page;
        if (reading.ok) page = fetchPage(connection, query, reading.next, chunkSittings);
        while (reading.ok && page.ok) {
            std::future<FetchedPage> ahead;
            if (page.more && !connection.aborted()) {
                // Deferred to the wait below when no thread can be started.
                ahead = std::async(std::launch::async | std::launch::deferred,
                                   [&connection, &query, after = page.next] {
                                       return fetchPage(connection, query, after, chunkSittings);
                                   });
            }
            takePage(query, page, &reading);
            if (!ahead.valid()) break;
            if (progress) progress(reading.sittings.size(), count);
            page = ahead.get();
        }
        reading.ok = reading.ok && page.ok;
        reading.more = false;
    }
    if (!reading.ok) reading.fault = connection.fault();
    return reading;
}

}  // namespace

ServerReader::ServerReader(QObject* parent) : QObject(parent) {}

ServerReader::~ServerReader() {
    stop();
}

void ServerReader::disconnect() {
    idle_.reset();
}

void ServerReader::stop() {
    ++serial_;
    if (!running_) return;
    connection_->abort();
    running_->wait();
    delete running_;
    running_ = nullptr;
    connection_.reset();
}

void ServerReader::read(const ServerSettings& server, const QString& user, const QString& password,
                        const SittingQuery& query, std::function<void(const ServerReading&)> done,
                        std::function<void(qint64, qint64)> progress) {
    stop();
    const quint64 serial = serial_;
    // The next page of the same login goes over the connection the last one came by.
    std::shared_ptr<ServerConnection> connection;
    if (idle_ && idle_->isOpen() && idleUser_ == user && idleSettings_.host == server.host &&
        idleSettings_.port == server.port && idleSettings_.database == server.database)
        connection = idle_;
    else
        connection = std::make_shared<ServerConnection>(server);
    idle_.reset();
    idleUser_ = user;
    idleSettings_ = server;
    connection_ = connection;
    // The reader outlives the thread (stop() waits for it); a result posted to a reader that
    // is gone is dropped with it.
    const auto tell = [this, serial, progress](qint64 read, qint64 total) {
        if (!progress) return;
        QMetaObject::invokeMethod(
            this,
            [this, serial, progress, read, total] {
                if (serial_ == serial) progress(read, total);
            },
            Qt::QueuedConnection);
    };
    running_ = QThread::create([this, connection, user, password, query, serial, done, tell] {
        const ServerReading reading = readSittings(*connection, user, password, query, tell);
        if (connection->aborted()) return;
        QMetaObject::invokeMethod(
            this,
            [this, serial, done, reading] {
                if (serial_ != serial) return;
                // The thread has ended or is about to: let it go.
                running_->wait();
                delete running_;
                running_ = nullptr;
                if (connection_->isOpen()) idle_ = connection_;
                connection_.reset();
                done(reading);
            },
            Qt::QueuedConnection);
    });
    running_->setObjectName(QStringLiteral("journal-teacher"));
    running_->start(QThread::LowPriority);
}
