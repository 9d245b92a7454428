// Start-up: from the creation of a fresh process to the main window painted on screen, with
// the main window's wait for the next whole second taken out through the clock seam. Every
// repetition starts the laboratory anew against the build's generated program folder.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <sstream>

#include "BenchChild.h"
#include "BenchSupport.h"
#include "app/Laboratory.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "lab/Clock.h"
#include "lab/ProgramDir.h"
#include "students/RegistrationWindow.h"
#include "toolkit/Fonts.h"
#include "toolkit/LabWindow.h"
#include "toolkit/MessageBoxes.h"

namespace {

// The system clock, except that waiting for the next whole second takes no time.
class NoWaitClock : public LabClock {
public:
    std::uint32_t tickCount() override { return std::uint32_t(monotonicMs() + skippedMs_); }
    std::int64_t monotonicMs() override {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
    double localDateTime() override { return 46000.5; }
    void idle() override { skippedMs_ += 1000; }

private:
    std::int64_t skippedMs_ = 0;
};

// Watches the main window: when it is first shown and when its first paint has finished.
class ShownWatch : public QObject {
public:
    QWidget* mainWindow = nullptr;
    std::int64_t shownNs = 0;
    std::int64_t paintedNs = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (mainWindow && watched == mainWindow) {
            if (event->type() == QEvent::Show && shownNs == 0) shownNs = bench::monotonicNs();
            if (event->type() == QEvent::Paint && paintedNs == 0) {
                paintedNs = -1;
                // The window's children paint in the same pass, before this timer runs.
                QTimer::singleShot(0, [this] { paintedNs = bench::monotonicNs(); });
            }
        }
        return false;
    }
};

int startupChild(int argc, char** argv) {
    NoWaitClock clock;
    setLabClock(&clock);
    setProgramDirForTests(QStringLiteral(LAB_PROGRAM_DIR));
    MessageRecorder messages;  // a complete folder shows none; any box is a failed run
    QApplication app(argc, argv);
    installFontSubstitutions();
    const std::int64_t appNs = bench::monotonicNs();
    ShownWatch watch;
    app.installEventFilter(&watch);
    // The registration window opens once the main window is active: the start is over.
    MainWindow* main = nullptr;
    LabWindow::setModalHook([&](LabWindow& w) {
        w.done();
        QTimer::singleShot(0, [&] {
            if (main) main->close();
        });
    });
    runLaboratorySession([&](Laboratory& laboratory) {
        main = laboratory.window<MainWindow>();
        watch.mainWindow = main;
    });
    if (!messages.texts().isEmpty() || watch.paintedNs <= 0) return 1;
    std::printf("%lld %lld %lld\n", static_cast<long long>(appNs),
                static_cast<long long>(watch.shownNs), static_cast<long long>(watch.paintedNs));
    return 0;
}

void startupToMainWindow(benchmark::State& state) {
    const std::string self = bench::selfPath();
    double appMs = 0, windowsMs = 0, rssKb = 0;
    for (auto _ : state) {
        const bench::ChildRun run = bench::runChild(self, {"--startup-child"});
        long long app = 0, shown = 0, painted = 0;
        std::istringstream in(run.output);
        if (!run.ok || !(in >> app >> shown >> painted)) {
            state.SkipWithError("the laboratory did not start quietly");
            return;
        }
        state.SetIterationTime(double(painted - run.spawnNs) / 1e9);
        appMs = double(app - run.spawnNs) / 1e6;
        windowsMs = double(shown - app) / 1e6;
        rssKb = double(run.maxRssKb);
    }
    // Where the time goes: up to the application object, then the windows behind the splash.
    state.counters["app_object_ms"] = appMs;
    state.counters["windows_ms"] = windowsMs;
    state.counters["peak_rss_MB"] = rssKb / 1024.0;
    state.counters["target_ms"] = 250;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && std::string(argv[1]) == "--startup-child") return startupChild(argc, argv);
    bench::manualOnce("startup/main_window_shown", startupToMainWindow);
    return bench::runBenchmarks(argc, argv);
}
