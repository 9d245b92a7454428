// The movie player on a screen scaled 2× (QT_SCALE_FACTOR=2, set before the application starts),
// with the longest tube movie of the build's program folder at 705 × 350, that is 1410 × 700
// device pixels:
//  - sharp/frame/...: every frame of the movie drawn by the player for ratio 2 (the image it
//    keeps and copies to the screen); the time is the median frame, the counters the mean, the
//    slowest and the paint of a frame already drawn (what a table sliding over the movie costs);
//  - sharp/playback/...: the whole movie played in a shown player in real time; the counter
//    gives the process's processor time while it plays as a share of one core.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "BenchSupport.h"
#include "TubeMovie.h"
#include "movie/MoviePlayer.h"

namespace {

using bench::TubeMovie;

void everyFrame(benchmark::State& state, TubeMovie movie) {
    for (auto _ : state) {
        MoviePlayer player;
        player.resize(705, 350);
        player.setManualStepping(true);
        player.setLoop(false);
        player.show();
        if (!player.setMovie(movie.path) || player.devicePixelRatioF() != 2.0) {
            state.SkipWithError(player.totalFrames() ? "the screen is not scaled 2x"
                                                     : "the movie was refused");
            return;
        }
        QApplication::processEvents();
        std::vector<double> times, repaints;
        QElapsedTimer t;
        for (int f = 0; f < player.totalFrames(); ++f) {
            t.start();
            const QImage frame = player.frameImage(2.0);
            times.push_back(double(t.nsecsElapsed()) / 1e6);
            benchmark::DoNotOptimize(frame.constBits());
            t.start();
            player.repaint();
            repaints.push_back(double(t.nsecsElapsed()) / 1e6);
            player.stepFrames(1);
        }
        std::vector<double> sorted = times;
        std::sort(sorted.begin(), sorted.end());
        std::sort(repaints.begin(), repaints.end());
        state.SetIterationTime(sorted[sorted.size() / 2] / 1000.0);
        double sum = 0;
        for (double v : times) sum += v;
        state.counters["mean_ms"] = sum / double(times.size());
        state.counters["max_ms"] = sorted.back();
        state.counters["cached_paint_ms"] = repaints[repaints.size() / 2];
        state.counters["width_px"] = player.frameImage(2.0).width();
        state.counters["height_px"] = player.frameImage(2.0).height();
    }
    state.counters["target_ms"] = 1;
}

void playback(benchmark::State& state, TubeMovie movie) {
    double cpuShare = 0;
    for (auto _ : state) {
        MoviePlayer player;
        player.resize(705, 350);
        player.setLoop(false);
        player.show();
        QApplication::processEvents();
        const double cpu0 = bench::cpuSeconds();
        QElapsedTimer clock;
        clock.start();
        if (!player.setMovie(movie.path)) {
            state.SkipWithError("the movie was refused");
            return;
        }
        QEventLoop loop;
        QTimer watch;  // the windows' end-of-movie watch
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (player.currentFrame() == player.totalFrames() - 1) loop.quit();
        });
        watch.start(10);
        QTimer::singleShot(int((movie.frames + 50) * 1000.0 / movie.fps), &loop, &QEventLoop::quit);
        loop.exec();
        const double wallMs = double(clock.nsecsElapsed()) / 1e6;
        cpuShare = 100.0 * (bench::cpuSeconds() - cpu0) * 1000.0 / wallMs;
        state.SetIterationTime(wallMs / 1000.0);
    }
    state.counters["cpu_pct"] = cpuShare;
    state.counters["target_cpu_pct"] = 5;
    state.counters["frames"] = movie.frames;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    const TubeMovie movie = bench::longestTubeMovie();
    if (movie.frames == 0) return 1;
    const std::string name = movie.name();
    bench::manualOnce("sharp/frame/" + name, everyFrame, movie);
    bench::manualOnce("sharp/playback/" + name, playback, movie);
    return bench::runBenchmarks(argc, argv);
}
