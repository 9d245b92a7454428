#include "Instruments.h"

#include <QPainterPath>
#include <algorithm>

#include "Glassware.h"
#include "Palette.h"
#include "Text.h"

using art::Art;
using art::Paint;

namespace glass {
namespace {
constexpr double scaleBase = 14;  // the thermometer's 0 °C lies this far above the bulb
constexpr double tipLength = 14, fillerHeight = 22, pipetteHalf = 3.6;

QPainterPath pipetteGlass(double body) {
    QPainterPath p(QPointF(-0.9, 0));
    p.lineTo(-pipetteHalf, -tipLength);
    p.lineTo(-pipetteHalf, -tipLength - body);
    p.lineTo(pipetteHalf, -tipLength - body);
    p.lineTo(pipetteHalf, -tipLength);
    p.lineTo(0.9, 0);
    p.closeSubpath();
    return p;
}
}  // namespace

double graduatedPipetteHeight(double bodyLength) {
    return tipLength + bodyLength + fillerHeight;
}

Art graduatedPipette(double body, int ml) {
    Art a;
    a.fill(pipetteGlass(body), withAlpha(QColor(0xEE, 0xF4, 0xF9), 0x90));
    // Graduation: a long mark every millilitre, short ones every 0.5 ml, from the tip end up.
    QPainterPath marks;
    for (int i = 0; i <= 2 * ml; ++i) {
        const double y = -tipLength - body * 0.06 - (body * 0.88) * i / (2.0 * ml);
        marks.moveTo(-pipetteHalf, y);
        marks.lineTo(i % 2 == 0 ? pipetteHalf - 0.5 : 0, y);
    }
    a.stroke(marks, palette::ink, 0.8);
    a.stroke(pipetteGlass(body), palette::glassLine, 1.2);
    // The filler: a rubber bulb with its valve.
    const double top = -tipLength - body;
    a.fillStroke(art::roundRect(-2.6, top - 6, 5.2, 8, 1), Paint::solid(QColor(0x55, 0x5F, 0x69)),
                 QColor(0x33, 0x3A, 0x40), 0.8);
    addRubberBulb(a, art::ellipse({0, top - 14}, 7.5, 9), 7, 1.0);
    return a;
}

Art graduatedPipetteLiquid(double body, QColor c) {
    QPainterPath p(QPointF(-0.5, -0.5));
    p.lineTo(-pipetteHalf + 1.1, -tipLength);
    p.lineTo(-pipetteHalf + 1.1, -tipLength - body * 0.94);
    p.lineTo(pipetteHalf - 1.1, -tipLength - body * 0.94);
    p.lineTo(pipetteHalf - 1.1, -tipLength);
    p.lineTo(0.5, -0.5);
    p.closeSubpath();
    Art a;
    a.fill(p, c);
    return a;
}

Art scaleThermometer(double h, int top, int step) {
    Art a;
    QPainterPath body;
    body.addRoundedRect(-5.5, -h - scaleBase - 14, 11, h + scaleBase + 14, 5.5, 5.5);
    a.fillStroke(body, Paint::solid(QColor(0xFB, 0xFC, 0xFE)), palette::glassLine, 1.2);
    a.fillStroke(
        art::circle({0, 6}, 8.5),
        Paint::radial({-3, 3}, 11, {{0, QColor(0xF0, 0x6A, 0x5A)}, {1, QColor(0xB0, 0x1E, 0x1E)}}),
        palette::glassLine, 1.2);
    a.fill(art::rect(-1.8, -4, 3.6, 8), QColor(0xC6, 0x28, 0x28));
    // A scale card behind the numbers, so they read against water and glass alike.
    a.fillStroke(art::roundRect(6, -h - scaleBase - 9, 24, h + 18, 2),
                 Paint::solid(QColor(255, 255, 255, 235)), withAlpha(palette::glassLine, 150), 0.8);
    QPainterPath marks;
    const text::Style numbers = text::bold(12);
    for (int t = 0; t <= top; ++t) {
        const double y = -scaleBase - h * t / top;
        if (t % step == 0) {
            marks.moveTo(6, y);
            marks.lineTo(12, y);
            a.fill(text::at(QString::number(t), numbers, {13, y - text::ascent(numbers) / 2 - 1}),
                   palette::ink);
            text::noteInk(QString::number(t), numbers, palette::ink, Qt::white);
        } else if (t % (step / 2 > 0 ? step / 2 : 1) == 0) {
            marks.moveTo(6, y);
            marks.lineTo(9.5, y);
        }
    }
    a.stroke(marks, palette::ink, 0.9);
    return a;
}

Art thermometerReading(double h) {
    Art a;
    const double y = -scaleBase - h;
    a.fill(art::rect(-1.8, y, 3.6, -y + 1), QColor(0xC6, 0x28, 0x28));
    return a;
}

double thermometerShare(double h, int top, double t) {
    return (scaleBase + h * t / top) / (scaleBase + h);
}

namespace {
QPainterPath bathPath(double w, double h) {
    QPainterPath p(QPointF(-w / 2, -h));
    p.lineTo(-w / 2, -4);
    p.quadTo(-w / 2, 0, -w / 2 + 4, 0);
    p.lineTo(w / 2 - 4, 0);
    p.quadTo(w / 2, 0, w / 2, -4);
    p.lineTo(w / 2, -h);
    return p;
}
}  // namespace

Art bathBack(double w, double h) {
    Art a;
    QPainterPath back = bathPath(w, h);
    back.closeSubpath();
    a.fill(back, withAlpha(QColor(0xE4, 0xEE, 0xF6), 110));
    return a;
}

Art bathWater(double w, double h, double fill) {
    Art a;
    const double top = -h * fill;
    a.fill(
        art::rect(-w / 2 + 2, top, w - 4, -top - 2),
        Paint::linear({0, top}, {0, 0},
                      {{0, QColor(0x9F, 0xCF, 0xEF, 0x48)}, {1, QColor(0x7F, 0xB5, 0xE0, 0x5C)}}));
    return a;
}

Art bathFront(double w, double h, double fill) {
    Art a;
    const double top = -h * fill;
    // The water surface seen slightly from above, and a faint front tint.
    a.fill(art::rect(-w / 2 + 2, top, w - 4, -top - 2), QColor(0x9F, 0xCF, 0xEF, 0x22));
    a.stroke(art::line({-w / 2 + 2, top}, {w / 2 - 2, top}), QColor(0x5F, 0x9C, 0xCB, 0xC0), 1.4);
    a.fill(art::roundRect(-w / 2 + 5, -h + 8, 4, h - 16, 2), QColor(255, 255, 255, 110));
    a.stroke(bathPath(w, h), palette::glassLine, 1.8);
    a.fill(art::rect(-w / 2 + 2, -3, w - 4, 2), QColor(0xC8, 0xDC, 0xEC, 0xC0));  // glass bottom
    return a;
}

Art immersionHeater(double top, bool hot) {
    Art a;
    a.fillStroke(art::rect(-2, -top, 4, top - 22), Paint::solid(QColor(0x8A, 0x96, 0xA2)),
                 QColor(0x4A, 0x55, 0x60), 0.8);
    a.fillStroke(art::roundRect(-5, -top - 2, 10, 16, 2), Paint::solid(QColor(0x3A, 0x42, 0x4A)),
                 QColor(0x22, 0x28, 0x2E), 0.8);
    QPainterPath coil(QPointF(0, -22));
    for (int i = 0; i < 5; ++i) {
        const double y = -20 + i * 4.2;
        coil.cubicTo(9, y, 9, y + 4.2, 0, y + 4.2);
        coil.cubicTo(-9, y + 4.2, -9, y, 0, y);
        coil.moveTo(0, y + 4.2);
    }
    a.stroke(coil, hot ? QColor(0xE8, 0x5A, 0x24) : QColor(0x6E, 0x7A, 0x86), 2.2);
    return a;
}

Art paperSheet(double w) {
    Art a;
    // A soft contact shadow, the sheet with a ruled line near its far edge and a turned-up
    // corner, so it reads as paper lying on the bench.
    a.fill(art::polyline({{-w / 2 + 4, -6}, {w / 2 + 6, -6}, {w / 2 + 26, 15}, {-w / 2 - 14, 15}},
                         true),
           QColor(0x1F, 0x2D, 0x3D, 0x18));
    a.fillStroke(
        art::polyline(
            {{-w / 2, -8}, {w / 2 - 10, -8}, {w / 2, -4}, {w / 2 + 20, 12}, {-w / 2 - 20, 12}},
            true),
        Paint::linear({0, -8}, {0, 12}, {{0, QColor(0xF6, 0xF8, 0xFA)}, {1, Qt::white}}),
        QColor(0xA9, 0xB8, 0xC8), 1);
    a.fillStroke(art::polyline({{w / 2 - 10, -8}, {w / 2 - 7, -2}, {w / 2, -4}}, true),
                 Paint::solid(QColor(0xE3, 0xE9, 0xEF)), QColor(0xA9, 0xB8, 0xC8), 0.8);
    a.stroke(art::line({-w / 2 + 4, -5}, {w / 2 - 12, -5}), QColor(0x9F, 0xC3, 0xE6), 0.8);
    return a;
}

Art paperCross(double size) {
    // The "+" drawn with a pen on the sheet, seen at a low angle: the stroke across stays long,
    // the stroke away from the eye shrinks to a third of its length. Thin ink lines, not a
    // solid shape, so it reads as a drawing and not as the foot of a stand.
    QPainterPath p;
    p.moveTo(-size / 2, 0.4);
    p.quadTo(0, -0.6, size / 2, 0.2);
    p.moveTo(-0.6, -size * 0.11);
    p.lineTo(0.8, size * 0.13);
    Art a;
    a.stroke(p, palette::ink, 2.4);
    return a;
}

Art ember() {
    Art a;
    a.fill(art::circle({0, 0}, 15), Paint::radial({0, 0}, 15,
                                                  {{0, QColor(255, 170, 60, 190)},
                                                   {0.45, QColor(255, 110, 30, 80)},
                                                   {1, QColor(255, 90, 20, 0)}}));
    // Charred wood with a glowing core and sparks of red at the very end.
    a.fill(art::ellipse({2, -3}, 6.5, 4.8), QColor(0x3A, 0x2A, 0x22));
    a.fill(art::ellipse({0.8, -1.4}, 4.8, 3.4),
           Paint::radial({0.8, -1.4}, 5, {{0, QColor(255, 240, 150)}, {1, QColor(230, 70, 20)}}));
    a.fill(art::circle({4.6, -5}, 1.4), QColor(255, 110, 40));
    a.fill(art::circle({-2.8, -3.6}, 1.0), QColor(255, 140, 50));
    return a;
}

namespace {
constexpr double bottleNeckH = 12, bottleShoulder = 12;

QPainterPath bottlePath(double w, double h) {
    const double neck = reagentBottleNeck(w) / 2 + 1.5;
    const double body = h - bottleNeckH - bottleShoulder;
    QPainterPath p(QPointF(-neck, -h));
    p.lineTo(-neck, -h + bottleNeckH);
    p.cubicTo(-neck, -body - 4, -w / 2, -body - 2, -w / 2, -body + 6);
    p.lineTo(-w / 2, -5);
    p.quadTo(-w / 2, 0, -w / 2 + 5, 0);
    p.lineTo(w / 2 - 5, 0);
    p.quadTo(w / 2, 0, w / 2, -5);
    p.lineTo(w / 2, -body + 6);
    p.cubicTo(w / 2, -body - 2, neck, -body - 4, neck, -h + bottleNeckH);
    p.lineTo(neck, -h);
    return p;
}
}  // namespace

double reagentBottleNeck(double w) {
    return std::max(14.0, w * 0.32);
}

Art reagentBottle(double w, double h) {
    Art a;
    QPainterPath back = bottlePath(w, h);
    back.closeSubpath();
    a.fill(back, Paint::solid(withAlpha(QColor(0xE4, 0xEE, 0xF6), 200)));
    return a;
}

Art reagentBottleLiquid(double w, double h, double fill, QColor c) {
    Art a;
    const double body = h - bottleNeckH - bottleShoulder;
    const double top = -body * fill;
    const QPainterPath p = flatBottomedLiquid(w, top, 1.6, 3.4);
    a.fill(p, Paint::linear({-w / 2, 0}, {w / 2, 0},
                            {{0, c.darker(110)}, {0.4, c.lighter(104)}, {1, c.darker(106)}}));
    a.fill(art::ellipse({0, top}, w / 2 - 1.6, 2), withAlpha(c.darker(125), 220));
    return a;
}

Art reagentBottleFront(double w, double h, double labelTop, double labelHeight) {
    Art a;
    const double body = h - bottleNeckH - bottleShoulder;
    a.fill(art::roundRect(-w / 2 + 4, -body + 8, 4, body - 14, 2), withAlpha(Qt::white, 150));
    a.fillStroke(art::rect(-w / 2 + 3, labelTop, w - 6, labelHeight), Paint::solid(Qt::white),
                 withAlpha(palette::glassLine, 150), 0.8);
    a.stroke(bottlePath(w, h), palette::glassLine, 1.6);
    const double neck = reagentBottleNeck(w) / 2 + 1.5;
    a.fillStroke(art::roundRect(-neck - 2, -h - 2, 2 * neck + 4, 5, 2),
                 Paint::solid(QColor(0xEE, 0xF4, 0xF9)), palette::glassLine, 1.2);
    return a;
}

Art tubeHanger(double tubeSide, double rimX, double rimY, double tubeW) {
    Art a;
    const QColor wire(0x5B, 0x66, 0x72);
    // The hook over the rim, on whichever side of the tube the rim is.
    const double out = rimX > tubeSide ? 1 : -1;
    const double near = out > 0 ? tubeSide + tubeW : tubeSide;
    QPainterPath p(QPointF(rimX + 5 * out, rimY + 10));
    p.lineTo(rimX + 5 * out, rimY - 4);
    p.lineTo(rimX - 4 * out, rimY - 4);
    p.lineTo(rimX - 4 * out, rimY + 6);
    p.lineTo(near, rimY + 6);
    a.stroke(p, wire, 1.8);
    a.stroke(art::line({tubeSide - 1, rimY + 6}, {tubeSide + tubeW + 1, rimY + 6}), wire, 2.4);
    return a;
}

namespace {
const QColor standMetal(0x8A, 0x96, 0xA2), standDark(0x4A, 0x55, 0x60);

// What every stand has: a contact shadow, a foot `footHalf` either side of x = 0 and `footH`
// tall, and a rod of width 4 with its left side at `rodX`, rising `h` from the bench.
void standFootAndRod(Art& a, double footHalf, double footH, double rodX, double h) {
    a.fill(art::ellipse({0, 1}, footHalf + 2, footH / 2), QColor(0x1F, 0x2D, 0x3D, 0x20));
    a.fillStroke(art::roundRect(-footHalf, -footH, 2 * footHalf, footH, 2),
                 Paint::solid(QColor(0x5B, 0x66, 0x72)), standDark, 0.8);
    a.fillStroke(art::rect(rodX, -h, 4, h - footH), Paint::solid(standMetal), standDark, 0.8);
}
}  // namespace

Art tubeClampStand(double h, double clampY, double reach, double tubeW) {
    Art a;
    const QColor metal = standMetal, dark = standDark;
    // The foot, the rod, a boss and the arm out to the clamp's two jaws either side of the tube.
    standFootAndRod(a, 20, 6, -2, h);
    a.fillStroke(art::roundRect(-4.5, clampY - 5, 9, 10, 1.5), Paint::solid(metal), dark, 0.8);
    const double jawIn = reach - tubeW / 2 - 5;
    a.fillStroke(art::rect(4.5, clampY - 2, jawIn - 4.5, 4), Paint::solid(metal), dark, 0.8);
    for (double x : {jawIn, reach + tubeW / 2 - 1})
        a.fillStroke(art::roundRect(x, clampY - 6, 6, 12, 2),
                     Paint::solid(QColor(0xB8, 0x8A, 0x5A)), dark, 0.8);
    a.stroke(art::line({jawIn + 6, clampY + 5}, {reach + tubeW / 2 - 1, clampY + 5}), dark, 1.2);
    return a;
}

Art pipetteStand(double h, double clampY) {
    Art a;
    // A contact shadow, the foot, the rod behind the pipette and a clamp arm with its ring.
    standFootAndRod(a, 28, 7, -20, h);
    a.fillStroke(art::rect(-18, clampY - 3, 14, 6), Paint::solid(standMetal), standDark, 0.8);
    a.stroke(art::ellipse({0, clampY}, 6.5, 3), standDark, 1.6);
    return a;
}

Art digitalStopwatch(int seconds) {
    Art a;
    const text::Style digits = text::bold(21);
    const QString shown = QStringLiteral("%1:%2")
                              .arg(seconds / 60, 2, 10, QChar('0'))
                              .arg(seconds % 60, 2, 10, QChar('0'));
    const double w = text::width(shown, digits) + 10;
    a.fillStroke(art::rect(0, 0, w, 28), Paint::solid(Qt::white), palette::boxLine, 1);
    a.fill(text::at(shown, digits, {w / 2, 2}, text::Align::Center), palette::ink);
    text::noteInk(shown, digits, palette::ink, Qt::white);
    const text::Style buttons = text::bold(13);
    const double by = 34;
    const QString names[2] = {QStringLiteral("Старт"), QStringLiteral("Стоп")};
    for (int i = 0; i < 2; ++i) {
        const double x = w / 2 - 51 + i * 52;
        a.fillStroke(art::roundRect(x, by, 50, 25, 3),
                     Paint::linear({0, by}, {0, by + 25},
                                   {{0, QColor(0xFB, 0xFC, 0xFD)}, {1, QColor(0xDD, 0xE3, 0xEA)}}),
                     QColor(0x8F, 0x9B, 0xA8), 1);
        a.fill(text::at(names[i], buttons, {x + 25, by + 5}, text::Align::Center), palette::ink);
        text::noteInk(names[i], buttons, palette::ink, QColor(0xDD, 0xE3, 0xEA));
    }
    return a;
}

}  // namespace glass
