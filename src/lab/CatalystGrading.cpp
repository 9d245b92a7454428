#include "lab/CatalystGrading.h"

#include <QJsonArray>

#include "lab/Numbers.h"

QString catalystQuestion() {
    return QStringLiteral("Как влияет катализатор на скорость реакции?");
}

QString catalystOptionText(bool right) {
    return right ? QStringLiteral("Катализатор ускоряет реакцию")
                 : QStringLiteral("Катализатор замедляет реакцию");
}

GradeEvidence CatalystGrading::evidence() const {
    GradeEvidence e;
    e.experiment = 3;
    e.grade = grade;
    QJsonArray data;
    int n = 0;
    for (bool right : answers) {
        EvidenceItem item;
        item.key = QStringLiteral("catalyst");
        item.label = QStringLiteral("Как влияет катализатор: ответ %1").arg(++n);
        item.entered = catalystOptionText(right);
        item.expected = catalystOptionText(true);
        item.counts = true;
        item.verdict = right ? EvidenceItem::Verdict::Right : EvidenceItem::Verdict::Wrong;
        item.counted = right ? QStringLiteral("верно")
                             : QString(QStringLiteral("неверно: оценка не выше ") +
                                       formatGeneral(GradeAfterWrongOption));
        if (!right)
            item.mistakes = {QStringLiteral("выбрано «") + catalystOptionText(false) +
                             QStringLiteral("»")};
        e.items.append(item);
        QJsonObject o;
        o.insert(QStringLiteral("option"),
                 right ? QStringLiteral("lower") : QStringLiteral("upper"));
        o.insert(QStringLiteral("text"), catalystOptionText(right));
        o.insert(QStringLiteral("right"), right);
        data.append(o);
    }
    e.data.insert(QStringLiteral("answers"), data);
    e.summary = wrongOptionChosen
                    ? QStringLiteral("Верный ответ «%1» выбран не с первого раза: %2.")
                          .arg(catalystOptionText(true), pointsText(grade))
                    : QStringLiteral("Верный ответ «%1» выбран сразу: %2.")
                          .arg(catalystOptionText(true), pointsText(grade));
    return e;
}
