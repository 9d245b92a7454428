#include "Insets.h"

#include <cmath>

#include "Glassware.h"
#include "Slides.h"

namespace insets {
using namespace slides;

namespace {
constexpr double panelW = 250, panelH = 146;
const QColor cool(0x1F, 0x5F, 0xA8), warm(0xC6, 0x28, 0x28);

// Molecules with energy e (0..1 of the axis) at a temperature scale kT: a Maxwell-like hump.
double share(double e, double kT) {
    return std::sqrt(e) * std::exp(-e / kT) / std::pow(kT, 1.5);
}

QPainterPath curve(QPointF origin, double w, double h, double kT, double peak, double from = 0) {
    QPainterPath p;
    for (int i = 0; i <= 80; ++i) {
        const double e = from + (1 - from) * i / 80.0;
        const QPointF pt(origin.x() + e * w, origin.y() - h * share(e, kT) / peak);
        if (i == 0)
            p.moveTo(pt);
        else
            p.lineTo(pt);
    }
    return p;
}

void axes(Scene& s, QPointF o, double w, double h, const QString& xLabel, const QString& yLabel) {
    art::Art a;
    a.add(glass::arrow(o, o + QPointF(w + 12, 0), 1.4, palette::muted));
    a.add(glass::arrow(o, o - QPointF(0, h + 10), 1.4, palette::muted));
    s.put(a, {}, Props);
    putText(s, xLabel, text::plain(11), o + QPointF(w + 12, 4), text::Align::Right, palette::muted,
            Props);
    putText(s, yLabel, text::plain(11), o + QPointF(6, -h - 12), text::Align::Left, palette::muted,
            Props);
}
}  // namespace

void energyDistribution(Scene& s, QPointF at) {
    const int keep = s.now();
    s.put(glass::panel(at.x(), at.y(), panelW, panelH, palette::panel, palette::panelLine), {},
          Furniture);
    const QPointF o = at + QPointF(16, panelH - 24);
    const double w = 200, h = 88, ea = 0.62;
    // The cooler curve's top, kept below the axis label.
    const double peak = share(0.5 * 0.16, 0.16) * 1.22;
    axes(s, o, w, h, "энергия", "доля молекул");
    // Eₐ and the shaded share above it at 45 °C.
    art::Art shade;
    QPainterPath tail = curve(o, w, h, 0.24, peak, ea);
    tail.lineTo(o.x() + w, o.y());
    tail.lineTo(o.x() + ea * w, o.y());
    tail.closeSubpath();
    QColor tint = warm;
    tint.setAlpha(70);
    shade.fill(tail, tint);
    Obj shaded = s.put(shade, {}, Props);
    art::Art line;
    line.stroke(art::line({o.x() + ea * w, o.y()}, {o.x() + ea * w, o.y() - h - 4}), palette::ink,
                1.2);
    s.put(line, {}, Props);
    putText(s, "E_a", text::bold(13), {o.x() + ea * w + 4, o.y() - h - 6}, text::Align::Left,
            palette::ink, Props);
    art::Art coolCurve, warmCurve;
    coolCurve.stroke(curve(o, w, h, 0.16, peak), cool, 2);
    warmCurve.stroke(curve(o, w, h, 0.24, peak), warm, 2);
    Obj c1 = s.put(coolCurve, {}, Props);
    Obj c2 = s.put(warmCurve, {}, Props);
    // A legend in the corner where both curves are low.
    const QPointF legend(o.x() + ea * w + 22, o.y() - h + 6);
    art::Art swatch1, swatch2;
    swatch1.stroke(art::line(legend + QPointF(0, 8), legend + QPointF(16, 8)), cool, 2);
    swatch2.stroke(art::line(legend + QPointF(0, 26), legend + QPointF(16, 26)), warm, 2);
    swatch1.fill(text::at("25 °C", text::bold(12), legend + QPointF(20, 1)), cool);
    swatch2.fill(text::at("45 °C", text::bold(12), legend + QPointF(20, 19)), warm);
    Obj l1 = s.put(swatch1, {}, Props);
    Obj l2 = s.put(swatch2, {}, Props);
    for (Obj obj : {c1, l1}) appear(s, obj, 0.6);
    s.wait(1.0);
    for (Obj obj : {c2, l2}) appear(s, obj, 0.6);
    s.wait(0.8);
    appear(s, shaded, 0.8);
    s.setNow(keep);
}

void catalystProfile(Scene& s, QPointF at) {
    const int keep = s.now();
    s.put(glass::panel(at.x(), at.y(), panelW, panelH, palette::panel, palette::panelLine), {},
          Furniture);
    const QPointF o = at + QPointF(16, panelH - 24);
    const double w = 200, h = 88;
    axes(s, o, w, h, "ход реакции", "энергия");
    auto profile = [&](double barrier) {
        QPainterPath p;
        for (int i = 0; i <= 80; ++i) {
            const double x = i / 80.0;
            const double start = 0.45, end = 0.15;
            const double base = start + (end - start) / (1 + std::exp(-(x - 0.5) * 14));
            const double hump = barrier * std::exp(-std::pow((x - 0.5) / 0.14, 2));
            const QPointF pt(o.x() + 8 + x * (w - 8), o.y() - h * (base + hump));
            if (i == 0)
                p.moveTo(pt);
            else
                p.lineTo(pt);
        }
        return p;
    };
    art::Art without, with;
    without.stroke(profile(0.5), palette::muted, 2);
    with.stroke(profile(0.22), palette::good, 2.2);
    Obj a = s.put(without, {}, Props);
    Obj b = s.put(with, {}, Props);
    Obj la = putText(s, "без катализатора", text::plain(11), {o.x() + w * 0.56, o.y() - h - 4},
                     text::Align::Left, palette::muted, Props);
    Obj lb = putText(s, "с катализатором", text::bold(11), {o.x() + 10, o.y() - h * 0.45 + 7},
                     text::Align::Left, palette::good, Props);
    putText(s, "E_a", text::bold(13), {o.x() + 14, o.y() - h * 0.9}, text::Align::Left,
            palette::ink, Props);
    for (Obj obj : {a, la}) appear(s, obj, 0.6);
    s.wait(1.0);
    for (Obj obj : {b, lb}) appear(s, obj, 0.6);
    s.setNow(keep);
}

void ratePlot(Scene& s, QPointF at, QSizeF size) {
    const int keep = s.now();
    s.put(glass::panel(at.x(), at.y(), size.width(), size.height(), palette::panel,
                       palette::panelLine),
          {}, Furniture);
    const QPointF o = at + QPointF(22, size.height() - 30);
    const double w = size.width() - 44, h = size.height() - 58;
    axes(s, o, w, h, "°C", "v");
    const int temps[3] = {25, 35, 45};
    QPointF last;
    for (int i = 0; i < 3; ++i) {
        const QPointF p(o.x() + w * (0.12 + 0.3 * i), o.y() - h * (1 << i) / 4.4);
        putText(s, QString::number(temps[i]), text::plain(11), {p.x(), o.y() + 3},
                text::Align::Center, palette::muted, Props);
        art::Art dot;
        dot.fill(art::circle(p, 4), palette::action);
        if (i > 0) dot.stroke(art::line(last, p), palette::action, 1.6);
        Obj d = s.put(dot, {}, Props);
        s.setNow(keep + s.frames(0.4 + 0.9 * i));
        appear(s, d, 0.5);
        s.setNow(keep);
        last = p;
    }
}

}  // namespace insets
