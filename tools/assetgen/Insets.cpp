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
          double size = 12, bool xLabelBelow = false) {
    art::Art a;
    a.add(glass::arrow(o, o + QPointF(w + 12, 0), 1.4, palette::muted));
    a.add(glass::arrow(o, o - QPointF(0, h + 10), 1.4, palette::muted));
    s.put(a, {}, Props);
    // A large label sits above the axis's end, clear of the scale's numbers below it.
    // A label asked below the axis stays there, where no curve runs.
    const QPointF xLabelAt =
        size > 12 && !xLabelBelow ? QPointF(w + 12, -size - 6) : QPointF(w + 12, 4);
    putText(s, xLabel, text::plain(size), o + xLabelAt, text::Align::Right, palette::muted, Props,
            palette::panel);
    putText(s, yLabel, text::plain(size), o + QPointF(6, -h - size), text::Align::Left,
            palette::muted, Props, palette::panel);
}
}  // namespace

void energyDistribution(Scene& s, QPointF at) {
    const int keep = s.now();
    const int first = s.objectCount();
    s.put(glass::panel(at.x(), at.y(), panelW, panelH, palette::panel, palette::panelLine), {},
          Furniture);
    const QPointF o = at + QPointF(16, panelH - 24);
    const double w = 200, h = 88, ea = 0.62;
    // The cooler curve's top, kept below the axis label.
    const double peak = share(0.5 * 0.16, 0.16) * 1.22;
    axes(s, o, w, h, "энергия", "доля молекул", 13, true);
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
    // Eₐ is a value of energy: it is marked on the energy axis under its line, as a textbook
    // marks it, far from the legend in the top corner.
    putText(s, "E_a", text::bold(13), {o.x() + ea * w, o.y() + 3}, text::Align::Center,
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
    swatch1.fill(text::at("25 °C", text::bold(13), legend + QPointF(20, 1)), cool);
    swatch2.fill(text::at("45 °C", text::bold(13), legend + QPointF(20, 19)), warm);
    text::noteInk("25 °C", text::bold(13), cool, palette::panel);
    text::noteInk("45 °C", text::bold(13), warm, palette::panel);
    Obj l1 = s.put(swatch1, {}, Props);
    Obj l2 = s.put(swatch2, {}, Props);
    for (Obj obj : {c1, l1}) appear(s, obj, 0.6);
    s.wait(1.0);
    for (Obj obj : {c2, l2}) appear(s, obj, 0.6);
    s.wait(0.8);
    appear(s, shaded, 0.8);
    // The whole inset fades in where it is put; the later curve, its legend and the shade wait
    // unseen for their turn.
    s.setNow(keep);
    for (int i = first; i < s.objectCount(); ++i) {
        const Obj o{i};
        if (i == c2.index || i == l2.index || i == shaded.index)
            s.setAlpha(o, keep, 0);
        else
            appear(s, o, 0.5);
    }
}

void catalystProfile(Scene& s, QPointF at, QSizeF size, const QString& title) {
    const int keep = s.now();
    s.put(glass::panel(at.x(), at.y(), size.width(), size.height(), palette::panel,
                       palette::panelLine),
          {}, Furniture);
    // The title on its own line at the top, the plot below it.
    Obj heading = putText(s, title, text::bold(15), at + QPointF(14, 10), text::Align::Left,
                          palette::accent, Props, palette::panel);
    const QPointF o = at + QPointF(18, size.height() - 30);
    const double w = size.width() - 58, h = size.height() - 30 - 49;
    axes(s, o, w, h, "ход реакции", "энергия", 13, true);
    // Reactants' level, products' level, and a barrier between them.
    const double reactants = 0.22, products = 0.06;
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
    const double high = 0.72, low = 0.4;
    const QColor withColor = palette::good, withoutColor = palette::muted;
    art::Art without, with;
    without.stroke(profile(high), withoutColor, 2.2);
    with.stroke(profile(low), withColor, 2.4);
    Obj a = s.put(without, {}, Props);
    Obj b = s.put(with, {}, Props);
    // Eₐ: from the reactants' level up to the top of a barrier, a double-headed arrow with heads
    // large enough to be seen at 1x; dashed lines carry both levels across to it.
    auto energyArrow = [&](double x, double top, QColor c) {
        art::Art e;
        const QPointF from = point(x, reactants), to = point(x, top);
        const double head = 8, half = 4.5;
        e.stroke(art::line(from - QPointF(0, head - 1), to + QPointF(0, head - 1)), c, 1.8);
        QPainterPath heads;
        heads.moveTo(to);
        heads.lineTo(to + QPointF(-half, head));
        heads.lineTo(to + QPointF(half, head));
        heads.closeSubpath();
        heads.moveTo(from);
        heads.lineTo(from + QPointF(-half, -head));
        heads.lineTo(from + QPointF(half, -head));
        heads.closeSubpath();
        e.fill(heads, c);
        QPainterPath level;
        auto dashed = [&](double x0, double x1, double y) {
            const double step = x1 > x0 ? 0.03 : -0.03;
            for (double t = x0; step > 0 ? t < x1 - 0.005 : t > x1 + 0.005; t += step) {
                level.moveTo(point(t, y));
                level.lineTo(
                    point(step > 0 ? std::min(t + 0.015, x1) : std::max(t - 0.015, x1), y));
            }
        };
        dashed(0.1, x - 0.012, reactants);
        dashed(0.5, x + (x > 0.5 ? -0.012 : 0.012), top);
        e.stroke(level, c, 1.1);
        return e;
    };
    const double peakHigh = height(0.5, high), peakLow = height(0.5, low);
    // Eₐ to the left of the barrier, Eₐ′ to the right of it, each with its label beside it on
    // the open side.
    const double xHigh = 0.27, xLow = 0.73;
    Obj ea = s.put(energyArrow(xHigh, peakHigh, palette::ink), {}, Props);
    Obj eaLow = s.put(energyArrow(xLow, peakLow, withColor), {}, Props);
    const text::Style labelStyle = text::bold(16);
    const QPointF highMid = point(xHigh, (reactants + peakHigh) / 2);
    const QPointF lowMid = point(xLow, (reactants + peakLow) / 2);
    Obj eaLabel = putText(s, "E_a", labelStyle, {highMid.x() - 8, highMid.y() - 11},
                          text::Align::Right, palette::ink, Props, palette::panel);
    Obj eaLowLabel = putText(s, "E_a′", labelStyle, {lowMid.x() + 8, lowMid.y() - 11},
                             text::Align::Left, withColor, Props, palette::panel);
    // A legend in the top right corner, clear of both barriers.
    const QPointF legend(o.x() + w * 0.66, o.y() - h - 4);
    art::Art swatchWithout, swatchWith;
    swatchWithout.stroke(art::line(legend + QPointF(0, 9), legend + QPointF(22, 9)), withoutColor,
                         2.2);
    swatchWith.stroke(art::line(legend + QPointF(0, 29), legend + QPointF(22, 29)), withColor, 2.4);
    Obj sa = s.put(swatchWithout, {}, Props);
    Obj sb = s.put(swatchWith, {}, Props);
    Obj la = putText(s, "без катализатора", text::plain(13), legend + QPointF(28, 1),
                     text::Align::Left, palette::ink, Props, palette::panel);
    Obj lb = putText(s, "с катализатором", text::bold(13), legend + QPointF(28, 21),
                     text::Align::Left, withColor, Props, palette::panel);
    appear(s, heading, 0.6);
    for (Obj obj : {a, sa, la, ea, eaLabel}) appear(s, obj, 0.6);
    s.wait(1.0);
    for (Obj obj : {b, sb, lb, eaLow, eaLowLabel}) appear(s, obj, 0.6);
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
        const QPointF p(o.x() + w * (0.12 + 0.3 * i), o.y() - h * (1 << i) / 5.0);
        putText(s, QString::number(temps[i]), text::plain(13), {p.x(), o.y() + 3},
                text::Align::Center, palette::muted, Props, palette::panel);
        art::Art dot;
        dot.fill(art::circle(p, 4), palette::action);
        if (i > 0) dot.stroke(art::line(last, p), palette::action, 1.6);
        Obj d = s.put(dot, {}, Props);
        s.setAlpha(d, keep, 0);  // unseen until its turn
        s.setNow(keep + s.frames(0.4 + 0.9 * i));
        appear(s, d, 0.5);
        s.setNow(keep);
        last = p;
    }
}

}  // namespace insets
