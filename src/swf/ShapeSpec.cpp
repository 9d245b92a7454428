#include "swf/ShapeSpec.h"

#include <algorithm>
#include <cmath>

namespace swf {

// Sub-paths --------------------------------------------------------------------------------

SubPath& SubPath::lineTo(double x, double y) {
    segments.push_back(PathSegment{false, 0, 0, x, y});
    return *this;
}

SubPath& SubPath::curveTo(double cx, double cy, double x, double y) {
    segments.push_back(PathSegment{true, cx, cy, x, y});
    return *this;
}

SubPath& SubPath::close() {
    const double lx = segments.empty() ? x0 : segments.back().x;
    const double ly = segments.empty() ? y0 : segments.back().y;
    if (std::lround(lx) != std::lround(x0) || std::lround(ly) != std::lround(y0)) lineTo(x0, y0);
    return *this;
}

SubPath SubPath::rect(double x, double y, double w, double h, std::uint32_t fill1,
                      std::uint32_t line) {
    SubPath p(x, y, fill1, line);
    p.lineTo(x + w, y).lineTo(x + w, y + h).lineTo(x, y + h).lineTo(x, y);
    return p;
}

SubPath SubPath::ellipse(double cx, double cy, double rx, double ry, std::uint32_t fill1,
                         std::uint32_t line) {
    SubPath p(cx + rx, cy, fill1, line);
    const double k = 1.0 / std::cos(M_PI / 8.0);
    for (int i = 0; i < 8; ++i) {
        const double a1 = M_PI / 4.0 * (i + 1), am = M_PI / 4.0 * (i + 0.5);
        p.curveTo(cx + rx * k * std::cos(am), cy + ry * k * std::sin(am), cx + rx * std::cos(a1),
                  cy + ry * std::sin(a1));
    }
    p.segments.back().x = cx + rx;  // exactly closed
    p.segments.back().y = cy;
    return p;
}

SubPath SubPath::polygon(const std::vector<std::pair<double, double>>& pts, std::uint32_t fill1,
                         std::uint32_t line) {
    if (pts.empty()) return SubPath();
    SubPath p(pts[0].first, pts[0].second, fill1, line);
    for (size_t i = 1; i < pts.size(); ++i) p.lineTo(pts[i].first, pts[i].second);
    p.close();
    return p;
}

// Gradients -------------------------------------------------------------------------------

Matrix linearGradientMatrix(double x0, double y0, double x1, double y1) {
    const double a = (x1 - x0) / 32768.0, b = (y1 - y0) / 32768.0;
    return Matrix::fromValues(a, b, -b, a, (x0 + x1) / 2.0, (y0 + y1) / 2.0);
}

Matrix radialGradientMatrix(double cx, double cy, double rx, double ry, double rotationDeg) {
    const double t = rotationDeg * M_PI / 180.0;
    const double c = std::cos(t), s = std::sin(t);
    return Matrix::fromValues(c * rx / 16384.0, s * rx / 16384.0, -s * ry / 16384.0,
                              c * ry / 16384.0, cx, cy);
}

namespace {
FillStyle gradientFill(FillType type, const Matrix& m, std::vector<GradRecord> stops,
                       std::uint8_t spread) {
    FillStyle f;
    f.type = type;
    f.matrix = m;
    f.gradient.spread = spread;
    f.gradient.records = std::move(stops);
    return f;
}
}  // namespace

FillStyle linearGradient(double x0, double y0, double x1, double y1, std::vector<GradRecord> stops,
                         std::uint8_t spread) {
    return gradientFill(FillLinear, linearGradientMatrix(x0, y0, x1, y1), std::move(stops), spread);
}

FillStyle radialGradient(double cx, double cy, double r, std::vector<GradRecord> stops,
                         std::uint8_t spread) {
    return gradientFill(FillRadial, radialGradientMatrix(cx, cy, r, r), std::move(stops), spread);
}

FillStyle focalGradient(double cx, double cy, double r, double focal, std::vector<GradRecord> stops,
                        std::uint8_t spread) {
    FillStyle f = radialGradient(cx, cy, r, std::move(stops), spread);
    f.type = FillFocalRadial;
    f.gradient.focalPoint = std::int16_t(std::clamp(std::lround(focal * 256.0), -256L, 256L));
    return f;
}

// Shapes ----------------------------------------------------------------------------------

namespace {
bool needsLineStyle2(const LineStyle& l) {
    return l.startCap != CapRound || l.endCap != CapRound || l.join != JoinRound || l.hasFill ||
           l.noHScale || l.noVScale || l.pixelHinting || l.noClose;
}

struct Bounds {
    std::int64_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool any = false;
    void add(std::int64_t x, std::int64_t y) {
        if (!any) {
            x0 = x1 = x;
            y0 = y1 = y;
            any = true;
            return;
        }
        x0 = std::min(x0, x);
        x1 = std::max(x1, x);
        y0 = std::min(y0, y);
        y1 = std::max(y1, y);
    }
};

std::int64_t rnd(double v) {
    return std::llround(std::clamp(v, -1.0e9, 1.0e9));
}
}  // namespace

Shape buildShape(const ShapeSpec& desc, std::uint16_t id) {
    Shape s;
    s.id = id;
    int version = desc.version;
    if (version != 3 && version != 4) {
        version = desc.nonZeroWinding ? 4 : 3;
        for (const auto& l : desc.lines)
            if (needsLineStyle2(l)) version = 4;
    }
    s.version = std::uint8_t(version);
    if (version == 4) s.flags4 = desc.nonZeroWinding ? 0x04 : 0;
    s.styles.push_back(StyleSet{desc.fills, desc.lines});

    Bounds b;
    std::uint16_t maxWidth = 0;
    for (const auto& p : desc.paths) {
        ShapeRecord sc;
        sc.type = ShapeRecord::StyleChange;
        sc.hasMove = true;
        sc.hasFill0 = sc.hasFill1 = sc.hasLine = true;
        std::int64_t cx = rnd(p.x0), cy = rnd(p.y0);
        sc.moveX = std::int32_t(cx);
        sc.moveY = std::int32_t(cy);
        sc.fill0 = p.fill0;
        sc.fill1 = p.fill1;
        sc.line = p.line;
        s.records.push_back(sc);
        if (p.line >= 1 && p.line <= desc.lines.size())
            maxWidth = std::max(maxWidth, desc.lines[p.line - 1].width);
        b.add(cx, cy);
        double fx = p.x0, fy = p.y0;  // unrounded current point
        for (const auto& seg : p.segments) {
            if (!seg.curve) {
                const std::int64_t tx = rnd(seg.x), ty = rnd(seg.y);
                const std::int64_t k =
                    std::max(std::abs(tx - cx), std::abs(ty - cy)) / kMaxEdgeDelta + 1;
                for (std::int64_t i = 1; i <= k; ++i) {
                    const std::int64_t nx =
                        i == k ? tx : rnd(fx + (seg.x - fx) * double(i) / double(k));
                    const std::int64_t ny =
                        i == k ? ty : rnd(fy + (seg.y - fy) * double(i) / double(k));
                    s.records.push_back(
                        ShapeRecord::straight(std::int32_t(nx - cx), std::int32_t(ny - cy)));
                    cx = nx;
                    cy = ny;
                    b.add(cx, cy);
                }
            } else {
                // Split into k equal-parameter pieces so that every delta fits.
                const double span = std::max({std::abs(seg.cx - fx), std::abs(seg.cy - fy),
                                              std::abs(seg.x - seg.cx), std::abs(seg.y - seg.cy)});
                const int k = int(std::min(1024.0, std::floor(span / (kMaxEdgeDelta - 4)) + 1));
                auto at = [&](double t, double& x, double& y) {
                    const double u = 1 - t;
                    x = u * u * fx + 2 * u * t * seg.cx + t * t * seg.x;
                    y = u * u * fy + 2 * u * t * seg.cy + t * t * seg.y;
                };
                for (int i = 0; i < k; ++i) {
                    const double t0 = double(i) / k, t1 = double(i + 1) / k;
                    double ex, ey;
                    at(t1, ex, ey);
                    if (i == k - 1) {
                        ex = seg.x;
                        ey = seg.y;
                    }
                    // control point of the piece: P(t0) + (t1 - t0) * P'(t0) / 2
                    const double dt = t1 - t0;
                    const double dxdt = 2 * (1 - t0) * (seg.cx - fx) + 2 * t0 * (seg.x - seg.cx);
                    const double dydt = 2 * (1 - t0) * (seg.cy - fy) + 2 * t0 * (seg.y - seg.cy);
                    double sx, sy;
                    at(t0, sx, sy);
                    const std::int64_t ccx = rnd(sx + dt * dxdt / 2), ccy = rnd(sy + dt * dydt / 2);
                    const std::int64_t ax = rnd(ex), ay = rnd(ey);
                    s.records.push_back(
                        ShapeRecord::curve(std::int32_t(ccx - cx), std::int32_t(ccy - cy),
                                           std::int32_t(ax - ccx), std::int32_t(ay - ccy)));
                    b.add(ccx, ccy);
                    b.add(ax, ay);
                    cx = ax;
                    cy = ay;
                }
            }
            fx = seg.x;
            fy = seg.y;
        }
    }
    if (b.any) {
        s.edgeBounds =
            Rect{std::int32_t(b.x0), std::int32_t(b.x1), std::int32_t(b.y0), std::int32_t(b.y1)};
        const std::int32_t h = (maxWidth + 1) / 2;
        s.bounds = Rect{s.edgeBounds.xmin - h, s.edgeBounds.xmax + h, s.edgeBounds.ymin - h,
                        s.edgeBounds.ymax + h};
        if (version != 4) s.edgeBounds = Rect();  // only DefineShape4 stores it
    }
    return s;
}

}  // namespace swf
