#pragma once

// The fixture table shared by the writer and reader tests: each entry is a movie given as data
// (swf::Movie); the round-trip test writes it with writeMovie and reads it back with readSwf,
// which must give the same data. The entries cover every tag and field of the subset that the
// writer emits, plus the header forms (FWS, CWS, long tags).

#include <QString>
#include <functional>
#include <vector>

#include "swf/SwfWriter.h"

namespace fixtures {

using namespace swf;

inline Rgba rgba(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a = 255) {
    return Rgba{r, g, b, a};
}

struct Fixture {
    const char* name;
    std::function<Movie()> make;
};

// A movie with two shapes, a sprite of three frames and frame actions, as the asset generator
// writes them.
inline Movie builderMovie(bool compressed) {
    SwfWriter w(705, 350, 24.0);
    w.setCompressed(compressed);
    w.fileAttributes(0);
    w.setBackground(rgba(240, 240, 250));
    ShapeSpec flask;
    flask.fills.push_back(FillStyle::solid(rgba(200, 30, 30, 200)));
    flask.fills.push_back(
        linearGradient(0, 0, px(100), 0, {{0, rgba(0, 0, 255)}, {255, rgba(255, 255, 255, 128)}}));
    flask.lines.push_back(LineStyle::make(40, rgba(0, 0, 0)));
    flask.paths.push_back(SubPath::rect(0, 0, px(100), px(50), 1, 1));
    flask.paths.push_back(SubPath::ellipse(px(50), px(100), px(40), px(20), 2, 1));
    const auto flaskId = w.defineShape(flask);
    ShapeSpec bubble;
    bubble.version = 4;
    bubble.nonZeroWinding = true;
    bubble.fills.push_back(focalGradient(
        0, 0, px(10), 0.5, {{0, rgba(255, 255, 255)}, {255, rgba(0, 128, 255, 0)}}, SpreadReflect));
    LineStyle l2 = LineStyle::make(30, rgba(10, 20, 30, 40));
    l2.startCap = l2.endCap = CapSquare;
    l2.join = JoinMiter;
    l2.miterLimit = 512;
    bubble.lines.push_back(l2);
    bubble.paths.push_back(SubPath::ellipse(0, 0, px(10), px(10), 1, 1));
    const auto bubbleId = w.defineShape(bubble);
    SpriteBuilder sprite;
    sprite.placeObject(1, bubbleId, Matrix::translate(0, 0));
    sprite.showFrame();
    sprite.moveObject(1, Matrix::translate(0, -px(5)));
    sprite.showFrame();
    sprite.moveObject(1, Matrix::translate(0, -px(10)), CxForm::alpha(0.5));
    sprite.showFrame();
    const auto spriteId = w.defineSprite(sprite);
    w.placeObject(1, flaskId, Matrix::translate(px(300), px(150)));
    w.placeObject(2, spriteId, Matrix::fromValues(1.5, 0.25, -0.25, 1.5, px(350), px(120)),
                  CxForm::multiply(1, 0.5, 0.5, 1));
    w.showFrame();
    w.moveObject(1, Matrix::translate(px(310), px(150)));
    w.showFrame();
    w.removeObject(2);
    w.doAction({Action::stop(), Action::gotoFrame(1), Action::play()});
    w.showFrame();
    w.finish();
    return w.movie();
}

inline std::vector<Fixture> table() {
    std::vector<Fixture> t;
    t.push_back({"builder_fws", [] { return builderMovie(false); }});
    t.push_back({"builder_cws", [] { return builderMovie(true); }});
    t.push_back(
        {"every_tag_and_field", [] {
             Movie m;
             m.header.version = 8;
             m.header.frameSize = Rect{-200, 11000, 40, 8000};
             m.header.frameRate = 0x1880;
             m.header.frameCount = 3;
             m.tags.push_back(FileAttributesTag{0x08});
             m.tags.push_back(SetBackgroundColorTag{rgba(1, 2, 3)});
             for (int version = 1; version <= 4; ++version) {
                 auto s = std::make_shared<Shape>();
                 s->id = std::uint16_t(version);
                 s->version = std::uint8_t(version);
                 s->bounds = Rect{-100, 3000, -50, 2000};
                 if (version == 4) {
                     s->edgeBounds = Rect{-90, 2990, -40, 1990};
                     s->flags4 = 0x05;
                 }
                 StyleSet set;
                 FillStyle solid = FillStyle::solid(rgba(9, 8, 7, version >= 3 ? 100 : 255));
                 set.fills.push_back(solid);
                 FillStyle lin;
                 lin.type = FillLinear;
                 lin.matrix = Matrix::fromValues(0.01, 0.02, -0.03, 0.04, 100, -200);
                 lin.gradient.spread = SpreadRepeat;
                 lin.gradient.interpolation = InterpolateLinearRgb;
                 for (int i = 0; i < 15; ++i)
                     lin.gradient.records.push_back(GradRecord{
                         std::uint8_t(i * 17), rgba(std::uint8_t(i * 10), 0, 255,
                                                    version >= 3 ? std::uint8_t(i * 5) : 255)});
                 set.fills.push_back(lin);
                 FillStyle rad = lin;
                 rad.type = FillRadial;
                 rad.matrix = Matrix::translate(5, 6);
                 rad.gradient.records.resize(2);
                 set.fills.push_back(rad);
                 FillStyle foc = rad;
                 foc.type = FillFocalRadial;
                 foc.gradient.focalPoint = -128;
                 set.fills.push_back(foc);
                 FillStyle bmp;
                 bmp.type = FillClippedBitmap;
                 bmp.bitmapId = 65535;
                 bmp.matrix = Matrix::fromValues(20, 0, 0, 20, 0, 0);
                 set.fills.push_back(bmp);
                 LineStyle ls = LineStyle::make(0, rgba(5, 6, 7, version >= 3 ? 8 : 255));
                 set.lines.push_back(ls);
                 if (version == 4) {
                     LineStyle l2;
                     l2.width = 200;
                     l2.startCap = CapNone;
                     l2.endCap = CapSquare;
                     l2.join = JoinMiter;
                     l2.miterLimit = 0x0180;
                     l2.hasFill = true;
                     l2.fill = lin;
                     l2.noHScale = true;
                     l2.pixelHinting = true;
                     l2.noClose = true;
                     set.lines.push_back(l2);
                     LineStyle l3 = LineStyle::make(100, rgba(1, 1, 1, 1));
                     l3.join = JoinBevel;
                     l3.noVScale = true;
                     set.lines.push_back(l3);
                 }
                 s->styles.push_back(set);
                 ShapeRecord mv;
                 mv.hasMove = true;
                 mv.moveX = -70000;
                 mv.moveY = 3;
                 mv.hasFill1 = true;
                 mv.fill1 = 2;
                 mv.hasLine = true;
                 mv.line = 1;
                 s->records.push_back(mv);
                 s->records.push_back(ShapeRecord::straight(65535, 0));
                 s->records.push_back(ShapeRecord::straight(0, -65536));
                 s->records.push_back(ShapeRecord::straight(-3, 4));
                 s->records.push_back(ShapeRecord::curve(100, -100, 1, 65535));
                 s->records.push_back(ShapeRecord::curve(0, 0, 0, 0));
                 ShapeRecord f0;
                 f0.hasFill0 = true;
                 f0.fill0 = 5;
                 s->records.push_back(f0);
                 s->records.push_back(ShapeRecord::straight(1, 1));
                 if (version >= 2) {
                     StyleSet big;
                     for (int i = 0; i < 300; ++i)
                         big.fills.push_back(FillStyle::solid(rgba(std::uint8_t(i), 0, 0)));
                     for (int i = 0; i < 260; ++i)
                         big.lines.push_back(
                             LineStyle::make(std::uint16_t(i), rgba(0, std::uint8_t(i), 0)));
                     s->styles.push_back(big);
                     ShapeRecord ns;
                     ns.newStyles = true;
                     ns.styleSet = 1;
                     ns.hasFill0 = true;
                     ns.fill0 = 300;
                     ns.hasLine = true;
                     ns.line = 259;
                     s->records.push_back(ns);
                     s->records.push_back(ShapeRecord::straight(-10, 0));
                 }
                 m.tags.push_back(DefineShapeTag{s});
             }
             auto sprite = std::make_shared<Sprite>();
             sprite->id = 10;
             sprite->frameCount = 2;
             {
                 PlaceObjectTag p1;
                 p1.version = 1;
                 p1.hasCharacter = true;
                 p1.hasMatrix = true;
                 p1.characterId = 1;
                 p1.depth = 3;
                 p1.matrix = Matrix::translate(-5, 5);
                 sprite->tags.push_back(p1);
                 p1.depth = 4;
                 p1.hasCxForm = true;
                 p1.cxform.hasMult = true;
                 p1.cxform.mult[0] = -256;
                 p1.cxform.hasAdd = true;
                 p1.cxform.add[2] = 255;
                 sprite->tags.push_back(p1);
                 sprite->tags.push_back(FrameLabelTag{"label"});
                 sprite->tags.push_back(ShowFrameTag{});
                 sprite->tags.push_back(RemoveObjectTag{1, 1, 3});
                 sprite->tags.push_back(
                     DoActionTag{{Action::stop(), Action{0x96, QByteArray("\x00\x41\x00", 3)}}});
                 sprite->tags.push_back(ShowFrameTag{});
                 sprite->tags.push_back(EndTag{});
             }
             m.tags.push_back(DefineSpriteTag{sprite});
             PlaceObjectTag p;
             p.version = 2;
             p.depth = 1;
             p.hasCharacter = true;
             p.characterId = 10;
             p.hasMatrix = true;
             p.matrix = Matrix::fromValues(-2, 0.5, 0.5, 3, -1000000, 1000000);
             p.hasCxForm = true;
             p.cxform = CxForm::alpha(0.25);
             p.cxform.hasAdd = true;
             p.cxform.add[0] = -255;
             p.cxform.add[3] = 16383;
             p.hasRatio = true;
             p.ratio = 65535;
             p.hasName = true;
             p.name = "instance1";
             p.hasClipDepth = true;
             p.clipDepth = 7;
             m.tags.push_back(p);
             PlaceObjectTag p3;
             p3.version = 3;
             p3.depth = 2;
             p3.flags2 = 0x08;
             p3.className = "my.Class";
             p3.hasCharacter = true;
             p3.characterId = 4;
             m.tags.push_back(p3);
             m.tags.push_back(DoActionTag{{Action::play(), Action::nextFrame(),
                                           Action::previousFrame(), Action::gotoFrame(2)}});
             m.tags.push_back(ShowFrameTag{});
             PlaceObjectTag mv;
             mv.version = 2;
             mv.depth = 1;
             mv.move = true;
             mv.hasMatrix = true;
             m.tags.push_back(mv);
             m.tags.push_back(UnknownTag{77, QByteArray(100, 'x')});
             m.tags.push_back(UnknownTag{1000, QByteArray()});
             m.tags.push_back(ShowFrameTag{});
             m.tags.push_back(RemoveObjectTag{2, 0, 2});
             m.tags.push_back(ShowFrameTag{});
             m.tags.push_back(EndTag{});
             return m;
         }});
    t.push_back({"no_end_tag", [] {
                     Movie m;
                     m.header.frameSize = Rect{0, 2000, 0, 2000};
                     m.tags.push_back(ShowFrameTag{});
                     return m;
                 }});
    return t;
}

}  // namespace fixtures
