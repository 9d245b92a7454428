#pragma once

#include <QList>
#include <QPainter>
#include <QStringList>

#include "toolkit/Picture.h"

// The headings of one measurement table and how its strip sets them.
struct HeadingSet {
    int width = 0;  // the strip's width; it is 16 px high
    // One heading per column; "_" sets the next character as a subscript, "_{…}" a whole run.
    QStringList headings;
    // Centred in the cell, or 3 px in from its left edge. All headings of a strip share one
    // size: the grid's own where every heading fits its cell, else the largest at which all do.
    bool centred = true;
    int baseline = 11;
    int subscriptDrop = 3;
    // A frame all round; otherwise only the line below.
    bool boxed = false;
};

// "Таблица 1" of experiment 1 and "Таблица 2" of experiment 2.
const HeadingSet& concentrationHeadings();
const HeadingSet& temperatureHeadings();

// The strip laid over row 0 of a measurement table: the headings in finer typography than the
// grid's own plain-text headings can show (subscripts, the degree sign). Its cells line up with
// the grid's columns; it moves with the table when the table slides.
class HeadingStrip : public Picture {
    Q_OBJECT
public:
    explicit HeadingStrip(const HeadingSet& headings, QWidget* parent = nullptr);

    // Redraws the strip for the grid's column widths (each including its grid line).
    void setColumnWidths(const QList<int>& widths);

private:
    const HeadingSet& headings_;
};

// The strip for the given column widths, in strip pixels; the first cell starts one pixel in,
// past the grid's border.
void paintHeadingStrip(QPainter& p, const HeadingSet& headings, const QList<int>& columnWidths);
