#pragma once

#include <QList>
#include <QTableWidget>

#include "lab/GradeEvidence.h"

// The lines of a grade's evidence as a short table in plain Russian: what the line is about,
// what was entered, what was expected and what it counted for. Wrong lines are red, right
// ones green; the student's grade message and the teacher's view show the same table.
class EvidenceTable : public QTableWidget {
    Q_OBJECT
public:
    // Who reads it: the entered column speaks to the student or about him.
    enum class Reader { Student, Teacher };
    explicit EvidenceTable(Reader reader, QWidget* parent = nullptr);

    // Shows the lines of the evidence; empty evidence empties the table.
    void setEvidence(const GradeEvidence& evidence);
    // Marks lines (indices into the evidence's items) with a yellow background and a tooltip,
    // and scrolls the first of them into view.
    void markItems(const QList<int>& items, const QString& why);

    // The texts of a row, column by column.
    QStringList rowTexts(int row) const;
    // The height that shows every row without scrolling, up to maxHeight.
    int fittingHeight(int maxHeight) const;
};
