#pragma once

#include <QImage>
#include <QList>

#include "toolkit/Controls.h"

// The heading strip of "Таблица 2": the five column titles in finer typography than the grid
// can show (degree sign, subscript "усл"), laid over the grid's own header row.
class TemperatureHeadingStrip : public Picture {
    Q_OBJECT
public:
    // columnWidths: the widths of the grid's columns, so the titles sit over their columns.
    TemperatureHeadingStrip(const QList<int>& columnWidths, QWidget* parent = nullptr);
};

// The strip's picture, 425 × 16.
QImage headingStrip14Image(const QList<int>& columnWidths);
