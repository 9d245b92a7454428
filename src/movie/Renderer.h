#pragma once

// Draws a timeline's display list with QPainter (no widgets).
//
// Shapes are turned into painter paths once per character (ShapeGeometry.h, kept in the
// Character's render cache). Colour transforms compose through sprites; ClipDepth masks clip the
// depths above them.

#include <QImage>
#include <QTransform>

#include "movie/ShapeGeometry.h"
#include "swf/Timeline.h"

class QPainter;

namespace swf {

// The transform from stage twips to a target rectangle, scale mode "ShowAll": the whole stage as
// large as fits, aspect ratio kept, centred.
QTransform stageTransform(const Rect& frameSize, const QRectF& target);

// Fills `target` with the stage colour and draws the current frame into it ("ShowAll").
void renderStage(QPainter& p, const Timeline& timeline, const QRectF& target,
                 bool antialias = true);

// The current frame as an opaque image of the given size (the stage size when empty).
QImage renderFrame(const Timeline& timeline, QSize size = QSize(), bool antialias = true);

// A stage size in whole pixels (at least 1 × 1).
QSize stageSizePx(const Header& h);

}  // namespace swf
