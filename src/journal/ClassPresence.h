#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <array>
#include <optional>

#include "journal/SittingSummary.h"

// Who is at a computer of the class now: the student of its newest sitting, the experiment the
// student is in (0: none, between experiments) and the grades so far.
struct ComputerPresence {
    QString computer;
    QString group;
    QString surname;
    int inExperiment = 0;
    std::array<std::optional<float>, 4> grades;
    QDateTime lastEventAt;  // UTC
};

// One entry per computer whose newest sitting had a row on the local day of now, in the order
// of the computers' names (pc-2 before pc-10). A computer whose newest sitting was removed from
// the results window has nobody at it.
QList<ComputerPresence> classPresence(const QList<SittingRow>& sittings, const QDateTime& now);

// The texts the view shows: where the student is, and the grades so far.
QString presenceExperimentText(const ComputerPresence& presence);
QString presenceGradesText(const ComputerPresence& presence);
