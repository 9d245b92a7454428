#include "journal/ClassPresence.h"

#include <QHash>
#include <algorithm>

#include "lab/Numbers.h"

namespace {
// The later of two sittings of one computer: the newer last row, then the later registration.
bool isLater(const SittingRow& a, const SittingRow& b) {
    if (a.lastEventAt != b.lastEventAt) return a.lastEventAt > b.lastEventAt;
    return a.registrationId > b.registrationId;
}

// Computer names as a person orders them: the numbers in them by value, so pc-2 comes before
// pc-10; letters without regard to case.
bool isBefore(const QString& a, const QString& b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const qsizetype startA = i, startB = j;
            while (i < a.size() && a[i].isDigit()) ++i;
            while (j < b.size() && b[j].isDigit()) ++j;
            // Leading zeros aside, the longer run of digits is the larger number.
            QStringView numberA = QStringView(a).sliced(startA, i - startA);
            QStringView numberB = QStringView(b).sliced(startB, j - startB);
            while (numberA.size() > 1 && numberA.front() == QLatin1Char('0'))
                numberA = numberA.sliced(1);
            while (numberB.size() > 1 && numberB.front() == QLatin1Char('0'))
                numberB = numberB.sliced(1);
            if (numberA.size() != numberB.size()) return numberA.size() < numberB.size();
            if (const int c = numberA.compare(numberB); c != 0) return c < 0;
            continue;
        }
        const QChar x = a[i].toCaseFolded(), y = b[j].toCaseFolded();
        if (x != y) return x < y;
        ++i;
        ++j;
    }
    if ((a.size() - i) != (b.size() - j)) return (a.size() - i) < (b.size() - j);
    return a < b;
}
}  // namespace

QList<ComputerPresence> classPresence(const QList<SittingRow>& sittings, const QDateTime& now) {
    QHash<QString, const SittingRow*> newest;
    for (const SittingRow& row : sittings) {
        const SittingRow*& kept = newest[row.computer];
        if (!kept || isLater(row, *kept)) kept = &row;
    }
    const QDate today = now.toLocalTime().date();
    QList<ComputerPresence> out;
    for (const SittingRow* row : std::as_const(newest)) {
        if (row->deleted || row->lastEventAt.toLocalTime().date() != today) continue;
        ComputerPresence p;
        p.computer = row->computer;
        p.group = row->group;
        p.surname = row->surname;
        p.inExperiment = row->inExperiment;
        p.grades = row->grades;
        p.lastEventAt = row->lastEventAt;
        out.append(p);
    }
    std::sort(out.begin(), out.end(), [](const ComputerPresence& a, const ComputerPresence& b) {
        return isBefore(a.computer, b.computer);
    });
    return out;
}

QString presenceExperimentText(const ComputerPresence& presence) {
    return presence.inExperiment > 0 ? QStringLiteral("опыт %1").arg(presence.inExperiment)
                                     : QStringLiteral("не в опыте");
}

QString presenceGradesText(const ComputerPresence& presence) {
    QStringList parts;
    for (int k = 1; k <= 4; ++k) {
        const auto& grade = presence.grades[std::size_t(k - 1)];
        if (grade) parts << QStringLiteral("№%1 — %2").arg(k).arg(formatGeneral(double(*grade)));
    }
    return parts.isEmpty() ? QStringLiteral("нет") : parts.join(QStringLiteral("; "));
}
