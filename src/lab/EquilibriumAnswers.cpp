#include "lab/EquilibriumAnswers.h"

#include <QJsonArray>
#include <array>

#include "lab/Numbers.h"

int rightDirection(int group) {
    return group == 3 ? 1 : 0;
}

bool allDirectionsRight(const int chosen[DirectionGroupCount]) {
    for (int g = 1; g <= DirectionGroupCount; ++g)
        if (chosen[g - 1] != rightDirection(g)) return false;
    return true;
}

QString rightAnswerBoxText(int box) {
    static const std::array<QString, AnswerBoxCount> answers = {
        QStringLiteral("в"), QStringLiteral("г"), QStringLiteral("а"),
        QStringLiteral("б"), QStringLiteral("3"), QStringLiteral("3"),
    };
    if (box < 1 || box > AnswerBoxCount) return {};
    return answers[static_cast<std::size_t>(box - 1)];
}

bool answerBoxesRight(const QStringList& texts) {
    if (texts.size() != AnswerBoxCount) return false;
    for (int box = 1; box <= AnswerBoxCount; ++box)
        if (texts[box - 1] != rightAnswerBoxText(box)) return false;
    return true;
}

double EquilibriumGrading::recordedGrade() const {
    return roundToFraction(10, (directionGrade + answerBoxGrade) / 2);
}

void EquilibriumGrading::chooseDirection(int group, int chosen) {
    if (group < 1 || group > DirectionGroupCount || chosen < 0) return;
    const bool right = chosen == rightDirection(group);
    answers.append({EquilibriumAnswer::Kind::Direction, group, chosen, {}, right});
    if (!right) directionGrade = 4;
}

bool EquilibriumGrading::checkAnswerBoxes(const QStringList& texts) {
    const bool right = answerBoxesRight(texts);
    answers.append({EquilibriumAnswer::Kind::AnswerBoxes, 0, -1, texts, right});
    if (!right) answerBoxGrade = 4;
    return right;
}

namespace {
QString reagent(int group) {
    static const std::array<QString, DirectionGroupCount> names = {
        QStringLiteral("FeCl3"), QStringLiteral("KSCN"), QStringLiteral("KCl")};
    return group >= 1 && group <= DirectionGroupCount ? names[std::size_t(group - 1)] : QString();
}

QString directionText(int item) {
    return item == 0 ? QStringLiteral("вправо (-->)") : QStringLiteral("влево (<--)");
}

// The constant as the boxes write it: the upper row over the lower, each row's second
// concentration raised to the row's exponent.
QString constantText(const QStringList& boxes) {
    const auto box = [&](int i) {
        const QString t = boxes.value(i);
        return t.isEmpty() ? QStringLiteral("…") : t;
    };
    return QStringLiteral("%1·%2^%3 / %4·%5^%6")
        .arg(box(0), box(1), box(4), box(2), box(3), box(5));
}

QStringList rightBoxes() {
    QStringList texts;
    for (int b = 1; b <= AnswerBoxCount; ++b) texts.append(rightAnswerBoxText(b));
    return texts;
}
}  // namespace

GradeEvidence EquilibriumGrading::evidence() const {
    GradeEvidence e;
    e.experiment = 4;
    e.grade = recordedGrade();
    QJsonArray data;
    int boxTries = 0;
    for (const EquilibriumAnswer& a : answers) {
        EvidenceItem item;
        item.counts = true;
        item.verdict = a.right ? EvidenceItem::Verdict::Right : EvidenceItem::Verdict::Wrong;
        QJsonObject o;
        if (a.kind == EquilibriumAnswer::Kind::Direction) {
            item.key = QStringLiteral("direction.") + reagent(a.group);
            item.label =
                QStringLiteral("Добавлен %1: куда сместится равновесие").arg(reagent(a.group));
            item.entered = directionText(a.chosen);
            item.expected = directionText(rightDirection(a.group));
            item.counted =
                a.right ? QStringLiteral("верно") : QStringLiteral("неверно: за направления 4");
            if (!a.right) item.mistakes = {QStringLiteral("выбрано ") + directionText(a.chosen)};
            o.insert(QStringLiteral("kind"), QStringLiteral("direction"));
            o.insert(QStringLiteral("reagent"), reagent(a.group));
            o.insert(QStringLiteral("chosen"),
                     a.chosen == 0 ? QStringLiteral("right") : QStringLiteral("left"));
        } else {
            item.key = QStringLiteral("constant");
            item.label = QStringLiteral("Константа равновесия, попытка %1").arg(++boxTries);
            item.entered = constantText(a.boxes);
            item.expected = constantText(rightBoxes());
            QStringList wrongBoxes;
            for (int b = 1; b <= AnswerBoxCount; ++b) {
                const QString typed = a.boxes.value(b - 1);
                if (typed == rightAnswerBoxText(b)) continue;
                wrongBoxes.append(QString::number(b));
                item.mistakes.append(typed.isEmpty()
                                         ? QStringLiteral("поле %1 пусто").arg(b)
                                         : QStringLiteral("поле %1 — «%2»").arg(b).arg(typed));
            }
            item.counted = a.right ? QStringLiteral("верно")
                                   : QStringLiteral("неверно (поля %1): за константу 4")
                                         .arg(wrongBoxes.join(QStringLiteral(", ")));
            o.insert(QStringLiteral("kind"), QStringLiteral("constant"));
            o.insert(QStringLiteral("boxes"), QJsonArray::fromStringList(a.boxes));
        }
        o.insert(QStringLiteral("right"), a.right);
        data.append(o);
        e.items.append(item);
    }
    e.data.insert(QStringLiteral("answers"), data);
    e.data.insert(QStringLiteral("directionGrade"), directionGrade);
    e.data.insert(QStringLiteral("answerBoxGrade"), answerBoxGrade);
    const auto part = [](double g) {
        return g == 5 ? QStringLiteral("5 (без ошибок)")
                      : QStringLiteral("%1 (была ошибка)").arg(formatGeneral(g));
    };
    e.summary = QStringLiteral(
                    "Направления смещения — %1, константа равновесия — %2; "
                    "(%3 + %4) / 2 = %5.")
                    .arg(part(directionGrade), part(answerBoxGrade), formatGeneral(directionGrade),
                         formatGeneral(answerBoxGrade), formatGeneral(e.grade));
    return e;
}
