#pragma once

#include <QString>

// The grade of experiment 1: the student's tube-4 concentration and rate against the reference
// values of the variant. Each partial grade is 5 when the value lies from 10 % (concentration)
// or 20 % (rate) below the reference up to 20 % or 40 % above it, and one less for every further
// 10 % or 20 % below; anything else is 1. The grade is the mean of the two, to tenths.
struct Experiment1Grade {
    int concentrationGrade = 1;
    int rateGrade = 1;
    double grade = 1;
};

Experiment1Grade computeExperiment1Grade(double measuredC, double measuredV, double referenceC,
                                         double referenceV);

// The message that announces the grade ("Оценка за выполнение опыта№1: 4,5 !!!!").
QString experiment1GradeMessage(double grade);
