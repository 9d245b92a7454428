#include "journal/StudentGrades.h"

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <algorithm>
#include <vector>

#include "lab/Grades.h"
#include "lab/Numbers.h"

double StudentGrades::total() const {
    return totalGrade(grades);
}

namespace {
bool hasGrade(const SittingRow& row) {
    return std::any_of(row.grades.begin(), row.grades.end(),
                       [](const auto& grade) { return grade.has_value(); });
}
}  // namespace

QList<StudentGrades> gradesByStudent(const QList<SittingRow>& rows) {
    // Oldest first, so a later sitting's grade replaces an earlier one. The rows stay where they
    // are: a class's years of sittings are ordered by reference.
    std::vector<const SittingRow*> ordered;
    ordered.reserve(std::size_t(rows.size()));
    for (const SittingRow& row : rows) ordered.push_back(&row);
    std::stable_sort(ordered.begin(), ordered.end(), [](const SittingRow* a, const SittingRow* b) {
        if (a->registeredAt != b->registeredAt) return a->registeredAt < b->registeredAt;
        return a->registrationId < b->registrationId;
    });
    QList<StudentGrades> students;
    QHash<QString, qsizetype> index;  // group + surname → entry
    for (const SittingRow* sitting : ordered) {
        const SittingRow& row = *sitting;
        if (row.deleted && !hasGrade(row)) continue;
        const QString key = row.group + QChar(0x1F) + row.surname;
        auto found = index.find(key);
        if (found == index.end()) {
            StudentGrades student;
            student.group = row.group;
            student.surname = row.surname;
            found = index.insert(key, students.size());
            students.append(student);
        }
        StudentGrades& student = students[*found];
        ++student.sittings;
        for (std::size_t k = 0; k < row.grades.size(); ++k) {
            if (!row.grades[k]) continue;
            student.grades[k] = row.grades[k];
            student.evidenceSummaries[k] = row.evidenceSummaries[k];
        }
    }
    QCollator collator{QLocale(QLocale::Russian, QLocale::Russia)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::stable_sort(students.begin(), students.end(),
                     [&collator](const StudentGrades& a, const StudentGrades& b) {
                         if (const int byGroup = collator.compare(a.group, b.group); byGroup != 0)
                             return byGroup < 0;
                         return collator.compare(a.surname, b.surname) < 0;
                     });
    return students;
}

QStringList groupsOf(const QList<StudentGrades>& students) {
    QStringList groups;
    for (const StudentGrades& student : students)
        if (!groups.contains(student.group)) groups.append(student.group);
    return groups;
}

QString gradeText(const std::optional<float>& grade) {
    if (!grade) return {};
    // Seven significant digits are what single precision holds.
    return formatGeneral(QString::number(double(*grade), 'g', 7).toDouble());
}

std::pair<QDate, QDate> dateRange(const QList<SittingRow>& rows) {
    QDate first, last;
    for (const SittingRow& row : rows) {
        const QDate day = row.registeredAt.toLocalTime().date();
        if (!first.isValid() || day < first) first = day;
        if (!last.isValid() || day > last) last = day;
    }
    return {first, last};
}
