#include "Slides.h"

#include <cmath>

#include "Glassware.h"

namespace slides {

Scene stage(int width, int height) {
    return Scene(width, height, palette::stage);
}

Obj putText(Scene& s, const QString& markup, const text::Style& style, QPointF topLeft,
            text::Align align, QColor color, int layer, QColor ground) {
    text::noteInk(markup, style, color, ground);
    art::Art a;
    a.fill(text::block(markup, style, topLeft, align), color);
    const Obj o = s.put(a, {}, layer);
    s.noteText(o, markup, a.bounds());
    return o;
}

Obj paragraph(Scene& s, const QString& markup, const text::Style& style, QPointF topLeft,
              double width, QColor color, double* height, int layer) {
    const QString wrapped = text::wrap(markup, style, width);
    if (height) *height = (wrapped.count('\n') + 1) * style.size * 1.25;
    return putText(s, wrapped, style, topLeft, text::Align::Left, color, layer);
}

Obj heading(Scene& s, const QString& title, const QString& subtitle) {
    Obj o = putText(s, title, text::bold(20), {22, 14}, text::Align::Left, palette::accent);
    if (!subtitle.isEmpty())
        putText(s, subtitle, text::plain(14), {22, 42}, text::Align::Left, palette::muted);
    return o;
}

Obj equation(Scene& s, const QString& markup, QPointF centreTop, double size,
             const QString& overArrow) {
    const text::Style style = text::plain(size);
    if (!overArrow.isEmpty() && markup.contains(QChar(0x2192))) {
        const QString left = markup.section(QChar(0x2192), 0, 0).trimmed();
        const QString right = markup.section(QChar(0x2192), 1).trimmed();
        const text::Style small = text::bold(std::max(text::minimumSize, size * 0.75));
        const double gap = size * 0.4, wl = text::width(left, style),
                     wr = text::width(right, style);
        // The catalyst's name sits over the arrow with room at both ends and clear of its line.
        const double arrowLength = std::max(size * 1.6, text::width(overArrow, small) + 18);
        const double w = wl + wr + arrowLength + 2 * gap;
        const double top = centreTop.y() + small.size * 0.9;
        art::Art a =
            glass::panel(centreTop.x() - w / 2 - 14, centreTop.y(), w + 28,
                         size * 1.9 + small.size * 0.9, palette::panel, palette::panelLine);
        const double x0 = centreTop.x() - w / 2,
                     axis = top + size * 0.38 + text::ascent(style) - size * 0.33;
        a.fill(text::at(left, style, {x0, top + size * 0.38}), palette::ink);
        const double ax = x0 + wl + gap;
        a.add(glass::arrow({ax, axis}, {ax + arrowLength, axis}, size * 0.08, palette::ink));
        a.fill(text::at(overArrow, small, {ax + arrowLength / 2, axis - small.size * 1.55},
                        text::Align::Center),
               palette::accent);
        a.fill(text::at(right, style, {ax + arrowLength + gap, top + size * 0.38}), palette::ink);
        text::noteInk(left + " → " + right, style, palette::ink, palette::panel);
        text::noteInk(overArrow, small, palette::accent, palette::panel);
        return s.put(a, {}, Labels);
    }
    const double w = text::width(markup, style);
    text::noteInk(markup, style, palette::ink, palette::panel);
    art::Art a = glass::panel(centreTop.x() - w / 2 - 14, centreTop.y(), w + 28, size * 1.9,
                              palette::panel, palette::panelLine);
    a.fill(
        text::at(markup, style, {centreTop.x(), centreTop.y() + size * 0.38}, text::Align::Center),
        palette::ink);
    return s.put(a, {}, Labels);
}

void appear(Scene& s, Obj o, double seconds) {
    s.setAlpha(o, s.now(), 0);
    s.fadeTo(o, 1, seconds);
}

void disappear(Scene& s, Obj o, double seconds) {
    s.fadeTo(o, 0, seconds);
    const int at = s.now();
    s.waitFrames(s.frames(seconds) + 1);
    s.remove(o);
    s.setNow(at);
}

Obj reveal(Scene& s, const QString& markup, const text::Style& style, QPointF topLeft,
           text::Align align, QColor color, double seconds) {
    Obj o = putText(s, markup, style, topLeft, align, color);
    appear(s, o, seconds);
    return o;
}

Obj controlBox(Scene& s, double x, double y, double w, double h) {
    return s.put(glass::controlBox(x, y, w, h), {}, Boxes);
}

void finish(Scene& s, bool selfPlaying) {
    s.end();
    if (selfPlaying) {
        s.play(0);
        s.stop(s.frameCount() - 1);
    }
}

Obj caption(Scene& s, const QString& markup, QPointF topLeft, double seconds, QColor color,
            double size, double width) {
    // Captions follow each other in the same place: each one replaces the last at once, so the
    // box is never empty and two texts never show through each other.
    const text::Style style = text::bold(size);
    const QString t = width > 0 ? text::wrap(markup, style, width) : markup;
    Obj o = putText(s, t, style, topLeft, text::Align::Left, color, Captions);
    const int at = s.now();
    s.wait(seconds);
    s.remove(o);
    s.setNow(at);
    return o;
}

}  // namespace slides

namespace slides {

void bubbles(Scene& s, double x0, double x1, double y0, double y1, int count, int from, int to,
             double period, double radius, int layer) {
    bubblesInCone(s, x0, x1, x0, x1, y0, y1, count, from, to, period, radius, layer);
}

void bubblesInCone(Scene& s, double x0, double x1, double topX0, double topX1, double y0, double y1,
                   int count, int from, int to, double period, double radius, int layer) {
    const int keep = s.now();
    const int periodFrames = std::max(2, s.frames(period));
    // A fixed pseudo-random number in 0..1 for a bubble and one of its rises: the same bubbles
    // on every build, but no two rises alike.
    auto noise = [](int i, int cycle, int salt) {
        const double v = std::sin(i * 12.9898 + cycle * 78.233 + salt * 37.719) * 43758.5453;
        return v - std::floor(v);
    };
    // A loop that holds whole rises repeats its rises, so its last frame leads into its first.
    const int span = to - from;
    const int rises = span % periodFrames == 0 ? span / periodFrames : 0;
    for (int i = 0; i < count; ++i) {
        const double phase = std::fmod(i * 0.618034 + 0.3 * noise(i, 0, 1), 1.0);
        const double r = radius * (0.65 + 0.5 * std::fmod(i * 0.7548, 1.0));
        s.setNow(from);
        Obj b = s.put(glass::bubble(r), {x0 + (x1 - x0) * 0.5, y0}, layer);
        for (int f = from; f < to; ++f) {
            const double cycles = double(f - from) / periodFrames + phase;
            const int whole = int(std::floor(cycles));
            const double t = cycles - whole;
            const int cycle = rises > 0 ? whole % rises : whole;
            // Each rise starts at its own place, swells by its own amount and sways at its own
            // pace, so the bubbles never line up in chains.
            const double column = noise(i, cycle, 2);
            const double size = 0.7 + 0.6 * noise(i, cycle, 3);
            const double sway = 1.0 + 2.5 * noise(i, cycle, 4);
            const double wobble = std::sin((t * sway + column) * 6.2832) * 1.8 * (1 - t);
            const double left = x0 + (topX0 - x0) * t, right = x1 + (topX1 - x1) * t;
            s.setNow(f);
            // Rising faster as they go, and bursting (a quick swell and fade) at the surface.
            const double rise = t * (0.6 + 0.4 * t);
            QTransform at = QTransform::fromTranslate(
                left + (right - left) * (0.1 + 0.8 * column) + wobble, y0 + (y1 - y0) * rise);
            const double grow = size * (0.8 + 0.3 * t);
            at.scale(grow, grow);
            if (t > 0.9) at.scale(1 + (t - 0.9) * 6, 1 + (t - 0.9) * 6);
            s.transformTo(b, at, 0);
            s.setAlpha(b, f, t < 0.08 ? t / 0.08 : t > 0.9 ? (1 - t) / 0.1 : 1.0);
        }
        s.setNow(to);
        s.remove(b);
    }
    s.setNow(keep);
}

void foam(Scene& s, double centreX, double surfaceY, double halfWidth, int from, int settle, int to,
          int layer) {
    const int keep = s.now();
    const int count = int(halfWidth * 0.9);
    for (int i = 0; i < count; ++i) {
        const double u = std::fmod(i * 0.618034, 1.0);
        const double v = std::fmod(i * 0.7548 + 0.2, 1.0);
        const double r = 1.8 + 2.2 * std::fmod(i * 0.3819 + 0.1, 1.0);
        // Wider at the surface, piling up in the middle.
        const double x = centreX + (u * 2 - 1) * halfWidth * (1 - 0.35 * v);
        const double top = surfaceY - r * 0.5 - v * (halfWidth * 0.28) * (1 - std::abs(u * 2 - 1));
        art::Art a;
        a.fillStroke(art::circle({0, 0}, r), art::Paint::solid(QColor(255, 255, 255, 215)),
                     QColor(0x6F, 0x8C, 0xA6, 190), 0.7);
        a.fill(art::circle({-r * 0.35, -r * 0.35}, r * 0.3), QColor(255, 255, 255, 240));
        // The foam grows from the surface as the gas comes: lower bubbles first.
        s.setNow(from + int((settle - from) * (0.15 + 0.85 * v) * (0.6 + 0.4 * u)));
        Obj o = s.put(a, {x, surfaceY}, layer);
        s.setAlpha(o, s.now(), 0);
        s.fadeTo(o, 1, 0.3);
        s.moveTo(o, {x, top}, 0.6);
        // Once it has grown, it settles: every bubble shimmers a little, and some burst and
        // are replaced by new ones.
        for (int f = settle + i % 7; f < to; f += 7) {
            s.setNow(f);
            const double jiggle = std::sin(f * 0.7 + i) * 0.6;
            s.moveTo(o, {x + jiggle, top + std::cos(f * 0.5 + i) * 0.5}, 0.5);
            if ((f / 7 + i) % 5 == 0) {
                s.fadeTo(o, 0.15, 0.25);
                s.setNow(f + 3);
                s.fadeTo(o, 1, 0.25);
            }
        }
    }
    s.setNow(keep);
}

}  // namespace slides
