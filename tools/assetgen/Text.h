#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <vector>

// Text as outlines of Liberation Sans, for movies and pictures alike; τ is the mathematical
// italic letter of DejaVu Math TeX Gyre and γ a drawn letter with an open loop, at the x-height
// of its line, so neither can be taken for t or y.
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

// The type scale's floor: nothing a student must read is smaller than minimumSize pixels at
// the stage's own scale; sub- and superscripts are indexScale of their line, but never smaller
// than smallestIndexSize.
inline constexpr double minimumSize = 12;
inline constexpr double indexScale = 0.7;
inline constexpr double smallestIndexSize = 10;
// Text and its ground differ at least this much (a WCAG contrast ratio); large text, at least
// largeSize (or largeBoldSize in bold), needs only largeContrast.
inline constexpr double minimumContrast = 4.5;
inline constexpr double largeContrast = 3.0;
inline constexpr double largeSize = 24;
inline constexpr double largeBoldSize = 18.66;

// The contrast ratio of two colours (1..21); a translucent foreground is first laid over the
// ground.
double contrast(const QColor& foreground, const QColor& ground);
// The contrast a text of this style needs.
double neededContrast(const Style& style);

// Every text drawn in a colour on a ground, so that a check can hold each one to the type
// scale and the contrast rule.
struct Ink {
    QString markup;
    Style style;
    QColor colour;
    QColor ground;
};
void noteInk(const QString& markup, const Style& style, const QColor& colour, const QColor& ground);
std::vector<Ink> inkLog();
void resetInkLog();

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
