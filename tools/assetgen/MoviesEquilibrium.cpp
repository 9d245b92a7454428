#include <algorithm>
#include <array>
#include <utility>

#include "AssetTree.h"
#include "Glassware.h"
#include "Instruments.h"
#include "Slides.h"

namespace assets {
using namespace slides;

namespace {
const QString equationText = text::chem("FeCl3 + 3KSCN ⇄ Fe(SCN)3 + 3KCl");
// The drawings follow the molecular equation, as the window's questions do: FeCl₃ and KSCN are
// the starting substances, and adding either shifts the equilibrium to the right, so the red
// deepens; KCl is a product, and adding it shifts the equilibrium to the left, so the red pales.
const QColor reference(0xC8, 0x3A, 0x3A), deeper(0x8E, 0x12, 0x1E), paler(0xDA, 0x62, 0x5A);
const QColor ironChloride(0xE8, 0xB4, 0x4A), colourless(0xE4, 0xF0, 0xF8);

// The player of this experiment neither plays nor loops by itself: every movie starts itself
// and stops on its last frame. Its stage is as large as the other experiments' and ends above
// the window's link band.
Scene equilibriumStage() {
    return stage(705, 350);
}

struct Tube {
    Obj glass, front;  // the glass behind the liquid and in front of it
    Obj body, cap;
    QPointF bottom;
    double level = 0;
    double mouth = 0;  // the y of the vessel's rim
};

// A tube holding `level` px of liquid, or empty (its liquid waits, invisible, to be poured).
Tube redTube(Scene& s, double x, double mouth, QColor c, double w = 34, double h = 150,
             double level = 80, bool empty = false) {
    const Obj back = s.put(glass::testTube(w, h), {x, mouth}, Glass);
    const QPointF bottom(x, mouth + glass::tubeBodyBottom(w, h));
    const Obj body = s.put(glass::tubeLiquidBody(w, level, c), bottom, Liquid);
    const Obj cap = s.put(glass::tubeLiquidCap(w, c), bottom, Liquid);
    Tube t{back, s.put(glass::testTubeFront(w, h), {x, mouth}, Front), body, cap, bottom, level,
           mouth};
    if (empty) {
        s.scaleTo(t.body, 1, 0.01, {0, 0}, 0);
        s.setAlpha(t.body, s.now(), 0);
        s.setAlpha(t.cap, s.now(), 0);
    }
    return t;
}

// An empty beaker standing on the table with its bottom at `bottom`; its liquid, `level` px deep
// when full, waits invisible to be poured.
Tube emptyBeaker(Scene& s, QPointF bottom, double w, double h, double level, QColor c) {
    const Obj glass = s.put(glass::beaker(w, h), bottom, Glass);
    const Obj body = s.put(glass::beakerLiquid(w, level, 1, c), bottom, Liquid);
    // The rim seen a little from above, so the open top reads as glass and not as a cut.
    art::Art rim;
    rim.stroke(art::ellipse({-2, -h}, w / 2 + 2, 3), palette::glassLine, 1.4);
    rim.fill(art::roundRect(-w / 2 + 5, -h + 10, 5, h - 22, 2), glass::withAlpha(Qt::white, 140));
    const Obj front = s.put(rim, bottom, Front);
    Tube t{glass, front, body, body, bottom, level, bottom.y() - h};
    s.scaleTo(t.body, 1, 0.01, {0, 0}, 0);
    s.setAlpha(t.body, s.now(), 0);
    return t;
}

// Recolours a tube's liquid over a span.
void recolour(Scene& s, const Tube& t, QColor from, QColor to, double seconds) {
    Scene::Tint tint;
    tint.mult[0] = double(to.red()) / from.red();
    tint.mult[1] = double(std::max(1, to.green())) / std::max(1, from.green());
    tint.mult[2] = double(std::max(1, to.blue())) / std::max(1, from.blue());
    s.tintTo(t.body, tint, seconds);
    if (t.cap.index != t.body.index) s.tintTo(t.cap, tint, seconds);
}

// A stock bottle of a solution standing on the table with its name on its label, and the
// graduated pipette that stands in it until it is used.
struct Stock {
    Obj pipette, liquid;
    Obj stock;     // the solution in the bottle, lower after each draw
    QPointF rest;  // the pipette's tip where it stands in the bottle
    QPointF lift;  // the tip just clear of the bottle's neck
    QColor colour;
};

art::Art bottleShadow(double halfWidth) {
    art::Art a;
    a.fill(art::ellipse({0, 1}, halfWidth, 3.5), QColor(0x1F, 0x2D, 0x3D, 0x20));
    return a;
}

// How full a stock bottle is before and after its pipette draws from it.
constexpr double stockFull = 0.72, stockDrawn = 0.62;

Stock stockBottle(Scene& s, QPointF base, const QString& name, QColor c) {
    const double w = 46, h = 78, body = 52;
    s.put(bottleShadow(w / 2 + 4), base, Behind - 1);
    Obj bottle = s.put(glass::reagentBottle(w, h), base, Behind);
    s.setName(bottle, "holder");
    // Full enough at first that the level, as it drops with the draw, stays above the label.
    const Obj stock = s.put(glass::reagentBottleLiquid(w, h, stockFull, c), base, Liquid);
    s.put(glass::reagentBottleFront(w, h, -30, 20), base, Captions + 1);
    putText(s, name, text::bold(12), {base.x(), base.y() - 28}, text::Align::Center, palette::ink,
            Captions + 2, Qt::white);
    Stock p;
    p.stock = stock;
    p.rest = base - QPointF(0, 8);
    p.lift = base - QPointF(0, h + 8);
    p.colour = c;
    p.pipette = s.put(glass::graduatedPipette(body, 5), p.rest, Captions);
    s.setName(p.pipette, "pipette");
    p.liquid = s.put(glass::graduatedPipetteLiquid(body, c.darker(108)), p.rest, Captions);
    s.scaleTo(p.liquid, 1, 0.02, {0, 0}, 0);
    s.setAlpha(p.liquid, 0, 0);
    return p;
}

// Moves the pipette and what it holds to `at` over `seconds`; the clock moves on.
void carryPipette(Scene& s, const Stock& p, QPointF at, double seconds) {
    s.moveTo(p.pipette, at, seconds);
    s.moveTo(p.liquid, at, seconds);
    s.wait(seconds);
}

// The pipette draws its solution up where it stands in its bottle, rises out of the neck, goes
// over the vessel and empties into it, the level rising as it empties; then it goes back into
// its bottle the way it came. The clock moves past the pour.
void pourFromPipette(Scene& s, Tube& t, const Stock& p, double toLevel, double seconds) {
    const QColor c = p.colour;
    s.setAlpha(p.liquid, s.now(), 1);
    s.scaleTo(p.liquid, 1, 0.8, {0, 0}, 0.6, Scene::Ease::Linear);
    // What fills the pipette leaves the bottle: its level drops as the pipette draws.
    s.scaleTo(p.stock, 1, stockDrawn / stockFull, {0, -1.6}, 0.6, Scene::Ease::Linear);
    s.wait(0.7);
    carryPipette(s, p, p.lift, 0.5);
    const QPointF over(t.bottom.x(), t.mouth - 6);
    carryPipette(s, p, {over.x(), p.lift.y()}, 0.7);
    carryPipette(s, p, over, 0.3);
    const double surface =
        t.bottom.y() -
        t.level * (s.alphaAt(t.body, s.now()) > 0 ? s.transformAt(t.body, s.now()).m22() : 0);
    Obj flow = s.put(glass::stream(surface - over.y(), 2.2, c.darker(104)), over, Liquid);
    // The stream gathers as the pipette starts to run instead of standing there at once.
    s.setAlpha(flow, s.now(), 0);
    s.fadeTo(flow, 1, 0.25);
    s.setAlpha(t.cap, s.now(), 1);
    s.setAlpha(t.body, s.now(), 1);
    s.scaleTo(t.body, 1, toLevel / t.level, {0, 0}, seconds, Scene::Ease::Linear);
    s.scaleTo(p.liquid, 1, 0.02, {0, 0}, seconds, Scene::Ease::Linear);
    // The last of it thins away as the pipette runs dry.
    const double thinning = std::min(0.25, seconds / 2);
    s.wait(seconds - thinning);
    s.fadeTo(flow, 0, thinning);
    s.wait(thinning);
    s.remove(flow);
    s.setAlpha(p.liquid, s.now(), 0);
    carryPipette(s, p, {over.x(), p.lift.y()}, 0.3);
    carryPipette(s, p, p.lift, 0.7);
    carryPipette(s, p, p.rest, 0.5);
}

// The rack of four tubes of the tubes' and the directions' movies: the same size and place in
// both, each tube under the window's direction group that asks about it. Each tube is named
// once, beneath it: above the rims the droppers come and go, and the groups stand there.
constexpr double rackPitch = 73, rackMouth = 116, rackTubeWidth = 28, rackTubeHeight = 118;
constexpr double rackLevel = 62, rackLabelTop = 246, rackResultTop = 268;
constexpr double rackX[4] = {249.5, 322.5, 395.5, 468.5};
const QString rackNames[4] = {"эталон", "+ " + text::chem("FeCl3"), "+ KSCN", "+ KCl"};

std::array<Tube, 4> equilibriumRack(Scene& s, const std::array<QColor, 4>& colours) {
    std::array<Tube, 4> tubes;
    for (int i = 0; i < 4; ++i) {
        tubes[std::size_t(i)] = redTube(s, rackX[i], rackMouth, colours[std::size_t(i)],
                                        rackTubeWidth, rackTubeHeight, rackLevel);
        putText(s, rackNames[i], text::bold(15), {rackX[i], rackLabelTop}, text::Align::Center,
                i == 0 ? palette::muted : palette::ink);
    }
    s.put(glass::rack(4, rackPitch, 48), {(rackX[0] + rackX[3]) / 2, rackMouth + 62}, Props);
    return tubes;
}

// A dropper comes in from the stage's right edge, above the rims of the tubes, over the tube and
// lets `count` drops of the solution fall, each one visible on its way; then it goes back the
// way it came. Its reagent's name shows beside its bulb while it is over the stage's tubes. The
// clock moves past the drops and stops as the dropper starts back.
void addDrops(Scene& s, const Tube& t, const QString& name, QColor c, int count) {
    const double dropper = 24;  // the stem; the bulb stands 30 px above it
    const QPointF high(t.bottom.x(), t.mouth - 12), over(t.bottom.x(), t.mouth - 4);
    const QPointF outside(s.width() + 30, high.y());
    const QPointF tagOffset(-12, -dropper - 22);
    Obj tip = s.put(glass::pipette(dropper), outside, Props);
    s.setName(tip, "dropper");
    // The dropper holds its solution, in the colour its drops have, filling the stem two thirds
    // up; it sinks as the drops leave.
    art::Art held;
    QPainterPath stem(QPointF(-0.8, -1.2));
    stem.lineTo(-3.8, -13.6);
    stem.lineTo(-3.8, -dropper * 0.66);
    stem.lineTo(3.8, -dropper * 0.66);
    stem.lineTo(3.8, -13.6);
    stem.lineTo(0.8, -1.2);
    stem.closeSubpath();
    held.fill(stem, glass::withAlpha(c.darker(112), 235));
    Obj liquid = s.put(held, outside, Props);
    s.setName(liquid, "dropperLiquid");
    // The name rides with the dropper, on its left, from the stage's edge and back: it shows
    // from the frame the dropper comes in at the edge to the frame it goes out there.
    Obj tag = putText(s, name, text::bold(16), high + tagOffset, text::Align::Right, palette::ink,
                      Captions);
    s.setName(tag, "dropperTag");
    s.moveTo(tag, outside - high, 0);
    const double travel = 0.3 + 0.5 * (outside.x() - high.x()) / s.width();
    const double edge = s.width() + std::abs(tagOffset.x());
    const int comesIn = s.now();
    s.moveTo(tip, high, travel);
    s.moveTo(liquid, high, travel);
    s.moveTo(tag, {}, travel);
    s.setAlpha(tag, comesIn, 0);
    for (int f = comesIn; f <= comesIn + s.frames(travel); ++f)
        if (s.transformAt(tip, f).dx() <= edge) {
            s.setAlpha(tag, f - 1, 0.4);
            s.setAlpha(tag, f, 1);
            break;
        }
    s.wait(travel);
    s.moveTo(tip, over, 0.3);
    s.moveTo(liquid, over, 0.3);
    s.moveTo(tag, over - high, 0.3);
    s.wait(0.35);
    s.scaleTo(liquid, 1, 0.55, {0, 0}, count * 0.6, Scene::Ease::Linear);
    const double surface = t.bottom.y() - t.level;
    for (int i = 0; i < count; ++i) {
        Obj d = s.put(glass::drop(3.6, c), over + QPointF(0, 4), Props);
        s.moveTo(d, {over.x(), surface - 2}, 0.45, Scene::Ease::In);
        s.wait(0.45);
        s.remove(d);
        // A small ring where the drop meets the surface.
        art::Art ring;
        ring.stroke(art::ellipse({0, 0}, 5, 1.6), glass::withAlpha(c.darker(150), 220), 1.2);
        Obj r = s.put(ring, {over.x(), surface}, Overlay);
        s.scaleTo(r, 2.2, 2.2, {0, 0}, 0.4);
        s.fadeTo(r, 0, 0.4);
        s.wait(0.15);
    }
    const int back = s.now();
    s.moveTo(tip, high, 0.3);
    s.moveTo(liquid, high, 0.3);
    s.moveTo(tag, {}, 0.3);
    s.wait(0.3);
    const int goesOut = s.now();
    s.moveTo(tip, outside, travel);
    s.moveTo(liquid, outside, travel);
    s.moveTo(tag, outside - high, travel);
    for (int f = goesOut; f <= goesOut + s.frames(travel); ++f)
        if (s.transformAt(tip, f).dx() > edge) {
            s.setAlpha(tag, f, 0.4);
            s.setAlpha(tag, f + 1, 0);
            break;
        }
    s.wait(travel);
    s.remove(tag);
    s.remove(tip);
    s.remove(liquid);
    s.setNow(back);
}

Scene taskMovie() {
    Scene s = equilibriumStage();
    heading(s, "Задание", "Как сместить химическое равновесие?");
    s.wait(0.3);
    appear(s, equation(s, equationText, {260, 76}, 19));
    s.wait(0.8);
    reveal(s, text::chem("Роданид железа(III) Fe(SCN)3 окрашивает раствор в красный цвет:"),
           text::plain(15), {22, 130});
    reveal(s, "по цвету видно, в какую сторону смещается равновесие.", text::plain(15), {22, 152});
    s.wait(0.8);
    reveal(s, text::chem("Темнее — больше Fe(SCN)3, равновесие смещено вправо (→)."),
           text::plain(15), {22, 186}, text::Align::Left, palette::ink);
    reveal(s, text::chem("Светлее — меньше Fe(SCN)3, равновесие смещено влево (←)."),
           text::plain(15), {22, 208});
    // The equilibrium mixture is made in a beaker on the table: FeCl₃ goes in (amber), then KSCN,
    // and the red colour appears; the next step pours it into the four tubes of the rack. The
    // vessels stand far enough right that a pipette lifted from its bottle clears the text.
    s.setNow(0);
    const double table = 292;
    Tube t = emptyBeaker(s, {632, table}, 84, 96, 52, ironChloride);
    const Stock iron = stockBottle(s, {508, table}, text::chem("FeCl3"), ironChloride);
    const Stock thiocyanate = stockBottle(s, {562, table}, "KSCN", colourless);
    s.wait(0.3);
    pourFromPipette(s, t, iron, 26, 1.4);
    const int kscnAt = s.now();
    pourFromPipette(s, t, thiocyanate, 52, 1.4);
    const int back = s.now();
    // The red appears as the KSCN runs in.
    s.setNow(kscnAt + s.frames(0.7 + 0.5 + 0.7 + 0.3));
    recolour(s, t, ironChloride, reference, 2.0);
    s.wait(2.0);
    s.setNow(std::max(s.now(), back));
    // The beaker's name in two short lines, centred over it and clear of the stage's edge.
    reveal(s, "равновесная\nсмесь", text::bold(14), {632, 116}, text::Align::Center,
           palette::muted);
    reveal(s, text::chem("FeCl3 + KSCN"), text::plain(13), {632, 156}, text::Align::Center,
           palette::muted);
    s.wait(0.3);
    // The plan of the experiment along the bottom, read left to right as in the other tasks:
    // the steps stand on a thin line, each after the one before.
    const QString steps[3] = {"1. Готовим равновесную смесь",
                              text::chem("2. Добавляем FeCl3, KSCN, KCl"),
                              "3. Сравниваем цвет с эталоном"};
    Obj line = s.put(glass::arrow({22, 343}, {683, 343}, 1.2, palette::panelLine), {}, Furniture);
    appear(s, line, 0.4);
    for (int i = 0; i < 3; ++i) {
        // Spaced so the last step ends well inside the stage's right edge.
        const double x[3] = {22, 238, 462};
        reveal(s, steps[i], text::plain(14), {x[i], 318}, text::Align::Left, palette::ink, 0.4);
        s.wait(0.6);
    }
    s.wait(1.0);
    finish(s, true);
    return s;
}

Scene tubesMovie() {
    Scene s = equilibriumStage();
    heading(s, "Четыре пробирки с равновесной смесью");
    const std::array<QColor, 4> after = {reference, deeper, deeper, paler};
    const QColor dropColour[4] = {reference, ironChloride, colourless, colourless};
    const QString result[4] = {"", "темнее", "темнее", "светлее"};
    std::array<Tube, 4> tubes = equilibriumRack(s, {reference, reference, reference, reference});
    equation(s, equationText, {352, 300}, 17);
    s.wait(0.6);
    for (int i = 1; i < 4; ++i) {
        const QString name = i == 1 ? text::chem("FeCl3") : i == 2 ? "KSCN" : "KCl";
        addDrops(s, tubes[std::size_t(i)], name, dropColour[i], 2);
        // The colour changes as the drops mix in, while the dropper goes back.
        recolour(s, tubes[std::size_t(i)], reference, after[std::size_t(i)], 1.2);
        s.wait(1.2);
        reveal(s, result[i], text::bold(15), {rackX[i], rackResultTop}, text::Align::Center,
               palette::ink);
        s.wait(0.3);
    }
    s.wait(1.2);
    finish(s, true);
    return s;
}

Scene directionsMovie() {
    Scene s = equilibriumStage();
    // The three answers: the window's direction groups lie in the boxes at the end, each over
    // the tube it asks about; the reference stands beside them, for comparison.
    const double xs[3] = {293, 367, 439};
    equilibriumRack(s, {reference, deeper, deeper, paler});
    equation(s, equationText, {352, 270}, 17);
    putText(s, text::chem("Подсказка: FeCl3 и KSCN — исходные вещества, KCl — продукт реакции."),
            text::plain(14), {352, 308}, text::Align::Center, palette::muted);
    s.wait(2.0);
    // The question is set as the other movies' headings are, left of the groups and clear of
    // the window's own heading above the player.
    for (const auto& [line, top] : {std::pair{QString("Куда сместится равновесие"), 22.0},
                                    std::pair{QString("при добавлении:"), 46.0}}) {
        Obj q = putText(s, line, text::bold(18), {22, top}, text::Align::Left, palette::accent);
        appear(s, q, 0.6);
    }
    Obj hint = putText(s, "→ вправо, к продуктам      ← влево, к исходным веществам",
                       text::plain(14), {352, 328}, text::Align::Center, palette::muted);
    appear(s, hint, 0.6);
    s.wait(1.0);
    // The groups bring their own white ground and frame: the blank under each is exactly its
    // size, so no white square shows around it, and it comes just before the group does.
    for (int i = 0; i < 3; ++i) {
        art::Art blank;
        blank.fill(art::rect(xs[i], 29, 59, 54), palette::box);
        appear(s, s.put(blank, {}, Boxes), 0.3);
    }
    s.wait(0.3);
    finish(s, true);
    return s;
}

Scene constantMovie() {
    Scene s = equilibriumStage();
    heading(s, "Константа равновесия",
            "Запишите её выражение: впишите в клетки буквы веществ и коэффициенты");
    equation(s, equationText, {352, 68}, 17);
    // K = [first]·[second]^(first exponent) / ([third]·[fourth]^(second exponent))
    putText(s, "K =", text::bold(22), {292, 140}, text::Align::Right);
    // Square brackets drawn around each box, the exponent box beside the second.
    art::Art brackets;
    for (double top : {129.0, 172.0}) {
        for (const auto& [left, right] : {std::pair{306.0, 355.0}, std::pair{386.0, 433.0}}) {
            brackets.stroke(
                art::polyline(
                    {{left + 4, top - 4}, {left, top - 4}, {left, top + 22}, {left + 4, top + 22}}),
                palette::ink, 1.8);
            brackets.stroke(art::polyline({{right - 4, top - 4},
                                           {right, top - 4},
                                           {right, top + 22},
                                           {right - 4, top + 22}}),
                            palette::ink, 1.8);
        }
        putText(s, "·", text::bold(22), {370.5, top - 6}, text::Align::Center);
    }
    s.put(brackets, {}, Labels);
    art::Art bar;
    bar.fill(art::rect(300, 153.2, 162, 1.6), palette::ink);
    s.put(bar, {}, Labels);
    controlBox(s, 313, 129, 35, 19);
    controlBox(s, 393, 129, 33, 19);
    controlBox(s, 440, 117, 15, 19);
    controlBox(s, 313, 172, 35, 19);
    controlBox(s, 393, 172, 32, 19);
    controlBox(s, 440, 160, 15, 19);
    // Under the expression, the letters to write and the rule, with the rule at work on another
    // reaction: the panel fills the stage down to its bottom.
    s.put(glass::panel(112, 222, 481, 116, palette::panel, palette::panelLine), {}, Furniture);
    putText(s, text::chem("а — FeCl3,   б — KSCN,   в — Fe(SCN)3,   г — KCl"), text::bold(17),
            {352, 234}, text::Align::Center);
    putText(s, "Коэффициенты реакции становятся показателями степени", text::plain(15), {352, 266},
            text::Align::Center, palette::muted);
    putText(s,
            text::chem("Например, для 2NO + O2 ⇄ 2NO2:") + "   K = " + text::chem("[NO2]") +
                "^2 / (" + text::chem("[NO]") + "^2 · " + text::chem("[O2]") + ")",
            text::plain(15), {352, 298}, text::Align::Center, palette::ink);
    s.wait(3.0);
    finish(s, true);
    return s;
}

Scene answerMovie() {
    Scene s = equilibriumStage();
    heading(s, "Константа равновесия");
    equation(s, equationText, {352, 50}, 17);
    s.wait(0.5);
    const text::Style f = text::plain(22);
    Obj k = putText(s, "K =", text::bold(24), {250, 138}, text::Align::Right);
    Obj num =
        putText(s, text::chem("[Fe(SCN)3]") + " · [KCl]^3", f, {390, 106}, text::Align::Center);
    Obj den = putText(s, text::chem("[FeCl3]") + " · [KSCN]^3", f, {390, 154}, text::Align::Center);
    art::Art bar;
    bar.fill(art::rect(262, 146, 256, 2.2), palette::ink);
    Obj b = s.put(bar, {}, Labels);
    for (Obj o : {k, b, num, den}) {
        appear(s, o, 0.6);
        s.wait(0.5);
    }
    s.wait(0.6);
    reveal(s, "В числителе — продукты, в знаменателе — исходные вещества;", text::plain(15),
           {352, 202}, text::Align::Center, palette::ink);
    reveal(s, "коэффициенты уравнения — показатели степени.", text::plain(15), {352, 224},
           text::Align::Center, palette::ink);
    // Who is who: the starting substances and the products in their own tubes, as they look.
    s.wait(0.4);
    const struct {
        QString name;
        QColor colour;
        double x;
    } vials[4] = {{text::chem("FeCl3"), ironChloride, 118},
                  {"KSCN", colourless, 222},
                  {text::chem("Fe(SCN)3"), reference, 448},
                  {"KCl", colourless, 574}};
    const int vialsAt = s.now();
    for (const auto& v : vials) {
        s.setNow(vialsAt);
        Tube t = redTube(s, v.x, 252, v.colour, 15, 52, 26);
        for (Obj o : {t.glass, t.front, t.body, t.cap}) appear(s, o, 0.5);
        reveal(s, v.name, text::bold(15), {v.x + 16, 276});
    }
    s.setNow(vialsAt);
    reveal(s, "исходные вещества → знаменатель", text::plain(14), {195, 316}, text::Align::Center,
           palette::muted);
    reveal(s, "продукты → числитель", text::plain(14), {520, 316}, text::Align::Center,
           palette::muted);
    s.wait(2.5);
    finish(s, true);
    return s;
}

Scene principleMovie() {
    Scene s = equilibriumStage();
    heading(s, "Принцип Ле Шателье");
    s.wait(0.3);
    reveal(s, "Если на систему в равновесии оказать воздействие, равновесие", text::plain(16),
           {22, 56});
    reveal(s, "смещается в сторону, которая ослабляет это воздействие.", text::plain(16), {22, 80});
    s.wait(1.0);
    // The equation stands at the top right, beside the heading, so that the tubes of the three
    // lines have the stage's height to themselves.
    appear(s, equation(s, equationText, {526, 14}, 17));
    const QString lines[3] = {text::chem("+ FeCl3: равновесие смещается вправо →, раствор темнеет"),
                              text::chem("+ KSCN: равновесие смещается вправо →, раствор темнеет"),
                              text::chem("+ KCl: равновесие смещается влево ←, раствор светлеет")};
    const QColor after[3] = {deeper, deeper, paler};
    // Each pair of tubes has clear air above and below it, and the lowest pair ends well above
    // the line under it.
    const double before = 590, changed = 660, tubeWidth = 16, tubeHeight = 56, pitch = 70;
    double y = 92;
    putText(s, "эталон", text::plain(13), {before, y - 24}, text::Align::Center, palette::muted);
    putText(s, "после", text::plain(13), {changed, y - 24}, text::Align::Center, palette::muted);
    // Each line with its tubes: the reference, and the same mixture after the addition. No arrow
    // joins the two: the columns' names say which is which, and an arrow beside a line that says
    // «влево ←» would read as a contradiction.
    for (int i = 0; i < 3; ++i) {
        s.wait(0.8);
        const double middle = y + tubeHeight / 2;
        reveal(s, lines[i], text::plain(15), {40, middle - 10});
        Tube a = redTube(s, before, y, reference, tubeWidth, tubeHeight, 27);
        Tube b = redTube(s, changed, y, reference, tubeWidth, tubeHeight, 27);
        for (const Tube& t : {a, b}) {
            s.setName(t.glass, "summaryTube");
            for (Obj o : {t.glass, t.front, t.body, t.cap}) appear(s, o, 0.4);
        }
        s.wait(0.5);
        recolour(s, b, reference, after[i], 1.0);
        s.wait(0.4);
        y += pitch;
    }
    // One story with the equation: what is added is used up, by the forward reaction for the
    // starting substances and by the reverse one for the product.
    reveal(s,
           text::chem("Добавленное вещество расходуется: FeCl3 и KSCN — в прямой реакции, KCl — в "
                      "обратной."),
           text::plain(14), {40, 306}, text::Align::Left, palette::muted);
    s.wait(1.0);
    reveal(s, "Цвет раствора показывает, куда сместилось равновесие.", text::bold(15), {352, 327},
           text::Align::Center, palette::good);
    s.wait(2.0);
    finish(s, true);
    return s;
}
}  // namespace

void addEquilibriumMovies(std::vector<MovieAsset>& out) {
    out.push_back({"Movie/Opyt4/1.swf", taskMovie});
    out.push_back({"Movie/Opyt4/2.swf", tubesMovie});
    out.push_back({"Movie/Opyt4/3.swf", directionsMovie});
    out.push_back({"Movie/Opyt4/4.swf", constantMovie});
    out.push_back({"Movie/Opyt4/5.swf", answerMovie});
    out.push_back({"Movie/Opyt4/6.swf", principleMovie});
}

}  // namespace assets
