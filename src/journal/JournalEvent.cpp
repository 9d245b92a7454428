#include "journal/JournalEvent.h"

#include <QTimeZone>
#include <array>

namespace {
struct NamedKind {
    JournalEventKind kind;
    const char* name;
};
constexpr std::array<NamedKind, 4> names = {{
    {JournalEventKind::Registered, "registered"},
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
