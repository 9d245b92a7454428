#include "journal/JournalEvent.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTimeZone>
#include <QVariant>
#include <array>

namespace {
struct NamedKind {
    JournalEventKind kind;
    const char* name;
};
constexpr std::array<NamedKind, 5> names = {{
    {JournalEventKind::Registered, "registered"},
    {JournalEventKind::Entered, "entered"},
    {JournalEventKind::Graded, "graded"},
    {JournalEventKind::Deleted, "deleted"},
    {JournalEventKind::DeletedAll, "deleted_all"},
}};
}  // namespace

QString eventName(JournalEventKind kind) {
    for (const auto& n : names)
        if (n.kind == kind) return QString::fromLatin1(n.name);
    return {};
}

std::optional<JournalEventKind> eventKindFromName(const QString& name) {
    for (const auto& n : names)
        if (name == QLatin1String(n.name)) return n.kind;
    return std::nullopt;
}

QString journalTimestamp(const QDateTime& time) {
    return time.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"));
}

QDateTime parseJournalTimestamp(const QString& text) {
    QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!time.isValid()) time = QDateTime::fromString(text, Qt::ISODate);
    return time.toUTC();
}

JournalEvent eventFromQuery(const QSqlQuery& q) {
    JournalEvent e;
    e.id = q.value(0).toLongLong();
    e.recordedAt = parseJournalTimestamp(q.value(1).toString());
    e.computer = q.value(2).toString();
    e.sitting = q.value(3).toString();
    e.group = q.value(4).toString();
    e.surname = q.value(5).toString();
    e.variant = q.value(6).isNull() ? 0 : q.value(6).toInt();
    e.experiment = q.value(7).isNull() ? 0 : q.value(7).toInt();
    if (!q.value(8).isNull()) e.grade = static_cast<float>(q.value(8).toDouble());
    e.kind = eventKindFromName(q.value(9).toString()).value_or(JournalEventKind::Registered);
    // Evidence columns are read by name: a query that does not select them leaves them empty.
    const QSqlRecord record = q.record();
    if (const int at = record.indexOf(QStringLiteral("evidence")); at >= 0)
        e.evidence = q.value(at).toString();
    if (const int at = record.indexOf(QStringLiteral("evidence_summary")); at >= 0)
        e.evidenceSummary = q.value(at).toString();
    return e;
}

QVariant nullableInt(int value) {
    return value > 0 ? QVariant(value) : QVariant(QMetaType(QMetaType::Int));
}
