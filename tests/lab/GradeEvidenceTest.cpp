// What each grading rule says it found: the lines the student and the teacher read, the numbers
// a program reads back from the stored JSON, and the sentence that sums the grade up.
#include <gtest/gtest.h>

#include <QJsonArray>

#include "lab/CatalystGrading.h"
#include "lab/EquilibriumAnswers.h"
#include "lab/Experiment1Grade.h"
#include "lab/TemperatureCoefficients.h"

// Failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

using Verdict = EvidenceItem::Verdict;

const EvidenceItem* findItem(const GradeEvidence& e, const QString& key) {
    for (const EvidenceItem& item : e.items)
        if (item.key == key) return &item;
    return nullptr;
}

QStringList keys(const GradeEvidence& e) {
    QStringList k;
    for (const EvidenceItem& item : e.items) k << item.key;
    return k;
}

// Reference tubes of a variant: time, rate, concentration.
const Experiment1Reference variant1 = {{
    {24.6, 0.041, 0.04},
    {16.4, 0.061, 0.06},
    {12.3, 0.081, 0.08},
    {12.3, 0.081, 0.1},
}};

TEST(GradeEvidence, ExperimentOneNamesEveryTubeItsBandAndTubeFourDecides) {
    // Tube 4: concentration 0,085 of 0,1 (band 4), rate 0,04 of 0,081 (0,49 of it: band 3).
    const Experiment1Table table = {{
        {"0,04", "24", "0,04"},
        {"0,07", "16", "0,06"},
        {"0,08", "12", "0,08"},
        {"0,085", "25", "0,04"},
    }};
    const Experiment1Grade grade = computeExperiment1Grade(0.085, 0.04, 0.1, 0.081);
    ASSERT_EQ(grade.grade, 3.5);
    const GradeEvidence e = experiment1Evidence(table, variant1, grade);

    EXPECT_EQ(e.experiment, 1);
    EXPECT_EQ(e.grade, 3.5);
    ASSERT_EQ(e.items.size(), 12);
    EXPECT_EQ(keys(e).mid(0, 3), (QStringList{"tube1.concentration", "tube1.time", "tube1.rate"}));

    const EvidenceItem* c4 = findItem(e, "tube4.concentration");
    ASSERT_NE(c4, nullptr);
    EXPECT_EQ(c4->label, QStringLiteral("Пробирка 4: концентрация C`, моль/л"));
    EXPECT_EQ(c4->entered, QStringLiteral("0,085"));
    EXPECT_EQ(c4->expected, QStringLiteral("0,1"));
    EXPECT_EQ(c4->counted, QStringLiteral("4 балла: от 0,8 до 0,9 эталона"));
    EXPECT_TRUE(c4->counts);
    EXPECT_EQ(c4->verdict, Verdict::Wrong);
    EXPECT_EQ(c4->mistakes, QStringList{QStringLiteral("ниже эталона")});

    const EvidenceItem* v4 = findItem(e, "tube4.rate");
    ASSERT_NE(v4, nullptr);
    EXPECT_EQ(v4->counted, QStringLiteral("3 балла: от 0,4 до 0,6 эталона"));

    // Tubes 1 to 3 show their band but do not enter the grade: a concentration 1,17 times the
    // reference is in band 5, 0,07 of 0,06 too.
    const EvidenceItem* c2 = findItem(e, "tube2.concentration");
    ASSERT_NE(c2, nullptr);
    EXPECT_FALSE(c2->counts);
    EXPECT_EQ(c2->verdict, Verdict::Right);
    EXPECT_EQ(c2->counted, QStringLiteral("от 0,9 до 1,2 эталона (5 баллов), в оценку не входит"));
    const EvidenceItem* t4 = findItem(e, "tube4.time");
    ASSERT_NE(t4, nullptr);
    EXPECT_EQ(t4->entered, QStringLiteral("25"));
    EXPECT_EQ(t4->expected, QStringLiteral("12,3"));
    EXPECT_EQ(t4->verdict, Verdict::None);

    EXPECT_EQ(
        e.summary,
        QStringLiteral("Оценку решает пробирка 4: концентрация 0,085 при эталоне 0,1 — 4 "
                       "балла, скорость 0,04 при эталоне 0,081 — 3 балла; (4 + 3) / 2 = 3,5."));
}

TEST(GradeEvidence, ExperimentOneBandOneSaysWhichSideOfTheBandsTheValueLies) {
    const Experiment1Table table = {{{"0,04", "24", "0,04"},
                                     {"0,06", "16", "0,06"},
                                     {"0,08", "12", "0,08"},
                                     {"0,125", "11", "0,09"}}};
    const GradeEvidence e =
        experiment1Evidence(table, variant1, computeExperiment1Grade(0.125, 0.09, 0.1, 0.081));
    const EvidenceItem* c4 = findItem(e, "tube4.concentration");
    ASSERT_NE(c4, nullptr);
    EXPECT_EQ(c4->counted, QStringLiteral("1 балл: выше 1,2 эталона"));
    EXPECT_EQ(c4->mistakes, QStringList{QStringLiteral("выше эталона")});
    const EvidenceItem* v4 = findItem(e, "tube4.rate");
    EXPECT_EQ(v4->counted, QStringLiteral("5 баллов: от 0,8 до 1,4 эталона"));
    EXPECT_TRUE(v4->mistakes.isEmpty());

    // The numbers for programs: the table as entered, the references and the bands.
    const QJsonArray tubes = e.data.value("tubes").toArray();
    ASSERT_EQ(tubes.size(), 4);
    EXPECT_EQ(tubes[3].toObject().value("concentration").toString(), QStringLiteral("0,125"));
    EXPECT_EQ(tubes[3].toObject().value("referenceConcentration").toDouble(), 0.1);
    EXPECT_EQ(tubes[3].toObject().value("concentrationBand").toInt(), 1);
    EXPECT_EQ(tubes[3].toObject().value("rateBand").toInt(), 5);
    EXPECT_EQ(e.data.value("decidingTube").toInt(), 4);
}

TEST(GradeEvidence, ExperimentTwoListsTheTimesAndEveryPairAgainstTheTableRates) {
    TemperatureGrading grading;
    const auto judge = [&](int k, const char* num, const char* den, const char* rateNum,
                           const char* rateDen) {
        const CoefficientCheck check =
            checkCoefficient(num, den, rateNum, rateDen, coefficientHalfRounding(k));
        if (check.outcome == CoefficientCheck::Outcome::Unreadable) return;
        const bool accepted = check.outcome == CoefficientCheck::Outcome::Accepted;
        grading.noteAttempt({k, num, den, rateNum, rateDen, accepted});
        if (accepted)
            grading.accept(k);
        else
            grading.reject();
    };
    judge(1, "0,03", "0,06", "0,06", "0,03");   // swapped
    judge(1, "0,060", "0,03", "0,06", "0,03");  // the same rate written otherwise
    judge(1, ",", "0,03", "0,06", "0,03");      // unreadable: costs nothing, not kept
    judge(1, "0,06", "0,03", "0,06", "0,03");
    judge(2, "0,11", "0,06", "0,11", "0,06");
    ASSERT_EQ(grading.grade, 3);

    const GradeEvidence e = grading.evidence({"33", "17", "9"}, {"0,03", "0,06", "0,11"});
    EXPECT_EQ(e.experiment, 2);
    EXPECT_EQ(e.grade, 3);
    EXPECT_EQ(keys(e), (QStringList{"row1.time", "row2.time", "row3.time", "coefficient1",
                                    "coefficient1", "coefficient1", "coefficient2"}));
    EXPECT_EQ(e.items[1].label, QStringLiteral("35 °C: время, с"));
    EXPECT_EQ(e.items[1].entered, QStringLiteral("17"));
    EXPECT_EQ(e.items[1].counted, QStringLiteral("скорость 0,06"));

    const EvidenceItem& swapped = e.items[3];
    EXPECT_EQ(swapped.label, QStringLiteral("Коэффициент 1 (35 °C к 25 °C), попытка 1"));
    EXPECT_EQ(swapped.entered, QStringLiteral("0,03 / 0,06"));
    EXPECT_EQ(swapped.expected, QStringLiteral("0,06 / 0,03 = 2"));
    EXPECT_EQ(swapped.counted, QStringLiteral("неверно, −1 балл"));
    EXPECT_EQ(swapped.verdict, Verdict::Wrong);
    EXPECT_EQ(swapped.mistakes,
              QStringList{QStringLiteral("числитель и знаменатель переставлены")});
    EXPECT_EQ(e.items[4].mistakes,
              QStringList{QStringLiteral("те же скорости, записанные не так, как в таблице")});
    EXPECT_EQ(e.items[5].counted, QStringLiteral("верно, коэффициент 2"));
    EXPECT_EQ(e.items[5].verdict, Verdict::Right);
    EXPECT_EQ(e.items[6].label, QStringLiteral("Коэффициент 2 (45 °C к 35 °C), попытка 1"));

    // The student's coefficient against the computed one, for programs.
    const QJsonArray attempts = e.data.value("attempts").toArray();
    ASSERT_EQ(attempts.size(), 4);
    EXPECT_EQ(attempts[0].toObject().value("given").toDouble(), 0);  // 0,5 to even
    EXPECT_EQ(attempts[0].toObject().value("computed").toDouble(), 2);
    EXPECT_FALSE(attempts[0].toObject().value("accepted").toBool());
    EXPECT_EQ(e.summary, QStringLiteral("Оба коэффициента приняты; неверных попыток — 2, каждая "
                                        "стоит балл: 3 балла."));
}

TEST(GradeEvidence, ExperimentTwoPairsBeyondTheLastPointCostNothingMore) {
    TemperatureGrading grading;
    for (int i = 0; i < 6; ++i) {
        grading.noteAttempt({1, "1", "2", "2", "1", false});
        grading.reject();
    }
    grading.noteAttempt({1, "2", "1", "2", "1", true});
    const GradeEvidence e = grading.evidence({}, {});
    EXPECT_EQ(e.grade, 0);
    EXPECT_EQ(e.items[7].counted, QStringLiteral("неверно, −1 балл"));
    EXPECT_EQ(e.items[8].counted, QStringLiteral("неверно, оценка уже 0"));
}

TEST(GradeEvidence, ExperimentThreeGivesEachOptionChosenInOrder) {
    CatalystGrading first;
    first.chooseRightOption();
    GradeEvidence e = first.evidence();
    ASSERT_EQ(e.items.size(), 1);
    EXPECT_EQ(e.items[0].verdict, Verdict::Right);
    EXPECT_EQ(
        e.summary,
        QStringLiteral("Верный ответ «Катализатор ускоряет реакцию» выбран сразу: 5 баллов."));

    CatalystGrading late;
    late.chooseWrongOption();
    late.chooseRightOption();
    e = late.evidence();
    EXPECT_EQ(e.grade, 2.5);
    ASSERT_EQ(e.items.size(), 2);
    EXPECT_EQ(e.items[0].entered, QStringLiteral("Катализатор замедляет реакцию"));
    EXPECT_EQ(e.items[0].expected, QStringLiteral("Катализатор ускоряет реакцию"));
    EXPECT_EQ(e.items[0].verdict, Verdict::Wrong);
    EXPECT_EQ(e.items[0].counted, QStringLiteral("неверно: оценка не выше 2,5"));
    EXPECT_EQ(e.items[1].label, QStringLiteral("Как влияет катализатор: ответ 2"));
    EXPECT_EQ(e.items[1].verdict, Verdict::Right);
    EXPECT_EQ(e.summary, QStringLiteral("Верный ответ «Катализатор ускоряет реакцию» выбран не с "
                                        "первого раза: 2,5 балла."));
}

TEST(GradeEvidence, ExperimentFourGivesDirectionsAndConstantsInOrderWithTheWrongBoxes) {
    EquilibriumGrading grading;
    grading.chooseDirection(1, 1);  // FeCl3: left, wrong
    grading.chooseDirection(1, 0);
    grading.chooseDirection(3, 1);
    grading.chooseDirection(2, 0);
    EXPECT_FALSE(grading.checkAnswerBoxes({"б", "г", "а", "б", "3", ""}));
    EXPECT_TRUE(grading.checkAnswerBoxes({"в", "г", "а", "б", "3", "3"}));
    EXPECT_EQ(grading.directionGrade, 4);
    EXPECT_EQ(grading.answerBoxGrade, 4);

    const GradeEvidence e = grading.evidence();
    EXPECT_EQ(e.experiment, 4);
    EXPECT_EQ(e.grade, 4);
    EXPECT_EQ(keys(e), (QStringList{"direction.FeCl3", "direction.FeCl3", "direction.KCl",
                                    "direction.KSCN", "constant", "constant"}));
    EXPECT_EQ(e.items[0].label, QStringLiteral("Добавлен FeCl3: куда сместится равновесие"));
    EXPECT_EQ(e.items[0].entered, QStringLiteral("влево (<--)"));
    EXPECT_EQ(e.items[0].expected, QStringLiteral("вправо (-->)"));
    EXPECT_EQ(e.items[0].verdict, Verdict::Wrong);
    EXPECT_EQ(e.items[0].mistakes, QStringList{QStringLiteral("выбрано влево (<--)")});
    EXPECT_EQ(e.items[2].verdict, Verdict::Right);
    const EvidenceItem& wrongBoxes = e.items[4];
    EXPECT_EQ(wrongBoxes.label, QStringLiteral("Константа равновесия, попытка 1"));
    EXPECT_EQ(wrongBoxes.entered, QStringLiteral("б·г^3 / а·б^…"));
    EXPECT_EQ(wrongBoxes.expected, QStringLiteral("в·г^3 / а·б^3"));
    EXPECT_EQ(wrongBoxes.counted, QStringLiteral("неверно (поля 1, 6): за константу 4"));
    EXPECT_EQ(wrongBoxes.mistakes,
              (QStringList{QStringLiteral("поле 1 — «б»"), QStringLiteral("поле 6 пусто")}));
    EXPECT_EQ(e.items[5].verdict, Verdict::Right);
    EXPECT_EQ(e.summary, QStringLiteral("Направления смещения — 4 (была ошибка), константа "
                                        "равновесия — 4 (была ошибка); (4 + 4) / 2 = 4."));
}

TEST(GradeEvidence, TheJsonReadsBackAsWrittenAndAnythingElseIsNoEvidence) {
    EquilibriumGrading grading;
    grading.chooseDirection(1, 0);
    grading.chooseDirection(2, 1);
    grading.chooseDirection(2, 0);
    grading.chooseDirection(3, 1);
    grading.checkAnswerBoxes({"в", "г", "а", "б", "3", "3"});
    const GradeEvidence e = grading.evidence();
    const QString json = e.toJson();
    EXPECT_FALSE(json.contains(QLatin1Char('\n')));
    EXPECT_EQ(GradeEvidence::fromJson(json), e);
    EXPECT_EQ(GradeEvidence::fromJson(json)->grade, 4.5);

    EXPECT_TRUE(GradeEvidence().toJson().isEmpty());
    for (const char* bad :
         {"", "{", "[]", "{\"experiment\":5,\"grade\":3}", "{\"experiment\":2}", "null"})
        EXPECT_FALSE(GradeEvidence::fromJson(QString::fromUtf8(bad)).has_value()) << bad;
}

TEST(GradeEvidence, GradeMessagesAndPoints) {
    EXPECT_EQ(gradeMessage(3, 2.5), QStringLiteral("Оценка за выполнение опыта№3: 2,5 !!!!"));
    EXPECT_EQ(experiment1GradeMessage(4.5),
              QStringLiteral("Оценка за выполнение опыта№1: 4,5 !!!!"));
    const std::pair<double, const char*> rows[] = {
        {0, "0 баллов"}, {1, "1 балл"},     {2, "2 балла"},  {4, "4 балла"},
        {5, "5 баллов"}, {11, "11 баллов"}, {21, "21 балл"}, {4.5, "4,5 балла"},
    };
    for (const auto& [points, text] : rows) EXPECT_EQ(pointsText(points), QString::fromUtf8(text));
}

}  // namespace
