#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

#include "journal/StudentGrades.h"

// The grades as Moodle's gradebook import ("Импорт оценок", CSV file) takes them: UTF-8 without
// a byte-order mark, ',' between fields, RFC 4180 quoting, a header row, CRLF line ends. One
// row per student: the identifier (the surname as registered), one column per experiment, the
// total, and a feedback column with the short sentences of the evidence. Grades use the decimal
// point, which Moodle reads whatever its language; a missing grade is an empty cell, which
// Moodle leaves ungraded.
QStringList moodleColumnTitles();
QStringList moodleCells(const StudentGrades& student);
QByteArray moodleGradesCsv(const QList<StudentGrades>& students);
