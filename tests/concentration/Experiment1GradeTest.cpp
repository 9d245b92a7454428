#include <gtest/gtest.h>

#include "concentration/Experiment1Grade.h"

TEST(Experiment1Grade, GradeTable) {
    const double refC = 0.05;
    const double refV = 0.07;
    struct Case {
        const char* name;
        double c, v, refC, refV;
        int concentrationGrade, rateGrade;
        double grade;
    };
    const Case cases[] = {
        {"reference values", refC, refV, refC, refV, 5, 5, 5},
        {"0.85 C and 0.5 V", 0.85 * refC, 0.5 * refV, refC, refV, 4, 3, 3.5},
        {"1.25 C is above the fixed upper bound", 1.25 * refC, refV, refC, refV, 1, 5, 3},
        {"rate 0 with a positive reference", refC, 0, refC, refV, 5, 1, 3},
        {"reference 0 with positive measurements", refC, refV, 0, 0, 1, 1, 1},
        {"upper bounds are inclusive", 120, 140, 100, 100, 5, 5, 5},
        {"lower bounds of the top band are inclusive", 90, 80, 100, 100, 5, 5, 5},
        {"lower bounds of the next band are inclusive", 80, 60, 100, 100, 4, 4, 4},
        {"lowest bands", 60, 20, 100, 100, 2, 2, 2},
        {"just above the upper bounds", 120.001, 140.001, 100, 100, 1, 1, 1},
        {"0.75 C and 0.3 V", 0.75 * refC, 0.3 * refV, refC, refV, 3, 2, 2.5},
        {"0.65 C and 0.7 V", 0.65 * refC, 0.7 * refV, refC, refV, 2, 4, 3},
        {"below 0.6 C", 0.55 * refC, 1.5 * refV, refC, refV, 1, 1, 1},
        {"tube-4 values of a generated variant", 0.05, 0.07, 0.05, 0.0714, 5, 5, 5},
    };
    for (const Case& c : cases) {
        const Experiment1Grade g = computeExperiment1Grade(c.c, c.v, c.refC, c.refV);
        EXPECT_EQ(g.concentrationGrade, c.concentrationGrade) << c.name;
        EXPECT_EQ(g.rateGrade, c.rateGrade) << c.name;
        EXPECT_EQ(g.grade, c.grade) << c.name;
    }
}

TEST(Experiment1Grade, Message) {
    EXPECT_EQ(experiment1GradeMessage(5), QStringLiteral("Оценка за выполнение опыта№1: 5 !!!!"));
    EXPECT_EQ(experiment1GradeMessage(4.5),
              QStringLiteral("Оценка за выполнение опыта№1: 4,5 !!!!"));
}
