// Fuzz target: the SWF reader, the shape geometry builder and the timeline (placements,
// sprites, actions, loops and rewinds) on arbitrary bytes. Must never crash, hang or leak.
#include <QByteArray>
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
        if (const auto* s = std::get_if<swf::DefineShapeTag>(&t))
            (void)swf::buildGeometry(*s->shape);
    swf::Timeline tl(std::move(r.movie), true, true);
    for (int i = 0; i < 24; ++i) tl.tick();
    tl.gotoFrame(0);
    tl.tick();
    return 0;
}
