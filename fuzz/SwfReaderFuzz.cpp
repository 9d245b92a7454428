// Fuzz target: the SWF reader and the timeline (placements, sprites, actions, loops and
// rewinds) on arbitrary bytes, with the file library alone. Must never crash, hang or leak.
#include <QByteArray>
#include <cstdint>

#include "swf/SwfReader.h"
#include "swf/Timeline.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    swf::ReadResult r = swf::readSwf(bytes);
    if (!r.ok) return 0;
    swf::Timeline tl(std::move(r.movie), true, true);
    for (int i = 0; i < 24; ++i) tl.tick();
    tl.gotoFrame(0);
    tl.tick();
    return 0;
}
