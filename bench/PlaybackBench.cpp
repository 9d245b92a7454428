// Playback of the longest tube movie of the build's program folder (the movie with the most
// frames among the timed reactions of experiments 1 and 2), as an experiment window plays it:
//  - playback/...: the whole movie played in a shown 705 x 350 player while another process
//    keeps a second core busy; the time is how long the movie took from its first frame to
//    its last (the end-of-movie watch polls every 10 ms, as the windows' watches do), the
//    counters give the process's processor time over the first ten seconds as a share of one
//    core, and the error against the movie's own length (frames - 1 intervals);
//  - render/...: every frame of the same movie drawn at 705 x 350; the time is the median
//    frame.

#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "BenchChild.h"
#include "BenchSupport.h"
#include "TubeMovie.h"
#include "movie/MoviePlayer.h"
#include "movie/Renderer.h"
#include "swf/SwfReader.h"
#include "swf/Timeline.h"

namespace {

using bench::cpuSeconds;
using bench::longestTubeMovie;
using bench::TubeMovie;

// A process that keeps one core busy until it is killed.
pid_t startBusyCore() {
    const pid_t pid = fork();
    if (pid == 0) {
        volatile unsigned long spin = 0;
        for (;;) spin = spin + 1;
    }
    return pid;
}

void stopBusyCore(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// Counts the paints of one widget: the frames that really reached the screen.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

void playWholeMovie(benchmark::State& state, TubeMovie movie) {
    constexpr int cpuWindowMs = 10000;
    double cpuShare = 0, errorMs = 0, painted = 0;
    const double lengthMs = (movie.frames - 1) * 1000.0 / movie.fps;
    for (auto _ : state) {
        const pid_t busy = startBusyCore();
        MoviePlayer player;
        player.resize(705, 350);
        PaintCounter paints;
        player.installEventFilter(&paints);
        player.show();
        QApplication::processEvents();

        const double cpu0 = cpuSeconds();
        QElapsedTimer clock;
        clock.start();
        if (!player.setMovie(movie.path)) {
            stopBusyCore(busy);
            state.SkipWithError("the movie was refused");
            return;
        }
        const std::int64_t startNs = clock.nsecsElapsed();
        std::int64_t lastFrameNs = 0;
        double cpu = -1, cpuWallMs = 0;
        QEventLoop loop;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (lastFrameNs == 0 && player.currentFrame() == player.totalFrames() - 1) {
                lastFrameNs = clock.nsecsElapsed();
                if (cpu >= 0) loop.quit();
            }
        });
        watch.start(10);
        QTimer::singleShot(cpuWindowMs, &loop, [&] {
            cpu = cpuSeconds() - cpu0;
            cpuWallMs = double(clock.nsecsElapsed()) / 1e6;
            if (lastFrameNs != 0) loop.quit();
        });
        QTimer::singleShot(int(lengthMs) + 5000, &loop, &QEventLoop::quit);
        loop.exec();
        stopBusyCore(busy);
        if (lastFrameNs == 0 || cpu < 0) {
            state.SkipWithError("the last frame was not reached in time");
            return;
        }
        const double durationMs = double(lastFrameNs - startNs) / 1e6;
        state.SetIterationTime(durationMs / 1000.0);
        cpuShare = 100.0 * cpu * 1000.0 / cpuWallMs;
        errorMs = durationMs - lengthMs;
        painted = paints.paints;
    }
    state.counters["length_ms"] = lengthMs;
    state.counters["error_ms"] = errorMs;
    state.counters["cpu_pct_first_10s"] = cpuShare;
    state.counters["frames"] = movie.frames;
    state.counters["painted"] = painted;
}

void renderEveryFrame(benchmark::State& state, TubeMovie movie) {
    swf::ReadResult r = swf::readSwfFile(movie.path);
    if (!r.ok) {
        state.SkipWithError("the movie was refused");
        return;
    }
    const swf::Movie parsed = r.movie;
    std::vector<double> times;
    for (auto _ : state) {
        // A fresh timeline each time: the first frame builds the shapes, as in the player.
        swf::Timeline tl(parsed, true, false);
        QImage img(705, 350, QImage::Format_ARGB32_Premultiplied);
        times.clear();
        QElapsedTimer t;
        for (int f = 0; f < tl.totalFrames(); ++f) {
            t.start();
            QPainter p(&img);
            swf::renderStage(p, tl, QRectF(0, 0, 705, 350));
            p.end();
            times.push_back(double(t.nsecsElapsed()) / 1e6);
            tl.tick();
        }
        std::vector<double> sorted = times;
        std::sort(sorted.begin(), sorted.end());
        state.SetIterationTime(sorted[sorted.size() / 2] / 1000.0);
        double sum = 0;
        for (double v : times) sum += v;
        state.counters["mean_ms"] = sum / double(times.size());
        state.counters["max_ms"] = sorted.back();
        state.counters["first_ms"] = times.front();
    }
    state.counters["target_ms"] = 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const TubeMovie movie = longestTubeMovie();
    if (movie.frames == 0) return 1;
    const std::string name = movie.name();
    bench::manualOnce("playback/" + name, playWholeMovie, movie)->Repetitions(3);
    bench::manualOnce("render/" + name + "_median_frame", renderEveryFrame, movie);
    return bench::runBenchmarks(argc, argv);
}
