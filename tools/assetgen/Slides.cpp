#include "Slides.h"

#include "Glassware.h"

namespace slides {

Scene stage(int width, int height) {
    return Scene(width, height, palette::stage);
}

Obj text(Scene& s, const QString& markup, const text::Style& style, QPointF topLeft,
         text::Align align, QColor color, int layer) {
    art::Art a;
    a.fill(text::block(markup, style, topLeft, align), color);
    return s.put(a, {}, layer);
}

Obj paragraph(Scene& s, const QString& markup, const text::Style& style, QPointF topLeft,
              double width, QColor color, double* height, int layer) {
    const QString wrapped = text::wrap(markup, style, width);
    if (height) *height = (wrapped.count('\n') + 1) * style.size * 1.25;
    return text(s, wrapped, style, topLeft, text::Align::Left, color, layer);
}

Obj heading(Scene& s, const QString& title, const QString& subtitle) {
    Obj o = text(s, title, text::bold(20), {22, 14}, text::Align::Left, palette::accent);
    if (!subtitle.isEmpty())
        text(s, subtitle, text::plain(14), {22, 42}, text::Align::Left, palette::muted);
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
    Obj o = text(s, markup, style, topLeft, align, color);
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
    const text::Style style = text::bold(size);
    const QString t = width > 0 ? text::wrap(markup, style, width) : markup;
    Obj o = text(s, t, style, topLeft, text::Align::Left, color, Captions);
    appear(s, o, 0.4);
    const int at = s.now();
    s.wait(seconds);
    disappear(s, o, 0.4);
    s.setNow(at);
    return o;
}

}  // namespace slides
