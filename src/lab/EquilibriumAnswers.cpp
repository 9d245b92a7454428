#include "lab/EquilibriumAnswers.h"

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
