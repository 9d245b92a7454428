#include "AssetTree.h"
#include "Glassware.h"
#include "Slides.h"

namespace assets {
using namespace slides;

namespace {
// The About window's corner: a flask with bubbles rising for ever.
Scene aboutMovie() {
    // White, as the window's own ground is where it meets the movie.
    Scene s(117, 151, palette::panel);
    const int loop = s.frames(4.0);
    // The flask and its name keep clear of the window's lower edge.
    s.put(glass::flask(78, 100), {58, 122}, Glass);
    s.put(glass::flaskLiquid(78, 100, 0.5, QColor(0x8F, 0xC8, 0xEE)), {58, 122}, Liquid);
    // The flask narrows upwards: the bubbles stay inside the liquid and burst at its surface.
    bubblesInCone(s, 30, 86, 44, 72, 116, 74, 7, 0, loop, 2.0, 3.2, Props);
    s.put(glass::flaskOutline(78, 100), {58, 122}, Front);
    putText(s, "Реактикум", text::bold(13), {58, 127}, text::Align::Center, palette::accent, Labels,
            palette::panel);
    s.setNow(loop - 1);
    finish(s);
    return s;
}

// The main window's intro: a quiet laboratory above, the variant panel in the middle and the
// four experiments below. The variant chooser and its two values lie over the blank boxes.
Scene introMovie() {
    Scene s = stage(585, 361);
    const int loop = s.frames(6.0);

    // Glassware standing on one shelf, all of it inside the panel.
    s.put(glass::panel(12, 10, 561, 118, QColor(0xEA, 0xF1, 0xF8), palette::panelLine), {}, Back);
    const double shelf = 114;
    art::Art board;
    board.fillStroke(art::rect(22, shelf, 541, 6), art::Paint::solid(QColor(0xD9, 0xC7, 0xA8)),
                     QColor(0xA8, 0x8E, 0x66), 1);
    s.put(board, {}, Furniture);
    s.put(glass::flask(70, 92), {70, shelf}, Glass);
    s.put(glass::flaskLiquid(70, 92, 0.45, QColor(0x8F, 0xC8, 0xEE)), {70, shelf}, Liquid);
    s.put(glass::flaskOutline(70, 92), {70, shelf}, Front);
    bubblesInCone(s, 46, 94, 56, 84, shelf - 6, shelf - 40, 6, 0, loop, 2.0, 3, Props);
    // The rack's lower rail stands on the shelf and the tubes' bottoms rest in it.
    const double rackHeight = 34, rackTop = shelf - 10 - rackHeight;
    for (int i = 0; i < 4; ++i) {
        const double x = 160 + i * 34;
        const QColor c = QColor::fromHsv(50 - i * 4, 60 + i * 35, 245 - i * 6);
        const double mouth = shelf - 7 - glass::tubeBodyBottom(20, 84) - 10;
        s.put(glass::testTube(20, 84), {x, mouth}, Glass);
        const QPointF bottom(x, mouth + glass::tubeBodyBottom(20, 84));
        s.put(glass::tubeLiquidCap(20, c), bottom, Liquid);
        s.put(glass::tubeLiquidBody(20, 30 + i * 6, c), bottom, Liquid);
        s.put(glass::testTubeFront(20, 84), {x, mouth}, Front);
    }
    s.put(glass::rack(4, 34, rackHeight), {211, rackTop}, Props);
    s.put(glass::beaker(78, 80), {380, shelf}, Glass);
    // Experiment 2's water bath, as its movies draw it: water, not a coloured solution; the
    // thermometer stands in it, its bulb under the water.
    s.put(glass::beakerLiquid(78, 80, 0.6, palette::water), {380, shelf}, Liquid);
    s.put(glass::thermometer(70, 20, 50, 5), {370, shelf - 14}, Liquid);
    s.put(glass::thermometerColumn(70), {370, shelf - 14}, Liquid);
    s.put(glass::flask(62, 84), {525, shelf}, Glass);
    s.put(glass::flaskLiquid(62, 84, 0.4, QColor(0xF2, 0xE6, 0xA0)), {525, shelf}, Liquid);
    // Gas rises in it as in the catalyst's flask: with the first flask, the shelf stays alive
    // while the window waits for a choice.
    bubblesInCone(s, 506, 544, 514, 536, shelf - 6, shelf - 31, 5, 0, loop, 1.5, 2.6, Props);
    s.put(glass::flaskOutline(62, 84), {525, shelf}, Front);

    // The variant panel.
    s.put(glass::panel(40, 138, 505, 72, palette::panel, palette::panelLine), {}, Furniture);
    putText(s, "Выберите вариант задания:", text::bold(14), {83, 148});
    putText(s, text::chem("Na2S2O3"), text::bold(14), {310, 148});
    putText(s, text::chem("H2SO4"), text::bold(14), {447, 148});
    controlBox(s, 83, 170, 145, 21);
    controlBox(s, 310, 173, 62, 20);
    controlBox(s, 447, 173, 62, 20);

    // The four experiments.
    const char* titles[4] = {"Концентрация", "Температура", "Катализатор", "Равновесие"};
    const char* lines[4] = {"Na_2S_2O_3 + H_2SO_4:\nвремя помутнения", "Правило\nВант-Гоффа",
                            "2H_2O_2 → 2H_2O + O_2↑\nкатализатор MnO_2", "Принцип\nЛе Шателье"};
    // Not buttons: one flat band of facts, divided by thin rules; the experiments are opened with
    // the links on the left of the window, and the window's own label beside them says how. The
    // band takes the lower part of the stage, with a margin under it like the shelf's above.
    const double bandTop = 226, bandHeight = 110;
    art::Art band;
    band.fill(art::rect(14, bandTop, 557, bandHeight), QColor(0xEE, 0xF4, 0xFA));
    for (int i = 1; i < 4; ++i)
        band.fill(art::rect(14 + i * 139.25, bandTop + 10, 1, bandHeight - 20), palette::panelLine);
    s.put(band, {}, Furniture);
    for (int i = 0; i < 4; ++i) {
        const double x = 14 + i * 139.25 + 69.6;
        putText(s, QStringLiteral("Опыт %1").arg(i + 1), text::bold(14), {x, bandTop + 15},
                text::Align::Center, palette::accent);
        putText(s, titles[i], text::bold(14), {x, bandTop + 36}, text::Align::Center);
        // The equation of experiment 3 is the widest line: at 12 px it keeps clear of the rules.
        putText(s, lines[i], text::plain(12), {x, bandTop + 62}, text::Align::Center,
                palette::muted);
    }
    s.setNow(loop - 1);
    finish(s);
    return s;
}
}  // namespace

void addIntroMovies(std::vector<MovieAsset>& out) {
    out.push_back({"BackGround/About.swf", aboutMovie});
    out.push_back({"Movie/1.swf", introMovie});
}

}  // namespace assets
