#include "AssetTree.h"
#include "Chemistry.h"
#include "Glassware.h"
#include "Insets.h"
#include "Instruments.h"
#include "Reaction.h"
#include "Slides.h"

namespace assets {
using namespace slides;

namespace {
Scene taskMovie() {
    Scene s = stage(705, 350);
    heading(s, "Задание", "Как скорость реакции зависит от температуры?");
    const text::Style body = text::plain(14.5);
    double y = 68;
    s.wait(0.3);
    // The procedure of the tube movies: the two solutions warm separately in the bath, and only
    // then is the acid poured in.
    for (const QString& l :
         {text::chem("Те же растворы, что в пробирке 1 опыта 1: 2 мл Na2S2O3 + 3 мл H2O"),
          text::chem("в одной пробирке и 5 мл H2SO4 в другой, греют порознь на водяной"),
          QStringLiteral("бане до 35\u00A0°C (затем до 45\u00A0°C), сливают и измеряют время."),
          QStringLiteral("Время при 25\u00A0°C берётся из таблицы 1.")}) {
        reveal(s, l, body, {22, y});
        y += 19;
        s.wait(0.7);
    }
    // The variant's solutions, written by the window into the box, from the first frame on.
    const int afterText = s.now();
    s.setNow(0);
    putText(s, "Ваш вариант:", text::bold(13), {22, 166}, text::Align::Left, palette::muted);
    putText(s, text::chem("Na2S2O3"), text::bold(13), {99, 191}, text::Align::Right);
    putText(s, text::chem("H2SO4"), text::bold(13), {99, 210}, text::Align::Right);
    controlBox(s, 106, 189, 81, 39);
    putText(s, "M = моль/л,\nN = моль-экв/л", text::plain(13), {22, 236}, text::Align::Left,
            palette::muted);
    s.setNow(afterText);

    // Van 't Hoff's rule.
    appear(
        s,
        s.put(glass::panel(212, 150, 342, 138, palette::panel, palette::panelLine), {}, Furniture),
        0.5);
    Obj rule = putText(s, "Правило Вант-Гоффа", text::bold(15), {228, 158}, text::Align::Left,
                       palette::accent);
    appear(s, rule, 0.5);
    s.wait(0.6);
    reveal(s, "при нагревании на каждые 10\u00A0°C скорость\nреакции возрастает в 2–4 раза:",
           text::plain(14), {228, 181});
    s.wait(0.8);
    // Temperature is T, as in Таблица 2 beside it; the rate is Vусл = 1/время.
    reveal(s, "V_{усл, T+10} / V_{усл, T} = γ", text::bold(18), {383, 219}, text::Align::Center,
           palette::ink);
    reveal(s, "γ — температурный коэффициент;\nT — температура, °C", text::plain(14), {383, 247},
           text::Align::Center, palette::ink);

    // The water bath warming up with the immersion heater of the tube movies, the two tubes
    // standing in it apart: the thermometer climbs from 25 to 45 °C (no boiling, so no bubbles),
    // in seconds here, and the label says it takes minutes.
    s.setNow(0);
    const double bathX = 637, bathBase = 262, bathW = 126, bathH = 100, fill = 0.78;
    // Thiosulfate with water a faint blue, the acid a faint pink, as their stock bottles.
    const QColor thiosulfate(0xCF, 0xE8, 0xF7);
    s.put(glass::bathBack(bathW, bathH), {bathX, bathBase}, Behind);
    s.put(glass::bathWater(bathW, bathH, fill), {bathX, bathBase}, Behind);
    const struct {
        double x, w, h, mouth, level;
        QColor colour;
    } tubes[2] = {{636, 18, 96, 150, 46, thiosulfate}, {662, 16, 84, 164, 40, palette::acid}};
    for (const auto& t : tubes) {
        s.put(glass::testTube(t.w, t.h), {t.x, t.mouth}, Glass);
        const QPointF bottom(t.x, t.mouth + glass::tubeBodyBottom(t.w, t.h));
        s.put(glass::tubeLiquidCap(t.w, t.colour), bottom, Liquid);
        s.put(glass::tubeLiquidBody(t.w, t.level, t.colour), bottom, Liquid);
        s.put(glass::testTubeFront(t.w, t.h), {t.x, t.mouth}, Front);
    }
    s.put(glass::bathFront(bathW, bathH, fill), {bathX, bathBase}, Front);
    const QPointF heaterAt(685, bathBase - 12);
    Obj heater = s.put(glass::immersionHeater(150, true), heaterAt, Props);
    s.put(glass::scaleThermometer(140, 50, 10), {590, 246}, Props);
    Obj column = s.put(glass::thermometerReading(140), {590, 246}, Props);
    s.scaleTo(column, 1, glass::thermometerShare(140, 50, 25), {0, 0}, 0);
    putText(s, "греются порознь\nнесколько минут", text::plain(13), {bathX, bathBase + 6},
            text::Align::Center, palette::muted);
    s.setNow(s.frames(1.0));
    s.scaleTo(column, 1, glass::thermometerShare(140, 50, 45), {0, 0}, 5.0);
    // At 45 °C the heater is switched off: its coil cools.
    s.setNow(s.frames(6.0));
    appear(s, s.put(glass::immersionHeater(150, false), heaterAt, Props), 0.6);
    disappear(s, heater, 0.6);
    s.setNow(s.frames(8.0));
    finish(s);
    return s;
}

Scene heatedMovie(int variant, int step) {
    reaction::Setup r;
    r.temperature = chemistry::temperatures[step];
    r.title = QStringLiteral("Опыт 2. Баня %1 °C").arg(r.temperature);
    r.subtitle = QStringLiteral("Растворы пробирки 1");
    r.thiosulfateMl = chemistry::thiosulfateMl(1);
    r.waterMl = chemistry::waterMl(1);
    r.seconds = chemistry::heatedSeconds(variant, step);
    return reaction::movie(r);
}

// The coefficient boxes: each coefficient is a fraction of two rates that the student types.
Scene coefficientMovie() {
    Scene s = stage(705, 350);
    heading(s, "Температурный коэффициент");
    putText(s, "Впишите в дроби скорости из таблицы 2 и нажмите «ОК»", text::plain(13.5), {22, 42},
            text::Align::Left, palette::muted);
    s.put(glass::panel(60, 64, 500, 150, palette::panel, palette::panelLine), {}, Furniture);
    const struct {
        double top;
        QString label;
    } rows[2] = {{76, "γ_1 = V_{35} / V_{25} ="}, {156, "γ_2 = V_{45} / V_{35} ="}};
    for (const auto& row : rows) {
        putText(s, row.label, text::bold(17), {308, row.top + 14}, text::Align::Right);
        art::Art bar;
        bar.fill(art::rect(314, row.top + 24.2, 53, 1.6), palette::ink);
        s.put(bar, {}, Labels);
        controlBox(s, 320, row.top, 41, 19);
        controlBox(s, 320, row.top + 30, 41, 19);
        putText(s, "=", text::bold(17), {424.5, row.top + 13}, text::Align::Center);
    }
    controlBox(s, 374, 87, 37, 25);
    controlBox(s, 374, 167, 37, 25);
    controlBox(s, 438, 89, 95, 24);
    controlBox(s, 436, 168, 95, 24);
    putText(s, "V_{25}, V_{35}, V_{45} — V_{усл} = 1/время при 25, 35 и 45 °C, 1/с (у.е.)",
            text::plain(14.5), {72, 222}, text::Align::Left, palette::muted);

    // How the rate grows with temperature, beside the fractions.
    insets::ratePlot(s, {572, 64}, {124, 150});
    // A reminder of which rate goes up.
    s.wait(2.0);
    Obj hint = putText(s, "В числителе — скорость при более высокой температуре", text::plain(13),
                       {72, 246}, text::Align::Left, palette::accent);
    appear(s, hint, 0.8);
    s.wait(2.0);
    finish(s);
    return s;
}

Scene conclusionMovie() {
    Scene s = stage(705, 350);
    heading(s, "Вывод");
    s.wait(0.3);
    // No number of our own: the student's coefficients stand in Таблица 2.
    reveal(s, "При нагревании на каждые 10 °C скорость реакции возрастает", text::plain(16),
           {22, 52});
    reveal(s, "в γ раз — во столько раз выросла V_{усл} в вашей таблице 2.", text::bold(16),
           {22, 76}, text::Align::Left, palette::good);
    s.wait(0.6);
    reveal(s,
           "Молекулы движутся быстрее, и растёт доля молекул, энергия которых не меньше\n"
           "энергии активации E_a, — больше столкновений приводят к реакции.",
           text::plain(14), {22, 108}, text::Align::Left, palette::muted);
    insets::energyDistribution(s, {440, 150});
    // The rates as bars: each 10 °C multiplies the one before by γ (drawn with γ of 2).
    const double base = 268, unit = 23;
    const int temps[3] = {25, 35, 45};
    const QString names[3] = {"V_{25}", "γ · V_{25}", "γ^2 · V_{25}"};
    s.wait(0.6);
    // The baseline comes in with the chart, before the first bar grows from it.
    art::Art axis;
    axis.stroke(art::line({70, base}, {420, base}), palette::muted, 1.5);
    appear(s, s.put(axis, {}, Labels), 0.4);
    for (int i = 0; i < 3; ++i) {
        const double x = 140 + i * 110, h = unit * (1 << i);
        art::Art bar;
        bar.fillStroke(
            art::rect(-26, -h, 52, h),
            art::Paint::linear({0, -h}, {0, 0},
                               {{0, QColor(0xE5, 0x73, 0x3B)}, {1, QColor(0xF6, 0xC0, 0x8A)}}),
            QColor(0xB5, 0x52, 0x22), 1);
        Obj b = s.put(bar, {x, base}, Props);
        s.scaleTo(b, 1, 0.02, {0, 0}, 0);
        s.scaleTo(b, 1, 1, {0, 0}, 1.0);
        putText(s, QStringLiteral("%1 °C").arg(temps[i]), text::bold(14), {x, base + 5},
                text::Align::Center);
        s.wait(1.0);
        reveal(s, names[i], text::bold(15), {x, base - h - 24}, text::Align::Center,
               palette::accent);
        s.wait(0.3);
    }
    s.wait(1.5);
    finish(s);
    return s;
}
}  // namespace

void addTemperatureMovies(std::vector<MovieAsset>& out) {
    out.push_back({"Movie/Opyt2/1.swf", taskMovie});
    for (int step = 2; step <= 3; ++step)
        for (int v = 1; v <= chemistry::variantCount; ++v)
            out.push_back({QStringLiteral("Movie/Opyt2/%1_%2.swf").arg(step).arg(v),
                           [=] { return heatedMovie(v, step - 1); }});
    out.push_back({"Movie/Opyt2/4.swf", coefficientMovie});
    out.push_back({"Movie/Opyt2/5.swf", conclusionMovie});
}

}  // namespace assets
