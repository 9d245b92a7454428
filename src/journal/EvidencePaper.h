#pragma once

#include <QString>

class Paper;

// What a grade was reached from, on a paper: the sentence first, then the lines of the evidence
// (what was entered, what was expected, what it counted for) or, for evidence of another form,
// whatever it holds, as plain values and tables; «нет сведений» when the grade carries none. The
// one place that turns evidence into paper, so what it shows grows here.
void drawEvidence(Paper& paper, const QString& evidenceJson, const QString& summary);
