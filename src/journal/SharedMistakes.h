#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <array>
#include <memory>
#include <utility>

#include "journal/SittingSummary.h"

// A way of going wrong that many students of one group share in one experiment: when most of a
// group gives the same wrong answer, the reference value or the question is more likely off
// than the students.
struct SharedMistake {
    int experiment = 0;
    QString itemKey;         // the evidence line, as programs name it
    QString itemLabel;       // the evidence line, in Russian, without its attempt number
    QString mistake;         // how it was wrong, as the evidence words it
    int students = 0;        // students of the group who went wrong this way
    int gradedStudents = 0;  // students of the group whose grade in the experiment has evidence

    bool operator==(const SharedMistake&) const = default;
};

// "Many": at least this many students, and at least half of the group's students whose grade
// in that experiment carries evidence. A student counts once however often he sat the
// experiment; only lines that entered a grade count.
inline constexpr int SharedMistakeMinStudents = 3;

// For each row, in the rows' order, the shared mistakes the evidence of its grades shows, by
// experiment. Groups are told apart by their name, students by group and surname.
QList<QList<SharedMistake>> findSharedMistakes(const QList<SittingRow>& rows);

// What one row's evidence tells the count: per experiment 1..4, whether the grade has evidence,
// and each way it went wrong (the line's key and the mistake) with the lines' labels. Read on
// any thread, so a reader can do it before the rows reach the window.
struct EvidenceMistakes {
    std::array<bool, 4> graded{};
    std::array<QList<std::pair<QString, QString>>, 4> wrong;
    QHash<QString, QString> labels;
};
EvidenceMistakes readEvidenceMistakes(const SittingRow& row);

// The same count kept as rows come in a page at a time: each grade's evidence is read once, and
// a page changes only what its groups' rows show.
class SharedMistakeCounter {
public:
    SharedMistakeCounter();
    ~SharedMistakeCounter();
    SharedMistakeCounter(const SharedMistakeCounter&) = delete;
    SharedMistakeCounter& operator=(const SharedMistakeCounter&) = delete;

    void clear();
    // Counts rows after those added before, with what their evidence tells when it was read
    // already; returns the groups whose count changed.
    QSet<QString> add(const QList<SittingRow>& rows, const QList<EvidenceMistakes>& read = {});
    // The shared mistakes of the row added at index (0 for the first row ever added).
    QList<SharedMistake> mistakesOf(qsizetype index) const;
    qsizetype size() const;

private:
    struct Counts;
    std::unique_ptr<Counts> counts_;
};

// "Опыт 4, «Константа равновесия» — поле 1 — «б»: так ошиблись 5 из 8 учеников группы".
QString sharedMistakeText(const SharedMistake& mistake);
