#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QPointF>
#include <QString>
#include <cmath>
#include <map>
#include <vector>

#include "AssetTree.h"
#include "swf/SwfReader.h"
#include "swf/SwfWriter.h"
#include "swf/Timeline.h"

// Every movie of the asset tree, written to bytes and read back with the program's reader,
// built once per test program.
inline const std::map<QString, swf::ReadResult>& generatedMovies() {
    static const std::map<QString, swf::ReadResult> movies = [] {
        std::map<QString, swf::ReadResult> out;
        for (const assets::MovieAsset& m : assets::movieAssets())
            out.emplace(m.path, swf::readSwf(swf::writeMovie(m.make().build())));
        return out;
    }();
    return movies;
}

inline const swf::Movie& generatedMovie(const QString& path) {
    return generatedMovies().at(path).movie;
}

// Where the named objects of a generated movie are, frame by frame, as the program's player shows
// it (played on past a wait for «Старт», as the window does): the origin of each (by depth),
// whether it can be seen, and its height.
struct Seen {
    QPointF at;
    bool visible = false;
    double height = 1;  // its vertical scale: a level that sinks or rises
};
using Frames = std::vector<std::map<int, Seen>>;

inline Frames namedObjects(const QString& path, const QByteArray& name) {
    swf::Timeline tl(generatedMovie(path), true, false);
    Frames out;
    for (int f = 0; f < tl.totalFrames(); ++f) {
        if (f > 0) {
            if (!tl.root().playing()) tl.root().setPlaying(true);
            tl.tick();
        }
        std::map<int, Seen> here;
        for (const auto& [depth, object] : tl.root().displayList()) {
            if (object.name != name) continue;
            const int alpha = object.cxform.hasMult ? object.cxform.mult[3] : 256;
            here[depth] = {QPointF(object.matrix.tx / 20.0, object.matrix.ty / 20.0), alpha > 0,
                           object.matrix.scaleY / 65536.0};
        }
        out.push_back(here);
    }
    return out;
}

// Every pipette is there from the first frame, standing in a holder straight below it, stays in
// view throughout, and is back in its place by the last frame; with mustMove, it left its place
// in between.
inline void expectPipettesHeldAndReturned(const Frames& pipettes, const Frames& holders,
                                          bool mustMove) {
    ASSERT_FALSE(pipettes.empty());
    for (const auto& [depth, p] : pipettes.front()) {
        bool held = false;
        for (const auto& [hd, h] : holders.front())
            held |= std::abs(h.at.x() - p.at.x()) < 0.5 && h.at.y() > p.at.y();
        EXPECT_TRUE(held) << "pipette at " << p.at.x() << "," << p.at.y();
        bool moved = false;
        for (std::size_t f = 0; f < pipettes.size(); ++f) {
            ASSERT_TRUE(pipettes[f].count(depth)) << "frame " << f;
            EXPECT_TRUE(pipettes[f].at(depth).visible) << "frame " << f;
            moved |= pipettes[f].at(depth).at != p.at;
        }
        if (mustMove) {
            EXPECT_TRUE(moved);
        }
        EXPECT_NEAR(pipettes.back().at(depth).at.x(), p.at.x(), 0.1);
        EXPECT_NEAR(pipettes.back().at(depth).at.y(), p.at.y(), 0.1);
    }
}
