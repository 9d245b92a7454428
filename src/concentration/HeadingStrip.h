#pragma once

#include <QImage>
#include <QList>
#include <QWidget>

class Picture;

// The heading strip laid over row 0 of "Таблица 1": the seven headings with the digits of the
// formulas set as subscripts, which the grid's own plain-text headings cannot show. Its cells
// line up with the grid's columns; it moves with the grid when the table slides.
class ConcentrationHeadingStrip : public QWidget {
    Q_OBJECT
public:
    explicit ConcentrationHeadingStrip(QWidget* parent = nullptr);

    // Redraws the strip for the grid's column widths (each including its grid line).
    void setColumnWidths(const QList<int>& widths);

    Picture* picture = nullptr;
};

// The strip's picture, 575 × 16, for the given column widths; the first cell starts one pixel
// in, past the grid's border.
QImage headingStripImage(const QList<int>& columnWidths);
