#pragma once

#include <QList>
#include <QString>

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

// "Опыт 4, «Константа равновесия» — поле 1 — «б»: так ошиблись 5 из 8 учеников группы".
QString sharedMistakeText(const SharedMistake& mistake);
