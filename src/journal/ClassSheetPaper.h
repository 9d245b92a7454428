#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include "journal/StudentGrades.h"

class Paper;
class QPagedPaintDevice;

// What a class sheet lists: the students of what the teacher's view shows, the period it covers
// and when it was made.
struct ClassSheet {
    QList<StudentGrades> students;  // in the order printed
    QDate from;                     // the period; an invalid date leaves that end open
    QDate to;
    QDateTime madeAt;  // UTC
};

// The class's sheet as a school files it: group, period, one numbered row per student with the
// four grades and the total, and a line for the teacher's signature. Rows run onto further
// pages whole, under the header row again.
void composeClassSheet(Paper& paper, const ClassSheet& sheet);
// False when the device could not be painted on.
bool drawClassSheet(QPagedPaintDevice& device, const ClassSheet& sheet);
