#pragma once

#include <QString>

class Paper;

// What a grade was reached from, on a paper: the sentence first, then whatever the evidence
// holds, as plain values and tables; «нет сведений» when the grade carries none. The one place
// that turns evidence into paper, so what it shows grows here.
void drawEvidence(Paper& paper, const QString& evidenceJson, const QString& summary);
