#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

class QSqlQuery;

// One row of the journal: something that happened to one sitting on one computer. An entry is a
// student opening an experiment's window: it tells the teacher where the student is, and never
// changes a grade.
enum class JournalEventKind { Registered, Entered, Graded, Deleted, DeletedAll };

// The words stored in the event column.
QString eventName(JournalEventKind kind);
std::optional<JournalEventKind> eventKindFromName(const QString& name);

struct JournalEvent {
    qint64 id = 0;         // the local journal's key; on a server, the row's id on its computer
    QDateTime recordedAt;  // UTC
    QString computer;
    QString sitting;
    QString group;
    QString surname;
    int variant = 0;             // 1..6; 0 when none was chosen yet
    int experiment = 0;          // 1..4 for an entry or a grade, 0 otherwise
    std::optional<float> grade;  // kept in single precision, as the results file keeps it
    JournalEventKind kind = JournalEventKind::Registered;
    // What a grade was reached from: JSON for programs and one Russian sentence for people.
    // Empty for events that are not grades and for grades recorded before evidence was kept.
    QString evidence;
    QString evidenceSummary;
};

using JournalEvents = QList<JournalEvent>;

// recorded_at as stored locally: ISO 8601 in UTC with milliseconds, ending in "Z".
QString journalTimestamp(const QDateTime& time);
QDateTime parseJournalTimestamp(const QString& text);

// A variant or experiment number as bound to its column: 0 (none) becomes SQL NULL.
QVariant nullableInt(int value);

// One row of a query that selects the journal's columns in their table order, locally or on
// the server.
JournalEvent eventFromQuery(const QSqlQuery& query);
