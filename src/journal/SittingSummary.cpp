#include "journal/SittingSummary.h"

#include <QHash>
#include <QSet>
#include <algorithm>

#include "journal/CsvFields.h"
#include "lab/Grades.h"
#include "lab/Numbers.h"

double SittingRow::total() const {
    return totalGrade(grades);
}

QList<SittingRow> summariseSittings(const JournalEvents& events) {
    QList<SittingRow> rows;
    QHash<QString, qsizetype> index;  // computer + sitting → row
    // Rows come in the order they happened on each computer; the server interleaves
    // computers, so the time decides which grade was last.
    JournalEvents ordered = events;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto& a, const auto& b) { return a.recordedAt < b.recordedAt; });
    const auto keyOf = [](const JournalEvent& e) -> QString {
        return e.computer + QChar(0x1F) + e.sitting;
    };
    const auto isDeletion = [](const JournalEvent& e) {
        return e.kind == JournalEventKind::Deleted || e.kind == JournalEventKind::DeletedAll;
    };
    // Sittings something happened in besides a deletion; a deletion alone makes no row.
    QSet<QString> attended;
    for (const JournalEvent& e : ordered)
        if (!isDeletion(e)) attended.insert(keyOf(e));
    for (const JournalEvent& e : ordered) {
        const QString key = keyOf(e);
        if (!attended.contains(key)) continue;
        auto found = index.find(key);
        if (found == index.end()) {
            SittingRow row;
            row.registeredAt = e.recordedAt;
            row.registrationId = e.id;
            row.computer = e.computer;
            row.sitting = e.sitting;
            row.group = e.group;
            row.surname = e.surname;
            found = index.insert(key, rows.size());
            rows.append(row);
        }
        SittingRow& row = rows[*found];
        if (e.variant > 0) row.variant = e.variant;
        row.lastEventAt = e.recordedAt;
        switch (e.kind) {
            case JournalEventKind::Registered:
                row.registeredAt = e.recordedAt;
                row.registrationId = e.id;
                break;
            case JournalEventKind::Entered:
                // Where the student is, never a grade.
                if (e.experiment >= 1 && e.experiment <= 4) row.inExperiment = e.experiment;
                break;
            case JournalEventKind::Graded:
                if (e.experiment >= 1 && e.experiment <= 4 && e.grade) {
                    const auto k = static_cast<std::size_t>(e.experiment - 1);
                    row.grades[k] = e.grade;
                    row.evidence[k] = e.evidence;
                    row.evidenceSummaries[k] = e.evidenceSummary;
                    if (row.inExperiment == e.experiment) row.inExperiment = 0;
                }
                break;
            case JournalEventKind::Deleted:
            case JournalEventKind::DeletedAll:
                row.deleted = true;
                break;
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [](const SittingRow& a, const SittingRow& b) {
        if (a.registeredAt != b.registeredAt) return a.registeredAt > b.registeredAt;
        return a.registrationId > b.registrationId;
    });
    return rows;
}

bool SittingFilter::matches(const SittingRow& row) const {
    if (!group.isEmpty() && row.group != group) return false;
    if (!computer.isEmpty() && row.computer != computer) return false;
    const QDate day = row.registeredAt.toLocalTime().date();
    if (from.isValid() && day < from) return false;
    if (to.isValid() && day > to) return false;
    return true;
}

QList<SittingRow> filterSittings(const QList<SittingRow>& rows, const SittingFilter& filter) {
    QList<SittingRow> out;
    for (const SittingRow& row : rows)
        if (filter.matches(row)) out.append(row);
    return out;
}

QStringList sittingColumnTitles() {
    return {QStringLiteral("Дата и время"), QStringLiteral("Компьютер"), QStringLiteral("Группа"),
            QStringLiteral("Фамилия"),      QStringLiteral("Вариант"),   QStringLiteral("Опыт 1"),
            QStringLiteral("Опыт 2"),       QStringLiteral("Опыт 3"),    QStringLiteral("Опыт 4"),
            QStringLiteral("Итого")};
}

QStringList sittingCells(const SittingRow& row) {
    QStringList cells = {
        row.registeredAt.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm")),
        row.computer,
        row.group,
        row.surname,
        row.variant > 0 ? QString::number(row.variant) : QString(),
    };
    // A grade reads as the results window shows it: the single-precision value widened.
    for (const auto& grade : row.grades)
        cells.append(grade ? formatGeneral(double(*grade)) : QString());
    cells.append(formatGeneral(row.total()));
    return cells;
}

QByteArray sittingsCsv(const QList<SittingRow>& rows) {
    const QChar separator = QLatin1Char(';');
    QByteArray out("\xEF\xBB\xBF");
    out += csvRecord(sittingColumnTitles(), separator);
    for (const SittingRow& row : rows) out += csvRecord(sittingCells(row), separator);
    return out;
}
