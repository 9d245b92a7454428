#pragma once

// Small movies for the reader, timeline and player tests, written with the project's writer.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <functional>

#include "swf/SwfReader.h"
#include "swf/SwfWriter.h"
#include "swf/Timeline.h"

namespace movietest {

inline swf::ShapeSpec square(swf::Rgba c, double sizePx = 20) {
    swf::ShapeSpec s;
    s.fills.push_back(swf::FillStyle::solid(c));
    s.paths.push_back(swf::SubPath::rect(0, 0, swf::px(sizePx), swf::px(sizePx), 1, 0));
    return s;
}

// A movie of `frames` frames: a square moving one pixel per frame; `actions(f)` gives the
// actions of frame f.
inline QByteArray countingMovie(int frames,
                                std::function<std::vector<swf::Action>(int)> actions = {},
                                bool compressed = false, double fps = 10) {
    swf::SwfWriter w(100, 50, fps);
    w.setCompressed(compressed);
    w.setBackground({255, 255, 255, 255});
    const auto id = w.defineShape(square({255, 0, 0, 255}));
    w.placeObject(1, id, swf::Matrix::translate(0, 0));
    for (int f = 0; f < frames; ++f) {
        if (f > 0) w.moveObject(1, swf::Matrix::translate(swf::px(f), 0));
        if (actions) {
            const auto a = actions(f);
            if (!a.empty()) w.doAction(a);
        }
        w.showFrame();
    }
    return w.finish();
}

inline swf::Movie read(const QByteArray& bytes) {
    swf::ReadResult r = swf::readSwf(bytes);
    return r.movie;
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

}  // namespace movietest
