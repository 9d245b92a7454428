#pragma once

// The longest tube movie of the build's program folder (the movie with the most frames among
// the timed reactions of experiments 1 and 2) and the process's processor time, for the
// playback benchmarks.

#include <sys/resource.h>

#include <QDir>
#include <QString>
#include <cstdio>
#include <string>

#include "swf/SwfReader.h"

namespace bench {

struct TubeMovie {
    QString path;
    int frames = 0;
    double fps = 12;
    // The path inside the program folder, for benchmark names.
    std::string name() const {
        return QDir(QStringLiteral(LAB_PROGRAM_DIR)).relativeFilePath(path).toStdString();
    }
};

inline TubeMovie longestTubeMovie() {
    TubeMovie best;
    for (const char* folder : {"Movie/Opyt1", "Movie/Opyt2"}) {
        const QDir dir(QStringLiteral(LAB_PROGRAM_DIR "/") + folder);
        for (const QString& name :
             dir.entryList({QStringLiteral("*_*.swf")}, QDir::Files, QDir::Name)) {
            const swf::ReadResult r = swf::readSwfFile(dir.filePath(name));
            if (r.ok && r.movie.header.frameCount > best.frames)
                best = {dir.filePath(name), r.movie.header.frameCount,
                        r.movie.header.framesPerSecond()};
        }
    }
    if (best.frames == 0)
        std::fprintf(stderr, "no tube movies in %s: build the asset tree first\n", LAB_PROGRAM_DIR);
    return best;
}

inline double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

}  // namespace bench
