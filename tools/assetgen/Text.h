#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QString>
#include <QStringList>

// Text as outlines of Liberation Sans, for movies and pictures alike.
//
// Markup: "_2" or "_{35}" lowers the digit or group as a subscript, "^3" or "^{...}" raises it;
// the arrows →, ⇄, ↑ and ↓ are drawn as the arrows of chemical equations. chem() writes a
// formula's digits as subscripts by itself: chem("Na2S2O3") = "Na_2S_2O_3".
namespace text {

enum class Align { Left, Center, Right };

struct Style {
    double size = 16;  // pixels
    bool bold = false;
    bool italic = false;
    QString family = QStringLiteral("Liberation Sans");
};

inline Style plain(double size) {
    return {size, false, false};
}
inline Style bold(double size) {
    return {size, true, false};
}
inline Style italic(double size) {
    return {size, false, true};
}

// Subscripts every digit that follows a letter or a closing bracket.
QString chem(const QString& formula);

// One line with its baseline at y = 0 and its left end at x = 0.
QPainterPath line(const QString& markup, const Style& style, double* advance = nullptr);
double width(const QString& markup, const Style& style);
double ascent(const Style& style);

// One line placed by the top of its line box: x is its left end, centre or right end.
QPainterPath at(const QString& markup, const Style& style, QPointF topLeft,
                Align align = Align::Left);
// Lines one under the other ("\n" separates them).
QPainterPath block(const QString& markup, const Style& style, QPointF topLeft,
                   Align align = Align::Left, double spacing = 1.25);
// Breaks words into lines no wider than maxWidth.
QString wrap(const QString& markup, const Style& style, double maxWidth);

// Sub- and superscripts are this share of the line's size, but never smaller than
// smallestIndexSize, so the digit of a formula stays readable at the stage's own scale.
inline constexpr double indexScale = 0.7;
inline constexpr double smallestIndexSize = 9;

// The smallest glyph runs laid out so far, for checking that every label stays readable: the
// pixel size of ordinary runs and of sub/superscript runs, each with a text that had it.
struct SizeRecord {
    double size = 1e9;
    QString markup;
};
struct SizeLog {
    SizeRecord body;
    SizeRecord index;
};
SizeLog sizeLog();
void resetSizeLog();

}  // namespace text
