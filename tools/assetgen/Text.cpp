#include "Text.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainterPathStroker>
#include <cmath>
#include <map>

namespace text {
namespace {

QFont fontFor(const Style& style, double size) {
    QFont font(style.family);
    font.setPixelSize(std::max(1, int(size + 0.5)));
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setKerning(true);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferOutline);
    return font;
}

// The arrows of equations, as filled outlines sized to the text.
QPainterPath arrowGlyph(QChar c, double size, bool bold, double* advance) {
    const double w = bold ? size * 0.09 : size * 0.07;
    const double axis = -size * 0.33;
    QPainterPath lines;
    auto arrow = [&](QPointF from, QPointF to, bool headOnly = false) {
        QPainterPath p(from);
        p.lineTo(to);
        const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
        const QPointF n(-d.y(), d.x());
        const double h = size * 0.2;
        if (!headOnly) {
            p.moveTo(to - d * h + n * h * 0.6);
            p.lineTo(to);
            p.lineTo(to - d * h - n * h * 0.6);
        }
        lines.addPath(p);
    };
    switch (c.unicode()) {
        case 0x2192:  // →
            *advance = size * 1.5;
            arrow({size * 0.2, axis}, {size * 1.3, axis});
            break;
        case 0x2190:  // ←
            *advance = size * 1.5;
            arrow({size * 1.3, axis}, {size * 0.2, axis});
            break;
        case 0x21C4: {  // ⇄
            *advance = size * 1.6;
            const double y1 = axis - size * 0.14, y2 = axis + size * 0.14;
            arrow({size * 0.2, y1}, {size * 1.4, y1});
            arrow({size * 1.4, y2}, {size * 0.2, y2});
            break;
        }
        case 0x2191:  // ↑
            *advance = size * 0.55;
            arrow({size * 0.27, size * 0.02}, {size * 0.27, -size * 0.78});
            break;
        case 0x2193:  // ↓
            *advance = size * 0.55;
            arrow({size * 0.27, -size * 0.78}, {size * 0.27, size * 0.02});
            break;
        default:
            *advance = 0;
            return {};
    }
    QPainterPathStroker stroker;
    stroker.setWidth(w * 1.2);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    QPainterPath out = stroker.createStroke(lines);
    out.setFillRule(Qt::WindingFill);
    return out;
}

bool isArrow(QChar c) {
    const char16_t u = c.unicode();
    return u == 0x2190 || u == 0x2192 || u == 0x21C4 || u == 0x2191 || u == 0x2193;
}

// γ and τ of Liberation Sans read as "y" and "t", and so do the upright ones of DejaVu Sans.
// τ is set as the mathematical italic letter of DejaVu Math TeX Gyre, with its bar. γ is drawn
// as a pen stroke at the x-height of its line: the left arm curls at the top, runs down across
// the right arm and round a loop under the baseline that stays open even at 12 px, so it can
// never be taken for a y.
const QString greekFamily = QStringLiteral("DejaVu Math TeX Gyre");
// The math face's x-height is a little smaller than Liberation Sans's at one pixel size.
constexpr double greekScale = 1.12;

bool isTau(QChar c) {
    return c.unicode() == 0x03C4;
}

// The mathematical italic τ.
QString mathItalicTau() {
    return QString::fromUcs4(U"\U0001D70F");
}

// γ with its baseline at y = 0 and its left end at x = 0, as heavy as the line's stems.
QPainterPath gammaGlyph(const QFont& font, double size, bool bold, double* advance) {
    const double x = QFontMetricsF(font).xHeight();
    const double pen = size * (bold ? 0.125 : 0.085), half = pen / 2;
    const double before = size * 0.05 + half, w = 0.92 * x;
    const double top = -x + half, bottom = 0.66 * x - half;
    // The loop under the baseline, wide enough that its eye stays open at 1x.
    const double cx = 0.5 * w, rx = 0.33 * x;
    QPainterPath p;
    p.moveTo(0, top + 0.12 * x);
    p.cubicTo(0.02 * w, top, 0.22 * w, top - 0.02 * x, 0.34 * w, top + 0.25 * x);
    p.cubicTo(0.46 * w, top + 0.55 * x, cx + rx * 0.9, 0.05 * x, cx + rx, 0.32 * x);
    p.cubicTo(cx + rx * 1.05, 0.55 * x, cx + rx * 0.6, bottom, cx, bottom);
    p.cubicTo(cx - rx * 0.6, bottom, cx - rx * 1.05, 0.55 * x, cx - rx, 0.32 * x);
    p.cubicTo(cx - rx * 0.9, 0.05 * x, 0.7 * w, -0.45 * x, w, top);
    QPainterPathStroker stroker;
    stroker.setWidth(pen);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    QPainterPath out = stroker.createStroke(p).translated(before, 0);
    out.setFillRule(Qt::WindingFill);
    *advance = before + w + half + size * 0.05;
    return out;
}

struct Run {
    QString text;
    int shift = 0;  // -1 sub, 0 normal, +1 super
};

std::vector<Run> parse(const QString& markup) {
    std::vector<Run> runs;
    auto push = [&](const QString& t, int shift) {
        if (t.isEmpty()) return;
        if (!runs.empty() && runs.back().shift == shift)
            runs.back().text += t;
        else
            runs.push_back({t, shift});
    };
    QString normal;
    for (qsizetype i = 0; i < markup.size(); ++i) {
        const QChar c = markup[i];
        if ((c == '_' || c == '^') && i + 1 < markup.size()) {
            push(normal, 0);
            normal.clear();
            const int shift = c == '_' ? -1 : 1;
            if (markup[i + 1] == '{') {
                const qsizetype end = markup.indexOf('}', i + 2);
                const qsizetype stop = end < 0 ? markup.size() : end;
                push(markup.mid(i + 2, stop - i - 2), shift);
                i = stop;
            } else {
                push(QString(markup[i + 1]), shift);
                ++i;
            }
            continue;
        }
        normal += c;
    }
    push(normal, 0);
    return runs;
}

SizeLog& log() {
    static SizeLog l;
    return l;
}

void note(SizeRecord& r, double size, const QString& markup) {
    if (size < r.size) r = {size, markup};
}

std::vector<Ink>& inks() {
    static std::vector<Ink> l;
    return l;
}

double luminance(const QColor& c) {
    auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}
}  // namespace

double contrast(const QColor& foreground, const QColor& ground) {
    const double a = foreground.alphaF();
    const QColor over = QColor::fromRgbF(float(foreground.redF() * a + ground.redF() * (1 - a)),
                                         float(foreground.greenF() * a + ground.greenF() * (1 - a)),
                                         float(foreground.blueF() * a + ground.blueF() * (1 - a)));
    const double l1 = luminance(over), l2 = luminance(ground);
    return (std::max(l1, l2) + 0.05) / (std::min(l1, l2) + 0.05);
}

double neededContrast(const Style& style) {
    const bool large = style.size >= (style.bold ? largeBoldSize : largeSize);
    return large ? largeContrast : minimumContrast;
}

void noteInk(const QString& markup, const Style& style, const QColor& colour,
             const QColor& ground) {
    inks().push_back({markup, style, colour, ground});
}

std::vector<Ink> inkLog() {
    return inks();
}

void resetInkLog() {
    inks().clear();
}

SizeLog sizeLog() {
    return log();
}

void resetSizeLog() {
    log() = {};
}

QString chem(const QString& formula) {
    QString out;
    qsizetype i = 0;
    while (i < formula.size()) {
        const QChar prev = i > 0 ? formula[i - 1] : QChar();
        if (formula[i].isDigit() && (prev.isLetter() || prev == ')' || prev == ']')) {
            qsizetype j = i;
            while (j < formula.size() && formula[j].isDigit()) ++j;
            const QString digits = formula.mid(i, j - i);
            out += digits.size() == 1 ? QString("_" + digits) : QString("_{" + digits + "}");
            i = j;
        } else {
            out += formula[i++];
        }
    }
    return out;
}

QPainterPath line(const QString& markup, const Style& style, double* advance) {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    double x = 0;
    for (const Run& run : parse(markup)) {
        const double size =
            run.shift == 0 ? style.size : std::max(style.size * indexScale, smallestIndexSize);
        if (!run.text.trimmed().isEmpty())
            note(run.shift == 0 ? log().body : log().index, size, markup);
        const double dy = run.shift < 0   ? style.size * 0.22
                          : run.shift > 0 ? -style.size * 0.38
                                          : 0;
        const QFont font = fontFor(style, size);
        const QFontMetricsF metrics(font);
        QString pending;
        auto flush = [&] {
            if (pending.isEmpty()) return;
            QPainterPath glyphs;
            glyphs.addText(QPointF(x, dy), font, pending);
            path.addPath(glyphs);
            x += metrics.horizontalAdvance(pending);
            pending.clear();
        };
        for (QChar c : run.text) {
            if (c.unicode() == 0x03B3) {
                flush();
                double a = 0;
                path.addPath(gammaGlyph(font, size, style.bold, &a).translated(x, dy));
                x += a;
            } else if (isTau(c)) {
                flush();
                Style greek = style;
                greek.family = greekFamily;
                greek.bold = false;
                greek.italic = false;
                const QFont math = fontFor(greek, size * greekScale);
                const QString letter = mathItalicTau();
                // An italic letter leans out of its box: room on both sides keeps it off its
                // neighbours.
                const double before = size * 0.06, after = size * 0.03;
                QPainterPath glyph;
                glyph.addText(QPointF(x + before, dy), math, letter);
                if (style.bold) {
                    // The math face has no bold: its outline is thickened to match the line.
                    QPainterPathStroker thicken;
                    thicken.setWidth(size * 0.025);
                    thicken.setJoinStyle(Qt::RoundJoin);
                    glyph.addPath(thicken.createStroke(glyph));
                }
                path.addPath(glyph);
                x += before + QFontMetricsF(math).horizontalAdvance(letter) + after;
            } else if (isArrow(c)) {
                flush();
                double a = 0;
                path.addPath(arrowGlyph(c, size, style.bold, &a).translated(x, dy));
                x += a;
            } else {
                pending += c;
            }
        }
        flush();
    }
    path.setFillRule(Qt::WindingFill);
    if (advance) *advance = x;
    return path;
}

double width(const QString& markup, const Style& style) {
    double a = 0;
    line(markup, style, &a);
    return a;
}

double ascent(const Style& style) {
    return QFontMetricsF(fontFor(style, style.size)).ascent();
}

QPainterPath at(const QString& markup, const Style& style, QPointF topLeft, Align align) {
    double a = 0;
    QPainterPath p = line(markup, style, &a);
    double x = topLeft.x();
    if (align == Align::Center) x -= a / 2;
    if (align == Align::Right) x -= a;
    p.translate(x, topLeft.y() + ascent(style));
    return p;
}

QPainterPath block(const QString& markup, const Style& style, QPointF topLeft, Align align,
                   double spacing) {
    QPainterPath out;
    out.setFillRule(Qt::WindingFill);
    double y = topLeft.y();
    for (const QString& l : markup.split('\n')) {
        out.addPath(at(l, style, {topLeft.x(), y}, align));
        y += style.size * spacing;
    }
    return out;
}

QString wrap(const QString& markup, const Style& style, double maxWidth) {
    QStringList lines;
    for (const QString& paragraph : markup.split('\n')) {
        QString current;
        for (const QString& word : paragraph.split(' ', Qt::SkipEmptyParts)) {
            const QString candidate = current.isEmpty() ? word : current + ' ' + word;
            if (!current.isEmpty() && width(candidate, style) > maxWidth) {
                lines << current;
                current = word;
            } else {
                current = candidate;
            }
        }
        lines << current;
    }
    return lines.join('\n');
}

}  // namespace text
