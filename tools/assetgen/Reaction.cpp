#include "Reaction.h"

#include <algorithm>
#include <cmath>

#include "Chemistry.h"
#include "Glassware.h"
#include "Instruments.h"
#include "Slides.h"

namespace reaction {
using namespace slides;

namespace {
constexpr double fullMl = 10, fullHeight = 110;  // the column of 10 ml
constexpr double tubeW = 40, tubeH = 160;
const QPointF insetCentre(476, 186);
constexpr double insetR = 48;
// Experiment 1: the tube on its sheet, the stock bottles of the three solutions on the bench
// left of it, each with its own graduated pipette standing in it.
constexpr double benchTubeX = 290, benchMouth = 100, benchY = 266;
constexpr double bottleXs[3] = {58, 128, 198};
constexpr double bottleH = 80;
// The pipettes of experiment 1 stand with their tips in the liquid near the bottoms of the
// bottles and their bulbs just above the necks; bottles and pipettes are short enough that one
// carried over the others clears both their bulbs and the subtitle.
constexpr double benchPipetteBody = 54, benchRestTip = benchY - 12;
// The bulb of the filler reaches a pixel above the filler's nominal height.
constexpr double benchPipetteTop = 14 + benchPipetteBody + 23;
// A pipette carried to the tube keeps its tip 5 px above the bulbs of the pipettes standing in
// their bottles, which leaves its own bulb well under the subtitle; it rises to the tube from
// just left of the tube's rim, right of the subtitle's end.
constexpr double benchTravel = benchRestTip - benchPipetteTop - 5;
const QPointF besideTube(260, benchTravel);
// Experiment 2: the water bath on the sheet with the cross, so the view from above looks
// through the mixture, the water and the glass bottom onto the cross. In it, from the left:
// the immersion heater, the tube of the mixture, the thermometer (on the right of the tube,
// as the stopwatch is) and the tube of acid warming beside it. Its water stands above the
// whole mixture, acid included, so all of it is at the bath's temperature, and both tubes
// stand on the bath's bottom with their mouths above the water. The sheet's front edge ends
// well above the band of Таблица 2 and its tab.
constexpr double bathX = 312, bathW = 164, bathH = 156, bathFill = 0.95, bathBase = 276;
constexpr double bathTubeX = 272, bathMouth = bathBase - 172;
constexpr double heaterX = 240;
// The thermometer's top stays under the tubes' mouths, so a pipette passes over all three low;
// it stands in the middle of the gap between the two tubes, its scale plate clear of both.
constexpr double thermoX = 305, thermoBulb = bathBase - 22, thermoH = 118;
// The acid's tube is a short one, hung from the bath's rim, so the pipette reaches its bottom;
// the water stands above the acid in it too.
constexpr double acidTubeX = 362, acidTubeH = 96, acidMouth = bathMouth + 8;
constexpr double standX = 178;
// Where the pipette travels over the bath: its tip just above the mouths of the tubes and the
// thermometer, so its filler stays inside the movie and clear of the heading; it rises from
// its stand right of the heading's end and passes the bath's wall just above its rim.
constexpr double travelY = bathMouth - 8;
const QPointF standLifted(standX, bathMouth + 44), overWall(234, bathMouth + 6),
    intoBath(250, travelY);
constexpr double bathPipetteBody = 48;
// Pouring from a graduated pipette runs at this many millilitres a second.
constexpr double mlPerSecond = 1.6;

double levelScale(double ml) {
    return std::max(0.01, ml / fullMl);
}

double pourSeconds(int ml) {
    return std::max(1.5, ml / mlPerSecond);
}

art::Art insetFrame() {
    art::Art a;
    a.fillStroke(art::circle({0, 0}, insetR), art::Paint::solid(Qt::white), palette::glassLine, 3);
    return a;
}

art::Art insetRim() {
    art::Art a;
    a.stroke(art::circle({0, 0}, insetR), palette::glassLine, 3);
    a.stroke(art::circle({0, 0}, insetR - 4), QColor(255, 255, 255, 160), 2);
    return a;
}

art::Art disk(double r, QColor c) {
    art::Art a;
    a.fill(art::circle({0, 0}, r), c);
    return a;
}

art::Art contactShadow(double halfWidth) {
    art::Art a;
    a.fill(art::ellipse({0, 1}, halfWidth, 3.5), QColor(0x1F, 0x2D, 0x3D, 0x20));
    return a;
}

// A graduated pipette of 5 ml standing in its place (a stock bottle or the stand) until it is
// used; its liquid is drawn up where it is filled.
struct Pipette {
    Scene::Object glass, liquid;
    Scene::Object stock;  // the liquid of the bottle it draws from, when it has one
    QPointF rest;
    QColor colour;
};

Pipette standingPipette(Scene& s, QPointF tip, QColor colour, double body) {
    Pipette p;
    p.rest = tip;
    p.colour = colour.darker(108);
    p.glass = s.put(glass::graduatedPipette(body, 5), tip, Captions);
    s.setName(p.glass, "pipette");
    p.liquid = s.put(glass::graduatedPipetteLiquid(body, colour.darker(112)), tip, Captions);
    s.scaleTo(p.liquid, 1, 0.02, {0, 0}, 0);
    s.setAlpha(p.liquid, 0, 0);
    return p;
}

// Moves the pipette (and what it holds) through the points in turn, `seconds` for each leg;
// the clock moves on.
void carry(Scene& s, const Pipette& p, std::initializer_list<QPointF> path, double seconds) {
    for (const QPointF& at : path) {
        s.moveTo(p.glass, at, seconds);
        s.moveTo(p.liquid, at, seconds);
        s.wait(seconds);
    }
}

// Draws `ml` into the pipette where it stands; the clock moves on.
// A stock bottle's level sinks by what was taken, more than to scale so the eye sees even 1 ml go.
void drawUp(Scene& s, const Pipette& p, int ml, double seconds) {
    s.setAlpha(p.liquid, s.now(), 1);
    s.scaleTo(p.liquid, 1, ml / 5.0, {0, 0}, seconds, Scene::Ease::Linear);
    if (p.stock.index >= 0)
        s.scaleTo(p.stock, 1, 0.96 - 0.018 * ml, {0, 0}, seconds, Scene::Ease::Linear);
    s.wait(seconds);
}

// How far the sulfur has clouded the mixture, 0..1, at a share u of the reaction time: a faint
// opalescence from the moment the acid is in, then deepening steadily, so the cross seen from
// above has lost about two fifths of its contrast by a third of the time and three quarters by
// two thirds, and is last seen faintly just before u = 1. It never stands still while the
// student waits.
double clouding(double u) {
    u = std::clamp(u, 0.0, 1.0);
    return 0.1 * std::sqrt(u) + 0.9 * std::pow(u, 1.2);
}
}  // namespace

Scene movie(const Setup& setup) {
    Scene s = stage(705, 350);
    const bool bath = setup.temperature > 0;
    const double tubeX = bath ? bathTubeX : benchTubeX;
    // In the bath the tube stands lower, so the water covers the mixture.
    const double mouthY = bath ? bathMouth : benchMouth;
    // The subtitle is set in the size of the labels, so it ends left of where a pipette rises to
    // the tube's mouth, with room to spare.
    heading(s, setup.title);
    putText(s, setup.subtitle, text::plain(12), {22, 43}, text::Align::Left, palette::muted);
    equation(s, text::chem("Na2S2O3 + H2SO4 → Na2SO4 + S↓ + SO2↑ + H2O"), {535, 10}, 13);

    // The equation a size smaller, so a pipette over the acid in the bath passes left of it.
    // Instructions panel on the right, above the stopwatch corner.
    // The longest caption, four lines of 14 px, fits it with its margins; no wide blank below.
    s.put(glass::panel(522, 66, 174, 92, palette::panel, palette::panelLine), {}, Furniture);

    // The tube, its liquid and what it stands on: the sheet with the cross, seen from the side.
    const QPointF bottom(tubeX, mouthY + glass::tubeBodyBottom(tubeW, tubeH));
    const double sheetY = bath ? bathBase : bottom.y() + tubeW / 2;
    const double sheetW = bath ? bathW : 110;
    if (!bath) {
        // The tube is held upright above the cross by a clamp on a stand behind the sheet, its
        // jaws above the liquid.
        const QPointF foot(tubeX - 44, sheetY - 7);
        Obj clamp =
            s.put(glass::tubeClampStand(foot.y() - mouthY - 10, mouthY + 22 - foot.y(), 44, tubeW),
                  foot, Furniture);
        s.setName(clamp, "clamp");
    }
    s.put(glass::paperSheet(sheetW), {bath ? bathX : tubeX, sheetY}, Furniture);
    s.put(glass::paperCross(50), {tubeX, sheetY + 2}, Furniture);
    // The label stands clear of the sheet's turned-up corner.
    const double sheetRight = (bath ? bathX : tubeX) + sheetW / 2 + 20;
    putText(s, "крест на листе", text::plain(12), {sheetRight + 10, sheetY - 2}, text::Align::Left,
            palette::muted, Furniture);
    if (bath) {
        s.put(glass::bathBack(bathW, bathH), {bathX, bathBase}, Behind);
        s.put(glass::bathWater(bathW, bathH, bathFill), {bathX, bathBase}, Behind);
    }
    s.put(glass::testTube(tubeW, tubeH), {tubeX, mouthY}, Glass);
    s.put(glass::testTubeFront(tubeW, tubeH), {tubeX, mouthY}, Front);

    const QColor clear(0xCF, 0xE8, 0xF7);
    const QColor acidColour = palette::acid;
    const QColor thioColour = clear.darker(103), waterColour(0xE2, 0xF1, 0xFB);
    const int startMl = bath ? setup.thiosulfateMl + setup.waterMl : 0;
    Obj cap = s.put(glass::tubeLiquidCap(tubeW, clear), bottom, Liquid);
    Obj body = s.put(glass::tubeLiquidBody(tubeW, fullHeight, clear), bottom, Liquid);
    s.scaleTo(body, 1, levelScale(startMl), {0, 0}, 0);
    if (!bath) {
        s.setAlpha(cap, 0, 0);
        s.setAlpha(body, 0, 0);
    }

    // What the tube holds, listed beside it as it goes in.
    const QPointF listAt = bath ? QPointF(24, 108) : QPointF(tubeX + 34, 196);
    auto listLine = [&](int row, const QString& markup) {
        Obj o = putText(s, markup, text::plain(13), listAt + QPointF(0, row * 19),
                        text::Align::Left, palette::muted);
        if (s.now() > 0) appear(s, o, 0.3);
        return o;
    };

    // The pipettes: in experiment 1 each stands in the stock bottle of its solution; in the
    // bath the one for the acid waits in its stand.
    Pipette pipettes[3];
    Pipette& acidPipette = pipettes[2];
    Obj thermoColumn, heater, heaterLabel, acidBody, acidCap;
    const double acidTubeBottom = acidMouth + glass::tubeBodyBottom(tubeW, acidTubeH);
    const QPointF acidBottom(acidTubeX, acidTubeBottom);
    const double acidLevel = fullHeight * levelScale(chemistry::acidMl);
    if (bath) {
        putText(s, "В большой пробирке:", text::bold(13), {listAt.x(), listAt.y() - 20},
                text::Align::Left, palette::accent);
        putText(s, "водяная баня", text::bold(12), {bathX + bathW / 2 + 8, bathBase - 40},
                text::Align::Left, palette::muted);
        listLine(0, text::chem("Na2S2O3") + QStringLiteral(" %1 мл").arg(setup.thiosulfateMl));
        listLine(1, QStringLiteral("H_2O %1 мл").arg(setup.waterMl));
        // The acid warms in its own tube beside the mixture, labelled beside its mouth.
        s.put(glass::testTube(tubeW, acidTubeH), {acidTubeX, acidMouth}, Glass);
        acidCap = s.put(glass::tubeLiquidCap(tubeW, acidColour), acidBottom, Liquid);
        acidBody = s.put(glass::tubeLiquidBody(tubeW, acidLevel, acidColour), acidBottom, Liquid);
        s.setName(acidCap, "acidWarming");
        s.setName(acidBody, "acidWarming");
        s.put(glass::testTubeFront(tubeW, acidTubeH), {acidTubeX, acidMouth}, Front);
        // Both tubes hang from the bath's rim, the mixture's from the left, the acid's from the
        // right.
        for (const auto& [side, rim] : {std::pair(acidTubeX - tubeW / 2, bathX + bathW / 2),
                                        std::pair(tubeX - tubeW / 2, bathX - bathW / 2)}) {
            Obj hanger =
                s.put(glass::tubeHanger(side, rim, bathBase - bathH, tubeW), {0, 0}, Front);
            s.setName(hanger, "clamp");
        }
        putText(s, text::chem("H2SO4"), text::bold(12), {acidTubeX + tubeW / 2 + 6, bathMouth - 34},
                text::Align::Left, palette::muted);
        // A short leader from the label to the tube's rim ties the two.
        art::Art leader;
        leader.stroke(art::line({acidTubeX + tubeW / 2 + 4, bathMouth - 24},
                                {acidTubeX + tubeW / 2 - 1, acidMouth - 6}),
                      palette::muted, 1);
        s.put(leader, {}, Labels);
        s.put(glass::bathFront(bathW, bathH, bathFill), {bathX, bathBase}, Front);
        heater =
            s.put(glass::immersionHeater(bathBase - 72, true), {heaterX, bathBase - 10}, Props);
        heaterLabel = putText(s, "нагреватель", text::plain(12), {heaterX - 9, 63},
                              text::Align::Right, palette::muted);
        s.put(glass::scaleThermometer(thermoH, 50, 10), {thermoX, thermoBulb}, Props);
        thermoColumn = s.put(glass::thermometerReading(thermoH), {thermoX, thermoBulb}, Props);
        s.scaleTo(thermoColumn, 1, glass::thermometerShare(thermoH, 50, 25), {0, 0}, 0);
        const double standClamp = -90;
        Obj stand = s.put(glass::pipetteStand(110, standClamp), {standX, bathBase}, Furniture);
        s.setName(stand, "holder");
        acidPipette = standingPipette(s, {standX, bathBase - 20}, acidColour, bathPipetteBody);
    } else {
        const QString names[3] = {text::chem("Na2S2O3"), "H_2O", text::chem("H2SO4")};
        const QColor colours[3] = {thioColour, waterColour, acidColour};
        const text::Style tag = text::bold(12);
        for (int i = 0; i < 3; ++i) {
            const double x = bottleXs[i], w = 60;
            s.put(contactShadow(w / 2 + 4), {x, benchY}, Furniture);
            Obj bottle = s.put(glass::reagentBottle(w, bottleH), {x, benchY}, Behind);
            s.setName(bottle, "holder");
            Obj stock = s.put(glass::reagentBottleLiquid(w, bottleH, 0.74, colours[i]), {x, benchY},
                              Liquid);
            s.setName(stock, "stock");
            s.put(glass::reagentBottleFront(w, bottleH, -30, 20), {x, benchY}, Captions + 1);
            putText(s, names[i], tag, {x, benchY - 28}, text::Align::Center, palette::ink,
                    Captions + 2, Qt::white);
            pipettes[i] = standingPipette(s, {x, benchRestTip}, colours[i], benchPipetteBody);
            pipettes[i].stock = stock;
        }
    }

    // The view from above: the same cross through the mixture.
    putText(s, "Вид сверху", text::bold(13), {insetCentre.x(), insetCentre.y() - insetR - 24},
            text::Align::Center, palette::muted);
    s.put(insetFrame(), insetCentre, Behind);
    Obj cross = s.put(glass::cross(58, palette::ink), insetCentre, Liquid);
    s.setName(cross, "cross");
    Obj insetTurbid = s.put(disk(insetR - 1.5, palette::sulfur), insetCentre, Overlay);
    s.setAlpha(insetTurbid, 0, 0);
    s.put(insetRim(), insetCentre, Front);

    const QPointF pipetteOver(tubeX, mouthY + 4);
    const double capWidth = 158;
    // Each caption stands in the middle of the instructions panel, however many lines it takes,
    // so a short one leaves no blank band under it.
    auto capPos = [&](const QString& markup, double size) {
        const text::Style style = text::bold(size);
        const QRectF ink =
            text::block(text::wrap(markup, style, capWidth), style, {0, 0}).boundingRect();
        return QPointF(530, std::round(66 + (92 - ink.height()) / 2 - ink.top()));
    };
    auto boxed = [&](const QString& markup, double seconds, const QColor& colour) {
        caption(s, markup, capPos(markup, 14), seconds, colour, 14, capWidth);
    };
    int mlSoFar = startMl;
    int addFrom = 0;  // from here the caption says the acid is being added
    bool first = !bath;
    // The pipette over the tube empties into it at a steady rate; the stream runs onto the
    // rising surface.
    auto pour = [&](const Pipette& p, int ml) {
        const double run = pourSeconds(ml);
        const double surface =
            first ? bottom.y() + tubeW / 2 - 3 : bottom.y() - fullHeight * levelScale(mlSoFar);
        Obj flow =
            s.put(glass::stream(surface - pipetteOver.y(), 2.0, p.colour), pipetteOver, Liquid);
        s.setName(flow, "stream");
        const double surfaceAfter = bottom.y() - fullHeight * levelScale(mlSoFar + ml);
        s.scaleTo(flow, 1, (surfaceAfter - pipetteOver.y()) / (surface - pipetteOver.y()), {0, 0},
                  run, Scene::Ease::Linear);
        const int start = s.now();
        s.scaleTo(p.liquid, 1, 0.02, {0, 0}, run, Scene::Ease::Linear);
        double rise = run;
        if (first) {
            // The first liquid gathers in the round bottom, then the column rises.
            const QPointF lowest(0, tubeW / 2 - 2.2);
            const double gather = run * 0.3;
            s.setAlpha(cap, s.now(), 1);
            s.scaleTo(cap, 1, 0.05, lowest, 0);
            s.scaleTo(cap, 1, 1, lowest, gather, Scene::Ease::Linear);
            s.wait(gather);
            s.setAlpha(body, s.now(), 1);
            rise = run - gather;
            first = false;
        }
        mlSoFar += ml;
        s.scaleTo(body, 1, levelScale(mlSoFar), {0, 0}, rise, Scene::Ease::Linear);
        s.setNow(start);
        s.wait(run);
        s.remove(flow);
        s.setAlpha(p.liquid, s.now(), 0);
    };

    if (bath) {
        const int t = setup.temperature;
        // Heating takes minutes in the laboratory: the movie shows it faster and says so.
        const double heat = 3.6;
        boxed(
            QStringLiteral("Нагреваем баню до %1\u00A0°C (несколько минут); кислота греется рядом")
                .arg(t),
            heat / 2, palette::ink);
        const int start = s.now();
        s.wait(heat / 2);
        // The next one stays until the pipette is in the acid.
        const int secondFrom = s.now();
        s.setNow(start);
        // The thermometer's reading, in its red, stands under the bath's name: over the
        // thermometer it would lie in the path of the pipette.
        const QPointF readingAt(bathX + bathW / 2 + 8, bathBase - 24);
        Obj reading = putText(s, QStringLiteral("25\u00A0°C"), text::bold(15), readingAt,
                              text::Align::Left, palette::bad);
        s.scaleTo(thermoColumn, 1, glass::thermometerShare(thermoH, 50, t), {0, 0}, heat,
                  Scene::Ease::Smooth);
        // The reading follows the column, a degree at a time.
        for (int deg = 26; deg <= t; ++deg) {
            const double share = (deg - 25.0) / (t - 25.0);
            // Inverse of the smooth ease, so the number matches the column's height.
            double lo = 0, hi = 1;
            for (int i = 0; i < 30; ++i) {
                const double mid = (lo + hi) / 2;
                (mid * mid * (3 - 2 * mid) < share ? lo : hi) = mid;
            }
            s.setNow(start + s.frames(heat * hi));
            s.remove(reading);
            reading = putText(s, QStringLiteral("%1\u00A0°C").arg(deg), text::bold(15), readingAt,
                              text::Align::Left, palette::bad);
        }
        s.setNow(start + s.frames(heat));
        // At temperature the heater is switched off and lifted out; the pipette waits in its
        // stand until then.
        s.remove(heater);
        heater =
            s.put(glass::immersionHeater(bathBase - 72, false), {heaterX, bathBase - 10}, Props);
        s.moveTo(heater, {heaterX, bathBase - 60}, 0.8);
        s.fadeTo(heater, 0, 0.8);
        disappear(s, heaterLabel, 0.6);
        s.wait(0.8);
        const int heated = s.now();
        s.setNow(secondFrom);
        boxed(QStringLiteral("Нагрев: через несколько минут обе пробирки при %1\u00A0°C").arg(t),
              (heated - secondFrom) / s.fps(), palette::ink);
        s.setNow(heated);
        // The pipette takes 5 ml of the warm acid from its tube: it dips into the acid and
        // follows the falling level down to the bottom, while the caption says so.
        const QPointF overAcid(acidTubeX, travelY);
        carry(s, acidPipette, {standLifted, overWall, intoBath, overAcid}, 0.35);
        carry(s, acidPipette, {{acidTubeX, acidBottom.y() - acidLevel + 6}}, 0.4);
        const int dipped = s.now();
        s.setNow(heated);
        boxed(text::chem("Баня нагрета: пипетку опускаем в тёплую H2SO4"),
              (dipped - heated) / s.fps(), palette::ink);
        s.setNow(dipped);
        const double draw = 1.5;
        boxed(text::chem("Набираем пипеткой 5\u00A0мл тёплой H2SO4"), draw, palette::ink);
        s.scaleTo(acidBody, 1, 0.02, {0, 0}, draw, Scene::Ease::Linear);
        const int drawStart = s.now();
        s.wait(draw - 0.4);
        // The last of it, in the round bottom, goes in the last moments.
        s.fadeTo(acidCap, 0, 0.4);
        s.setNow(drawStart);
        s.moveTo(acidPipette.glass, {acidTubeX, acidTubeBottom - 2}, draw, Scene::Ease::Linear);
        s.moveTo(acidPipette.liquid, {acidTubeX, acidTubeBottom - 2}, draw, Scene::Ease::Linear);
        drawUp(s, acidPipette, chemistry::acidMl, draw);
        s.setAlpha(acidBody, s.now(), 0);
        s.setAlpha(acidCap, s.now(), 0);
        // The emptied tube keeps its label and says it is empty once the last acid is out.
        Obj empty =
            putText(s, "пустая", text::plain(12), {acidTubeX + tubeW / 2 + 6, bathMouth - 18},
                    text::Align::Left, palette::muted);
        appear(s, empty, 0.4);
        addFrom = s.now();
        carry(s, acidPipette, {overAcid, {tubeX, travelY}}, 0.5);
    } else {
        QString pourText = QStringLiteral("Наливаем %1\u00A0мл %2")
                               .arg(setup.thiosulfateMl)
                               .arg(text::chem("Na2S2O3"));
        if (setup.waterMl > 0) pourText += QStringLiteral(" и %1\u00A0мл воды").arg(setup.waterMl);
        // The empty tube is seen first.
        boxed(QStringLiteral("Пробирка пока пустая"), 0.6, palette::ink);
        s.wait(0.6);
        const int pourFrom = s.now();
        // Each volume is measured with its own graduated pipette: drawn up in its bottle,
        // carried over the tube, emptied into it and stood back in its bottle. The next one is
        // drawn up while the last goes back, left of the path of the next.
        // After the last one the acid is drawn up only once that pipette has left the tube.
        auto deliver = [&](const Pipette& p, int ml, bool last) {
            drawUp(s, p, ml, 0.5);
            const QPointF lifted(p.rest.x(), benchTravel);
            carry(s, p, {lifted}, 1.0 / 3);
            carry(s, p, {besideTube, pipetteOver}, 0.35);
            pour(p, ml);
            carry(s, p, {besideTube, lifted}, 0.35);
            carry(s, p, {p.rest}, 1.0 / 3);
            s.setNow(s.now() - s.frames(last ? 1.0 / 3 : 1.1));
        };
        deliver(pipettes[0], setup.thiosulfateMl, setup.waterMl == 0);
        listLine(0, text::chem("Na2S2O3") + QStringLiteral(" %1 мл").arg(setup.thiosulfateMl));
        if (setup.waterMl > 0) {
            deliver(pipettes[1], setup.waterMl, true);
            listLine(1, QStringLiteral("H_2O %1 мл").arg(setup.waterMl));
        }
        const int pourTo = s.now();
        s.setNow(pourFrom);
        boxed(pourText, (pourTo - pourFrom) / s.fps(), palette::ink);
        s.setNow(pourTo);
        const int drawFrom = s.now();
        drawUp(s, acidPipette, chemistry::acidMl, 0.5);
        carry(s, acidPipette, {{acidPipette.rest.x(), benchTravel}}, 0.4);
        addFrom = s.now();
        s.setNow(drawFrom);
        boxed(text::chem("Набираем пипеткой 5\u00A0мл H2SO4"), (addFrom - drawFrom) / s.fps(),
              palette::ink);
        s.setNow(addFrom);
        carry(s, acidPipette, {besideTube}, 0.4);
    }

    // The acid; the caption says so from the moment the full pipette leaves for the tube.
    carry(s, acidPipette, {pipetteOver}, 0.5);
    pour(acidPipette, chemistry::acidMl);
    listLine(bath ? 2 : (setup.waterMl > 0 ? 2 : 1),
             text::chem("H2SO4") + QStringLiteral(" %1 мл").arg(chemistry::acidMl));
    // The empty pipette goes straight back to its place; then the movie waits for «Старт».
    if (bath)
        carry(s, acidPipette, {intoBath, overWall, standLifted, acidPipette.rest}, 0.35);
    else
        carry(s, acidPipette, {besideTube, {acidPipette.rest.x(), benchTravel}, acidPipette.rest},
              0.35);
    {
        const int poured = s.now();
        s.setNow(addFrom);
        boxed(text::chem("Добавляем 5\u00A0мл H2SO4"), (poured - addFrom) / s.fps(), palette::ink);
        s.setNow(poured);
    }

    // From this frame on the acid is in and the clock of the reaction runs: the movie stops
    // here, and the window plays it on from «Старт», so the stopwatch and the reaction start
    // together and nothing clouds before.
    const int acidIn = s.now();
    s.label(acidIn, "acid");
    s.stop(acidIn);
    const int n = chemistry::secondsToFrames(setup.seconds);

    // Turbidity: sulfur clouds the mixture from the first moment and ever deeper; the cross seen
    // through it from above is still faintly there in the last frame before tₖ and gone from tₖ
    // on. The cross on the sheet, seen from the side beside the tube, stays as it is drawn.
    // Seen from the side the haze lies over the faint blue of the solution: a warmer cream than
    // the sulfur seen from above, so the two mix to a milky pale yellow rather than a grey-green.
    const QColor sideHaze(0xF7, 0xE8, 0xC6);
    Obj turbidCap = s.put(glass::tubeLiquidCap(tubeW, sideHaze), bottom, Overlay);
    Obj turbidBody = s.put(glass::tubeLiquidBody(tubeW, fullHeight, sideHaze), bottom, Overlay);
    s.setName(turbidBody, "haze");
    const int tail = s.frames(1.7);
    for (int i = 0; i <= n + tail; ++i) {
        const double g = i <= n ? clouding(double(i) / n) : 1.0;
        const double after = i <= n ? 0.0 : double(i - n) / tail;
        // Seen from the side through the whole width the opalescence shows earlier than
        // from above: a visible haze from the first seconds, deepening steadily.
        const double u = std::min(1.0, double(i) / n);
        const double side = std::max(g, 0.6 * std::pow(u, 0.6));
        s.setAlpha(turbidCap, acidIn + i, std::min(0.96, 0.86 * side + 0.1 * after));
        s.setAlpha(turbidBody, acidIn + i, std::min(0.96, 0.86 * side + 0.1 * after));
        s.setAlpha(insetTurbid, acidIn + i, i < n ? 0.7 * g : 0.94);
        if (i < n) {
            const double c = 1.0 - 0.78 * g;
            s.setAlpha(cross, acidIn + i, c);
        }
    }

    // The call to press «Старт» stands while the movie waits for it; from the first frame of
    // the reaction on, the caption says what to watch.
    boxed("Кислота прилита — нажмите «Старт»!", 1.0 / s.fps(), palette::action);
    s.waitFrames(1);
    const QString watchText("Следите за крестом: выпадающая сера делает раствор мутным");
    Obj watch = putText(s, text::wrap(watchText, text::bold(14), capWidth), text::bold(14),
                        capPos(watchText, 14), text::Align::Left, palette::ink, Captions);

    s.setNow(acidIn + n);
    s.remove(cross);
    s.remove(watch);
    const QString goneText("Крест исчез — нажмите «Стоп»!");
    putText(s, text::wrap(goneText, text::bold(15), capWidth), text::bold(15), capPos(goneText, 15),
            text::Align::Left, palette::action, Captions);
    s.wait(1.7);
    finish(s);
    return s;
}

}  // namespace reaction
