#pragma once

// Movies made to exhaust a player, written the way an attacker would (a compressed body that
// inflates a thousandfold, a shape of millions of tiny edges, thousands of placements): the
// regression inputs of the player's limits (swf/Limits.h). The tests and the benchmarks build
// them in memory; each stays small while it is built, however much it asks for once read.

#include <zlib.h>

#include <QByteArray>
#include <cstdint>

#include "swf/BitWriter.h"
#include "swf/SwfWriter.h"
#include "swf/TagCode.h"

namespace crafted {

// A compressed movie assembled piece by piece: the body is deflated as it is appended, so a
// body of many megabytes never sits in memory.
class CompressedMovie {
public:
    // The movie header: a 100 x 50 pixel stage, 12 frames a second, `frames` in the header.
    explicit CompressedMovie(std::uint16_t frames = 1) {
        deflateInit(&zs_, 9);
        swf::BitWriter rect;
        rect.ub(5, 15);
        for (std::uint32_t v : {0u, 2000u, 0u, 1000u}) rect.ub(15, v);
        QByteArray header = rect.take();
        header.append(QByteArray("\x00\x0C", 2));  // 12.0 frames a second
        header.append(char(frames & 0xFF));
        header.append(char(frames >> 8));
        append(header);
    }
    ~CompressedMovie() { deflateEnd(&zs_); }
    CompressedMovie(const CompressedMovie&) = delete;
    CompressedMovie& operator=(const CompressedMovie&) = delete;

    void append(const QByteArray& bytes, qint64 times = 1) {
        for (qint64 i = 0; i < times; ++i) {
            zs_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData()));
            zs_.avail_in = uInt(bytes.size());
            length_ += std::uint64_t(bytes.size());
            pump(Z_NO_FLUSH);
        }
    }
    // A tag with its header (long form when its body needs it).
    void appendTag(swf::TagCode code, const QByteArray& body) {
        const auto c = std::uint32_t(code);
        QByteArray header;
        auto u16 = [&header](std::uint32_t v) {
            header.append(char(v & 0xFF));
            header.append(char((v >> 8) & 0xFF));
        };
        if (body.size() < 63) {
            u16((c << 6) | std::uint32_t(body.size()));
        } else {
            u16((c << 6) | 0x3F);
            u16(std::uint32_t(body.size()) & 0xFFFF);
            u16(std::uint32_t(body.size()) >> 16);
        }
        append(header + body);
    }
    // The file: "CWS", version 10, the true length of the body (with the 8-byte header).
    QByteArray finish() {
        pump(Z_FINISH);
        QByteArray file("CWS\x0A", 4);
        const std::uint64_t total = length_ + 8;
        for (int i = 0; i < 4; ++i) file.append(char((total >> (8 * i)) & 0xFF));
        return file + out_;
    }
    std::uint64_t inflatedLength() const { return length_ + 8; }

private:
    void pump(int flush) {
        char chunk[16384];
        do {
            zs_.next_out = reinterpret_cast<Bytef*>(chunk);
            zs_.avail_out = sizeof chunk;
            deflate(&zs_, flush);
            out_.append(chunk, qsizetype(sizeof chunk - zs_.avail_out));
        } while (zs_.avail_out == 0 || (flush == Z_FINISH && zs_.avail_in > 0));
    }

    z_stream zs_{};
    QByteArray out_;
    std::uint64_t length_ = 0;
};

inline const QByteArray showFrameTag("\x40\x00", 2);
inline const QByteArray endTag("\x00\x00", 2);

// Nothing but empty frames, compressed: about a thousand times smaller than it inflates to
// (`inflated` bytes, headers included; 62 MB make a 65 KB file).
inline QByteArray emptyFramesMovie(std::uint64_t inflated) {
    CompressedMovie m(0xFFFF);
    const std::uint64_t frames = (inflated - m.inflatedLength() - endTag.size()) / 2;
    // Appended in runs of a thousand frames: fewer calls into zlib.
    const QByteArray run = showFrameTag.repeated(1000);
    m.append(run, qint64(frames / 1000));
    m.append(showFrameTag, qint64(frames % 1000));
    m.append(endTag);
    return m.finish();
}

// `shapes` DefineShape3 of one solid fill each, whose outline is `edges` straight edges of one
// twip, back and forth (ten bits each in the file); the first is placed `placements` times on
// the stage and shown. Two million edges fit in a 32 KB file.
inline QByteArray manyEdgesMovie(int edges, int shapes = 1, int placements = 1) {
    CompressedMovie m(1);
    for (int id = 1; id <= shapes; ++id) {
        swf::BitWriter shape;
        shape.u16(std::uint32_t(id));
        shape.ub(5, 15);
        for (std::uint32_t v : {0u, 2000u, 0u, 1000u}) shape.ub(15, v);
        shape.align();
        shape.u8(1);  // one fill: solid red
        for (std::uint32_t byte : {0x00u, 0xFFu, 0x00u, 0x00u, 0xFFu}) shape.u8(byte);
        shape.u8(0);  // no line styles
        shape.ub(4, 1);
        shape.ub(4, 0);
        shape.ub(1, 0);  // style change: move to (100, 100), fill 1 on the right
        shape.ub(5, 0x05);
        shape.ub(5, 8);
        shape.sb(8, 100);
        shape.sb(8, 100);
        shape.ub(1, 1);
        for (int i = 0; i < edges; ++i) {
            shape.ub(2, 3);  // straight edge
            shape.ub(4, 0);  // two-bit deltas
            shape.ub(2, 0);  // horizontal
            shape.sb(2, i % 2 ? -1 : 1);
        }
        shape.ub(6, 0);  // end of the shape
        m.appendTag(swf::TagCode::DefineShape3, shape.take());
    }
    for (int depth = 1; depth <= placements; ++depth) {
        QByteArray place("\x02", 1);  // a character at an empty depth
        place.append(char(depth & 0xFF));
        place.append(char(depth >> 8));
        place.append(QByteArray("\x01\x00", 2));
        m.appendTag(swf::TagCode::PlaceObject2, place);
    }
    m.append(showFrameTag);
    m.append(endTag);
    return m.finish();
}

// One small square placed `placements` times at depths of their own, `perFrame` placements in a
// frame, then shown for `frames` frames in all (at 12 frames a second).
inline QByteArray manyPlacementsMovie(int placements, int perFrame, int frames) {
    swf::SwfWriter w(100, 50, 12);
    swf::ShapeSpec square;
    square.fills.push_back(swf::FillStyle::solid({200, 30, 30, 255}));
    square.paths.push_back(swf::SubPath::rect(0, 0, swf::px(4), swf::px(4), 1, 0));
    const auto id = w.defineShape(square);
    int shown = 0;
    for (int i = 0; i < placements; ++i) {
        w.placeObject(std::uint16_t(i + 1), id,
                      swf::Matrix::translate(swf::px(i % 96), swf::px((i / 96) % 46)));
        if ((i + 1) % perFrame == 0 || i + 1 == placements) {
            w.showFrame();
            ++shown;
        }
    }
    for (; shown < frames; ++shown) w.showFrame();
    return w.finish();
}

// `count` rectangles of a gradient, each over the whole stage, shown for `frames` frames.
inline QByteArray stageCoveringMovie(int count, int frames) {
    swf::SwfWriter w(100, 50, 12);
    swf::ShapeSpec cover;
    cover.fills.push_back(swf::linearGradient(0, 0, swf::px(100), 0,
                                              {{0, {255, 0, 0, 255}}, {255, {0, 0, 255, 255}}}));
    cover.paths.push_back(swf::SubPath::rect(0, 0, swf::px(100), swf::px(50), 1, 0));
    const auto id = w.defineShape(cover);
    for (int depth = 1; depth <= count; ++depth) w.placeObject(std::uint16_t(depth), id);
    for (int f = 0; f < frames; ++f) w.showFrame();
    return w.finish();
}

}  // namespace crafted
