#pragma once

// Draws a timeline's display list with QPainter (no widgets).
//
// Shapes are turned into painter paths once per character (ShapeGeometry.h, kept in the
// Character's render cache). Colour transforms compose through sprites; ClipDepth masks clip the
// depths above them.
//
// One frame's drawing has a budget: once the edges of the shapes drawn would pass
// kMaxEdgesDrawnPerFrame, the area they cover kMaxStageAreasPerFrame, or a mask would be the
// kMaxMaskLayersPerFrame + 1st, that object and every one drawn after it in the frame are left
// out, so that a crafted movie of many heavy or large objects costs a bounded time per frame.
// The laboratory's frames draw at most 7,033 edges over 2.4 stages and no mask; the
// heaviest test movie 56,605 edges and 3 masks.

#include <QImage>
#include <QTransform>

#include "movie/ShapeGeometry.h"
#include "swf/Timeline.h"

class QPainter;

namespace swf {

// Edges a frame may draw (counted for every shape drawn, kept as an image or not).
constexpr std::size_t kMaxEdgesDrawnPerFrame = 400000;
// The area the shapes of a frame may cover, in stages (the whole image drawn into), counted
// whether a shape is drawn as paths or as a kept image.
constexpr double kMaxStageAreasPerFrame = 32;
// Masks a frame may draw: each one composes two images the size of the whole stage.
constexpr int kMaxMaskLayersPerFrame = 16;

// What drawing one frame took.
struct FrameWork {
    int shapes = 0;         // shapes drawn
    std::size_t edges = 0;  // their edges
    double stageAreas = 0;  // the area they cover (their bounds within the image), in stages
    int maskLayers = 0;
    bool cut = false;  // a budget ran out: objects of the frame were left out
};

// The transform from stage twips to a target rectangle, scale mode "ShowAll": the whole stage as
// large as fits, aspect ratio kept, centred.
QTransform stageTransform(const Rect& frameSize, const QRectF& target);

// Fills `target` with the stage colour and draws the current frame into it ("ShowAll").
FrameWork renderStage(QPainter& p, const Timeline& timeline, const QRectF& target,
                      bool antialias = true);

// The current frame as an opaque image of the given size (the stage size when empty).
QImage renderFrame(const Timeline& timeline, QSize size = QSize(), bool antialias = true);

// A stage size in whole pixels (at least 1 × 1).
QSize stageSizePx(const Header& h);

}  // namespace swf
