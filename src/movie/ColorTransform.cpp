#include "movie/ColorTransform.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace swf {

namespace {

double toLinear(double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
double toSrgb(double c) {
    return c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1.0 / 2.4) - 0.055;
}

// The gradient as a 256-entry table: the first colour up to the
// first ratio, then each pair of records interpolated over the ratios not yet filled (so
// equal ratios make a hard edge and a ratio below an earlier one fills nothing), then the
// last colour to the end.
QGradientStops gradientStops(const Gradient& g, const ColorTransform& cx) {
    const size_t n = g.records.size();
    std::vector<QColor> colors(n);
    for (size_t i = 0; i < n; ++i) colors[i] = cx.apply(g.records[i].color);
    const bool linear = g.interpolation == InterpolateLinearRgb;
    QRgb table[256];
    int pos = 0;  // next entry to fill
    auto put = [&](int upTo, const QColor& c) {
        for (; pos <= upTo && pos < 256; ++pos) table[pos] = c.rgba();
    };
    put(g.records[0].ratio, colors[0]);
    for (size_t i = 0; i + 1 < n; ++i) {
        const int a = g.records[i].ratio, b = g.records[i + 1].ratio;
        if (b <= a) continue;
        const QColor& c0 = colors[i];
        const QColor& c1 = colors[i + 1];
        for (; pos <= b; ++pos) {
            const double t = double(pos - a) / double(b - a);
            auto mix = [&](int u, int v) {
                if (!linear) return u * (1 - t) + v * t;
                return 255.0 * toSrgb(toLinear(u / 255.0) * (1 - t) + toLinear(v / 255.0) * t);
            };
            const int r = std::clamp(int(std::lround(mix(c0.red(), c1.red()))), 0, 255);
            const int gg = std::clamp(int(std::lround(mix(c0.green(), c1.green()))), 0, 255);
            const int b2 = std::clamp(int(std::lround(mix(c0.blue(), c1.blue()))), 0, 255);
            const int al =
                std::clamp(int(std::lround(c0.alpha() * (1 - t) + c1.alpha() * t)), 0, 255);
            table[pos] = qRgba(r, gg, b2, al);
        }
    }
    put(255, colors[n - 1]);
    QGradientStops out;
    out.reserve(256);
    for (int i = 0; i < 256; ++i) out.append(QGradientStop(i / 255.0, QColor::fromRgba(table[i])));
    return out;
}

}  // namespace

ColorTransform opaqueMask() {
    ColorTransform x;
    x.m[3] = 0;
    x.a[3] = 255;
    x.identity = false;
    return x;
}

bool makeBrush(const FillStyle& f, const ColorTransform& cx, QBrush& out) {
    switch (f.type) {
        case FillSolid:
            out = QBrush(cx.apply(f.color));
            return true;
        case FillLinear:
        case FillRadial:
        case FillFocalRadial: {
            const auto& g = f.gradient;
            if (g.records.empty()) {
                out = QBrush(cx.apply(Rgba{0, 0, 0, 255}));
                return true;
            }
            if (g.records.size() == 1) {
                out = QBrush(cx.apply(g.records[0].color));
                return true;
            }
            QGradient::Spread spread = g.spread == SpreadReflect  ? QGradient::ReflectSpread
                                       : g.spread == SpreadRepeat ? QGradient::RepeatSpread
                                                                  : QGradient::PadSpread;
            const QGradientStops stops = gradientStops(g, cx);
            if (f.type == FillLinear) {
                QLinearGradient lg(-16384, 0, 16384, 0);
                lg.setSpread(spread);
                lg.setStops(stops);
                out = QBrush(lg);
            } else {
                const double focal =
                    f.type == FillFocalRadial ? std::clamp(g.focalPoint / 256.0, -0.99, 0.99) : 0.0;
                QRadialGradient rg(QPointF(0, 0), 16384, QPointF(focal * 16384, 0));
                rg.setSpread(spread);
                rg.setStops(stops);
                out = QBrush(rg);
            }
            const QTransform m = f.matrix.toQt();
            if (!m.isInvertible()) return false;
            out.setTransform(m);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace swf
