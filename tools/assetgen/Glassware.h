#pragma once

#include <QColor>
#include <QPainterPath>

#include "Art.h"

// The laboratory's drawings: glassware, liquids, bubbles, thermometer, the cross under the
// tube, arrows, the blank boxes that lie under the windows' controls. Every drawing has its
// origin where its comment says, so movies place them by that point.
namespace glass {

// The colour with the given alpha (0–255).
inline QColor withAlpha(QColor c, int alpha) {
    c.setAlpha(alpha);
    return c;
}

// A test tube, origin at the middle of its mouth; w wide, h tall, round bottom.
art::Art testTube(double w, double h);
// The glass in front of the liquid: only the outline and a highlight (lies above liquids).
art::Art testTubeFront(double w, double h);
// Liquid in a tube of that width: the column from y = 0 up to y = −height, origin at the
// bottom middle of the straight part (the round bottom lies below the origin).
art::Art tubeLiquidBody(double w, double height, QColor c);
art::Art tubeLiquidCap(double w, QColor c);
// The inner bottom of a tube of height h lies this far below its mouth.
double tubeBodyBottom(double w, double h);

// A beaker, origin at the middle of its base; the water line of `fill` (0..1).
art::Art beaker(double w, double h);
// The outline of a liquid in a vessel with a flat bottom and rounded corners, `w` wide outside,
// origin at the middle of the bottom's outside: `inset` in from the glass, its surface at `top`.
QPainterPath flatBottomedLiquid(double w, double top, double inset, double corner);
art::Art beakerLiquid(double w, double h, double fill, QColor c);

// A conical flask, origin at the middle of its base.
art::Art flask(double w, double h);
art::Art flaskOutline(double w, double h);  // the glass in front of the liquid
art::Art flaskLiquid(double w, double h, double fill, QColor c);

// A dropping pipette with a rubber bulb, origin at its tip.
art::Art pipette(double length);
// A falling drop of radius r (at least 2.5 px to be seen), its round bottom on the origin.
art::Art drop(double r, QColor c);
// The red rubber of a pipette's filler bulb, shaded across its width (centred on x = 0).
void addRubberBulb(art::Art& a, const QPainterPath& bulb, double halfWidth, double lineWidth);

// A thermometer, origin at the centre of its bulb; scale marks from t0 to t1 °C over `h`.
art::Art thermometer(double h, int t0, int t1, int step);
// The red column from the bulb up to `h` (scaled in y about the origin to show a reading).
art::Art thermometerColumn(double h);

art::Art cross(double size, QColor c);

art::Art bubble(double r);
// A wooden splinter lying along +x from the origin, its tip at the origin.
art::Art splinter(double length);
art::Art glow(double r);   // a soft glowing spot centred at the origin
art::Art flame(double h);  // a flame standing on the origin

// A falling stream of liquid from (0,0) down to (0,h).
art::Art stream(double h, double w, QColor c);
// A heater plate, origin at the middle of its top.
art::Art hotPlate(double w);
// A tube rack for n tubes spaced `pitch` apart, origin at the middle of its top rail.
art::Art rack(int n, double pitch, double h);
// A stopwatch face, origin at its centre.
art::Art stopwatch(double r);

// A blank box under a window control at x, y, w × h: white, a little larger than the control
// and without a frame of its own.
art::Art controlBox(double x, double y, double w, double h);
// A rounded panel.
art::Art panel(double x, double y, double w, double h, QColor fill, QColor line);
// A block arrow from a to b.
art::Art arrow(QPointF a, QPointF b, double width, QColor c);

}  // namespace glass
