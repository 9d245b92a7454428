#pragma once

#include <QString>
#include <array>

#include "lab/GradeEvidence.h"
#include "lab/ReferenceData.h"

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

// The partial grade a value earns against its reference: the band it falls in.
int concentrationBand(double measured, double reference);
int rateBand(double measured, double reference);

// The message that announces the grade ("Оценка за выполнение опыта№1: 4,5 !!!!").
QString experiment1GradeMessage(double grade);

// One row of the student's table as the window shows it.
struct TubeEntry {
    QString concentration;
    QString time;
    QString rate;
};
using Experiment1Table = std::array<TubeEntry, 4>;
using Experiment1Reference = std::array<ReferenceData::Tube, 4>;

// The evidence of a grade: every tube's concentration, time and rate against the reference,
// the band each value fell in, and tube 4, whose two values decide the grade.
GradeEvidence experiment1Evidence(const Experiment1Table& table,
                                  const Experiment1Reference& reference,
                                  const Experiment1Grade& grade);
