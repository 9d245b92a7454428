#include "Art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <cmath>

namespace art {

Art& Art::fill(const QPainterPath& path, const Paint& paint) {
    parts_.push_back({path, paint, {}, 0});
    return *this;
}

Art& Art::stroke(const QPainterPath& path, QColor color, double width) {
    parts_.push_back({path, Paint::none(), color, width});
    return *this;
}

Art& Art::fillStroke(const QPainterPath& path, const Paint& paint, QColor line, double width) {
    parts_.push_back({path, paint, line, width});
    return *this;
}

Art& Art::add(const Art& other) {
    parts_.insert(parts_.end(), other.parts_.begin(), other.parts_.end());
    return *this;
}

Art Art::translated(QPointF offset) const {
    Art out = *this;
    for (Part& p : out.parts_) {
        p.path.translate(offset);
        p.fill.from += offset;
        p.fill.to += offset;
    }
    return out;
}

QRectF Art::bounds() const {
    QRectF r;
    for (const Part& p : parts_) {
        const double grow = p.lineWidth / 2;
        r |= p.path.boundingRect().adjusted(-grow, -grow, grow, grow);
    }
    return r;
}

namespace {
QColor mapped(const QColor& c, ColorMap map, const void* context) {
    return map ? map(c, context) : c;
}

QBrush brushFor(const Paint& paint, ColorMap map, const void* context) {
    switch (paint.kind) {
        case Paint::None:
            return Qt::NoBrush;
        case Paint::Solid:
            return QBrush(mapped(paint.color, map, context));
        case Paint::Linear: {
            QLinearGradient g(paint.from, paint.to);
            for (const auto& [at, c] : paint.stops) g.setColorAt(at, mapped(c, map, context));
            return QBrush(g);
        }
        case Paint::Radial: {
            const QPointF d = paint.to - paint.from;
            QRadialGradient g(paint.from, std::hypot(d.x(), d.y()));
            for (const auto& [at, c] : paint.stops) g.setColorAt(at, mapped(c, map, context));
            return QBrush(g);
        }
    }
    return Qt::NoBrush;
}
}  // namespace

void paint(QPainter& painter, const Art& art, ColorMap map, const void* context) {
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Part& p : art.parts()) {
        painter.setBrush(brushFor(p.fill, map, context));
        if (p.lineWidth > 0) {
            QPen pen(mapped(p.lineColor, map, context), p.lineWidth);
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
            painter.setPen(pen);
        } else {
            painter.setPen(Qt::NoPen);
        }
        painter.drawPath(p.path);
    }
}

QPainterPath rect(double x, double y, double w, double h) {
    QPainterPath p;
    p.addRect(x, y, w, h);
    return p;
}

QPainterPath roundRect(double x, double y, double w, double h, double radius) {
    QPainterPath p;
    p.addRoundedRect(x, y, w, h, radius, radius);
    return p;
}

QPainterPath ellipse(QPointF centre, double rx, double ry) {
    QPainterPath p;
    p.addEllipse(centre, rx, ry);
    return p;
}

QPainterPath circle(QPointF centre, double r) {
    return ellipse(centre, r, r);
}

QPainterPath line(QPointF a, QPointF b) {
    QPainterPath p(a);
    p.lineTo(b);
    return p;
}

QPainterPath polyline(std::initializer_list<QPointF> points, bool closed) {
    QPainterPath p;
    bool first = true;
    for (const QPointF& pt : points) {
        if (first)
            p.moveTo(pt);
        else
            p.lineTo(pt);
        first = false;
    }
    if (closed) p.closeSubpath();
    return p;
}

}  // namespace art
