#include "journal/ProtocolPaper.h"

#include "journal/EvidencePaper.h"
#include "journal/Paper.h"
#include "journal/StudentGrades.h"
#include "lab/Numbers.h"

namespace {
QString shownTime(const QDateTime& utc) {
    return utc.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm"));
}

// Each page names its student, so a page that comes loose is still known.
QString footerOf(const SittingRow& sitting, const QDateTime& madeAt) {
    return QStringLiteral("Протокол: %1, %2, занятие %3; составлен %4")
        .arg(sitting.surname, sitting.group,
             sitting.registeredAt.toLocalTime().toString(QStringLiteral("dd.MM.yyyy")),
             shownTime(madeAt));
}
}  // namespace

QString experimentTitle(int experiment) {
    switch (experiment) {
        case 1:
            return QStringLiteral("Влияние концентрации на скорость реакции");
        case 2:
            return QStringLiteral("Влияние температуры на скорость реакции");
        case 3:
            return QStringLiteral("Влияние катализатора на скорость реакции");
        case 4:
            return QStringLiteral("Смещение химического равновесия обратимой реакции");
        default:
            return {};
    }
}

void composeProtocol(Paper& paper, const SittingRow& sitting) {
    paper.heading(QStringLiteral("Протокол лабораторной работы"));

    PaperTable facts;
    facts.widths = {1, 3};
    facts.ruled = false;
    facts.rows = {
        {QStringLiteral("Ученик:"), sitting.surname},
        {QStringLiteral("Группа:"), sitting.group},
        {QStringLiteral("Дата и время:"), shownTime(sitting.registeredAt)},
        {QStringLiteral("Компьютер:"), sitting.computer},
        {QStringLiteral("Вариант:"),
         sitting.variant > 0 ? QString::number(sitting.variant) : QStringLiteral("не выбран")},
    };
    paper.table(facts);
    if (sitting.deleted)
        paper.text(QStringLiteral("Запись занятия удалена из окна результатов; оценки взяты из "
                                  "журнала класса."),
                   Paper::Style::Small);
    paper.space(2);

    for (int experiment = 1; experiment <= 4; ++experiment) {
        const auto k = static_cast<std::size_t>(experiment - 1);
        // A heading never ends a page: it keeps the grade line and some evidence below it.
        paper.keepTogether(30);
        paper.text(QStringLiteral("Опыт %1. %2").arg(experiment).arg(experimentTitle(experiment)),
                   Paper::Style::Heading);
        const auto& grade = sitting.grades[k];
        if (!grade) {
            paper.text(QStringLiteral("Оценка: нет (опыт не выполнен)."), Paper::Style::Body,
                       Qt::AlignLeft, 6);
            paper.space(2);
            continue;
        }
        paper.text(QStringLiteral("Оценка: %1").arg(gradeText(grade)), Paper::Style::Body,
                   Qt::AlignLeft, 6);
        drawEvidence(paper, sitting.evidence[k], sitting.evidenceSummaries[k]);
        paper.space(2);
    }

    paper.keepTogether(60);
    paper.text(QStringLiteral("Итоговая оценка: %1").arg(formatGeneral(sitting.total())),
               Paper::Style::Heading);
    paper.text(QStringLiteral("Итог — среднее оценок четырёх опытов; невыполненный опыт "
                              "считается за 0, итог округлён до десятых."),
               Paper::Style::Small);
    paper.space(8);
    paper.signatureLines({QStringLiteral("Преподаватель"), QStringLiteral("Ученик")});
}

bool drawProtocol(QPagedPaintDevice& device, const SittingRow& sitting, const QDateTime& madeAt) {
    return drawPaper(device, footerOf(sitting, madeAt),
                     [&](Paper& paper) { composeProtocol(paper, sitting); });
}
