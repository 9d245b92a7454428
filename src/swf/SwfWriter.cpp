#include "swf/SwfWriter.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace swf {

SwfWriter::SwfWriter(int widthPx, int heightPx, double fps, int version) {
    movie_.header.version = std::uint8_t(std::clamp(version, 1, 255));
    movie_.header.frameSize = Rect{0, widthPx * 20, 0, heightPx * 20};
    movie_.header.frameRate = std::uint16_t(std::clamp(std::lround(fps * 256.0), 0L, 65535L));
}

void SwfWriter::setBackground(Rgba c) {
    c.a = 255;
    tags_.push_back(SetBackgroundColorTag{c});
}

void SwfWriter::fileAttributes(std::uint32_t flags) {
    tags_.push_back(FileAttributesTag{flags});
}

std::uint16_t SwfWriter::defineShape(const ShapeSpec& desc) {
    const std::uint16_t id = nextId_++;
    tags_.push_back(DefineShapeTag{std::make_shared<Shape>(buildShape(desc, id))});
    return id;
}

std::uint16_t SwfWriter::defineShape(const Shape& shape) {
    const std::uint16_t id = nextId_++;
    auto s = std::make_shared<Shape>(shape);
    s->id = id;
    tags_.push_back(DefineShapeTag{s});
    return id;
}

std::uint16_t SwfWriter::defineSprite(const SpriteBuilder& sprite) {
    const std::uint16_t id = nextId_++;
    auto sp = std::make_shared<Sprite>();
    sp->id = id;
    sp->frameCount = std::uint16_t(std::max(1, sprite.framesShown()));
    sp->tags = sprite.tags();
    sp->tags.push_back(EndTag{});
    tags_.push_back(DefineSpriteTag{sp});
    return id;
}

const Movie& SwfWriter::movie() {
    movie_.tags = tags_;
    if (finished_) movie_.tags.push_back(EndTag{});
    movie_.header.frameCount = std::uint16_t(std::max(1, frames_));
    return movie_;
}

QByteArray SwfWriter::finish() {
    finished_ = true;
    return writeMovie(movie());
}

}  // namespace swf
