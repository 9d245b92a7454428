#include "ShapeBuilder.h"

#include <algorithm>
#include <cmath>

namespace shapes {
namespace {

std::int32_t twips(double px) {
    return std::int32_t(std::lround(px * 20.0));
}

swf::ShapeRecord straight(std::int32_t dx, std::int32_t dy) {
    swf::ShapeRecord r;
    r.type = swf::ShapeRecord::StraightEdge;
    r.dx = dx;
    r.dy = dy;
    return r;
}

void split(QPointF p0, QPointF p1, QPointF p2, QPointF p3, double tolerance, int depth,
           std::vector<Quad>& out) {
    const QPointF d = p3 - 3 * p2 + 3 * p1 - p0;
    const double error = std::sqrt(3.0) / 36.0 * std::hypot(d.x(), d.y());
    if (error <= tolerance || depth >= 10) {
        out.push_back({(3 * (p1 + p2) - (p0 + p3)) / 4, p3});
        return;
    }
    const QPointF a = (p0 + p1) / 2, b = (p1 + p2) / 2, c = (p2 + p3) / 2;
    const QPointF ab = (a + b) / 2, bc = (b + c) / 2, mid = (ab + bc) / 2;
    split(p0, a, ab, mid, tolerance, depth + 1, out);
    split(mid, bc, c, p3, tolerance, depth + 1, out);
}

swf::Gradient gradientOf(const art::Paint& paint) {
    swf::Gradient g;
    std::vector<std::pair<double, QColor>> stops = paint.stops;
    std::stable_sort(stops.begin(), stops.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    if (stops.size() > 15) stops.resize(15);
    for (const auto& [at, c] : stops)
        g.records.push_back({std::uint8_t(std::clamp(std::lround(at * 255), 0L, 255L)), rgba(c)});
    return g;
}

swf::FillStyle fillOf(const art::Paint& paint) {
    if (paint.kind == art::Paint::Solid) return swf::FillStyle::solid(rgba(paint.color));
    swf::FillStyle f;
    f.gradient = gradientOf(paint);
    const QPointF from = paint.from * 20.0, to = paint.to * 20.0;
    const QPointF d = to - from;
    const double length = std::max(1.0, std::hypot(d.x(), d.y()));
    if (paint.kind == art::Paint::Linear) {
        f.type = swf::FillLinear;
        const double s = length / 32768.0;
        const double c = d.x() / length, sn = d.y() / length;
        const QPointF mid = (from + to) / 2;
        f.matrix = swf::Matrix::fromValues(s * c, s * sn, -s * sn, s * c, mid.x(), mid.y());
    } else {
        f.type = swf::FillRadial;
        const double s = length / 16384.0;
        f.matrix = swf::Matrix::fromValues(s, 0, 0, s, from.x(), from.y());
    }
    return f;
}

class EdgeWriter {
public:
    explicit EdgeWriter(std::vector<swf::ShapeRecord>& records) : records_(records) {}

    void moveTo(QPointF p, std::uint32_t fill, std::uint32_t line) {
        swf::ShapeRecord r;
        r.hasMove = r.hasFill0 = r.hasFill1 = r.hasLine = true;
        r.moveX = twips(p.x());
        r.moveY = twips(p.y());
        r.fill0 = 0;
        r.fill1 = fill;
        r.line = line;
        records_.push_back(r);
        x_ = r.moveX;
        y_ = r.moveY;
        startX_ = x_;
        startY_ = y_;
        exact_ = p;
    }
    void lineTo(QPointF p) {
        const std::int32_t nx = twips(p.x()), ny = twips(p.y());
        if (nx != x_ || ny != y_) records_.push_back(straight(nx - x_, ny - y_));
        x_ = nx;
        y_ = ny;
        exact_ = p;
    }
    void cubicTo(QPointF c1, QPointF c2, QPointF p) {
        for (const Quad& q : cubicToQuads(exact_, c1, c2, p)) {
            const std::int32_t cx = twips(q.control.x()), cy = twips(q.control.y());
            const std::int32_t ax = twips(q.anchor.x()), ay = twips(q.anchor.y());
            if (ax == x_ && ay == y_ && cx == x_ && cy == y_) continue;
            if ((cx == x_ && cy == y_) || (cx == ax && cy == ay)) {
                records_.push_back(straight(ax - x_, ay - y_));
            } else {
                records_.push_back(swf::ShapeRecord::curve(cx - x_, cy - y_, ax - cx, ay - cy));
            }
            x_ = ax;
            y_ = ay;
        }
        exact_ = p;
    }
    void close() {
        if (x_ != startX_ || y_ != startY_)
            records_.push_back(straight(startX_ - x_, startY_ - y_));
        x_ = startX_;
        y_ = startY_;
    }

private:
    std::vector<swf::ShapeRecord>& records_;
    std::int32_t x_ = 0, y_ = 0, startX_ = 0, startY_ = 0;
    QPointF exact_;
};

}  // namespace

swf::Rgba rgba(const QColor& c) {
    return {std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue()),
            std::uint8_t(c.alpha())};
}

std::vector<Quad> cubicToQuads(QPointF p0, QPointF p1, QPointF p2, QPointF p3, double tolerance) {
    std::vector<Quad> out;
    split(p0, p1, p2, p3, tolerance, 0, out);
    return out;
}

swf::Shape build(const art::Art& drawing, std::uint16_t id) {
    swf::Shape shape;
    shape.id = id;
    shape.version = 3;
    for (const art::Part& part : drawing.parts())
        if (!part.fill.isNone() && part.path.fillRule() == Qt::WindingFill) {
            shape.version = 4;
            shape.flags4 = 0x04;
        }
    const QRectF b = drawing.bounds();
    shape.bounds = {twips(b.left()) - 20, twips(b.right()) + 20, twips(b.top()) - 20,
                    twips(b.bottom()) + 20};
    shape.edgeBounds = shape.bounds;

    EdgeWriter edges(shape.records);
    for (const art::Part& part : drawing.parts()) {
        swf::StyleSet styles;
        if (!part.fill.isNone()) styles.fills.push_back(fillOf(part.fill));
        if (part.lineWidth > 0)
            styles.lines.push_back(swf::LineStyle::make(
                std::uint16_t(std::max<long>(1, std::lround(part.lineWidth * 20))),
                rgba(part.lineColor)));
        if (shape.styles.empty()) {
            shape.styles.push_back(styles);
        } else {
            shape.styles.push_back(styles);
            swf::ShapeRecord r;
            r.newStyles = true;
            r.styleSet = std::uint32_t(shape.styles.size() - 1);
            shape.records.push_back(r);
        }
        const std::uint32_t fill = styles.fills.empty() ? 0 : 1;
        const std::uint32_t line = styles.lines.empty() ? 0 : 1;
        const QPainterPath& path = part.path;
        bool open = false;
        for (int i = 0; i < path.elementCount(); ++i) {
            const QPainterPath::Element e = path.elementAt(i);
            switch (e.type) {
                case QPainterPath::MoveToElement:
                    if (open && fill) edges.close();
                    edges.moveTo(e, fill, line);
                    open = true;
                    break;
                case QPainterPath::LineToElement:
                    edges.lineTo(e);
                    break;
                case QPainterPath::CurveToElement: {
                    const QPointF c2 = path.elementAt(i + 1);
                    const QPointF end = path.elementAt(i + 2);
                    edges.cubicTo(e, c2, end);
                    i += 2;
                    break;
                }
                case QPainterPath::CurveToDataElement:
                    break;
            }
        }
        if (open && fill) edges.close();
    }
    if (shape.styles.empty()) shape.styles.emplace_back();
    return shape;
}

}  // namespace shapes
