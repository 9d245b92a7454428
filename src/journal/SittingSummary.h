#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <array>
#include <optional>

#include "journal/JournalEvent.h"

// One row of the teacher's view: a sitting with the grades as last recorded.
struct SittingRow {
    QDateTime registeredAt;  // UTC; the first row of the sitting when its registration is missing
    QString computer;
    QString sitting;
    QString group;
    QString surname;
    int variant = 0;  // as last recorded; 0 when none
    std::array<std::optional<float>, 4> grades;
    // What each grade shown was reached from: its JSON and its sentence, empty when the grade
    // was recorded without them.
    std::array<QString, 4> evidence;
    std::array<QString, 4> evidenceSummaries;
    bool deleted = false;       // removed from the results window since
    qint64 registrationId = 0;  // the computer's id of its registration: orders equal times
    // The experiment 1..4 the student entered last and has not left: 0 once it is graded or
    // before any was entered. Entering another one leaves the first.
    int inExperiment = 0;
    QDateTime lastEventAt;  // UTC: the sitting's newest row

    // The mean of the four grades (none counts 0) rounded to the nearest 0.1, as the results
    // window shows it.
    double total() const;
};

// One row per sitting of the events, newest sitting first. A sitting the events only delete
// (a student this journal never registered or graded) has no row: there is nothing to show.
QList<SittingRow> summariseSittings(const JournalEvents& events);

struct SittingFilter {
    QString group;     // empty: every group
    QString computer;  // empty: every computer
    QDate from;        // local dates, inclusive; invalid: open
    QDate to;
    bool matches(const SittingRow& row) const;
    bool operator==(const SittingFilter&) const = default;
};

QList<SittingRow> filterSittings(const QList<SittingRow>& rows, const SittingFilter& filter);

// The texts the view shows and the export writes, one list per row, in column order.
QStringList sittingColumnTitles();
QStringList sittingCells(const SittingRow& row);

// The rows as a spreadsheet file: UTF-8 with a byte-order mark, ';' between fields, decimal
// comma, the Russian header row, CRLF line ends; a cell that reads as a formula is kept as text.
QByteArray sittingsCsv(const QList<SittingRow>& rows);
