#include <algorithm>
#include <cmath>

#include "AssetTree.h"
#include "Chemistry.h"
#include "Glassware.h"
#include "Instruments.h"
#include "Reaction.h"
#include "Slides.h"

namespace assets {
using namespace slides;

namespace {
const QColor mixture(0xCF, 0xE8, 0xF7);

// A tube of the finished mixture (10 ml of mixed, nearly colourless solutions: mixed, so one
// liquid and never layers), its number above it.
void mixedTube(Scene& s, double x, double mouth, int tube, double w, double h, double level) {
    s.put(glass::testTube(w, h), {x, mouth}, Glass);
    const QPointF bottom(x, mouth + glass::tubeBodyBottom(w, h));
    s.put(glass::tubeLiquidCap(w, mixture), bottom, Liquid);
    s.put(glass::tubeLiquidBody(w, level, mixture), bottom, Liquid);
    s.put(glass::testTubeFront(w, h), {x, mouth}, Front);
    putText(s, QString::number(tube), text::bold(15), {x, mouth - 24}, text::Align::Center,
            palette::accent);
}

// What went into each tube, in millilitres: one row per solution under the tubes at xs, the
// names right-aligned at labelRight.
void volumeTable(Scene& s, const double (&xs)[4], double top, double labelRight) {
    const QString names[3] = {text::chem("Na2S2O3"), "H_2O", text::chem("H2SO4")};
    putText(s, "мл:", text::bold(13), {labelRight, top}, text::Align::Right, palette::muted);
    for (int row = 0; row < 3; ++row) {
        const double y = top + 16 + row * 16;
        putText(s, names[row], text::plain(13), {labelRight, y}, text::Align::Right);
        for (int k = 1; k <= 4; ++k) {
            const int ml = row == 0   ? chemistry::thiosulfateMl(k)
                           : row == 1 ? chemistry::waterMl(k)
                                      : chemistry::acidMl;
            putText(s, QString::number(ml), text::bold(13), {xs[k - 1], y}, text::Align::Center,
                    row == 0 ? palette::accent : palette::ink);
        }
    }
}

Scene taskMovie() {
    Scene s = stage(705, 350);
    heading(s, "Задание", "Как скорость реакции зависит от концентрации реагента?");
    s.wait(0.3);
    const text::Style body = text::plain(15);
    const QString lines[] = {
        text::chem("В четыре пробирки наливают разные объёмы раствора Na2S2O3,"),
        text::chem("доливают воду и приливают по 5 мл раствора H2SO4."),
        "Выпадающая сера делает раствор мутным:",
    };
    double y = 72;
    for (const QString& l : lines) {
        reveal(s, l, body, {22, y});
        y += 21;
        s.wait(0.7);
    }
    appear(s,
           equation(s, text::chem("Na2S2O3 + H2SO4 → Na2SO4 + S↓ + SO2↑ + H2O"), {250, y + 4}, 16),
           0.5);
    s.wait(0.8);
    y += 46;
    // Time and rate are named as the window's table names them: «время» in seconds, and the
    // conditional rate Vусл = 1/время in 1/с, the table's «у.е.».
    reveal(s, "Время, с — от добавления кислоты до исчезновения креста.", body, {22, y});
    s.wait(0.8);
    reveal(s, "Условная скорость реакции:  V_{усл} = 1/время, 1/с", text::bold(16), {22, y + 25},
           text::Align::Left, palette::accent);
    reveal(s, "(условные единицы, у.е.)", text::plain(14), {22, y + 48}, text::Align::Left,
           palette::accent);
    s.wait(0.8);
    // The question only: the answer is the student's own table, and the graph window states
    // it once the table is filled.
    reveal(s, "Как изменятся время и V_{усл} от пробирки 1 к 4? Проверьте.", text::bold(15),
           {22, y + 72}, text::Align::Left, palette::accent);

    // The four tubes, with more thiosulfate from left to right, and what went into each.
    s.setNow(0);
    const double xs[4] = {560, 600, 640, 680};
    for (int k = 1; k <= 4; ++k) mixedTube(s, xs[k - 1], 96, k, 24, 110, 70);
    s.put(glass::rack(4, 36, 34), {620, 150}, Props);  // 538..702: inside the stage
    volumeTable(s, xs, 214, 544);
    s.setNow(s.frames(7.5));
    finish(s);
    return s;
}

Scene calculatorMovie() {
    Scene s = stage(705, 350);
    // The variant's solutions, written by the window into the box.
    // "Раствор Na₂S₂O₃:" does not fit left of the box at a readable size: the word goes above.
    const text::Style tag = text::bold(13);
    putText(s, "Растворы варианта:", text::bold(13), {8, 6}, text::Align::Left, palette::muted);
    putText(s, text::chem("Na2S2O3:"), tag, {97, 29}, text::Align::Right);
    putText(s, text::chem("H2SO4:"), tag, {97, 49}, text::Align::Right);
    controlBox(s, 104, 28, 58, 39);

    putText(s, text::chem("Концентрация Na2S2O3 в пробирках"), text::bold(19), {200, 16},
            text::Align::Left, palette::accent);
    putText(s, "Рассчитайте её для каждой пробирки и впишите в столбец «C′» таблицы",
            text::plain(13.5), {200, 44}, text::Align::Left, palette::muted);

    const double xs[4] = {84, 122, 160, 198};
    for (int k = 1; k <= 4; ++k) mixedTube(s, xs[k - 1], 104, k, 24, 100, 62);
    s.put(glass::rack(4, 38, 30), {141, 152}, Props);
    volumeTable(s, xs, 206, 68);

    // The dilution calculator: C′ = C·V(Na₂S₂O₃) / (V(Na₂S₂O₃) + V(H₂O) + V(H₂SO₄)).
    // The panel ends well above "Таблица 1", which the window lays over the movie at y 285.
    s.put(glass::panel(236, 96, 372, 176, palette::panel, palette::panelLine), {}, Furniture);
    putText(s, "Калькулятор разбавления", text::bold(14), {246, 104}, text::Align::Left,
            palette::accent);
    // The formula is stated once, as the fraction the student fills in. Quantity symbols and
    // formulas are upright here as in every other drawing and in the window's table («C′»).
    // The variant's texts are written as the laboratory writes them ("0.05M", "2N"): tied once
    // to the units drawn here.
    putText(s, "C — исходная концентрация, моль/л;   V — объёмы, мл", text::plain(13), {246, 126},
            text::Align::Left, palette::muted);
    putText(s, "в тексте варианта: M = моль/л, N = моль-экв/л", text::plain(13), {246, 143},
            text::Align::Left, palette::muted);
    // Every label keeps clear of its neighbour.
    putText(s, "C", text::plain(13), {336, 178}, text::Align::Center, palette::muted);
    putText(s, text::chem("V(Na2S2O3)"), text::plain(13), {395.5, 178}, text::Align::Center,
            palette::muted);
    putText(s, "C′ =", text::bold(17), {294, 213}, text::Align::Right);
    putText(s, "×", text::bold(16), {370.5, 198}, text::Align::Center);
    putText(s, "+", text::bold(16), {338.5, 230}, text::Align::Center);
    putText(s, "+", text::bold(16), {382.5, 230}, text::Align::Center);
    art::Art bar;
    bar.fill(art::rect(298, 223, 121, 2), palette::ink);
    s.put(bar, {}, Labels);
    // The volumes under their boxes: the outer names lean away from the middle one, so the
    // three never run together.
    const text::Style volume = text::plain(13);
    putText(s, text::chem("Na2S2O3"), volume, {328, 252}, text::Align::Right, palette::muted);
    putText(s, "H_2O", volume, {357.5, 252}, text::Align::Center, palette::muted);
    putText(s, text::chem("H2SO4"), volume, {389, 252}, text::Align::Left, palette::muted);
    putText(s, "=", text::bold(17), {469.5, 212}, text::Align::Center);
    putText(s, "моль/л", text::plain(14), {522, 214});
    controlBox(s, 316, 198, 41, 19);
    controlBox(s, 383, 198, 25, 19);
    controlBox(s, 302, 230, 25, 19);
    controlBox(s, 345, 230, 25, 19);
    controlBox(s, 390, 230, 25, 19);
    controlBox(s, 425, 210, 33, 25);
    controlBox(s, 481, 213, 33, 19);

    // A gentle pointer to the first box.
    Obj pointer = s.put(glass::arrow({290, 186}, {312, 200}, 3, palette::action), {}, Captions);
    s.setAlpha(pointer, 0, 0);
    s.wait(1.0);
    for (int i = 0; i < 3; ++i) {
        s.fadeTo(pointer, 1, 0.5);
        s.wait(0.7);
        s.fadeTo(pointer, 0, 0.5);
        s.wait(0.7);
    }
    s.wait(0.5);
    finish(s);
    return s;
}

Scene timingMovie() {
    Scene s = stage(705, 350);
    heading(s, "Как измерить время реакции");
    const text::Style body = text::plain(15);
    const QString steps[] = {
        text::chem("К раствору в пробирке приливают 5 мл H2SO4; анимация остановится и "
                   "подождёт, пока вы нажмёте «Старт»."),
        "Нажмите «Старт»: секундомер начнёт отсчёт.",
        "Следите за крестом под пробиркой: раствор мутнеет.",
        "Когда крест исчезнет из виду, нажмите «Стоп».",
        "Впишите время в секундах в столбец «Время T, с».",
    };
    double y = 64;
    const double stepWidth = 470;
    s.wait(0.4);
    for (int i = 0; i < 5; ++i) {
        art::Art dot;
        // What the show does is numbered in the heading's colour; every step the student takes
        // (press, watch, write) in the action colour.
        const QColor dotColour = i == 0 ? palette::accent : palette::action;
        dot.fill(art::circle({34, y + 10}, 11), dotColour);
        text::noteInk(QString::number(i + 1), text::bold(13), Qt::white, dotColour);
        dot.fill(text::at(QString::number(i + 1), text::bold(13), {34, y + 2}, text::Align::Center),
                 Qt::white);
        Obj d = s.put(dot, {}, Labels);
        appear(s, d, 0.4);
        // A step too long for one line goes on under itself, clear of the stopwatch.
        const QString wrapped = text::wrap(steps[i], body, stepWidth);
        reveal(s, wrapped, body, {54, y + 1});
        y += 40 + wrapped.count('\n') * body.size * 1.25;
        s.wait(1.4);
    }
    // The idea of the stopwatch as a small labelled picture: a dial whose hand runs while the
    // cross fades. The window's own buttons come with the tubes, in the lower right corner.
    s.setNow(0);
    // The label ends clear of the stage's right edge, centred over the dial.
    const QPointF dial(585, 98), inset(585, 228);
    putText(s, "Секундомер (ускоренный показ)", text::bold(13), {dial.x(), 36}, text::Align::Center,
            palette::muted);
    s.put(glass::stopwatch(34), dial, Props);
    art::Art handArt;
    handArt.stroke(art::line({0, 6}, {0, -28}), palette::bad, 2.2);
    handArt.fill(art::circle({0, 0}, 3.2), palette::ink);
    Obj hand = s.put(handArt, dial, Props);
    const QPointF readingAt(dial.x() + 44, dial.y() - 8);
    Obj shown = putText(s, "0 с", text::bold(14), readingAt, text::Align::Left, palette::ink);
    putText(s, "Вид сверху", text::bold(13), {inset.x(), inset.y() - 70}, text::Align::Center,
            palette::muted);
    art::Art frame, rim, cloud;
    frame.fillStroke(art::circle({0, 0}, 48), art::Paint::solid(Qt::white), palette::glassLine, 3);
    rim.stroke(art::circle({0, 0}, 48), palette::glassLine, 3);
    cloud.fill(art::circle({0, 0}, 46.5), palette::sulfur);
    s.put(frame, inset, Behind);
    Obj x = s.put(glass::cross(58, palette::ink), inset, Liquid);
    Obj turbid = s.put(cloud, inset, Overlay);
    s.setAlpha(turbid, 0, 0);
    s.put(rim, inset, Front);
    const int startAt = s.frames(2.4);
    const int run = 7;
    // The hand goes round once a minute: 6° a second, turned in whole-second steps.
    for (int sec = 1; sec <= run; ++sec) {
        s.setNow(startAt + s.frames(sec));
        s.transformTo(hand, QTransform::fromTranslate(dial.x(), dial.y()).rotate(6.0 * sec), 0.15);
        s.remove(shown);
        shown = putText(s, QStringLiteral("%1 с").arg(sec), text::bold(14), readingAt,
                        text::Align::Left, palette::ink);
    }
    const int n = s.frames(run);
    // Nothing clouds before the stopwatch starts; then a faint opalescence that deepens until
    // the cross is gone.
    for (int i = 0; i <= n; ++i) {
        const double u = double(i) / n;
        const double g =
            0.3 * std::pow(u, 0.6) + 0.7 * std::pow(std::clamp((u - 0.35) / 0.65, 0.0, 1.0), 2);
        s.setAlpha(turbid, startAt + i, 0.7 * g + (i == n ? 0.24 : 0));
        if (i < n) s.setAlpha(x, startAt + i, 1 - 0.78 * g);
    }
    s.setNow(startAt + n);
    s.remove(x);
    s.wait(1.6);
    finish(s);
    return s;
}

Scene tubeMovie(int variant, int tube) {
    reaction::Setup r;
    r.title = QStringLiteral("Опыт 1. Пробирка %1").arg(tube);
    r.thiosulfateMl = chemistry::thiosulfateMl(tube);
    r.waterMl = chemistry::waterMl(tube);
    r.subtitle = QStringLiteral("%1 мл %2 + ").arg(r.thiosulfateMl).arg(text::chem("Na2S2O3"));
    if (r.waterMl > 0) r.subtitle += QStringLiteral("%1 мл H_2O + ").arg(r.waterMl);
    r.subtitle += QStringLiteral("5 мл ") + text::chem("H2SO4");
    r.seconds = chemistry::tubeSeconds(variant, tube);
    return reaction::movie(r);
}
}  // namespace

void addConcentrationMovies(std::vector<MovieAsset>& out) {
    out.push_back({"Movie/Opyt1/1.swf", taskMovie});
    out.push_back({"Movie/Opyt1/2.swf", calculatorMovie});
    out.push_back({"Movie/Opyt1/3.swf", timingMovie});
    for (int step = 4; step <= 7; ++step)
        for (int v = 1; v <= chemistry::variantCount; ++v)
            out.push_back({QStringLiteral("Movie/Opyt1/%1_%2.swf").arg(step).arg(v),
                           [=] { return tubeMovie(v, step - 3); }});
}

}  // namespace assets
