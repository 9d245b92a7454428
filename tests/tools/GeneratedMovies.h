#pragma once

#include <QString>
#include <map>

#include "AssetTree.h"
#include "swf/SwfReader.h"
#include "swf/SwfWriter.h"

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
