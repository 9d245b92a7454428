#include "Glassware.h"

#include <QPainterPathStroker>
#include <algorithm>
#include <cmath>

#include "Palette.h"

using art::Art;
using art::Paint;

namespace glass {
namespace {
QPainterPath tubeOutline(double w, double h) {
    const double r = w / 2;
    QPainterPath p(QPointF(-r, 0));
    p.lineTo(-r, h - r);
    p.arcTo(QRectF(-r, h - 2 * r, 2 * r, 2 * r), 180, 180);
    p.lineTo(r, 0);
    return p;
}

Paint glassPaint(double left, double right) {
    return Paint::linear({left, 0}, {right, 0},
                         {{0, QColor(0xD5, 0xE4, 0xF0)},
                          {0.35, QColor(0xF4, 0xF9, 0xFD)},
                          {1, QColor(0xDA, 0xE7, 0xF2)}});
}

Paint liquidPaint(double w, QColor c) {
    return Paint::linear({-w / 2, 0}, {w / 2, 0},
                         {{0, c.darker(112)}, {0.4, c.lighter(106)}, {1, c.darker(108)}});
}
}  // namespace

double tubeBodyBottom(double w, double h) {
    return h - w / 2;
}

Art testTube(double w, double h) {
    Art a;
    QPainterPath back = tubeOutline(w, h);
    back.closeSubpath();
    a.fill(back, glassPaint(-w / 2, w / 2));
    return a;
}

Art testTubeFront(double w, double h) {
    Art a;
    const double r = w / 2;
    a.fill(art::roundRect(-r + 4, 8, 4, h - r - 14, 2), withAlpha(Qt::white, 150));
    a.stroke(tubeOutline(w, h), palette::glassLine, 1.6);
    a.fillStroke(art::roundRect(-r - 3, -3, w + 6, 6, 3), Paint::solid(QColor(0xEE, 0xF4, 0xF9)),
                 palette::glassLine, 1.4);
    return a;
}

Art tubeLiquidBody(double w, double height, QColor c) {
    const double r = w / 2 - 2.2;
    Art a;
    a.fill(art::rect(-r, -height, 2 * r, height + 1.0), liquidPaint(2 * r, c));
    // The meniscus: a shade darker, so the level reads even in a pale liquid.
    a.fill(art::ellipse({0, -height}, r, 2.0), withAlpha(c.darker(130), std::max(c.alpha(), 200)));
    return a;
}

Art tubeLiquidCap(double w, QColor c) {
    const double r = w / 2 - 2.2;
    QPainterPath p(QPointF(-r, 0));
    p.arcTo(QRectF(-r, -r, 2 * r, 2 * r), 180, 180);
    p.closeSubpath();
    Art a;
    a.fill(p, liquidPaint(2 * r, c));
    return a;
}

Art beaker(double w, double h) {
    Art a;
    QPainterPath p(QPointF(-w / 2 - 4, -h));
    p.lineTo(-w / 2, -h + 6);
    p.lineTo(-w / 2, -6);
    p.quadTo(-w / 2, 0, -w / 2 + 6, 0);
    p.lineTo(w / 2 - 6, 0);
    p.quadTo(w / 2, 0, w / 2, -6);
    p.lineTo(w / 2, -h);
    QPainterPath back = p;
    back.closeSubpath();
    a.fill(back, Paint::solid(withAlpha(QColor(0xE4, 0xEE, 0xF6), 200)));
    a.stroke(p, palette::glassLine, 1.8);
    for (int i = 1; i <= 4; ++i) {
        const double y = -h * i / 5.0;
        a.stroke(art::line({w / 2 - 14, y}, {w / 2 - 4, y}), withAlpha(palette::glassLine, 160), 1);
    }
    return a;
}

QPainterPath flatBottomedLiquid(double w, double top, double inset, double corner) {
    const double left = -w / 2 + inset, right = w / 2 - inset, bottom = -inset;
    QPainterPath p(QPointF(left, top));
    p.lineTo(left, bottom - corner);
    p.quadTo(left, bottom, left + corner, bottom);
    p.lineTo(right - corner, bottom);
    p.quadTo(right, bottom, right, bottom - corner);
    p.lineTo(right, top);
    p.closeSubpath();
    return p;
}

Art beakerLiquid(double w, double h, double fill, QColor c) {
    Art a;
    const double top = -h * fill;
    const QPainterPath p = flatBottomedLiquid(w, top, 1.5, 4.5);
    a.fill(p, Paint::linear({0, top}, {0, 0}, {{0, c.lighter(108)}, {1, c.darker(110)}}));
    a.fill(art::rect(-w / 2 + 1.5, top, w - 3, 2), withAlpha(Qt::white, 140));
    return a;
}

namespace {
QPainterPath flaskPath(double w, double h) {
    const double neck = w * 0.22;
    const double neckH = h * 0.32;
    QPainterPath p(QPointF(-neck / 2, -h));
    p.lineTo(-neck / 2, -h + neckH);
    p.lineTo(-w / 2, -8);
    p.quadTo(-w / 2 - 1, 0, -w / 2 + 8, 0);
    p.lineTo(w / 2 - 8, 0);
    p.quadTo(w / 2 + 1, 0, w / 2, -8);
    p.lineTo(neck / 2, -h + neckH);
    p.lineTo(neck / 2, -h);
    return p;
}
}  // namespace

Art flask(double w, double h) {
    Art a;
    QPainterPath back = flaskPath(w, h);
    back.closeSubpath();
    a.fill(back, glassPaint(-w / 2, w / 2));
    return a;
}

Art flaskOutline(double w, double h) {
    Art a;
    const double neck = w * 0.22;
    a.fill(art::polyline({{-w / 2 + 7, -10},
                          {-neck / 2 + 2, -h * 0.66},
                          {-neck / 2 + 5, -h * 0.66},
                          {-w / 2 + 11, -10}},
                         true),
           QColor(255, 255, 255, 140));
    a.stroke(flaskPath(w, h), palette::glassLine, 1.6);
    a.fillStroke(art::roundRect(-neck / 2 - 3, -h - 3, neck + 6, 6, 3),
                 Paint::solid(QColor(0xEE, 0xF4, 0xF9)), palette::glassLine, 1.4);
    return a;
}

Art flaskLiquid(double w, double h, double fill, QColor c) {
    // The liquid fills the cone up to a height; its width there follows the walls.
    const double neckH = h * 0.32;
    const double coneH = h - neckH - 8;
    const double level = std::min(fill * h, coneH + 8);
    const double halfAt = (w / 2 - 1.5) - (w / 2 - w * 0.11) * std::max(0.0, level - 8) / coneH;
    QPainterPath p(QPointF(-halfAt, -level));
    p.lineTo(-(w / 2 - 1.5), -8);
    p.quadTo(-w / 2, -1.5, -w / 2 + 8, -1.5);
    p.lineTo(w / 2 - 8, -1.5);
    p.quadTo(w / 2, -1.5, w / 2 - 1.5, -8);
    p.lineTo(halfAt, -level);
    p.closeSubpath();
    Art a;
    a.fill(p, Paint::linear({-w / 2, 0}, {w / 2, 0},
                            {{0, c.darker(110)}, {0.4, c.lighter(108)}, {1, c.darker(112)}}));
    return a;
}

Art pipette(double length) {
    Art a;
    // Glass stem from the tip up, then the rubber bulb.
    QPainterPath stem(QPointF(-1.5, 0));
    stem.lineTo(-5, -14);
    stem.lineTo(-5, -length);
    stem.lineTo(5, -length);
    stem.lineTo(5, -14);
    stem.lineTo(1.5, 0);
    stem.closeSubpath();
    a.fillStroke(stem, Paint::solid(QColor(0xEE, 0xF4, 0xF9, 0xD0)), palette::glassLine, 1.3);
    QPainterPath bulb;
    bulb.addRoundedRect(-8, -length - 30, 16, 32, 8, 8);
    addRubberBulb(a, bulb, 8, 1.2);
    return a;
}

Art drop(double r, QColor c) {
    // A falling drop: round below, pointed above, outlined so a pale one still shows.
    QPainterPath p(QPointF(0, -r * 2.2));
    p.cubicTo(QPointF(r * 0.4, -r * 1.3), QPointF(r, -r * 0.7), QPointF(r, 0));
    p.arcTo(QRectF(-r, -r, 2 * r, 2 * r), 0, -180);
    p.cubicTo(QPointF(-r, -r * 0.7), QPointF(-r * 0.4, -r * 1.3), QPointF(0, -r * 2.2));
    p.closeSubpath();
    Art a;
    a.fillStroke(p, Paint::solid(withAlpha(c, 255)), palette::glassLine, 1);
    a.fill(art::circle({-r * 0.35, -r * 0.3}, r * 0.28), withAlpha(Qt::white, 200));
    return a;
}

// Grey rubber: a red bulb would read as a red solution beside the iron thiocyanate.
void addRubberBulb(Art& a, const QPainterPath& bulb, double halfWidth, double lineWidth) {
    a.fillStroke(bulb,
                 Paint::linear({-halfWidth, 0}, {halfWidth, 0},
                               {{0, QColor(0x4A, 0x50, 0x57)},
                                {0.4, QColor(0x78, 0x80, 0x88)},
                                {1, QColor(0x3E, 0x43, 0x49)}}),
                 QColor(0x2C, 0x30, 0x35), lineWidth);
}

Art thermometer(double h, int t0, int t1, int step) {
    Art a;
    QPainterPath body;
    body.addRoundedRect(-6, -h - 18, 12, h + 18, 6, 6);
    a.fillStroke(body, Paint::solid(QColor(0xF7, 0xFA, 0xFD)), palette::glassLine, 1.3);
    a.fillStroke(
        art::circle({0, 6}, 9),
        Paint::radial({-3, 3}, 11, {{0, QColor(0xF0, 0x6A, 0x5A)}, {1, QColor(0xB0, 0x1E, 0x1E)}}),
        palette::glassLine, 1.3);
    QPainterPath marks;
    const int n = (t1 - t0) / step;
    for (int i = 0; i <= n; ++i) {
        const double y = -h * double(i) / n;
        marks.moveTo(6, y);
        marks.lineTo(i % 2 == 0 ? 14 : 11, y);
    }
    a.stroke(marks, palette::muted, 1);
    return a;
}

Art thermometerColumn(double h) {
    Art a;
    a.fill(art::rect(-2, -h, 4, h + 2), QColor(0xC6, 0x28, 0x28));
    return a;
}

Art cross(double size, QColor c) {
    const double t = size * 0.2;
    QPainterPath p;
    p.addRect(-size / 2, -t / 2, size, t);
    p.addRect(-t / 2, -size / 2, t, size);
    p.setFillRule(Qt::WindingFill);
    Art a;
    a.fill(p, c);
    return a;
}

Art bubble(double r) {
    Art a;
    a.fillStroke(art::circle({0, 0}, r), Paint::solid(QColor(255, 255, 255, 110)),
                 QColor(0x6F, 0x8C, 0xA6, 200), std::max(0.8, r * 0.25));
    a.fill(art::circle({-r * 0.35, -r * 0.35}, r * 0.3), QColor(255, 255, 255, 230));
    return a;
}

Art splinter(double length) {
    Art a;
    QPainterPath stick(QPointF(0, -2.5));
    stick.lineTo(length, -3);
    stick.lineTo(length, 3);
    stick.lineTo(0, 2.5);
    stick.closeSubpath();
    a.fillStroke(stick,
                 Paint::linear({0, -3}, {0, 3},
                               {{0, QColor(0xE3, 0xC1, 0x8A)}, {1, QColor(0xB8, 0x8E, 0x52)}}),
                 QColor(0x8A, 0x66, 0x36), 0.8);
    a.fill(art::ellipse({1, 0}, 4, 3.2), QColor(0x3A, 0x2A, 0x22));
    return a;
}

Art glow(double r) {
    Art a;
    a.fill(art::circle({0, 0}, r), Paint::radial({0, 0}, r,
                                                 {{0, QColor(255, 240, 160, 255)},
                                                  {0.35, QColor(255, 150, 40, 200)},
                                                  {1, QColor(255, 120, 20, 0)}}));
    return a;
}

Art flame(double h) {
    QPainterPath p(QPointF(0, 0));
    p.cubicTo(h * 0.45, -h * 0.05, h * 0.35, -h * 0.6, 0, -h);
    p.cubicTo(-h * 0.35, -h * 0.6, -h * 0.45, -h * 0.05, 0, 0);
    Art a;
    a.fill(p, Paint::linear({0, 0}, {0, -h},
                            {{0, QColor(255, 220, 90, 240)},
                             {0.5, QColor(255, 140, 30, 220)},
                             {1, QColor(240, 80, 20, 60)}}));
    QPainterPath core(QPointF(0, -1));
    core.cubicTo(h * 0.18, -h * 0.05, h * 0.15, -h * 0.35, 0, -h * 0.5);
    core.cubicTo(-h * 0.15, -h * 0.35, -h * 0.18, -h * 0.05, 0, -1);
    a.fill(core, QColor(255, 250, 220, 230));
    return a;
}

Art stream(double h, double w, QColor c) {
    // Even a nearly colourless liquid is seen falling: the stream has the glass's line along
    // its edges, a light streak down its middle and rings where it meets the surface.
    Art a;
    w = std::max(w, 3.0);
    QColor edge = palette::glassLine;
    edge.setAlpha(190);
    a.fillStroke(art::roundRect(-w / 2, 0, w, h, w / 2), Paint::solid(c.darker(112)), edge, 0.9);
    if (h > 6)
        a.stroke(art::line({-w * 0.12, 2}, {-w * 0.12, h - 2}), QColor(255, 255, 255, 180), 0.7);
    a.stroke(art::ellipse({0, h}, w * 1.9, w * 0.6), edge, 0.9);
    QColor faint = edge;
    faint.setAlpha(110);
    a.stroke(art::ellipse({0, h}, w * 3.2, w * 0.95), faint, 0.8);
    return a;
}

Art hotPlate(double w) {
    Art a;
    a.fillStroke(art::roundRect(-w / 2, 0, w, 18, 4),
                 Paint::linear({0, 0}, {0, 18},
                               {{0, QColor(0x9A, 0xA8, 0xB5)}, {1, QColor(0x6B, 0x78, 0x85)}}),
                 QColor(0x4A, 0x55, 0x60), 1);
    a.fill(art::roundRect(-w / 2 + 8, 5, 10, 8, 2), QColor(0xE5, 0x4B, 0x3C));
    return a;
}

Art rack(int n, double pitch, double h) {
    Art a;
    const double w = pitch * n + 20;
    const QColor wood(0xC9, 0xA7, 0x74), woodLine(0x8F, 0x6B, 0x3E);
    a.fillStroke(art::roundRect(-w / 2, 0, w, 10, 3), Paint::solid(wood), woodLine, 1);
    a.fillStroke(art::roundRect(-w / 2, h, w, 10, 3), Paint::solid(wood), woodLine, 1);
    a.fillStroke(art::rect(-w / 2 + 4, 10, 6, h - 10), Paint::solid(wood.darker(108)), woodLine, 1);
    a.fillStroke(art::rect(w / 2 - 10, 10, 6, h - 10), Paint::solid(wood.darker(108)), woodLine, 1);
    return a;
}

Art stopwatch(double r) {
    Art a;
    a.fillStroke(art::roundRect(-5, -r - 9, 10, 7, 2), Paint::solid(QColor(0x90, 0x9C, 0xA8)),
                 palette::glassLine, 1);
    a.fillStroke(art::circle({0, 0}, r), Paint::solid(QColor(0xF9, 0xFB, 0xFD)), palette::ink, 2.2);
    QPainterPath ticks;
    for (int i = 0; i < 12; ++i) {
        const double ang = i * M_PI / 6;
        ticks.moveTo(std::sin(ang) * r * 0.78, -std::cos(ang) * r * 0.78);
        ticks.lineTo(std::sin(ang) * r * 0.9, -std::cos(ang) * r * 0.9);
    }
    a.stroke(ticks, palette::muted, 1.2);
    return a;
}

Art controlBox(double x, double y, double w, double h) {
    Art a;
    // No frame: the control brings its own border, and a second one around it would double it.
    a.fill(art::roundRect(x - 3, y - 3, w + 6, h + 6, 3), palette::box);
    return a;
}

Art panel(double x, double y, double w, double h, QColor fill, QColor line) {
    Art a;
    a.fillStroke(art::roundRect(x, y, w, h, 8), Paint::solid(fill), line, 1.2);
    return a;
}

Art arrow(QPointF a, QPointF b, double width, QColor c) {
    const QPointF d = b - a;
    const double len = std::hypot(d.x(), d.y());
    const QPointF u = d / len, n(-u.y(), u.x());
    const double head = width * 2.6;
    const QPointF neck = b - u * head;
    QPainterPath p(a + n * width / 2);
    p.lineTo(neck + n * width / 2);
    p.lineTo(neck + n * head * 0.55);
    p.lineTo(b);
    p.lineTo(neck - n * head * 0.55);
    p.lineTo(neck - n * width / 2);
    p.lineTo(a - n * width / 2);
    p.closeSubpath();
    Art out;
    out.fill(p, c);
    return out;
}

}  // namespace glass
