#pragma once

// The SWF writer for the movie subset (SwfTypes.h).
//
// Library: lab_swf (link `lab_swf`; Qt Core, Qt Gui for its geometry types, and zlib; no
// widgets). Include as "swf/SwfWriter.h". The reader (SwfReader.h) reads everything written
// here back into the same structures (SwfTypes.h).
//
// Two levels:
//  - writeMovie(const swf::Movie&) (TagWriter.h): serialises a movie given tag by tag (exact
//    control).
//  - swf::SwfWriter: a builder for the asset generator. Example:
//
//        swf::SwfWriter w(705, 350, 24.0);        // stage in pixels, frames per second
//        w.setBackground({255, 255, 255});
//        swf::ShapeSpec s;
//        s.fills.push_back(swf::FillStyle::solid({200, 30, 30, 255}));
//        s.lines.push_back(swf::LineStyle::make(40, {0, 0, 0, 255}));   // 2 px, black
//        s.paths.push_back(swf::SubPath::rect(0, 0, 100 * 20, 50 * 20, 1, 1));
//        uint16_t id = w.defineShape(s);
//        w.placeObject(1, id, swf::Matrix::translate(10 * 20, 10 * 20));
//        w.showFrame();
//        w.moveObject(1, swf::Matrix::translate(20 * 20, 10 * 20));
//        w.doAction({swf::Action::stop()});
//        w.showFrame();
//        QByteArray bytes = w.finish();           // header frame count = ShowFrames written
//
// All shape coordinates are in twips (1/20 pixel; use swf::px(x) to convert), y downward
// (ShapeSpec.h). Tags use the long length form for any length >= 63.

#include "swf/ShapeSpec.h"
#include "swf/SwfTypes.h"
#include "swf/TagWriter.h"
#include "swf/TimelineBuilder.h"

namespace swf {

class SwfWriter : public TimelineBuilder {
public:
    // Stage in pixels; frame rate in frames per second (stored in 8.8).
    SwfWriter(int widthPx, int heightPx, double fps, int version = 10);

    void setCompressed(bool cws) { movie_.header.compressed = cws; }
    // Writes SetBackgroundColor now (call before the first showFrame).
    void setBackground(Rgba c);
    // Writes FileAttributes now (normally the first tag; 0 = no flags).
    void fileAttributes(std::uint32_t flags = 0);

    // DefineShape3/4; returns the new character id (ids count from 1).
    std::uint16_t defineShape(const ShapeSpec& desc);
    std::uint16_t defineShape(const Shape& shape);  // shape.id is replaced with a new id
    // DefineSprite with the sprite's tags (an End is appended) and its frame count =
    // its ShowFrames (at least 1).
    std::uint16_t defineSprite(const SpriteBuilder& sprite);

    // Appends End and returns the file bytes.
    QByteArray finish();
    // The movie as data (after finish(): with its End tag).
    const Movie& movie();

private:
    Movie movie_;
    std::uint16_t nextId_ = 1;
    bool finished_ = false;
};

}  // namespace swf
