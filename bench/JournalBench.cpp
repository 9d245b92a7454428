// The class journal: how many rows a second it writes and sends, and the slowest write a
// student's click waits for (target: none over 50 ms). The server figures come from a
// PostgreSQL server the benchmark starts itself on 127.0.0.1, as the tests do.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "PostgresServer.h"
#include "journal/ClassJournal.h"
#include "journal/ServerLink.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// One student's grade clicks, one per iteration, timed as the student waits for each; with a
// server the event loop runs between clicks as it does in the program.
double gradeClicks(benchmark::State& state, ClassJournal& journal, bool withServer) {
    QString sitting;
    journal.registered(sitting, QStringLiteral("КРЛ-99-1"), QStringLiteral("Ларцев О.Е."), 1);
    double slowest = 0;
    int k = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        journal.graded(sitting, QStringLiteral("КРЛ-99-1"), QStringLiteral("Ларцев О.Е."), 1,
                       1 + k++ % 4, 4.5);
        slowest = std::max(slowest, millisecondsSince(start));
        if (withServer) QCoreApplication::processEvents();
    }
    return slowest;
}

// One computer recording grades into its own journal, no server.
void BM_LocalGradeClick(benchmark::State& state) {
    QTemporaryDir dir;
    ClassJournal journal(dir.filePath(QStringLiteral("journal.sqlite")), ServerSettings{},
                         QStringLiteral("pc-bench"));
    const double slowest = gradeClicks(state, journal, false);
    state.SetItemsProcessed(state.iterations());
    state.counters["slowest_click_ms"] = slowest;
}
BENCHMARK(BM_LocalGradeClick)->Unit(benchmark::kMicrosecond);

PostgresServer* server = nullptr;

// One computer recording grades while its link sends them to the server: the click a student
// makes in a classroom with a server.
void BM_GradeClickWithServer(benchmark::State& state) {
    if (!server) server = new PostgresServer;
    if (!server->error().isEmpty()) {
        state.SkipWithError(server->error().toStdString().c_str());
        return;
    }
    server->createDatabase(QStringLiteral("single"));
    QTemporaryDir dir;
    ClassJournal journal(dir.filePath(QStringLiteral("journal.sqlite")),
                         server->settings(QStringLiteral("single")), QStringLiteral("pc-bench"));
    const double slowest = gradeClicks(state, journal, true);
    journal.server()->waitUntilSent(60000);
    state.SetItemsProcessed(state.iterations());
    state.counters["slowest_click_ms"] = slowest;
}
BENCHMARK(BM_GradeClickWithServer)->Unit(benchmark::kMicrosecond)->Iterations(3000);

// A class of 30 computers, each recording 200 grades while every link sends in the background:
// rows per second until the server holds them all, and the slowest click meanwhile.
void BM_ClassToServer(benchmark::State& state) {
    if (!server) server = new PostgresServer;
    if (!server->error().isEmpty()) {
        state.SkipWithError(server->error().toStdString().c_str());
        return;
    }
    static int round = 0;
    constexpr int computers = 30;
    constexpr int gradesEach = 200;
    double slowest = 0;
    double rowsPerSecond = 0;
    for (auto _ : state) {
        const QString database = QStringLiteral("bench%1").arg(++round);
        server->createDatabase(database);
        QTemporaryDir dir;
        std::vector<std::unique_ptr<ClassJournal>> classroom;
        std::vector<QString> sittings(computers);
        const auto start = Clock::now();
        for (int c = 0; c < computers; ++c) {
            const QString name = QStringLiteral("pc-%1").arg(c);
            classroom.push_back(
                std::make_unique<ClassJournal>(dir.filePath(name + QStringLiteral(".sqlite")),
                                               server->settings(database), name, 1000));
            classroom.back()->registered(sittings[c], QStringLiteral("КРЛ-99-1"), name, 1);
        }
        for (int i = 0; i < gradesEach; ++i) {
            for (int c = 0; c < computers; ++c) {
                const auto click = Clock::now();
                classroom[c]->graded(sittings[c], QStringLiteral("КРЛ-99-1"),
                                     QStringLiteral("pc-%1").arg(c), 1, 1 + i % 4, 4);
                slowest = std::max(slowest, millisecondsSince(click));
            }
            QCoreApplication::processEvents();
        }
        for (auto& pc : classroom) pc->server()->waitUntilSent(120000);
        const double seconds = millisecondsSince(start) / 1000;
        rowsPerSecond = computers * (gradesEach + 1) / seconds;
        if (server->scalar(database, QStringLiteral("SELECT count(*) FROM reaktikum.journal"))
                .toInt() != computers * (gradesEach + 1))
            state.SkipWithError("rows missing on the server");
    }
    state.counters["server_rows_per_s"] = rowsPerSecond;
    state.counters["slowest_click_ms"] = slowest;
}
BENCHMARK(BM_ClassToServer)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete server;
    return 0;
}
