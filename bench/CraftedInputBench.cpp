// Crafted movies and pictures (tests/swf/CraftedMovies.h, tests/hardening/CraftedJpeg.h), each
// met by a fresh process as the player meets it: the movie read from its file, then, when it is
// not refused, 15 seconds of it played and drawn frame by frame at 705 x 350; the picture read
// and decoded. The time of each row is the child's own time from opening the file to the end;
// peak_rss_MB is the child's peak resident memory. Each must stay within 1 s and 256 MB
// (within_target 1), where before its limits one took 5.8 GB, another 2 GB and 23 s.

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

#include "BenchChild.h"
#include "CraftedJpeg.h"
#include "CraftedMovies.h"
#include "movie/Renderer.h"
#include "swf/SwfReader.h"
#include "swf/Timeline.h"
#include "toolkit/Jpeg.h"

namespace {

struct Input {
    const char* name;
    const char* file;
    std::function<QByteArray()> bytes;
};

const std::vector<Input>& inputs() {
    static const std::vector<Input> all = {
        {"empty_frames_62MB_in_65KB", "frames.swf",
         [] { return crafted::emptyFramesMovie(62'000'000); }},
        {"empty_frames_at_the_length_limit", "frames-8.swf",
         [] { return crafted::emptyFramesMovie(swf::kMaxFileLength); }},
        {"shape_of_2M_edges_in_32KB", "edges.swf",
         [] { return crafted::manyEdgesMovie(2'000'000); }},
        {"shapes_of_200k_edges_5_times", "heavy.swf",
         [] { return crafted::manyEdgesMovie(200'000, 2, 5); }},
        {"placements_20000_in_a_frame", "placements.swf",
         [] { return crafted::manyPlacementsMovie(20'000, 20'000, 180); }},
        {"placements_20000_over_frames", "placements-spread.swf",
         [] { return crafted::manyPlacementsMovie(20'000, 1000, 180); }},
        {"stage_covering_shapes_1000", "covering.swf",
         [] { return crafted::stageCoveringMovie(1000, 180); }},
        {"jpeg_of_20000_scans", "scans.jpg", [] { return crafted::manyScanJpeg(20'000); }},
    };
    return all;
}

// The child: meets one file as the player does, prints its time in nanoseconds and what became
// of the file (0 refused, 1 shown).
int craftedChild(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString path = QString::fromLocal8Bit(argv[2]);
    const std::int64_t start = bench::monotonicNs();
    bool shown = false;
    if (path.endsWith(QLatin1String(".jpg"))) {
        shown = !loadJpegFile(path).isNull();
    } else {
        swf::ReadResult r = swf::readSwfFile(path);
        if (r.ok) {
            shown = true;
            swf::Timeline tl(std::move(r.movie), true, true);
            QImage frame(705, 350, QImage::Format_ARGB32_Premultiplied);
            const int frames = int(15 * tl.header().framesPerSecond());
            for (int f = 0; f < frames; ++f) {
                QPainter p(&frame);
                swf::renderStage(p, tl, QRectF(0, 0, 705, 350));
                p.end();
                tl.tick();
            }
        }
    }
    std::printf("%lld %d\n", static_cast<long long>(bench::monotonicNs() - start), shown ? 1 : 0);
    return 0;
}

void meet(benchmark::State& state, QString path) {
    double rssMb = 0, ms = 0, shown = 0;
    for (auto _ : state) {
        const bench::ChildRun run =
            bench::runChild(bench::selfPath(), {"--crafted-child", path.toStdString()});
        long long ns = 0;
        int s = 0;
        if (!run.ok || std::sscanf(run.output.c_str(), "%lld %d", &ns, &s) != 2) {
            state.SkipWithError("the child failed");
            return;
        }
        ms = double(ns) / 1e6;
        state.SetIterationTime(double(ns) / 1e9);
        rssMb = double(run.maxRssKb) / 1024.0;
        shown = s;
    }
    state.counters["peak_rss_MB"] = rssMb;
    state.counters["shown"] = shown;
    state.counters["within_target"] = ms <= 1000 && rssMb <= 256 ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 2 && std::string(argv[1]) == "--crafted-child") return craftedChild(argc, argv);
    QTemporaryDir dir;
    for (const Input& input : inputs()) {
        const QString path = dir.filePath(QString::fromLatin1(input.file));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(input.bytes()) < 0) return 1;
        f.close();
        benchmark::RegisterBenchmark((std::string("crafted/") + input.name).c_str(), meet, path)
            ->UseManualTime()
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
