// Fuzz target: everything the player does with a file: read, build the geometry of every shape
// (placed or not), play a few frames and draw each at a small size (fills, strokes, gradients,
// colour transforms, masks, kept images).
#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <cstdint>

#include "movie/Renderer.h"
#include "swf/SwfReader.h"
#include "swf/Timeline.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    swf::ReadResult r = swf::readSwf(bytes);
    if (!r.ok) return 0;
    for (const swf::Tag& t : r.movie.tags)
        if (const auto* s = std::get_if<swf::DefineShapeTag>(&t); s && s->shape)
            (void)swf::buildGeometry(*s->shape);
    swf::Timeline tl(std::move(r.movie), true, true);
    QImage img(48, 32, QImage::Format_ARGB32_Premultiplied);
    for (int i = 0; i < 4; ++i) {
        QPainter p(&img);
        swf::renderStage(p, tl, QRectF(0, 0, 48, 32));
        p.end();
        tl.tick();
    }
    return 0;
}
