#include "Reaction.h"

#include <cmath>

#include "Chemistry.h"
#include "Glassware.h"
#include "Slides.h"

namespace reaction {
using namespace slides;

namespace {
constexpr double tubeX = 290, mouthY = 100, tubeW = 40, tubeH = 160;
constexpr double fullMl = 10, fullHeight = 110;  // the column of 10 ml
const QPointF insetCentre(462, 186);
constexpr double insetR = 48;

double levelScale(double ml) {
    return std::max(0.01, ml / fullMl);
}

// The sheet the tube stands on, with its cross in perspective.
art::Art sheet() {
    art::Art a;
    a.fillStroke(art::polyline({{-52, -8}, {52, -8}, {74, 12}, {-74, 12}}, true),
                 art::Paint::solid(Qt::white), palette::panelLine, 1);
    return a;
}

art::Art sheetCross() {
    // A cross drawn on the sheet, seen at a low angle: two flattened strokes.
    art::Art a;
    QPainterPath p;
    p.addPolygon(QPolygonF({QPointF(-40, -5), QPointF(-33, -6), QPointF(40, 7), QPointF(33, 8)}));
    p.closeSubpath();
    p.addPolygon(QPolygonF({QPointF(33, -6), QPointF(40, -5), QPointF(-33, 8), QPointF(-40, 7)}));
    p.closeSubpath();
    p.setFillRule(Qt::WindingFill);
    a.fill(p, palette::ink);
    return a;
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
}  // namespace

Scene movie(const Setup& setup) {
    Scene s = stage(705, 350);
    const bool bath = setup.temperature > 0;
    heading(s, setup.title, setup.subtitle);
    equation(s, text::chem("Na2S2O3 + H2SO4 → Na2SO4 + S↓ + SO2↑ + H2O"), {527, 10}, 14);

    // Instructions panel on the right, above the stopwatch corner.
    s.put(glass::panel(522, 66, 174, 108, palette::panel, palette::panelLine), {}, Furniture);

    // The tube, its liquid and what it stands on.
    const QPointF bottom(tubeX, mouthY + glass::tubeBodyBottom(tubeW, tubeH));
    if (bath) {
        s.put(glass::hotPlate(150), {tubeX, 262}, Furniture);
    } else {
        s.put(sheet(), {tubeX, bottom.y() + tubeW / 2}, Furniture);
    }
    Obj sheetX;
    if (!bath) sheetX = s.put(sheetCross(), {tubeX, bottom.y() + tubeW / 2}, Behind);
    s.put(glass::testTube(tubeW, tubeH), {tubeX, mouthY}, Glass);
    s.put(glass::testTubeFront(tubeW, tubeH), {tubeX, mouthY}, Front);

    const QColor clear(0xCF, 0xE8, 0xF7);
    const int startMl = bath ? chemistry::thiosulfateMl(1) + chemistry::waterMl(1) : 0;
    Obj cap = s.put(glass::tubeLiquidCap(tubeW, clear), bottom, Liquid);
    Obj body = s.put(glass::tubeLiquidBody(tubeW, fullHeight, clear), bottom, Liquid);
    s.scaleTo(body, 1, levelScale(startMl), {0, 0}, 0);
    if (!bath) {
        s.setAlpha(cap, 0, 0);
        s.setAlpha(body, 0, 0);
    }

    Obj thermoColumn;
    if (bath) {
        s.put(glass::beaker(118, 118), {tubeX, 262}, Props);
        s.put(glass::beakerLiquid(118, 118, 0.82, palette::water), {tubeX, 262}, Props);
        s.put(glass::thermometer(104, 20, 50, 5), {tubeX - 40, 236}, Captions);
        thermoColumn = s.put(glass::thermometerColumn(104), {tubeX - 40, 236}, Captions);
        s.scaleTo(thermoColumn, 1, 5.0 / 30, {0, 0}, 0);
    }

    // The view from above: the cross through the mixture.
    putText(s, "Вид сверху", text::bold(13), {insetCentre.x(), insetCentre.y() - insetR - 24},
            text::Align::Center, palette::muted);
    s.put(insetFrame(), insetCentre, Behind);
    Obj cross = s.put(glass::cross(58, palette::ink), insetCentre, Liquid);
    s.setName(cross, "cross");
    Obj insetTurbid = s.put(disk(insetR - 1.5, palette::sulfur), insetCentre, Overlay);
    s.setAlpha(insetTurbid, 0, 0);
    s.put(insetRim(), insetCentre, Front);

    // The acid pipette waits on the right.
    const QPointF pipetteRest(190, 236), pipetteOver(tubeX, mouthY - 6);
    Obj pipette = s.put(glass::pipette(62), pipetteRest, Props);
    Obj pipetteAcid = s.put(glass::pipetteLiquid(48, clear.darker(104)), pipetteRest, Props);
    Obj acidLabel = putText(s, text::chem("H2SO4") + ", 5 мл", text::bold(13),
                            {pipetteRest.x(), 244}, text::Align::Center, palette::muted);

    const QPointF capPos(530, 74);
    const double capWidth = 158;
    if (bath) {
        const int t = setup.temperature;
        caption(s, QStringLiteral("Нагреваем водяную баню до %1 °C").arg(t), capPos, 2.6,
                palette::ink, 14, capWidth);
        Obj reading = putText(s, "25 °C", text::bold(15), {tubeX - 40, 72}, text::Align::Center,
                              palette::bad);
        const double heat = 2.4;
        s.scaleTo(thermoColumn, 1, (t - 20) / 30.0, {0, 0}, heat);
        // The reading follows the column, a degree at a time.
        const int start = s.now();
        for (int deg = 26; deg <= t; ++deg) {
            s.setNow(start + s.frames(heat * (deg - 25) / (t - 25)));
            s.remove(reading);
            reading = putText(s, QStringLiteral("%1 °C").arg(deg), text::bold(15), {tubeX - 40, 72},
                              text::Align::Center, palette::bad);
        }
        s.setNow(start);
        s.wait(2.6);
    } else {
        QString pourText =
            QStringLiteral("Наливаем %1 мл %2").arg(setup.thiosulfateMl).arg(text::chem("Na2S2O3"));
        if (setup.waterMl > 0) pourText += QStringLiteral(" и %1 мл воды").arg(setup.waterMl);
        caption(s, pourText, capPos, 2.8, palette::ink, 14, capWidth);
        s.setAlpha(cap, s.now(), 1);
        s.setAlpha(body, s.now(), 1);
        // Without water the thiosulfate takes the whole filling time.
        const double water = setup.waterMl > 0 ? 1.1 : 0.0, thio = 2.8 - water;
        s.scaleTo(body, 1, levelScale(setup.thiosulfateMl), {0, 0}, thio, Scene::Ease::Linear);
        Obj thioLabel =
            putText(s, text::chem("Na2S2O3") + QStringLiteral(" %1 мл").arg(setup.thiosulfateMl),
                    text::plain(13), {tubeX + 32, 200}, text::Align::Left, palette::muted);
        appear(s, thioLabel, 0.3);
        s.wait(thio);
        s.scaleTo(body, 1, levelScale(setup.thiosulfateMl + setup.waterMl), {0, 0}, water,
                  Scene::Ease::Linear);
        if (setup.waterMl > 0) {
            Obj waterLabel =
                putText(s, QStringLiteral("H_2O %1 мл").arg(setup.waterMl), text::plain(13),
                        {tubeX + 32, 218}, text::Align::Left, palette::muted);
            appear(s, waterLabel, 0.3);
        }
        s.wait(water + 0.2);
    }

    // The acid.
    caption(s, text::chem("Добавляем 5 мл H2SO4"), capPos, 2.2, palette::ink, 14, capWidth);
    disappear(s, acidLabel, 0.3);
    s.moveTo(pipette, pipetteOver, 0.9);
    s.moveTo(pipetteAcid, pipetteOver, 0.9);
    s.wait(0.9);
    const double pour = 1.2;
    const double surfaceBefore = bottom.y() - fullHeight * levelScale(5) - (mouthY - 6);
    Obj flow = s.put(glass::stream(surfaceBefore, 2.6, clear.darker(108)), pipetteOver, Liquid);
    s.scaleTo(body, 1, levelScale(10), {0, 0}, pour, Scene::Ease::Linear);
    s.scaleTo(pipetteAcid, 1, 0.02, {0, 0}, pour, Scene::Ease::Linear);
    s.wait(pour);
    s.remove(flow);
    s.remove(pipetteAcid);

    // From this frame on the acid is in and the clock of the reaction runs.
    const int acidIn = s.now();
    s.label(acidIn, "acid");
    const int n = chemistry::secondsToFrames(setup.seconds);
    s.moveTo(pipette, pipetteRest, 1.0);
    s.setNow(acidIn + s.frames(1.0));
    s.fadeTo(pipette, 0, 0.5);
    s.setNow(acidIn);

    // Turbidity: sulfur clouds the whole column from the acid on.
    Obj turbidCap = s.put(glass::tubeLiquidCap(tubeW, palette::sulfur), bottom, Overlay);
    Obj turbidBody =
        s.put(glass::tubeLiquidBody(tubeW, fullHeight, palette::sulfur), bottom, Overlay);
    for (int i = 0; i <= n + s.frames(2.0); ++i) {
        const double f = std::min(1.0, double(i) / n);
        const double a = 0.9 * std::pow(f, 0.9);
        s.setAlpha(turbidCap, acidIn + i, a);
        s.setAlpha(turbidBody, acidIn + i, a);
        s.setAlpha(insetTurbid, acidIn + i, 0.82 * std::pow(f, 0.9));
        if (i < n) {
            const double c = 1.0 - 0.75 * std::pow(f, 1.5);
            s.setAlpha(cross, acidIn + i, c);
            if (!bath) s.setAlpha(sheetX, acidIn + i, c);
        }
    }

    caption(s, "Кислота прилита — нажмите «Старт»!", capPos, 3.0, palette::action, 14, capWidth);
    s.wait(3.6);
    Obj watch = putText(s,
                        text::wrap("Следите за крестом: выпадающая сера делает раствор мутным",
                                   text::bold(14), capWidth),
                        text::bold(14), capPos, text::Align::Left, palette::ink, Captions);
    appear(s, watch, 0.4);

    s.setNow(acidIn + n);
    s.remove(cross);
    if (!bath) s.remove(sheetX);
    s.remove(watch);
    putText(s, text::wrap("Крест исчез — нажмите «Стоп»!", text::bold(15), capWidth),
            text::bold(15), capPos, text::Align::Left, palette::action, Captions);
    s.wait(2.0);
    finish(s);
    return s;
}

}  // namespace reaction
