#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <utility>
#include <vector>

class QPainter;

// A drawing that becomes one shape character of a movie (or is painted into a picture):
// outlines with their fill and stroke, painted in order, later parts above earlier ones.
namespace art {

struct Paint {
    enum Kind { None, Solid, Linear, Radial };
    Kind kind = None;
    QColor color;      // Solid
    QPointF from, to;  // Linear: the gradient line; Radial: centre, edge
    std::vector<std::pair<double, QColor>> stops;  // Linear and Radial, positions 0..1

    static Paint none() { return {}; }
    static Paint solid(QColor c) { return {Solid, c, {}, {}, {}}; }
    static Paint linear(QPointF from, QPointF to, std::vector<std::pair<double, QColor>> stops) {
        return {Linear, {}, from, to, std::move(stops)};
    }
    static Paint radial(QPointF centre, double radius,
                        std::vector<std::pair<double, QColor>> stops) {
        return {Radial, {}, centre, centre + QPointF(radius, 0), std::move(stops)};
    }
    bool isNone() const { return kind == None; }
};

struct Part {
    QPainterPath path;
    Paint fill;
    QColor lineColor;
    double lineWidth = 0;  // pixels; 0: no stroke
};

class Art {
public:
    Art& fill(const QPainterPath& path, const Paint& paint);
    Art& fill(const QPainterPath& path, QColor color) { return fill(path, Paint::solid(color)); }
    Art& stroke(const QPainterPath& path, QColor color, double width);
    Art& fillStroke(const QPainterPath& path, const Paint& paint, QColor line, double width);
    Art& add(const Art& other);
    Art translated(QPointF offset) const;

    const std::vector<Part>& parts() const { return parts_; }
    bool empty() const { return parts_.empty(); }
    QRectF bounds() const;

private:
    std::vector<Part> parts_;
};

// Paints the drawing with QPainter (pictures and previews). A colour map, when given, is
// applied to every paint colour, as a movie's colour transform would be.
using ColorMap = QColor (*)(const QColor&, const void* context);
void paint(QPainter& painter, const Art& art, ColorMap map = nullptr,
           const void* context = nullptr);

// Common outlines.
QPainterPath rect(double x, double y, double w, double h);
QPainterPath roundRect(double x, double y, double w, double h, double radius);
QPainterPath ellipse(QPointF centre, double rx, double ry);
QPainterPath circle(QPointF centre, double r);
QPainterPath line(QPointF a, QPointF b);
QPainterPath polyline(std::initializer_list<QPointF> points, bool closed = false);

}  // namespace art
