#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <array>
#include <optional>

#include "journal/SittingSummary.h"

// What the papers and the gradebook file say of one student: his grades over the sittings the
// teacher's view shows.
struct StudentGrades {
    QString group;
    QString surname;
    // The latest grade of each experiment over his sittings, with what it was reached from.
    std::array<std::optional<float>, 4> grades;
    std::array<QString, 4> evidenceSummaries;
    int sittings = 0;

    // As the results window counts it: the mean of four, none counting 0, to the nearest tenth.
    double total() const;
};

// One entry per student (group and surname as registered) in alphabetical order, by group and
// then by surname. A student who sat more than once keeps the latest grade of each experiment.
// A sitting removed from the results window before any grade (a registration made by mistake)
// is left out; one removed with grades (the table emptied for the next class) still counts.
QList<StudentGrades> gradesByStudent(const QList<SittingRow>& rows);

// The groups of the entries, each once, in alphabetical order.
QStringList groupsOf(const QList<StudentGrades>& students);

// A grade as a person writes it down: the stored single-precision value to its own precision
// (4,3 rather than 4,30000019073486), with the decimal comma; empty for none.
QString gradeText(const std::optional<float>& grade);

// The local dates of the earliest and the latest sitting of rows; invalid for none.
std::pair<QDate, QDate> dateRange(const QList<SittingRow>& rows);
