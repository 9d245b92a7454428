#include "journal/SharedMistakes.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <tuple>

#include "lab/GradeEvidence.h"

namespace {
struct Way {
    QString key;
    QString mistake;
    bool operator==(const Way&) const = default;
};
size_t qHash(const Way& w, size_t seed = 0) {
    return qHashMulti(seed, w.key, w.mistake);
}

// The line's label without the number of the attempt or answer it was.
QString labelWithoutAttempt(const QString& label) {
    static const QRegularExpression attempt(QStringLiteral("(, попытка|: ответ) \\d+$"));
    QString text = label;
    text.remove(attempt);
    return text;
}

// The ways a grade's evidence went wrong, among the lines that entered the grade.
QSet<Way> waysWrong(const GradeEvidence& evidence, QHash<QString, QString>* labels) {
    QSet<Way> ways;
    for (const EvidenceItem& item : evidence.items) {
        if (!item.counts || item.verdict != EvidenceItem::Verdict::Wrong) continue;
        for (const QString& m : item.mistakes) {
            ways.insert({item.key, m});
            if (!labels->contains(item.key))
                labels->insert(item.key, labelWithoutAttempt(item.label));
        }
    }
    return ways;
}
}  // namespace

QList<QList<SharedMistake>> findSharedMistakes(const QList<SittingRow>& rows) {
    // Per group and experiment: the students graded with evidence, and per way of going wrong
    // the students who went that way.
    struct Tally {
        QSet<QString> graded;
        QHash<Way, QSet<QString>> wrong;
    };
    QHash<QString, Tally> tallies;  // group + experiment
    QHash<QString, QString> labels;
    QList<std::array<QSet<Way>, 4>> rowWays(rows.size());
    const auto tallyKey = [](const QString& group, int experiment) -> QString {
        return group + QChar(0x1F) + QString::number(experiment);
    };
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const SittingRow& row = rows[r];
        const QString student = row.group + QChar(0x1F) + row.surname;
        for (int k = 1; k <= 4; ++k) {
            const std::optional<GradeEvidence> evidence =
                GradeEvidence::fromJson(row.evidence[std::size_t(k - 1)]);
            if (!evidence) continue;
            Tally& tally = tallies[tallyKey(row.group, k)];
            tally.graded.insert(student);
            QSet<Way>& ways = rowWays[r][std::size_t(k - 1)];
            ways = waysWrong(*evidence, &labels);
            for (const Way& w : ways) tally.wrong[w].insert(student);
        }
    }

    QList<QList<SharedMistake>> result(rows.size());
    for (qsizetype r = 0; r < rows.size(); ++r) {
        for (int k = 1; k <= 4; ++k) {
            const auto tally = tallies.constFind(tallyKey(rows[r].group, k));
            if (tally == tallies.cend()) continue;
            const int graded = int(tally->graded.size());
            QList<SharedMistake> found;
            for (const Way& w : rowWays[r][std::size_t(k - 1)]) {
                const int students = int(tally->wrong.value(w).size());
                if (students < SharedMistakeMinStudents || 2 * students < graded) continue;
                found.append({k, w.key, labels.value(w.key), w.mistake, students, graded});
            }
            // The same order every time: by line, then by mistake.
            std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
                return std::tie(a.itemKey, a.mistake) < std::tie(b.itemKey, b.mistake);
            });
            result[r] += found;
        }
    }
    return result;
}

QString sharedMistakeText(const SharedMistake& m) {
    return QStringLiteral("Опыт %1, «%2» — %3: так ошиблись %4 из %5 учеников группы")
        .arg(m.experiment)
        .arg(m.itemLabel, m.mistake)
        .arg(m.students)
        .arg(m.gradedStudents);
}
