#include "journal/ClassSheetPaper.h"

#include "journal/Paper.h"
#include "lab/Numbers.h"

namespace {
QString dateText(const QDate& date) {
    return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QStringLiteral("…");
}

QString periodText(const QDate& from, const QDate& to) {
    if (!from.isValid() && !to.isValid()) return QStringLiteral("за всё время");
    if (from == to) return dateText(from);
    return dateText(from) + QStringLiteral(" — ") + dateText(to);
}
}  // namespace

void composeClassSheet(Paper& paper, const ClassSheet& sheet) {
    const QStringList groups = groupsOf(sheet.students);
    // One group: named above the table; several: a column of its own.
    const bool groupColumn = groups.size() > 1;

    paper.heading(QStringLiteral("Ведомость лабораторных работ"));

    PaperTable facts;
    facts.widths = {1, 3};
    facts.ruled = false;
    facts.rows = {
        {groups.size() > 1 ? QStringLiteral("Группы:") : QStringLiteral("Группа:"),
         groups.isEmpty() ? QStringLiteral("—") : groups.join(QStringLiteral(", "))},
        {QStringLiteral("Период:"), periodText(sheet.from, sheet.to)},
        {QStringLiteral("Учеников:"), QString::number(sheet.students.size())},
    };
    paper.table(facts);
    paper.space(1);

    PaperTable table;
    table.headers = {QStringLiteral("№"), QStringLiteral("Ученик")};
    table.widths = {0.6, groupColumn ? 4.2 : 5.8};
    table.alignments = {Qt::AlignHCenter, Qt::AlignLeft};
    if (groupColumn) {
        table.headers << QStringLiteral("Группа");
        table.widths << 1.9;
        table.alignments << Qt::AlignLeft;
    }
    for (int experiment = 1; experiment <= 4; ++experiment) {
        table.headers << QStringLiteral("Опыт %1").arg(experiment);
        table.widths << 1.1;
        table.alignments << Qt::AlignHCenter;
    }
    table.headers << QStringLiteral("Итого");
    table.widths << 1.1;
    table.alignments << Qt::AlignHCenter;

    int number = 0;
    for (const StudentGrades& student : sheet.students) {
        QStringList cells{QString::number(++number), student.surname};
        if (groupColumn) cells << student.group;
        for (const auto& grade : student.grades) cells << gradeText(grade);
        cells << formatGeneral(student.total());
        table.rows << cells;
    }
    paper.table(table);

    paper.text(QStringLiteral("Оценка опыта — последняя, полученная учеником за период; пустая "
                              "клетка — опыт не выполнен. Итог — среднее оценок четырёх опытов, "
                              "невыполненный опыт считается за 0, итог округлён до десятых."),
               Paper::Style::Small);
    paper.space(10);
    paper.signatureLines({QStringLiteral("Преподаватель")});
}

bool drawClassSheet(QPagedPaintDevice& device, const ClassSheet& sheet) {
    // Each page names its group, so a page that comes loose is still known.
    const QStringList groups = groupsOf(sheet.students);
    const QString made = sheet.madeAt.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    const QString footer =
        groups.size() == 1
            ? QStringLiteral("Ведомость группы %1 составлена %2 программой «Реактикум»")
                  .arg(groups[0], made)
            : QStringLiteral("Ведомость составлена %1 программой «Реактикум»").arg(made);
    return drawPaper(device, footer, [&](Paper& paper) { composeClassSheet(paper, sheet); });
}
