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

void axes(Scene& s, QPointF o, double w, double h, const QString& xLabel, const QString& yLabel,
          double size = 12) {
    art::Art a;
    a.add(glass::arrow(o, o + QPointF(w + 12, 0), 1.4, palette::muted));
    a.add(glass::arrow(o, o - QPointF(0, h + 10), 1.4, palette::muted));
    s.put(a, {}, Props);
    // A large label sits above the axis's end, clear of the scale's numbers below it.
    const QPointF xLabelAt = size > 12 ? QPointF(w + 12, -size - 6) : QPointF(w + 12, 4);
    putText(s, xLabel, text::plain(size), o + xLabelAt, text::Align::Right, palette::muted, Props,
            palette::panel);
    putText(s, yLabel, text::plain(size), o + QPointF(6, -h - size), text::Align::Left,
            palette::muted, Props, palette::panel);
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
            palette::ink, Props, palette::panel);
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
    text::noteInk("25 °C", text::bold(12), cool, palette::panel);
    text::noteInk("45 °C", text::bold(12), warm, palette::panel);
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
    // Wider than the other insets, so the two Eₐ arrows and their labels stand apart.
    const double panelWide = 290;
    s.put(glass::panel(at.x(), at.y(), panelWide, panelH, palette::panel, palette::panelLine), {},
          Furniture);
    const QPointF o = at + QPointF(16, panelH - 24);
    const double w = panelWide - 50, h = 88;
    axes(s, o, w, h, "ход реакции", "энергия");
    // Reactants' level, products' level, and a barrier between them.
    const double reactants = 0.3, products = 0.08;
    auto height = [&](double x, double barrier) {
        const double base = reactants + (products - reactants) / (1 + std::exp(-(x - 0.5) * 14));
        return base + barrier * std::exp(-std::pow((x - 0.5) / 0.14, 2));
    };
    auto point = [&](double x, double e) {
        return QPointF(o.x() + 8 + x * (w - 8), o.y() - h * e);
    };
    auto profile = [&](double barrier) {
        QPainterPath p;
        for (int i = 0; i <= 80; ++i) {
            const double x = i / 80.0;
            if (i == 0)
                p.moveTo(point(x, height(x, barrier)));
            else
                p.lineTo(point(x, height(x, barrier)));
        }
        return p;
    };
    const double high = 0.58, low = 0.34;
    art::Art without, with;
    without.stroke(profile(high), palette::muted, 2);
    with.stroke(profile(low), palette::good, 2.2);
    Obj a = s.put(without, {}, Props);
    Obj b = s.put(with, {}, Props);
    // Eₐ: from the reactants' level up to the top of each barrier, a double-headed arrow.
    auto energyArrow = [&](double x, double top, QColor c) {
        art::Art e;
        const QPointF from = point(x, reactants), to = point(x, top);
        e.add(glass::arrow(from, to, 1.2, c));
        e.add(glass::arrow(to, from, 1.2, c));
        // The reactants' level and the barrier's top, dashed across to the arrow.
        QPainterPath level;
        for (double t = 0.08; t < x - 0.01; t += 0.05) {
            level.moveTo(point(t, reactants));
            level.lineTo(point(std::min(t + 0.025, x), reactants));
        }
        for (double t = 0.5; t > x + 0.01; t -= 0.05) {
            level.moveTo(point(t, top));
            level.lineTo(point(std::max(t - 0.025, x), top));
        }
        e.stroke(level, c, 1);
        return e;
    };
    const double peakHigh = height(0.5, high), peakLow = height(0.5, low);
    Obj ea = s.put(energyArrow(0.2, peakHigh, palette::ink), {}, Props);
    Obj eaLow = s.put(energyArrow(0.5, peakLow, palette::good), {}, Props);
    const QPointF highMid = point(0.2, (reactants + peakHigh) / 2);
    // Under the lower barrier there is room for its label only below the arrow's foot.
    const QPointF lowFoot = point(0.5, reactants);
    Obj eaLabel = putText(s, "E_a", text::bold(13), {highMid.x() - 4, highMid.y() - 9},
                          text::Align::Right, palette::ink, Props, palette::panel);
    Obj eaLowLabel = putText(s, "E_a′", text::bold(13), {lowFoot.x(), lowFoot.y() + 1},
                             text::Align::Center, palette::good, Props, palette::panel);
    Obj la = putText(s, "без катализатора", text::plain(12), {o.x() + w * 0.58, o.y() - h - 4},
                     text::Align::Left, palette::muted, Props, palette::panel);
    Obj lb = putText(s, "с катализатором", text::bold(12), {o.x() + w * 0.64, o.y() - h * 0.58},
                     text::Align::Left, palette::good, Props, palette::panel);
    for (Obj obj : {a, la, ea, eaLabel}) appear(s, obj, 0.6);
    s.wait(1.0);
    for (Obj obj : {b, lb, eaLow, eaLowLabel}) appear(s, obj, 0.6);
    s.setNow(keep);
}

void ratePlot(Scene& s, QPointF at, QSizeF size) {
    const int keep = s.now();
    s.put(glass::panel(at.x(), at.y(), size.width(), size.height(), palette::panel,
                       palette::panelLine),
          {}, Furniture);
    const QPointF o = at + QPointF(22, size.height() - 30);
    const double w = size.width() - 44, h = size.height() - 58;
    // The axes named as Таблица 2 names them: T, °C and Vусл in 1/с.
    axes(s, o, w, h, "T, °C", "V_{усл}, 1/с", 14.5);
    const int temps[3] = {25, 35, 45};
    QPointF last;
    for (int i = 0; i < 3; ++i) {
        const QPointF p(o.x() + w * (0.12 + 0.3 * i), o.y() - h * (1 << i) / 4.4);
        putText(s, QString::number(temps[i]), text::plain(12), {p.x(), o.y() + 3},
                text::Align::Center, palette::muted, Props, palette::panel);
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
