#pragma once

#include <QColor>

#include "Art.h"

// Measuring instruments and the water bath of the timed experiments: a graduated pipette with a
// filler, a thermometer with a numbered scale, the glass bath, an immersion heater, the sheet
// with its cross and a digital stopwatch like the one of the experiment windows.
namespace glass {

// A graduated (Mohr) pipette of `ml` millilitres with a rubber filler, origin at its tip.
art::Art graduatedPipette(double bodyLength, int ml);
// Its liquid, origin at the tip, a full pipette; scale in y about the tip to empty it.
art::Art graduatedPipetteLiquid(double bodyLength, QColor c);
// Length from the tip to the top of the filler.
double graduatedPipetteHeight(double bodyLength);

// A thermometer with a numbered scale from 0 to `top` °C every `step`, origin at the centre of
// its bulb; the scale spans h px and starts a little above the bulb. thermometerReading() is the
// column from the bulb up to `top` °C; thermometerShare() the y scale that makes it read t °C.
art::Art scaleThermometer(double h, int top, int step);
art::Art thermometerReading(double h);
double thermometerShare(double h, int top, double t);

// A glass bath with a flat glass bottom, origin at the middle of its base: the back wall (lies
// behind what stands in it), the water (translucent), and the front wall with its rim.
art::Art bathBack(double w, double h);
art::Art bathWater(double w, double h, double fill);
art::Art bathFront(double w, double h, double fill);

// An immersion heater hanging from above: the rod from y = −top down to its coil, origin at
// the bottom of the coil; `hot` colours the coil glowing.
art::Art immersionHeater(double top, bool hot);

// A sheet of paper seen at a low angle with its cross "+", origin at the middle of the sheet.
art::Art paperSheet(double w);
art::Art paperCross(double size);

// The smouldering end of a splinter: a glowing red ember with a faint halo, origin at the tip.
art::Art ember();

// A reagent bottle with a narrow neck, origin at the middle of its base, w wide and h tall:
// the glass behind what stands in it, its liquid up to `fill` of the body, and the front
// (outline, highlight and a white paper label from y = labelTop down by labelHeight; the movie
// writes the name on it).
art::Art reagentBottle(double w, double h);
art::Art reagentBottleLiquid(double w, double h, double fill, QColor c);
art::Art reagentBottleFront(double w, double h, double labelTop, double labelHeight);
// The inner width of the bottle's neck: a pipette narrower than this goes in.
double reagentBottleNeck(double w);

// A wire hanger that holds a tube `tubeW` wide from the bath's rim: a ring round the tube (its
// left wall at x = tubeSide), across to a hook over the rim's top at (rimX, rimY) on either
// side of it, in stage coordinates.
art::Art tubeHanger(double tubeSide, double rimX, double rimY, double tubeW);

// A stand that holds a test tube upright above the bench, origin at the middle of its foot: a
// rod `h` tall and, at `clampY` (negative, above the foot), an arm out to the right by `reach`
// to the clamp's two jaws either side of a tube `tubeW` wide standing at x = reach.
art::Art tubeClampStand(double h, double clampY, double reach, double tubeW);

// A pipette stand, origin at the middle of its foot: a rod `h` tall with a clamp at `clampY`
// (negative, above the foot) that holds a pipette standing at x = 0.
art::Art pipetteStand(double h, double clampY);

// The seven-segment stopwatch of the experiment windows: a display with minutes:seconds and
// the two buttons, origin at the top left of the display.
art::Art digitalStopwatch(int seconds);

}  // namespace glass
