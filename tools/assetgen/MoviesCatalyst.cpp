#include <cmath>
#include <vector>

#include "AssetTree.h"
#include "Glassware.h"
#include "Insets.h"
#include "Instruments.h"
#include "Slides.h"

namespace assets {
using namespace slides;

namespace {
const QColor peroxide(0xD4, 0xEC, 0xF8);
// The flask of peroxide, the same in every movie, and how full it is.
constexpr double flaskW = 120, flaskH = 165, flaskFill = 0.38;
// The bench's top in the movies of the two trials: low, so the scene fills the stage's height.
constexpr double benchTop = 312;

// A little heap of powder on the bottom, its base on the origin.
QPainterPath heap(double halfWidth) {
    QPainterPath p(QPointF(-halfWidth, 3));
    p.quadTo(-halfWidth * 0.4, -7, 0, -7);
    p.quadTo(halfWidth * 0.4, -7, halfWidth, 3);
    p.closeSubpath();
    return p;
}

// The pinch of MnO₂ on the flask's bottom: about what the spatula took from the dish.
constexpr double sedimentHalfWidth = 20;

// Labels of vessels and of the powder: large enough that the subscript of MnO₂ is read too.
const text::Style vesselLabel = text::bold(16);

// The end of the bench, inside the stage, so that it reads as a shelf that ends and not as a
// strip cut off by the picture's edge.
constexpr double benchEnd = 690;

// The bench the glassware stands on: its top at y, from x0 to x1, with rounded ends.
void bench(Scene& s, double y, double x0, double x1) {
    art::Art a;
    a.fillStroke(art::roundRect(x0, y, x1 - x0, 9, 3),
                 art::Paint::linear({0, y}, {0, y + 9},
                                    {{0, QColor(0xE6, 0xD6, 0xBA)}, {1, QColor(0xCF, 0xBA, 0x96)}}),
                 QColor(0xA8, 0x8E, 0x66), 1);
    s.put(a, {}, Furniture);
}

// A conical flask of hydrogen peroxide, its base at `base` on the bench.
void peroxideFlask(Scene& s, QPointF base) {
    s.put(glass::flask(flaskW, flaskH), base, Glass);
    s.put(glass::flaskLiquid(flaskW, flaskH, flaskFill, peroxide), base, Liquid);
    s.put(glass::flaskOutline(flaskW, flaskH), base, Front);
    putText(s, text::chem("H2O2"), vesselLabel, {base.x(), base.y() + 12}, text::Align::Center,
            palette::muted);
}

// A porcelain dish with a heap of MnO₂ in it, its foot at the origin: the bowl with its rim,
// and the heap, which hides the rim's far side and stands just above its near side. The heap's
// drawing has its base at (0, 3) and lies heapDepth above the dish's foot.
constexpr double heapDepth = -15.7;

art::Art bowlDrawing() {
    art::Art a;
    QPainterPath bowl(QPointF(-32, -14));
    bowl.cubicTo(-28, 2, 28, 2, 32, -14);
    bowl.closeSubpath();
    a.fillStroke(bowl,
                 art::Paint::linear({0, -14}, {0, 0},
                                    {{0, QColor(0xFB, 0xFA, 0xF7)}, {1, QColor(0xDD, 0xDA, 0xD2)}}),
                 palette::glassLine, 1.2);
    a.stroke(art::ellipse({0, -14}, 32, 3.5), palette::glassLine, 1.2);
    return a;
}

art::Art heapDrawing() {
    art::Art a;
    a.fill(heap(20), palette::manganese);
    return a;
}

// The dish as one drawing, its foot at `at`.
void powderDish(Scene& s, QPointF at) {
    art::Art a = bowlDrawing();
    a.fill(heap(20).translated(0, heapDepth), palette::manganese);
    s.put(a, at, Props);
}

// A spatula: a flat bowl on the left of the origin and its long handle along +x, which runs
// beyond the stage's edge to the hand that holds it.
art::Art spatula() {
    const QColor steel(0x9A, 0xA5, 0xB0);
    art::Art a;
    a.fillStroke(art::roundRect(0, -2, 250, 4, 2), art::Paint::solid(steel), palette::glassLine,
                 0.8);
    a.fillStroke(art::ellipse({-8, 0}, 11, 6), art::Paint::solid(steel), palette::glassLine, 0.8);
    return a;
}

QTransform placed(QPointF at, double degrees) {
    QTransform t;
    t.translate(at.x(), at.y());
    t.rotate(degrees);
    return t;
}

// How fast oxygen comes off, as a bar from "мало" to "много" in a small panel with its top
// left at `at`; the bar grows to `share` (0..1) from the clock on. Its words are as large as
// the captions', so they are read at a glance.
void oxygenGauge(Scene& s, QPointF at, double share, double seconds) {
    const double w = 300;
    std::vector<Obj> parts;
    parts.push_back(s.put(glass::panel(at.x(), at.y(), w, 70, palette::panel, palette::panelLine),
                          {}, Furniture));
    parts.push_back(putText(s, text::chem("Выделение O2"), text::bold(14), at + QPointF(12, 8),
                            text::Align::Left, palette::ink, Labels, palette::panel));
    art::Art track;
    track.fillStroke(art::roundRect(at.x() + 12, at.y() + 32, w - 24, 10, 5),
                     art::Paint::solid(QColor(0xE6, 0xEE, 0xF6)), palette::panelLine, 1);
    parts.push_back(s.put(track, {}, Labels));
    art::Art bar;
    bar.fill(art::roundRect(0, -5, w - 24, 10, 5), palette::accent);
    Obj b = s.put(bar, at + QPointF(12, 37), Labels);
    s.scaleTo(b, 0.02, 1, {0, 0}, 0);
    s.scaleTo(b, share, 1, {0, 0}, seconds);
    parts.push_back(putText(s, "мало", text::plain(14), at + QPointF(12, 46), text::Align::Left,
                            palette::ink, Labels, palette::panel));
    parts.push_back(putText(s, "много", text::plain(14), at + QPointF(w - 12, 46),
                            text::Align::Right, palette::ink, Labels, palette::panel));
    parts.push_back(b);
    // The gauge fades in as a whole, its bar already growing.
    for (Obj o : parts) appear(s, o, 0.4);
}

// The flask's inner half-width at a height `up` above its base: the cone narrows from the
// bottom to the neck, which runs straight up to the mouth.
double flaskInnerHalf(double up) {
    const double neckHalf = flaskW * 0.11, neckFrom = flaskH * 0.68, coneFrom = 8;
    if (up >= neckFrom) return neckHalf - 2;
    if (up <= coneFrom) return flaskW / 2 - 4;
    return flaskW / 2 - 2 - (flaskW / 2 - neckHalf) * (up - coneFrom) / (neckFrom - coneFrom);
}

// The foam of a vigorous decomposition in the flask standing at `base`: from frame `from` it
// climbs from the liquid's surface up the cone into the neck while the oxygen pours out, stands
// there, then settles into a thin layer on the surface that shimmers until `to`.
void risingFoam(Scene& s, QPointF base, int from, int to) {
    const int keep = s.now();
    const double surfaceUp = flaskFill * flaskH;
    const double peak = flaskH * 0.80 - surfaceUp, settled = 12;
    const int grown = from + s.frames(2.2), holds = grown + s.frames(1.2);
    const int calm = holds + s.frames(2.0);
    auto height = [&](int f) {
        if (f <= from) return 0.0;
        if (f < grown) {
            const double t = double(f - from) / (grown - from);
            return peak * t * (2 - t);
        }
        if (f < holds) return peak;
        if (f < calm) {
            const double t = double(f - holds) / (calm - holds);
            return peak + (settled - peak) * t * t * (3 - 2 * t);
        }
        return settled;
    };
    // Each piece of foam is a cluster of three bubbles, so that the foam is dense with few
    // objects on the stage.
    const int count = 22;
    for (int i = 0; i < count; ++i) {
        const double u = std::fmod(i * 0.618034 + 0.11, 1.0) * 2 - 1;
        const double v = std::fmod(i * 0.7548 + 0.23, 1.0);
        const double r = 1.6 + 2.8 * std::fmod(i * 0.3819 + 0.07, 1.0);
        art::Art a;
        const QPointF cluster[3] = {{0, 0}, {r * 1.5, r * 0.4}, {r * 0.6, -r * 1.3}};
        for (int k = 0; k < 3; ++k) {
            const double rk = r * (k == 0 ? 1.0 : 0.55 + 0.2 * k);
            const QPointF c = cluster[k];
            a.fillStroke(art::circle(c, rk), art::Paint::solid(QColor(255, 255, 255, 225)),
                         QColor(0x6F, 0x8C, 0xA6, 200), 0.7);
            a.fill(art::circle(c - QPointF(rk * 0.35, rk * 0.35), rk * 0.3),
                   QColor(255, 255, 255, 240));
        }
        // The lower bubbles come first, the higher ones as the foam climbs.
        const int born = from + int((grown - from) * 0.8 * v);
        s.setNow(born);
        auto at = [&](int f) {
            const double up = surfaceUp + v * std::max(height(f), 3.0) + r * 0.3;
            const double half = std::max(0.0, flaskInnerHalf(up) - r - 1);
            const double jiggle = std::sin(f * 0.7 + i) * 0.7;
            return QPointF(base.x() + u * half + jiggle, base.y() - up);
        };
        Obj o = s.put(a, at(born), Overlay);
        s.setAlpha(o, born, 0);
        s.fadeTo(o, 1, 0.3);
        for (int f = born + 2; f < to; f += 2) {
            s.setNow(f - 2);
            s.moveTo(o, at(f), double(2) / s.fps(), Scene::Ease::Linear);
            // Now and then a bubble bursts and a new one forms in its place.
            if (f > calm && (f / 2 + i) % 11 == 0) {
                s.setNow(f);
                s.fadeTo(o, 0.2, 0.2);
                s.setNow(f + 3);
                s.fadeTo(o, 1, 0.2);
            }
        }
    }
    s.setNow(keep);
}

Scene taskMovie() {
    Scene s = stage(705, 350);
    heading(s, "Задание", "Как катализатор влияет на скорость реакции?");
    s.wait(0.3);
    reveal(s, "Пероксид водорода медленно разлагается с выделением кислорода:", text::plain(15),
           {22, 76});
    s.wait(0.6);
    appear(s, equation(s, text::chem("2H2O2 → 2H2O + O2↑"), {200, 108}, 18));
    s.wait(0.8);
    // The lines end left of the flask's neck.
    reveal(s, text::chem("Проверим, как на разложение влияет\nоксид марганца(IV) MnO2."),
           text::plain(15), {22, 160});
    s.wait(0.6);
    reveal(s, "Кислород узнают по тлеющей лучинке:\nв нём она ярко вспыхивает.", text::plain(15),
           {22, 208});
    s.setNow(0);
    // The flask and the dish stand where they stand in both trials, so nothing moves between
    // the steps.
    const QPointF base(510, benchTop);
    bench(s, base.y(), 380, benchEnd);
    peroxideFlask(s, base);
    // The powder waits in the same dish as in the trial with the catalyst.
    powderDish(s, {648, base.y()});
    putText(s, text::chem("MnO2"), vesselLabel, {648, base.y() + 12}, text::Align::Center,
            palette::muted);
    bubbles(s, base.x() - 22, base.x() + 22, base.y() - 12, base.y() - flaskH * flaskFill + 8, 2, 0,
            s.frames(7.0) + 1, 3.5, 2.2, Props);
    // The plan of the experiment, step by step, in the free corner under the text: a list read
    // top to bottom beside a thin rule, not cards a student might take for buttons.
    const QString steps[3] = {text::chem("1. H2O2 без катализатора"),
                              text::chem("2. Добавляем щепотку MnO2"), "3. Вносим тлеющую лучинку"};
    s.setNow(s.frames(3.4));
    Obj line = s.put(glass::arrow({22, 264}, {22, 340}, 1.2, palette::panelLine), {}, Furniture);
    appear(s, line, 0.4);
    for (int i = 0; i < 3; ++i) {
        reveal(s, steps[i], text::plain(14), {34, 262.0 + i * 26}, text::Align::Left, palette::ink,
               0.4);
        s.wait(0.8);
    }
    s.setNow(s.frames(7.0));
    finish(s);
    return s;
}

// A long splinter held by a hand beyond the stage's right edge, tip down at `tip`: it slides in
// along its own length from beyond that edge, its glowing end with it, and stays. It rises
// gently to the right, so it never reaches the stage's top edge and the window's heading above
// it. Returns the glowing end.
Obj heldSplinter(Scene& s, QPointF tip, double seconds = 0.8) {
    const double angle = -18;
    const QPointF along(std::cos(angle * M_PI / 180), std::sin(angle * M_PI / 180));
    // Long enough that its end stays beyond the right edge, however far it has come in.
    const double length = (s.width() - tip.x()) / along.x() + 40;
    const QPointF away = tip + along * length;
    Obj stick = s.put(glass::splinter(length), {}, Props);
    s.transformTo(stick, placed(away, angle), 0);
    s.transformTo(stick, placed(tip, angle), seconds);
    Obj ember = s.put(glass::ember(), away, Captions);
    s.moveTo(ember, tip, seconds);
    return ember;
}

Scene slowMovie() {
    Scene s = stage(705, 350);
    heading(s, "Без катализатора", text::chem("Раствор H2O2 при комнатной температуре"));
    // The bench on the right as in the trial with the catalyst: the flask, and the dish of MnO₂
    // waiting for its turn; what to watch on the left.
    const QPointF base(510, benchTop);
    bench(s, base.y(), 380, benchEnd);
    peroxideFlask(s, base);
    powderDish(s, {640, base.y()});
    putText(s, text::chem("MnO2"), vesselLabel, {640, base.y() + 12}, text::Align::Center,
            palette::muted);
    const int end = s.frames(7.0);
    bubbles(s, base.x() - 26, base.x() + 26, base.y() - 12, base.y() - flaskH * flaskFill + 8, 3, 0,
            end + 1, 3.0, 2.2, Props);
    const QPointF tip(base.x(), base.y() - flaskH - 8);
    Obj ember = heldSplinter(s, tip);
    for (int f = s.frames(0.8); f < end; f += 4) s.setAlpha(ember, f, (f / 4) % 3 == 0 ? 1.0 : 0.7);
    s.setNow(s.frames(0.6));
    reveal(s, "тлеющая лучинка", text::plain(14), {tip.x() - 14, tip.y() - 26}, text::Align::Right,
           palette::muted);
    s.setNow(0);
    s.wait(1.0);
    appear(s, paragraph(s, "Пузырьков кислорода мало: реакция идёт медленно.", text::bold(15),
                        {22, 92}, 320));
    s.wait(2.4);
    appear(s, paragraph(s, "Тлеющая лучинка не вспыхивает: кислорода выделяется мало.",
                        text::bold(15), {22, 150}, 320, palette::muted));
    s.setNow(s.frames(1.0));
    oxygenGauge(s, {22, 214}, 0.1, 2.0);
    s.setNow(s.frames(4.4));
    // What comes off, so the gauge and the bubbles have a name.
    appear(s, equation(s, text::chem("2H2O2 → 2H2O + O2↑"), {172, 302}, 17));
    s.setNow(end);
    finish(s);
    return s;
}

Scene fastMovie() {
    Scene s = stage(705, 350);
    // The question and its two options: the window's radio buttons lie in the two boxes.
    s.put(glass::panel(12, 84, 372, 96, palette::panel, palette::panelLine), {}, Furniture);
    putText(s, "Как влияет катализатор на скорость реакции?", text::bold(15), {24, 95},
            text::Align::Left, palette::accent);
    // Round blanks, so the two answers read as a choice of one.
    for (const QRectF box : {QRectF(56, 125, 15, 17), QRectF(56, 150, 16, 17)}) {
        art::Art radio;
        radio.fill(art::roundRect(box.x() - 3, box.y() - 3, box.width() + 6, box.height() + 6, 7.5),
                   palette::box);
        s.put(radio, {}, Boxes);
    }
    putText(s, "Катализатор замедляет реакцию", text::plain(14), {78, 126});
    putText(s, "Катализатор ускоряет реакцию", text::plain(14), {78, 151});
    putText(s, text::chem("С катализатором MnO2"), text::bold(20), {22, 14}, text::Align::Left,
            palette::accent);
    putText(s, "Выберите ответ", text::plain(14), {22, 42}, text::Align::Left, palette::muted);

    const QPointF base(510, benchTop);
    bench(s, base.y(), 380, benchEnd);
    peroxideFlask(s, base);
    const int end = s.frames(10.0);

    // The powder waits in a dish on the bench. A spatula, held beyond the stage's edge (its
    // handle always runs out of the picture), comes in, takes a little powder from the dish,
    // carries it over the flask, tips it in and goes out again.
    const QPointF dish(640, base.y());
    // The heap apart from its dish, so that it can shrink as the spatula takes from it.
    s.put(bowlDrawing(), dish, Props);
    const Obj pile = s.put(heapDrawing(), dish + QPointF(0, heapDepth), Props);
    putText(s, text::chem("MnO2"), vesselLabel, {dish.x(), dish.y() + 12}, text::Align::Center,
            palette::muted);
    // The handle rises to the right and never reaches the stage's top edge, where the window's
    // heading is.
    const QTransform away = placed({790, 200}, -10);
    const QTransform dip = placed(dish + QPointF(-4, -13), -8);
    const QTransform lifted = placed(dish + QPointF(-8, -70), -10);
    const QTransform over = placed({base.x() + 10, base.y() - flaskH - 12}, -12);
    const QTransform tipped = placed({base.x() + 10, base.y() - flaskH - 10}, -30);
    Obj sp = s.put(spatula(), {}, Props);
    art::Art powder;
    powder.fill(art::ellipse({-8, -2}, 8, 4), palette::manganese);
    Obj load = s.put(powder, {}, Props);
    for (Obj o : {sp, load}) s.transformTo(o, away, 0);
    s.setAlpha(load, s.now(), 0);
    s.wait(0.3);
    for (Obj o : {sp, load}) s.transformTo(o, dip, 0.9);
    s.wait(0.9);
    s.fadeTo(load, 1, 0.3);
    // What the spatula takes is gone from the heap: it settles lower and narrower as the
    // spatula fills.
    s.scaleTo(pile, 0.78, 0.62, {0, 3}, 0.3);
    s.wait(0.3);
    for (Obj o : {sp, load}) s.transformTo(o, lifted, 0.5);
    s.wait(0.5);
    for (Obj o : {sp, load}) s.transformTo(o, over, 0.9);
    s.wait(0.9);
    for (Obj o : {sp, load}) s.transformTo(o, tipped, 0.4);
    s.wait(0.4);
    const QPointF spill = tipped.map(QPointF(-14, 0));
    s.remove(load);
    art::Art grains;
    for (int i = 0; i < 7; ++i)
        grains.fill(art::circle({(i % 3 - 1) * 3.0, i * 6.0}, 1.8), palette::manganese);
    Obj fall = s.put(grains, spill, Props);
    const double surface = base.y() - flaskFill * flaskH;
    s.moveTo(fall, {base.x() - 2, surface - 30}, 0.5, Scene::Ease::In);
    s.wait(0.5);
    s.remove(fall);
    art::Art sediment;
    sediment.fill(heap(sedimentHalfWidth), palette::manganese);
    Obj sed = s.put(sediment, {base.x(), base.y() - 5}, Liquid);
    appear(s, sed, 0.4);
    const int back = s.now();
    s.transformTo(sp, over, 0.4);
    s.wait(0.4);
    s.transformTo(sp, away, 1.0);
    // Out of the picture, it is no longer drawn.
    s.wait(1.0);
    s.remove(sp);
    s.setNow(back);
    const int boil = s.now();
    // Vigorous bubbling and foam.
    bubblesInCone(s, base.x() - 44, base.x() + 44, base.x() - 28, base.x() + 28, base.y() - 8,
                  surface + 2, 20, boil, end + 1, 0.45, 3.2, Props);
    // A foam of oxygen bubbles climbs up the flask while the gas pours out, then settles into a
    // shimmering layer.
    risingFoam(s, base, boil + s.frames(0.2), end + 1);
    oxygenGauge(s, {12, 196}, 0.92, 2.5);
    s.setNow(boil);
    // The powder is named where it lies.
    reveal(s, text::chem("MnO2"), vesselLabel, {base.x() - 72, base.y() - 28}, text::Align::Right,
           palette::ink);
    art::Art leader;
    leader.stroke(
        art::line({base.x() - 70, base.y() - 16}, {base.x() - sedimentHalfWidth + 3, base.y() - 6}),
        palette::muted, 1);
    appear(s, s.put(leader, {}, Labels));
    // The splinter comes down to the flask's mouth and flares up in the oxygen.
    // The splint comes in once the spatula has gone.
    const QPointF tip(base.x(), base.y() - flaskH - 8);
    s.setNow(boil + s.frames(1.4));
    Obj ember = heldSplinter(s, tip);
    s.wait(1.2);
    Obj fire = s.put(glass::flame(30), tip + QPointF(0, 4), Captions);
    s.setAlpha(fire, s.now(), 0);
    s.fadeTo(fire, 1, 0.5);
    for (int f = s.now() + 6; f < end; f += 3) {
        s.setNow(f);
        QTransform t;
        t.translate(tip.x(), tip.y() + 4);
        t.scale(1.0 + 0.08 * ((f / 3) % 2), 1.0 + 0.12 * ((f / 3) % 3 == 0));
        s.transformTo(fire, t, 0);
    }
    s.setNow(boil + s.frames(2.6));
    s.fadeTo(ember, 0, 0.4);
    s.wait(0.8);
    appear(s, paragraph(s, "Бурно выделяется кислород, тлеющая лучинка ярко вспыхивает!",
                        text::bold(15), {12, 284}, 330, palette::ink));
    s.setNow(end);
    finish(s);
    return s;
}

Scene conclusionMovie() {
    Scene s = stage(705, 350);
    heading(s, "Вывод");
    s.wait(0.3);
    reveal(s, text::chem("Катализатор MnO2 ускоряет разложение пероксида водорода"), text::bold(16),
           {22, 62}, text::Align::Left, palette::good);
    s.wait(0.6);
    reveal(s, "и сам при этом не расходуется: после реакции он остаётся на дне колбы",
           text::plain(15), {22, 88});
    reveal(s, "и может ускорить реакцию снова.", text::plain(15), {22, 110});
    s.wait(0.8);
    appear(s, equation(s, text::chem("2H2O2 → 2H2O + O2↑"), {584, 14}, 15, text::chem("MnO2")));
    s.setNow(0);
    // The flask of the trial with the catalyst, where it stood and as full as it was.
    const QPointF base(510, benchTop);
    bench(s, base.y(), 446, benchEnd);
    s.put(glass::flask(flaskW, flaskH), base, Glass);
    s.put(glass::flaskLiquid(flaskW, flaskH, flaskFill, peroxide), base, Liquid);
    art::Art sediment;
    sediment.fill(heap(sedimentHalfWidth), palette::manganese);
    s.put(sediment, {base.x(), base.y() - 5}, Liquid);
    s.put(glass::flaskOutline(flaskW, flaskH), base, Front);
    // Its name under the bench, clear of the profile's panel on the left.
    putText(s, text::chem("MnO2 остался на дне"), vesselLabel, {base.x() + 66, base.y() + 12},
            text::Align::Center, palette::ink);
    s.setNow(s.frames(2.2));
    // The profile, large on the left, fades in; what it brings in later stays as it is.
    const int before = s.objectCount();
    insets::catalystProfile(s, {12, 140}, {428, 204},
                            "Катализатор снижает энергию активации: E_a′ < E_a");
    for (int i = before; i < s.objectCount(); ++i) {
        const Obj o{i};
        bool fadesInLater = false;
        for (int f = s.now() + 1; f <= s.now() + s.frames(3.0); ++f)
            fadesInLater |= s.alphaAt(o, f) < 0.05;
        if (fadesInLater)
            s.setAlpha(o, s.now(), 0);
        else if (s.alphaAt(o, s.now()) > 0.5)
            appear(s, o);
    }
    s.setNow(0);
    bubbles(s, base.x() - 22, base.x() + 22, base.y() - 12, base.y() - flaskH * flaskFill + 8, 2, 0,
            s.frames(6.0) + 1, 3.0, 2.0, Props);
    s.setNow(s.frames(6.0));
    finish(s);
    return s;
}
}  // namespace

void addCatalystMovies(std::vector<MovieAsset>& out) {
    out.push_back({"Movie/Opyt3/1.swf", taskMovie});
    out.push_back({"Movie/Opyt3/2.swf", slowMovie});
    out.push_back({"Movie/Opyt3/3.swf", fastMovie});
    out.push_back({"Movie/Opyt3/4.swf", conclusionMovie});
}

}  // namespace assets
