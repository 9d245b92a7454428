#include "journal/SharedMistakes.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <array>
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

// Per group and experiment: the students graded with evidence, and per way of going wrong
// the students who went that way.
struct SharedMistakeCounter::Counts {
    struct Tally {
        QSet<QString> graded;
        QHash<Way, QSet<QString>> wrong;
    };
    QHash<QString, Tally> tallies;  // group + experiment
    QHash<QString, QString> labels;
    // Each row's group and its ways of going wrong in experiments 1..4.
    QList<QString> rowGroups;
    QList<std::array<QSet<Way>, 4>> rowWays;
};

namespace {
QString tallyKey(const QString& group, int experiment) {
    return group + QChar(0x1F) + QString::number(experiment);
}
}  // namespace

SharedMistakeCounter::SharedMistakeCounter() : counts_(std::make_unique<Counts>()) {}
SharedMistakeCounter::~SharedMistakeCounter() = default;

void SharedMistakeCounter::clear() {
    counts_ = std::make_unique<Counts>();
}

qsizetype SharedMistakeCounter::size() const {
    return counts_->rowGroups.size();
}

EvidenceMistakes readEvidenceMistakes(const SittingRow& row) {
    EvidenceMistakes read;
    for (std::size_t k = 0; k < 4; ++k) {
        const std::optional<GradeEvidence> evidence = GradeEvidence::fromJson(row.evidence[k]);
        if (!evidence) continue;
        read.graded[k] = true;
        for (const Way& w : waysWrong(*evidence, &read.labels))
            read.wrong[k].append({w.key, w.mistake});
    }
    return read;
}

QSet<QString> SharedMistakeCounter::add(const QList<SittingRow>& rows,
                                        const QList<EvidenceMistakes>& read) {
    QSet<QString> changed;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const SittingRow& row = rows[r];
        const EvidenceMistakes evidence = r < read.size() ? read[r] : readEvidenceMistakes(row);
        const QString student = row.group + QChar(0x1F) + row.surname;
        std::array<QSet<Way>, 4> rowWays;
        for (int k = 1; k <= 4; ++k) {
            if (!evidence.graded[std::size_t(k - 1)]) continue;
            Counts::Tally& tally = counts_->tallies[tallyKey(row.group, k)];
            tally.graded.insert(student);
            QSet<Way>& ways = rowWays[std::size_t(k - 1)];
            for (const auto& [key, mistake] : evidence.wrong[std::size_t(k - 1)])
                ways.insert({key, mistake});
            for (const Way& w : ways) tally.wrong[w].insert(student);
            changed.insert(row.group);
        }
        for (auto label = evidence.labels.cbegin(); label != evidence.labels.cend(); ++label)
            if (!counts_->labels.contains(label.key()))
                counts_->labels.insert(label.key(), label.value());
        counts_->rowGroups << row.group;
        counts_->rowWays << rowWays;
    }
    return changed;
}

QList<SharedMistake> SharedMistakeCounter::mistakesOf(qsizetype index) const {
    QList<SharedMistake> result;
    if (index < 0 || index >= size()) return result;
    for (int k = 1; k <= 4; ++k) {
        const auto tally = counts_->tallies.constFind(tallyKey(counts_->rowGroups[index], k));
        if (tally == counts_->tallies.cend()) continue;
        const int graded = int(tally->graded.size());
        QList<SharedMistake> found;
        for (const Way& w : counts_->rowWays[index][std::size_t(k - 1)]) {
            const int students = int(tally->wrong.value(w).size());
            if (students < SharedMistakeMinStudents || 2 * students < graded) continue;
            found.append({k, w.key, counts_->labels.value(w.key), w.mistake, students, graded});
        }
        // The same order every time: by line, then by mistake.
        std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
            return std::tie(a.itemKey, a.mistake) < std::tie(b.itemKey, b.mistake);
        });
        result += found;
    }
    return result;
}

QList<QList<SharedMistake>> findSharedMistakes(const QList<SittingRow>& rows) {
    SharedMistakeCounter counter;
    counter.add(rows);
    QList<QList<SharedMistake>> result;
    result.reserve(rows.size());
    for (qsizetype r = 0; r < rows.size(); ++r) result << counter.mistakesOf(r);
    return result;
}

QString sharedMistakeText(const SharedMistake& m) {
    return QStringLiteral("Опыт %1, «%2» — %3: так ошиблись %4 из %5 учеников группы")
        .arg(m.experiment)
        .arg(m.itemLabel, m.mistake)
        .arg(m.students)
        .arg(m.gradedStudents);
}
