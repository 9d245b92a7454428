#pragma once

#include <QPainterPath>
#include <vector>

#include "Art.h"
#include "swf/SwfTypes.h"

// Turns drawings into SWF shape characters: cubic curves become quadratic ones, coordinates
// whole twips, each part of the drawing its own style layer so parts paint in order.
namespace shapes {

// The largest distance, in pixels, between a cubic curve and its quadratic stand-ins.
inline constexpr double curveTolerance = 0.08;

struct Quad {
    QPointF control, anchor;
};
// Quadratic curves that follow the cubic from p0 through p1, p2 to p3.
std::vector<Quad> cubicToQuads(QPointF p0, QPointF p1, QPointF p2, QPointF p3,
                               double tolerance = curveTolerance);

swf::Shape build(const art::Art& art, std::uint16_t id);

swf::Rgba rgba(const QColor& c);

}  // namespace shapes
