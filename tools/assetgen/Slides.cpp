#include "Slides.h"

#include <cmath>

#include "Glassware.h"

namespace slides {

Scene stage(int width, int height) {
    return Scene(width, height, palette::stage);
}

Obj putText(Scene& s, const QString& markup, const text::Style& style, QPointF topLeft,
            text::Align align, QColor color, int layer) {
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

Obj equation(Scene& s, const QString& markup, QPointF centreTop, double size) {
    const text::Style style = text::plain(size);
    const double w = text::width(markup, style);
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
    for (int i = 0; i < count; ++i) {
        // Fixed, well-spread phases and columns: the same bubbles on every build.
        const double phase = std::fmod(i * 0.618034, 1.0);
        const double column = std::fmod(i * 0.414214 + 0.15, 1.0);
        const double r = radius * (0.65 + 0.5 * std::fmod(i * 0.7548, 1.0));
        s.setNow(from);
        Obj b = s.put(glass::bubble(r), {x0 + (x1 - x0) * column, y0}, layer);
        for (int f = from; f < to; ++f) {
            const double t = std::fmod(double(f - from) / periodFrames + phase, 1.0);
            const double wobble = std::sin((t * 3 + column) * 6.2832) * 1.5 * (1 - t);
            const double left = x0 + (topX0 - x0) * t, right = x1 + (topX1 - x1) * t;
            s.setNow(f);
            // Rising faster as they go, and bursting (a quick swell and fade) at the surface.
            const double rise = t * (0.6 + 0.4 * t);
            QTransform at = QTransform::fromTranslate(
                left + (right - left) * (0.1 + 0.8 * column) + wobble, y0 + (y1 - y0) * rise);
            if (t > 0.9) at.scale(1 + (t - 0.9) * 6, 1 + (t - 0.9) * 6);
            s.transformTo(b, at, 0);
            s.setAlpha(b, f, t < 0.08 ? t / 0.08 : t > 0.9 ? (1 - t) / 0.1 : 1.0);
        }
        s.setNow(to);
        s.remove(b);
    }
    s.setNow(keep);
}

}  // namespace slides
