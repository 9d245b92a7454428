#include <algorithm>
#include <utility>

#include "AssetTree.h"
#include "Glassware.h"
#include "Instruments.h"
#include "Slides.h"

namespace assets {
using namespace slides;

namespace {
const QString equationText = text::chem("FeCl3 + 3KSCN ⇄ Fe(SCN)3 + 3KCl");
// FeCl₃ and KSCN deepen the colour plainly; KCl lightens it only a little, since its ions take
// no part in the ionic equilibrium Fe³⁺ + 3SCN⁻ ⇄ Fe(SCN)₃ and act on it only weakly.
const QColor reference(0xC8, 0x3A, 0x3A), deeper(0x8E, 0x12, 0x1E), paler(0xD0, 0x4C, 0x48);
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
};

// A tube holding `level` px of liquid, or empty (its liquid waits, invisible, to be poured).
Tube redTube(Scene& s, double x, double mouth, QColor c, double w = 34, double h = 150,
             double level = 80, bool empty = false) {
    const Obj back = s.put(glass::testTube(w, h), {x, mouth}, Glass);
    const QPointF bottom(x, mouth + glass::tubeBodyBottom(w, h));
    const Obj body = s.put(glass::tubeLiquidBody(w, level, c), bottom, Liquid);
    const Obj cap = s.put(glass::tubeLiquidCap(w, c), bottom, Liquid);
    Tube t{back, s.put(glass::testTubeFront(w, h), {x, mouth}, Front), body, cap, bottom, level};
    if (empty) {
        s.scaleTo(t.body, 1, 0.01, {0, 0}, 0);
        s.setAlpha(t.body, s.now(), 0);
        s.setAlpha(t.cap, s.now(), 0);
    }
    return t;
}

// Recolours a tube's liquid over a span.
void recolour(Scene& s, const Tube& t, QColor from, QColor to, double seconds) {
    Scene::Tint tint;
    tint.mult[0] = double(to.red()) / from.red();
    tint.mult[1] = double(std::max(1, to.green())) / std::max(1, from.green());
    tint.mult[2] = double(std::max(1, to.blue())) / std::max(1, from.blue());
    s.tintTo(t.body, tint, seconds);
    s.tintTo(t.cap, tint, seconds);
}

// A graduated pipette with its solution's name above it comes over the tube and empties into
// it, the level rising as the pipette empties. The clock moves past the pour.
void pourFromPipette(Scene& s, Tube& t, QPointF rest, const QString& name, QColor c, double toLevel,
                     double seconds) {
    const double body = 52;
    Obj pipette = s.put(glass::graduatedPipette(body, 5), rest, Captions);
    Obj liquid = s.put(glass::graduatedPipetteLiquid(body, c.darker(108)), rest, Captions);
    s.scaleTo(liquid, 1, 0.8, {0, 0}, 0);
    const double top = glass::graduatedPipetteHeight(body);
    Obj label = putText(s, name, text::bold(16), {rest.x(), rest.y() - top - 21},
                        text::Align::Center, palette::ink, Captions);
    for (Obj o : {pipette, liquid, label}) appear(s, o, 0.3);
    s.wait(0.4);
    const QPointF over(t.bottom.x(), t.bottom.y() - 96);
    for (Obj o : {pipette, liquid}) s.moveTo(o, over, 0.7);
    s.moveTo(label, over - rest, 0.7);
    s.wait(0.7);
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
    s.scaleTo(liquid, 1, 0.02, {0, 0}, seconds, Scene::Ease::Linear);
    // The last of it thins away as the pipette runs dry.
    const double thinning = std::min(0.25, seconds / 2);
    s.wait(seconds - thinning);
    s.fadeTo(flow, 0, thinning);
    s.wait(thinning);
    s.remove(flow);
    s.remove(liquid);
    for (Obj o : {pipette}) {
        s.moveTo(o, rest, 0.6);
        s.fadeTo(o, 0, 0.6);
    }
    s.moveTo(label, {}, 0.6);
    s.fadeTo(label, 0, 0.6);
    s.wait(0.3);
}

// A dropper with its reagent's name on a tag comes over the tube and lets `count` drops of the
// solution fall, each one visible on its way; the clock moves past the drops.
void addDrops(Scene& s, const Tube& t, double mouthY, const QString& name, QColor c, int count) {
    const QPointF rest(t.bottom.x() + 56, mouthY - 22), over(t.bottom.x(), mouthY - 8);
    Obj dropper = s.put(glass::pipette(30), rest, Props);
    Obj tag = putText(s, name, text::bold(16), {rest.x() + 12, rest.y() - 36}, text::Align::Left,
                      palette::ink, Captions);
    appear(s, dropper, 0.3);
    appear(s, tag, 0.3);
    s.moveTo(dropper, over, 0.8);
    s.moveTo(tag, over - rest, 0.8);
    s.wait(0.9);
    const double surface = t.bottom.y() - t.level;
    for (int i = 0; i < count; ++i) {
        Obj d = s.put(glass::drop(3.2, c), over + QPointF(0, 4), Props);
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
    s.moveTo(dropper, rest, 0.7);
    s.moveTo(tag, {}, 0.7);
    s.fadeTo(dropper, 0, 0.7);
    s.fadeTo(tag, 0, 0.7);
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
    // An empty tube: FeCl₃ goes in (amber), then KSCN, and the red colour appears.
    s.setNow(0);
    Tube t = redTube(s, 600, 120, ironChloride, 34, 150, 80, true);
    s.put(glass::rack(1, 40, 40), {600, 190}, Props);
    const QPointF rest(662, 200);
    s.wait(0.3);
    pourFromPipette(s, t, rest, text::chem("FeCl3"), ironChloride, 40, 1.4);
    const int kscnAt = s.now();
    pourFromPipette(s, t, rest, "KSCN", colourless, 80, 1.4);
    s.setNow(kscnAt + s.frames(1.4));
    recolour(s, t, ironChloride, reference, 2.0);
    s.wait(2.0);
    reveal(s, text::chem("FeCl3 + KSCN"), text::bold(13), {600, 296}, text::Align::Center,
           palette::muted);
    s.wait(1.2);
    finish(s, true);
    return s;
}

Scene tubesMovie() {
    Scene s = equilibriumStage();
    heading(s, "Четыре пробирки с равновесной смесью");
    const QString added[4] = {"эталон", "+ " + text::chem("FeCl3"), "+ KSCN", "+ KCl"};
    const QColor after[4] = {reference, deeper, deeper, paler};
    const QColor dropColour[4] = {reference, ironChloride, colourless, colourless};
    const QString result[4] = {"", "темнее", "темнее", "чуть светлее"};
    Tube tubes[4];
    // The tubes stand low enough that the dropper above them stays clear of the heading.
    const double mouth = 112;
    for (int i = 0; i < 4; ++i) {
        const double x = 140 + i * 130;
        tubes[i] = redTube(s, x, mouth, reference, 34, 118, 64);
        putText(s, added[i], text::bold(15), {x, 238}, text::Align::Center,
                i == 0 ? palette::muted : palette::ink);
    }
    s.put(glass::rack(4, 130, 40), {335, mouth + 60}, Props);
    equation(s, equationText, {335, 290}, 17);
    s.wait(1.0);
    for (int i = 1; i < 4; ++i) {
        const QString name = i == 1 ? text::chem("FeCl3") : i == 2 ? "KSCN" : "KCl";
        addDrops(s, tubes[i], mouth, name, dropColour[i], 2);
        recolour(s, tubes[i], reference, after[i], 1.2);
        s.wait(1.2);
        reveal(s, result[i], text::bold(15), {140 + i * 130.0, 260}, text::Align::Center,
               palette::ink);
        s.wait(0.4);
    }
    s.wait(1.5);
    finish(s, true);
    return s;
}

Scene directionsMovie() {
    Scene s = equilibriumStage();
    // The three answers: the window's direction groups lie in the boxes at the end, each over
    // the tube it asks about.
    const double xs[3] = {293, 367, 439};
    const QString reagents[3] = {text::chem("FeCl3"), "KSCN", "KCl"};
    const QColor colors[3] = {deeper, deeper, paler};
    for (int i = 0; i < 3; ++i) redTube(s, xs[i] + 29.5, 140, colors[i], 24, 72, 34);
    // The reference beside them, for comparison.
    redTube(s, xs[0] + 29.5 - 74, 140, reference, 24, 72, 34);
    putText(s, "эталон", text::plain(13), {xs[0] + 29.5 - 74, 216}, text::Align::Center,
            palette::muted);
    s.put(glass::rack(4, 74, 26), {(xs[0] + xs[2]) / 2 + 29.5 - 37, 178}, Props);
    equation(s, equationText, {352, 238}, 18);
    putText(s, text::chem("Подсказка: FeCl3 и KSCN — исходные вещества, KCl — продукт реакции."),
            text::plain(14), {352, 290}, text::Align::Center, palette::muted);
    s.wait(2.0);
    Obj q = putText(s, "Куда сместится равновесие при добавлении:", text::bold(15), {352, 6},
                    text::Align::Center, palette::accent);
    appear(s, q, 0.6);
    for (int i = 0; i < 3; ++i) {
        Obj r = putText(s, reagents[i], text::bold(15), {xs[i] + 29.5, 89}, text::Align::Center);
        appear(s, r, 0.6);
    }
    Obj hint = putText(s, "→ вправо, к продуктам      ← влево, к исходным веществам",
                       text::plain(14), {352, 316}, text::Align::Center, palette::muted);
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
    putText(s, "Запишите выражение константы равновесия: впишите буквы и коэффициенты",
            text::bold(15), {22, 14}, text::Align::Left, palette::accent);
    equation(s, equationText, {352, 46}, 17);
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
    s.put(glass::panel(150, 222, 405, 56, palette::panel, palette::panelLine), {}, Furniture);
    putText(s, text::chem("а — FeCl3,   б — KSCN,   в — Fe(SCN)3,   г — KCl"), text::bold(15),
            {352, 230}, text::Align::Center);
    putText(s, "Коэффициенты реакции становятся показателями степени", text::plain(13), {352, 254},
            text::Align::Center, palette::muted);
    s.wait(3.0);
    finish(s, true);
    return s;
}

Scene answerMovie() {
    Scene s = equilibriumStage();
    heading(s, "Константа равновесия");
    equation(s, equationText, {352, 56}, 17);
    s.wait(0.5);
    const text::Style f = text::plain(22);
    Obj k = putText(s, "K =", text::bold(24), {250, 160}, text::Align::Right);
    Obj num =
        putText(s, text::chem("[Fe(SCN)3]") + " · [KCl]^3", f, {390, 128}, text::Align::Center);
    Obj den = putText(s, text::chem("[FeCl3]") + " · [KSCN]^3", f, {390, 176}, text::Align::Center);
    art::Art bar;
    bar.fill(art::rect(262, 168, 256, 2.2), palette::ink);
    Obj b = s.put(bar, {}, Labels);
    for (Obj o : {k, b, num, den}) {
        appear(s, o, 0.6);
        s.wait(0.5);
    }
    s.wait(0.6);
    reveal(s, "В числителе — продукты, в знаменателе — исходные вещества;", text::plain(15),
           {352, 236}, text::Align::Center, palette::ink);
    reveal(s, "коэффициенты уравнения — показатели степени.", text::plain(15), {352, 258},
           text::Align::Center, palette::ink);
    // Who is who: the starting substances and the products in their own tubes, as they look.
    s.wait(0.4);
    const struct {
        QString name;
        QColor colour;
        double x;
    } vials[4] = {{text::chem("FeCl3"), ironChloride, 160},
                  {"KSCN", colourless, 230},
                  {text::chem("Fe(SCN)3"), reference, 470},
                  {"KCl", colourless, 570}};
    const int vialsAt = s.now();
    for (const auto& v : vials) {
        s.setNow(vialsAt);
        Tube t = redTube(s, v.x - 22, 286, v.colour, 14, 36, 18);
        for (Obj o : {t.glass, t.front, t.body, t.cap}) appear(s, o, 0.5);
        reveal(s, v.name, text::bold(15), {v.x - 10, 293});
    }
    s.setNow(vialsAt);
    reveal(s, "исходные вещества → знаменатель", text::plain(14), {195, 327}, text::Align::Center,
           palette::muted);
    reveal(s, "продукты → числитель", text::plain(14), {520, 327}, text::Align::Center,
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
           {22, 60});
    reveal(s, "смещается в сторону, которая ослабляет это воздействие.", text::plain(16), {22, 84});
    s.wait(1.0);
    appear(s, equation(s, equationText, {352, 118}, 18));
    const QString lines[3] = {
        text::chem("+ FeCl3: равновесие смещается вправо →, раствор темнеет"),
        text::chem("+ KSCN: равновесие смещается вправо →, раствор темнеет"),
        text::chem("+ KCl: равновесие чуть смещается влево ←, раствор слегка светлеет")};
    const QColor after[3] = {deeper, deeper, paler};
    double y = 166;
    // Each line with its tubes: the reference, and the same mixture after the addition.
    for (int i = 0; i < 3; ++i) {
        s.wait(0.8);
        reveal(s, lines[i], text::plain(15), {40, y + 6});
        Tube before = redTube(s, 592, y, reference, 12, 30, 18);
        Tube changed = redTube(s, 668, y, reference, 12, 30, 18);
        for (const Tube& t : {before, changed})
            for (Obj o : {t.glass, t.front, t.body, t.cap}) appear(s, o, 0.4);
        Obj arrow =
            s.put(glass::arrow({610, y + 17}, {650, y + 17}, 2, palette::muted), {}, Labels);
        appear(s, arrow, 0.4);
        s.wait(0.5);
        recolour(s, changed, reference, after[i], 1.0);
        s.wait(0.4);
        y += 37;
    }
    putText(s, "эталон", text::plain(12), {592, 140}, text::Align::Center, palette::muted);
    putText(s, "после", text::plain(12), {668, 140}, text::Align::Center, palette::muted);
    reveal(s,
           "KCl действует слабо: ионы K^+ в реакции Fe^{3+} + 3SCN^− ⇄ " + text::chem("Fe(SCN)3") +
               " не участвуют,",
           text::plain(14), {40, 278}, text::Align::Left, palette::muted);
    reveal(s, "а ионы Cl^− связывают немного Fe^{3+}, поэтому равновесие чуть смещается влево.",
           text::plain(14), {40, 296}, text::Align::Left, palette::muted);
    s.wait(1.0);
    reveal(s, "Цвет раствора показывает, куда сместилось равновесие.", text::bold(15), {352, 321},
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
