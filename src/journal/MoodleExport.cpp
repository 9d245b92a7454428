#include "journal/MoodleExport.h"

#include "journal/CsvFields.h"

namespace {
QString moodleNumber(double value) {
    return QString::number(value, 'g', 7);
}

QString feedbackOf(const StudentGrades& student) {
    QStringList parts;
    for (std::size_t k = 0; k < student.grades.size(); ++k) {
        QString summary = student.evidenceSummaries[k].trimmed();
        if (!student.grades[k] || summary.isEmpty()) continue;
        if (!summary.endsWith(QLatin1Char('.')) && !summary.endsWith(QLatin1Char('!')) &&
            !summary.endsWith(QLatin1Char('?')))
            summary += QLatin1Char('.');
        parts << QStringLiteral("Опыт %1: %2").arg(k + 1).arg(summary);
    }
    return parts.join(QLatin1Char(' '));
}
}  // namespace

QStringList moodleColumnTitles() {
    return {QStringLiteral("Ученик"), QStringLiteral("Опыт 1"), QStringLiteral("Опыт 2"),
            QStringLiteral("Опыт 3"), QStringLiteral("Опыт 4"), QStringLiteral("Итого"),
            QStringLiteral("Отзыв")};
}

QStringList moodleCells(const StudentGrades& student) {
    QStringList cells{student.surname};
    for (const auto& grade : student.grades)
        cells << (grade ? moodleNumber(double(*grade)) : QString());
    cells << moodleNumber(student.total()) << feedbackOf(student);
    return cells;
}

QByteArray moodleGradesCsv(const QList<StudentGrades>& students) {
    const QChar separator = QLatin1Char(',');
    QByteArray out = csvRecord(moodleColumnTitles(), separator);
    for (const StudentGrades& student : students) out += csvRecord(moodleCells(student), separator);
    return out;
}
