#include <utility>

#include "AssetTree.h"
#include "Glassware.h"
#include "Slides.h"

namespace assets {
using namespace slides;

namespace {
const QString equationText = text::chem("FeCl3 + 3KSCN ⇄ Fe(SCN)3 + 3KCl");
const QColor reference(0xC8, 0x3A, 0x3A), deeper(0x8E, 0x12, 0x1E), paler(0xD6, 0x58, 0x50);

// The player of this experiment neither plays nor loops by itself: every movie starts itself
// and stops on its last frame. Its bottom rows lie on the window's link band.
Scene equilibriumStage() {
    Scene s = stage(705, 400);
    art::Art band;
    band.fill(art::rect(0, 396, 705, 4), palette::linkBand);
    s.put(band, {}, Back);
    return s;
}

struct Tube {
    Obj body, cap;
};

Tube redTube(Scene& s, double x, double mouth, QColor c, double w = 34, double h = 150,
             double level = 80) {
    s.put(glass::testTube(w, h), {x, mouth}, Glass);
    const QPointF bottom(x, mouth + glass::tubeBodyBottom(w, h));
    Tube t{s.put(glass::tubeLiquidBody(w, level, c), bottom, Liquid),
           s.put(glass::tubeLiquidCap(w, c), bottom, Liquid)};
    s.put(glass::testTubeFront(w, h), {x, mouth}, Front);
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

Scene taskMovie() {
    Scene s = equilibriumStage();
    heading(s, "Задание", "Как сместить химическое равновесие?");
    s.wait(0.3);
    equation(s, equationText, {260, 76}, 19);
    s.wait(0.8);
    reveal(s, text::chem("Роданид железа(III) Fe(SCN)3 окрашивает раствор в красный цвет:"),
           text::plain(15), {22, 130});
    reveal(s, "по цвету видно, в какую сторону смещается равновесие.", text::plain(15), {22, 152});
    s.wait(0.8);
    reveal(s, text::chem("Темнее — больше Fe(SCN)3, равновесие смещено вправо (→)."),
           text::plain(15), {22, 186}, text::Align::Left, palette::ink);
    reveal(s, text::chem("Светлее — меньше Fe(SCN)3, равновесие смещено влево (←)."),
           text::plain(15), {22, 208});
    s.setNow(0);
    // FeCl₃ and KSCN mixed: the red colour appears.
    Tube t = redTube(s, 600, 110, QColor(0xE8, 0xB4, 0x4A));
    s.wait(1.5);
    recolour(s, t, QColor(0xE8, 0xB4, 0x4A), reference, 2.5);
    putText(s, text::chem("FeCl3 + KSCN"), text::bold(13), {600, 290}, text::Align::Center,
            palette::muted);
    s.setNow(s.frames(7.0));
    finish(s, true);
    return s;
}

Scene tubesMovie() {
    Scene s = equilibriumStage();
    heading(s, "Четыре пробирки с равновесной смесью");
    const QString added[4] = {"эталон", "+ " + text::chem("FeCl3"), "+ KSCN", "+ KCl"};
    const QColor after[4] = {reference, deeper, deeper, paler};
    const QString result[4] = {"", "темнее", "темнее", "светлее"};
    Tube tubes[4];
    // The tubes stand low enough that the pipette above them stays clear of the heading.
    const double mouth = 132;
    for (int i = 0; i < 4; ++i) {
        const double x = 140 + i * 130;
        tubes[i] = redTube(s, x, mouth, reference, 34, 128, 70);
        putText(s, added[i], text::bold(15), {x, 270}, text::Align::Center,
                i == 0 ? palette::muted : palette::ink);
    }
    s.put(glass::rack(4, 130, 40), {335, mouth + 70}, Props);
    equation(s, equationText, {335, 326}, 17);
    s.wait(1.0);
    for (int i = 1; i < 4; ++i) {
        const double x = 140 + i * 130;
        Obj p = s.put(glass::pipette(42), {x + 60, mouth - 4}, Props);
        appear(s, p, 0.3);
        s.moveTo(p, {x, mouth - 4}, 0.8);
        s.wait(0.9);
        art::Art drop;
        drop.fill(art::circle({0, 0}, 3), QColor(0xDD, 0xE8, 0xF2));
        Obj d = s.put(drop, {x, mouth}, Props);
        s.moveTo(d, {x, mouth + 56}, 0.5, Scene::Ease::In);
        s.wait(0.5);
        s.remove(d);
        recolour(s, tubes[i], reference, after[i], 1.5);
        s.moveTo(p, {x + 60, mouth - 4}, 0.7);
        s.fadeTo(p, 0, 0.7);
        s.wait(1.6);
        reveal(s, result[i], text::bold(15), {x, 292}, text::Align::Center,
               i == 3 ? palette::accent : palette::bad);
        s.wait(0.5);
    }
    s.wait(1.5);
    finish(s, true);
    return s;
}

Scene directionsMovie() {
    Scene s = equilibriumStage();
    // The three answers: the window's direction groups lie in the boxes at the end.
    putText(s, text::chem("Подсказка: FeCl3 и KSCN — исходные вещества, KCl — продукт реакции."),
            text::plain(14), {352, 158}, text::Align::Center, palette::muted);
    equation(s, equationText, {352, 204}, 19);
    const double xs[3] = {293, 367, 439};
    const QString reagents[3] = {text::chem("FeCl3"), "KSCN", "KCl"};
    const QColor colors[3] = {deeper, deeper, paler};
    for (int i = 0; i < 3; ++i) {
        redTube(s, 230 + i * 120, 258, colors[i], 26, 92, 46);
        putText(s, "+ " + reagents[i], text::bold(13), {230 + i * 120.0, 356}, text::Align::Center,
                palette::muted);
    }
    s.wait(2.0);
    Obj q = putText(s, "Куда сместится равновесие при добавлении:", text::bold(15), {352, 6},
                    text::Align::Center, palette::accent);
    appear(s, q, 0.6);
    for (int i = 0; i < 3; ++i) {
        Obj b = controlBox(s, xs[i], 29, 59, 54);
        appear(s, b, 0.6);
        Obj r = putText(s, reagents[i], text::bold(14), {xs[i] + 29.5, 89}, text::Align::Center);
        appear(s, r, 0.6);
    }
    Obj hint = putText(s, "→ вправо, к продуктам      ← влево, к исходным веществам",
                       text::plain(13), {352, 116}, text::Align::Center, palette::muted);
    appear(s, hint, 0.6);
    s.wait(1.0);
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
    equation(s, equationText, {352, 124}, 18);
    const QString lines[3] = {text::chem("+ FeCl3: равновесие смещается вправо →, раствор темнеет"),
                              text::chem("+ KSCN: равновесие смещается вправо →, раствор темнеет"),
                              text::chem("+ KCl: равновесие смещается влево ←, раствор светлеет")};
    double y = 180;
    for (const QString& l : lines) {
        s.wait(0.8);
        reveal(s, l, text::plain(15), {120, y});
        y += 28;
    }
    s.wait(1.0);
    reveal(s, "Цвет раствора показывает, куда сместилось равновесие.", text::bold(15), {352, 280},
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
