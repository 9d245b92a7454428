// Peak resident memory of the laboratory, measured on a fresh process each time:
//  - memory/windows_and_every_movie: every window created as at start-up against the build's
//    program folder, then every movie of the folder played once, frame by frame, in the
//    shown player of the window that plays it;
//  - memory/end_to_end_test: the whole-laboratory test program (a student's complete visit),
//    when the build has it.
// The time of each row is the child's run time; the figure is the peak_rss_MB counter.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "BenchChild.h"
#include "app/AboutWindow.h"
#include "app/Laboratory.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "experiments/catalyst/CatalystWindow.h"
#include "experiments/concentration/ConcentrationWindow.h"
#include "experiments/equilibrium/EquilibriumWindow.h"
#include "experiments/temperature/TemperatureWindow.h"
#include "lab/Clock.h"
#include "lab/ProgramDir.h"
#include "movie/MoviePlayer.h"
#include "toolkit/Fonts.h"
#include "toolkit/LabWindow.h"
#include "toolkit/MessageBoxes.h"

namespace {

// The window that plays a movie of the folder, and its player.
template <class Window>
std::pair<LabWindow*, MoviePlayer*> playerOf(Window* window) {
    return {window, window->movie};
}

std::pair<LabWindow*, MoviePlayer*> playerFor(const Laboratory& lab, const QString& relative) {
    if (relative.startsWith("Movie/Opyt1/")) return playerOf(lab.window<ConcentrationWindow>());
    if (relative.startsWith("Movie/Opyt2/")) return playerOf(lab.window<TemperatureWindow>());
    if (relative.startsWith("Movie/Opyt3/")) return playerOf(lab.window<CatalystWindow>());
    if (relative.startsWith("Movie/Opyt4/")) return playerOf(lab.window<EquilibriumWindow>());
    if (relative.startsWith("BackGround/")) return playerOf(lab.window<AboutWindow>());
    return playerOf(lab.window<MainWindow>());
}

// Counts the frames the players really painted.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && qobject_cast<MoviePlayer*>(watched)) ++paints;
        return false;
    }
};

int memoryChild(int argc, char** argv) {
    ManualClock clock;
    setLabClock(&clock);
    const QString dir = QStringLiteral(LAB_PROGRAM_DIR);
    setProgramDirForTests(dir);
    MessageRecorder messages;
    QApplication app(argc, argv);
    installFontSubstitutions();
    auto lab = std::make_unique<Laboratory>();
    if (!messages.texts().isEmpty()) return 1;
    // The main window opens the registration when it is first shown: closed at once here.
    LabWindow::setModalHook([](LabWindow& w) { w.done(); });
    PaintCounter painted;
    app.installEventFilter(&painted);
    int frames = 0;
    QDirIterator it(dir, {QStringLiteral("*.swf")}, QDir::Files, QDirIterator::Subdirectories);
    QStringList movies;
    while (it.hasNext()) movies << QDir(dir).relativeFilePath(it.next());
    movies.sort();
    for (const QString& relative : movies) {
        auto [window, player] = playerFor(*lab, relative);
        window->show();
        QApplication::processEvents();
        player->setManualStepping(true);
        player->setPlay(true);
        if (!player->setMovie(dir + "/" + relative)) return 2;
        for (int f = 0; f < player->totalFrames(); ++f, ++frames) {
            player->repaint();
            player->stepFrames(1);
        }
        window->hide();
        QApplication::processEvents();
        // LAB_BENCH_VERBOSE: the peak so far after each movie, to see where the memory goes.
        if (qEnvironmentVariableIsSet("LAB_BENCH_VERBOSE")) {
            rusage u{};
            getrusage(RUSAGE_SELF, &u);
            QFile status(QStringLiteral("/proc/self/status"));
            QByteArray split;
            if (status.open(QIODevice::ReadOnly))
                for (const QByteArray& line : status.readAll().split('\n'))
                    if (line.startsWith("RssAnon") || line.startsWith("RssFile"))
                        split += " " + line.simplified();
            std::fprintf(stderr, "%-24s peak %6.1f MB%s\n", qPrintable(relative),
                         double(u.ru_maxrss) / 1024.0, split.constData());
        }
    }
    lab.reset();
    // Every frame must have reached the screen, or the figure would say nothing.
    if (painted.paints < frames) return 3;
    std::printf("%d %lld\n", frames, static_cast<long long>(movies.size()));
    return 0;
}

void windowsAndEveryMovie(benchmark::State& state) {
    const std::string self = bench::selfPath();
    double rssMb = 0, frames = 0, movies = 0;
    for (auto _ : state) {
        const bench::ChildRun run = bench::runChild(self, {"--memory-child"});
        long long f = 0, m = 0;
        if (!run.ok || std::sscanf(run.output.c_str(), "%lld %lld", &f, &m) != 2) {
            state.SkipWithError("the run through every window and movie failed");
            return;
        }
        state.SetIterationTime(double(run.endNs - run.spawnNs) / 1e9);
        rssMb = double(run.maxRssKb) / 1024.0;
        frames = double(f);
        movies = double(m);
    }
    state.counters["peak_rss_MB"] = rssMb;
    state.counters["movies"] = movies;
    state.counters["frames"] = frames;
    state.counters["target_MB"] = 80;
}

void endToEndTest(benchmark::State& state) {
    double rssMb = 0;
    for (auto _ : state) {
        const bench::ChildRun run = bench::runChild(LAB_END_TO_END_TEST, {"--gtest_brief=1"});
        if (!run.ok) {
            state.SkipWithError("the end-to-end test failed");
            return;
        }
        state.SetIterationTime(double(run.endNs - run.spawnNs) / 1e9);
        rssMb = double(run.maxRssKb) / 1024.0;
    }
    state.counters["peak_rss_MB"] = rssMb;
    state.counters["target_MB"] = 80;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && std::string(argv[1]) == "--memory-child") return memoryChild(argc, argv);
    benchmark::RegisterBenchmark("memory/windows_and_every_movie", windowsAndEveryMovie)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(3)
        ->Unit(benchmark::kMillisecond);
    if (QFileInfo::exists(QStringLiteral(LAB_END_TO_END_TEST)))
        benchmark::RegisterBenchmark("memory/end_to_end_test", endToEndTest)
            ->UseManualTime()
            ->Iterations(1)
            ->Repetitions(3)
            ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
