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
constexpr double tubeX = 290, tubeW = 40, tubeH = 160;
constexpr double fullMl = 10, fullHeight = 110;  // the column of 10 ml
const QPointF insetCentre(466, 186);
constexpr double insetR = 48;
// The water bath: a glass vessel on the sheet with the cross, so the view from above looks
// through the mixture, the water and the glass bottom onto the cross. Its water stands above
// the whole mixture, acid included, so all of it is at the bath's temperature.
constexpr double bathW = 176, bathH = 156, bathFill = 0.95, bathBase = 284;
constexpr double thermoX = 218, thermoBulb = 262, thermoH = 140;
constexpr double acidTubeX = 336, acidTubeW = 22, acidTubeH = 104, acidMouth = 168;
constexpr double heaterX = 366;
constexpr double pipetteBody = 60;

double levelScale(double ml) {
    return std::max(0.01, ml / fullMl);
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

// A graduated pipette standing ready with `ml` of a solution, its name and volume under it.
struct Measured {
    Scene::Object pipette, liquid, label;
    QPointF rest;
    QColor colour;
    int ml = 0;
};

Measured measuredPipette(Scene& s, QPointF tip, int ml, QColor colour, const QString& name) {
    Measured m;
    m.rest = tip;
    m.colour = colour.darker(108);
    m.ml = ml;
    m.pipette = s.put(glass::graduatedPipette(pipetteBody, 5), tip, Captions);
    m.liquid = s.put(glass::graduatedPipetteLiquid(pipetteBody, colour.darker(112)), tip, Captions);
    s.scaleTo(m.liquid, 1, ml / 5.0, {0, 0}, 0);
    m.label = putText(s, name + QStringLiteral("\n%1 мл").arg(ml), text::bold(12),
                      {tip.x(), tip.y() + 4}, text::Align::Center, palette::muted);
    return m;
}

// How far the sulfur has clouded the mixture, 0..1, at a share u of the reaction time: a faint
// opalescence from the moment the acid is in, deepening all the time, then a steep rise that
// hides the cross at u = 1. It never stands still while the student waits.
double clouding(double u) {
    u = std::clamp(u, 0.0, 1.0);
    const double x = std::clamp((u - 0.35) / 0.65, 0.0, 1.0);
    return 0.3 * std::pow(u, 0.6) + 0.7 * x * x * (1.6 - 0.6 * x);
}
}  // namespace

Scene movie(const Setup& setup) {
    Scene s = stage(705, 350);
    const bool bath = setup.temperature > 0;
    // In the bath the tube stands lower, so the water covers the mixture.
    const double mouthY = bath ? 112 : 100;
    // The subtitle a size smaller than usual, so the pipette above the tube stays clear of it.
    heading(s, setup.title);
    putText(s, setup.subtitle, text::plain(13), {22, 43}, text::Align::Left, palette::muted);
    equation(s, text::chem("Na2S2O3 + H2SO4 → Na2SO4 + S↓ + SO2↑ + H2O"), {527, 10}, 14);

    // Instructions panel on the right, above the stopwatch corner.
    // The longest caption, four lines of 14 px, fits it with its margins; no wide blank below.
    s.put(glass::panel(522, 66, 174, 92, palette::panel, palette::panelLine), {}, Furniture);

    // The tube, its liquid and what it stands on: the sheet with the cross, seen from the side.
    const QPointF bottom(tubeX, mouthY + glass::tubeBodyBottom(tubeW, tubeH));
    const double sheetY = bath ? bathBase : bottom.y() + tubeW / 2;
    s.put(glass::paperSheet(bath ? 200 : 110), {tubeX, sheetY}, Furniture);
    Obj sheetX = s.put(glass::paperCross(50), {tubeX, sheetY + 2}, Furniture);
    putText(s, "крест на листе", text::plain(12),
            bath ? QPointF(414, 279) : QPointF(tubeX + 80, sheetY - 6), text::Align::Left,
            palette::muted, Furniture);
    if (bath) {
        s.put(glass::bathBack(bathW, bathH), {tubeX, bathBase}, Behind);
        s.put(glass::bathWater(bathW, bathH, bathFill), {tubeX, bathBase}, Behind);
    }
    s.put(glass::testTube(tubeW, tubeH), {tubeX, mouthY}, Glass);
    s.put(glass::testTubeFront(tubeW, tubeH), {tubeX, mouthY}, Front);

    const QColor clear(0xCF, 0xE8, 0xF7);
    const int startMl = bath ? setup.thiosulfateMl + setup.waterMl : 0;
    Obj cap = s.put(glass::tubeLiquidCap(tubeW, clear), bottom, Liquid);
    Obj body = s.put(glass::tubeLiquidBody(tubeW, fullHeight, clear), bottom, Liquid);
    s.scaleTo(body, 1, levelScale(startMl), {0, 0}, 0);
    if (!bath) {
        s.setAlpha(cap, 0, 0);
        s.setAlpha(body, 0, 0);
    }

    // What the tube holds, listed beside it as it goes in.
    const QPointF listAt = bath ? QPointF(40, 188) : QPointF(tubeX + 34, 196);
    auto listLine = [&](int row, const QString& markup) {
        Obj o = putText(s, markup, text::plain(13), listAt + QPointF(0, row * 19),
                        text::Align::Left, palette::muted);
        if (s.now() > 0) appear(s, o, 0.3);
        return o;
    };

    const QColor acidColour = clear.darker(104);
    Obj thermoColumn, heater, acidBody, acidTubeLabel;
    const QPointF acidBottom(acidTubeX, acidMouth + glass::tubeBodyBottom(acidTubeW, acidTubeH));
    if (bath) {
        // The list says what is in the tube; the bath has its own label beside it.
        putText(s, "В пробирке:", text::bold(13), {40, 166}, text::Align::Left, palette::accent);
        putText(s, "водяная\nбаня", text::bold(12), {tubeX - bathW / 2 - 8, bathBase - 52},
                text::Align::Right, palette::muted);
        listLine(0, text::chem("Na2S2O3") + QStringLiteral(" %1 мл").arg(setup.thiosulfateMl));
        listLine(1, QStringLiteral("H_2O %1 мл").arg(setup.waterMl));
        // The acid warms in its own tube beside the mixture.
        s.put(glass::testTube(acidTubeW, acidTubeH), {acidTubeX, acidMouth}, Glass);
        s.put(glass::tubeLiquidCap(acidTubeW, acidColour), acidBottom, Liquid);
        acidBody = s.put(glass::tubeLiquidBody(acidTubeW, 56, acidColour), acidBottom, Liquid);
        s.put(glass::testTubeFront(acidTubeW, acidTubeH), {acidTubeX, acidMouth}, Front);
        acidTubeLabel =
            putText(s, text::chem("H2SO4"), text::bold(12), {acidTubeX + 4, bathBase - bathH - 22},
                    text::Align::Center, palette::muted);
        s.put(glass::bathFront(bathW, bathH, bathFill), {tubeX, bathBase}, Front);
        heater =
            s.put(glass::immersionHeater(bathBase - 72, true), {heaterX, bathBase - 10}, Props);
        s.put(glass::scaleThermometer(thermoH, 50, 10), {thermoX, thermoBulb}, Props);
        thermoColumn = s.put(glass::thermometerReading(thermoH), {thermoX, thermoBulb}, Props);
        s.scaleTo(thermoColumn, 1, glass::thermometerShare(thermoH, 50, 25), {0, 0}, 0);
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

    // The acid is measured with a graduated pipette.
    const double pipetteTop = glass::graduatedPipetteHeight(pipetteBody);
    const QPointF pipetteRest = bath ? QPointF(acidTubeX, 16 + pipetteTop) : QPointF(196, 244);
    const QPointF pipetteOver(tubeX, mouthY + 4);
    Obj pipette = s.put(glass::graduatedPipette(pipetteBody, 5), pipetteRest, Captions);
    Obj pipetteAcid = s.put(glass::graduatedPipetteLiquid(pipetteBody, acidColour.darker(112)),
                            pipetteRest, Captions);
    Obj acidLabel;
    Measured measured[2];
    if (bath) {
        s.setAlpha(pipette, 0, 0);
        s.setAlpha(pipetteAcid, 0, 0);
    } else {
        const QColor thioColour = clear.darker(103), waterColour(0xE2, 0xF1, 0xFB);
        measured[0] = measuredPipette(s, {96, pipetteRest.y()}, setup.thiosulfateMl, thioColour,
                                      text::chem("Na2S2O3"));
        if (setup.waterMl > 0)
            measured[1] =
                measuredPipette(s, {146, pipetteRest.y()}, setup.waterMl, waterColour, "H_2O");
        acidLabel =
            putText(s, text::chem("H2SO4") + QStringLiteral("\n%1 мл").arg(chemistry::acidMl),
                    text::bold(12), {pipetteRest.x(), pipetteRest.y() + 4}, text::Align::Center,
                    palette::muted);
    }

    const QPointF capPos(530, 74);
    const double capWidth = 158;
    if (bath) {
        const int t = setup.temperature;
        caption(s, QStringLiteral("Нагреваем баню до %1\u00A0°C; кислота греется рядом").arg(t),
                capPos, 2.4, palette::ink, 14, capWidth);
        const QPointF readingAt(thermoX + 4, 62);
        Obj reading =
            putText(s, "25 °C", text::bold(15), readingAt, text::Align::Center, palette::bad);
        const double heat = 2.4;
        s.scaleTo(thermoColumn, 1, glass::thermometerShare(thermoH, 50, t), {0, 0}, heat,
                  Scene::Ease::Smooth);
        // The reading follows the column, a degree at a time.
        const int start = s.now();
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
            reading = putText(s, QStringLiteral("%1 °C").arg(deg), text::bold(15), readingAt,
                              text::Align::Center, palette::bad);
        }
        s.setNow(start + s.frames(heat));
        // At temperature the heater is switched off and lifted out.
        s.remove(heater);
        heater =
            s.put(glass::immersionHeater(bathBase - 72, false), {heaterX, bathBase - 10}, Props);
        s.moveTo(heater, {heaterX, bathBase - 130}, 0.8);
        s.fadeTo(heater, 0, 0.8);
        s.setNow(start);
        s.wait(heat);
        // The pipette takes 5 ml of the warm acid.
        caption(s, text::chem("Набираем пипеткой 5\u00A0мл тёплой H2SO4"), capPos, 1.7,
                palette::ink, 14, capWidth);
        // The pipette comes down where the acid's label stands: the label makes way.
        disappear(s, acidTubeLabel, 0.3);
        appear(s, pipette, 0.3);
        s.setAlpha(pipetteAcid, s.now(), 1);
        s.scaleTo(pipetteAcid, 1, 0.02, {0, 0}, 0);
        const QPointF dipped(acidTubeX, acidBottom.y() - 4);
        s.moveTo(pipette, dipped, 0.6);
        s.moveTo(pipetteAcid, dipped, 0.6);
        s.wait(0.6);
        s.scaleTo(pipetteAcid, 1, 1, {0, 0}, 0.7, Scene::Ease::Linear);
        s.scaleTo(acidBody, 1, 0.02, {0, 0}, 0.7, Scene::Ease::Linear);
        s.wait(0.7);
        s.moveTo(pipette, pipetteRest, 0.4);
        s.moveTo(pipetteAcid, pipetteRest, 0.4);
        s.wait(0.4);
    } else {
        QString pourText = QStringLiteral("Наливаем %1\u00A0мл %2")
                               .arg(setup.thiosulfateMl)
                               .arg(text::chem("Na2S2O3"));
        if (setup.waterMl > 0) pourText += QStringLiteral(" и %1\u00A0мл воды").arg(setup.waterMl);
        const double thio = 1.9, water = setup.waterMl > 0 ? 1.5 : 0.0;
        // The empty tube is seen first.
        caption(s, QStringLiteral("Пробирка пока пустая"), capPos, 0.6, palette::ink, 14, capWidth);
        s.wait(0.6);
        caption(s, pourText, capPos, thio + water + 0.2, palette::ink, 14, capWidth);
        // Each volume is measured with its own graduated pipette, which empties into the tube.
        int mlSoFar = 0;
        auto deliver = [&](const Measured& m, double seconds) {
            const double move = 0.5, back = 0.3, run = seconds - move - back;
            s.moveTo(m.pipette, pipetteOver, move);
            s.moveTo(m.liquid, pipetteOver, move);
            s.wait(move);
            const double surface = mlSoFar == 0 ? bottom.y() + tubeW / 2 - 3
                                                : bottom.y() - fullHeight * levelScale(mlSoFar);
            Obj flow =
                s.put(glass::stream(surface - pipetteOver.y(), 2.0, m.colour), pipetteOver, Liquid);
            // The stream shortens as the level rises, so where it lands rides on the surface.
            const double surfaceAfter = bottom.y() - fullHeight * levelScale(mlSoFar + m.ml);
            s.scaleTo(flow, 1, (surfaceAfter - pipetteOver.y()) / (surface - pipetteOver.y()),
                      {0, 0}, run, Scene::Ease::Linear);
            const int start = s.now();
            s.scaleTo(m.liquid, 1, 0.02, {0, 0}, run, Scene::Ease::Linear);
            double rise = run;
            if (mlSoFar == 0) {
                // The first liquid gathers in the round bottom, then the column rises.
                const QPointF lowest(0, tubeW / 2 - 2.2);
                const double gather = run * 0.3;
                s.setAlpha(cap, s.now(), 1);
                s.scaleTo(cap, 1, 0.05, lowest, 0);
                s.scaleTo(cap, 1, 1, lowest, gather, Scene::Ease::Linear);
                s.wait(gather);
                s.setAlpha(body, s.now(), 1);
                rise = run - gather;
            }
            mlSoFar += m.ml;
            s.scaleTo(body, 1, levelScale(mlSoFar), {0, 0}, rise, Scene::Ease::Linear);
            s.setNow(start);
            s.wait(run);
            s.remove(flow);
            s.remove(m.liquid);
            s.moveTo(m.pipette, m.rest, back);
            s.fadeTo(m.pipette, 0, back);
            disappear(s, m.label, back);
            s.wait(back);
        };
        deliver(measured[0], thio);
        listLine(0, text::chem("Na2S2O3") + QStringLiteral(" %1 мл").arg(setup.thiosulfateMl));
        if (setup.waterMl > 0) {
            deliver(measured[1], water);
            listLine(1, QStringLiteral("H_2O %1 мл").arg(setup.waterMl));
        }
        s.wait(0.2);
    }

    // The acid.
    caption(s, text::chem("Добавляем 5\u00A0мл H2SO4"), capPos, 2.0, palette::ink, 14, capWidth);
    if (!bath) disappear(s, acidLabel, 0.3);
    s.moveTo(pipette, pipetteOver, 0.5);
    s.moveTo(pipetteAcid, pipetteOver, 0.5);
    s.wait(0.5);
    const double pour = 1.0;
    const double surfaceBefore = bottom.y() - fullHeight * levelScale(5) - pipetteOver.y();
    Obj flow =
        s.put(glass::stream(surfaceBefore, 2.0, acidColour.darker(108)), pipetteOver, Liquid);
    s.scaleTo(body, 1, levelScale(10), {0, 0}, pour, Scene::Ease::Linear);
    const double surfaceAfter = bottom.y() - fullHeight * levelScale(10) - pipetteOver.y();
    s.scaleTo(flow, 1, surfaceAfter / surfaceBefore, {0, 0}, pour, Scene::Ease::Linear);
    s.scaleTo(pipetteAcid, 1, 0.02, {0, 0}, pour, Scene::Ease::Linear);
    s.wait(pour);
    s.remove(flow);
    s.remove(pipetteAcid);
    // The empty pipette is taken away before the movie waits for «Старт».
    s.moveTo(pipette, pipetteRest, 0.5);
    s.fadeTo(pipette, 0, 0.5);
    listLine(bath ? 2 : (setup.waterMl > 0 ? 2 : 1),
             text::chem("H2SO4") + QStringLiteral(" %1 мл").arg(chemistry::acidMl));
    s.wait(0.5);

    // From this frame on the acid is in and the clock of the reaction runs: the movie stops
    // here, and the window plays it on from «Старт», so the stopwatch and the reaction start
    // together and nothing clouds before.
    const int acidIn = s.now();
    s.label(acidIn, "acid");
    s.stop(acidIn);
    const int n = chemistry::secondsToFrames(setup.seconds);

    // Turbidity: the mixture stays clear at first, then sulfur clouds it quickly; the cross is
    // still faintly there in the last frame before tₖ and gone from tₖ on.
    Obj turbidCap = s.put(glass::tubeLiquidCap(tubeW, palette::sulfur), bottom, Overlay);
    Obj turbidBody =
        s.put(glass::tubeLiquidBody(tubeW, fullHeight, palette::sulfur), bottom, Overlay);
    const int tail = s.frames(1.7);
    for (int i = 0; i <= n + tail; ++i) {
        const double g = i <= n ? clouding(double(i) / n) : 1.0;
        const double after = i <= n ? 0.0 : double(i - n) / tail;
        s.setAlpha(turbidCap, acidIn + i, 0.86 * g + 0.1 * after);
        s.setAlpha(turbidBody, acidIn + i, 0.86 * g + 0.1 * after);
        s.setAlpha(insetTurbid, acidIn + i, i < n ? 0.7 * g : 0.94);
        if (i < n) {
            const double c = 1.0 - 0.78 * g;
            s.setAlpha(cross, acidIn + i, c);
            s.setAlpha(sheetX, acidIn + i, c);
        }
    }

    caption(s, "Кислота прилита — нажмите «Старт»!", capPos, 3.0, palette::action, 14, capWidth);
    s.wait(3.0);
    Obj watch = putText(s,
                        text::wrap("Следите за крестом: выпадающая сера делает раствор мутным",
                                   text::bold(14), capWidth),
                        text::bold(14), capPos, text::Align::Left, palette::ink, Captions);

    s.setNow(acidIn + n);
    s.remove(cross);
    s.remove(sheetX);
    s.remove(watch);
    putText(s, text::wrap("Крест исчез — нажмите «Стоп»!", text::bold(15), capWidth),
            text::bold(15), capPos, text::Align::Left, palette::action, Captions);
    s.wait(1.7);
    finish(s);
    return s;
}

}  // namespace reaction
