// The teacher's view over a district's years of lessons: a server journal of 1,000,000 rows
// (200,000 sittings of about 200 groups on 40 computers over five years, each a registration and
// four grades with their evidence). Figures: opening the view, opening one group (target: at
// most 300 ms), the slowest page while scrolling to the end of it, and the CSV export, the
// Moodle export and the class sheet of 100,000 sittings (target: at most 3 s each). The server
// is a PostgreSQL the benchmark starts itself on 127.0.0.1, as the tests do; the plans of the
// view's statements are checked to use the indexes setup.sql makes.
//
//   build/bench/journal_scale_bench [--rows=N]

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QThread>
#include <QTimeZone>
#include <cstdio>
#include <memory>

#include "BenchSupport.h"
#include "PostgresServer.h"
#include "journal/ClassJournal.h"
#include "journal/JournalWindow.h"
#include "journal/ServerReader.h"
#include "journal/SittingTableModel.h"
#include "lab/GradeEvidence.h"

namespace {

const QString database = QStringLiteral("district");
qint64 journalRows = 1000000;
PostgresServer* server = nullptr;
QString setupFault;

// A grade's evidence as the experiments write it: a handful of lines, one of them wrong.
QString sampleEvidence() {
    GradeEvidence e;
    e.experiment = 4;
    e.grade = 4.5;
    e.summary = QStringLiteral("Константа равновесия найдена с ошибкой в поле 1; остальное верно.");
    for (int i = 1; i <= 5; ++i) {
        EvidenceItem item;
        item.key = QStringLiteral("constant%1").arg(i);
        item.label = QStringLiteral("Константа равновесия, попытка %1").arg(i);
        item.entered = QStringLiteral("б·г^3 / а·б^3");
        item.expected = QStringLiteral("в·г^3 / а·б^3");
        item.counted =
            i == 1 ? QStringLiteral("неверно (поля 1): за константу 4") : QStringLiteral("верно");
        item.verdict = i == 1 ? EvidenceItem::Verdict::Wrong : EvidenceItem::Verdict::Right;
        item.counts = true;
        if (i == 1) item.mistakes << QStringLiteral("поле 1 — «б»");
        e.items << item;
    }
    return e.toJson();
}

QString literal(QString text) {
    return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QStringLiteral("''")) +
           QLatin1Char('\'');
}

// Fills the journal in one statement with the triggers off (as a restore would), then lets
// setup.sql, run again, make the table of sittings from it: the way an existing server is
// upgraded.
bool fillDistrict() {
    if (server) return setupFault.isEmpty();
    server = new PostgresServer;
    if (!server->error().isEmpty()) return (setupFault = server->error()), false;
    if (!server->createDatabase(database)) return (setupFault = server->error()), false;
    const qint64 sittings = journalRows / 5;
    QElapsedTimer timer;
    timer.start();
    const QString fill =
        QStringLiteral(
            "SET session_replication_role = replica;"
            "INSERT INTO reaktikum.journal (sender, computer, journal_id, local_id, recorded_at,"
            " sitting, student_group, student_surname, variant, experiment, grade, event, evidence,"
            " evidence_summary)"
            " SELECT 'pc01', 'pc-' || lpad((s % 40)::text, 2, '0'), '', (s / 40) * 5 + e,"
            "  timestamptz '2021-09-01 06:00+00' + s * interval '13 minutes' + e * interval '9"
            " minutes',"
            "  md5(s::text), 'КРЛ-' || lpad(((s / 30) % 200)::text, 3, '0'),"
            "  'Ученик ' || (s % 30) || ' ' || ((s / 30) % 200), 1 + s % 6,"
            "  nullif(e, 0), CASE WHEN e > 0 THEN 2 + ((s + e) % 7) * 0.5 END,"
            "  CASE WHEN e = 0 THEN 'registered' ELSE 'graded' END,"
            "  CASE WHEN e > 0 THEN %2 END,"
            "  CASE WHEN e > 0 THEN 'Константа найдена с ошибкой в поле 1.' END"
            " FROM generate_series(0, %1 - 1) s CROSS JOIN generate_series(0, 4) e;"
            "DROP TABLE reaktikum.sittings;")
            .arg(sittings)
            .arg(literal(sampleEvidence()));
    if (!server->adminExec(fill, database)) return (setupFault = "the fill failed"), false;
    std::printf("filled %lld rows in %.1f s\n", journalRows, timer.elapsed() / 1000.0);
    timer.restart();
    if (!server->runSetup(database)) return (setupFault = server->error()), false;
    // What the server's autovacuum does soon after a load: the statistics, and the pages marked
    // visible, so the plans below are the ones a school's server settles on. The journal first;
    // the sittings again while an autovacuum's analysis, holding its snapshot, keeps their pages
    // from being marked.
    server->adminExec(QStringLiteral("VACUUM (ANALYZE) reaktikum.journal"), database);
    const auto pagesOfSittings = [](const char* column) {
        return server
            ->scalar(database, QStringLiteral("SELECT %1 FROM pg_class WHERE oid = "
                                              "'reaktikum.sittings'::regclass")
                                   .arg(QLatin1String(column)))
            .toLongLong();
    };
    for (int attempt = 0; attempt < 30; ++attempt) {
        server->adminExec(QStringLiteral("VACUUM (ANALYZE) reaktikum.sittings"), database);
        if (pagesOfSittings("relallvisible") >= pagesOfSittings("relpages")) break;
        QThread::sleep(1);
    }
    std::printf(
        "setup.sql run again over them and vacuumed in %.1f s; sittings: %lld, %lld of "
        "%lld pages all visible\n",
        timer.elapsed() / 1000.0,
        server->scalar(database, QStringLiteral("SELECT count(*) FROM reaktikum.sittings"))
            .toLongLong(),
        pagesOfSittings("relallvisible"), pagesOfSittings("relpages"));
    return true;
}

// The plan of a page statement, its parameters written in; with LAB_BENCH_ANALYZE set in the
// environment, as run, with its times.
QString planOf(const SittingQuery& query, bool summarised = false) {
    QVariantList parameters;
    QString sql = summarised ? summarisedPageStatement(query, 2000, &parameters)
                             : sittingPageStatement(query, 500, &parameters);
    for (qsizetype i = parameters.size(); i >= 1; --i)
        sql.replace(QStringLiteral("$%1").arg(i), literal(parameters[i - 1].toString()));
    const bool analyze = qEnvironmentVariableIsSet("LAB_BENCH_ANALYZE");
    const QString options = analyze ? QStringLiteral(", ANALYZE, BUFFERS") : QString();
    const QString plan =
        server->scalar(database, QStringLiteral("EXPLAIN (FORMAT JSON%1) ").arg(options) + sql)
            .toString();
    if (analyze) std::printf("%s\n", qPrintable(plan));
    return plan;
}

struct TeacherView {
    QTemporaryDir dir;
    std::unique_ptr<ClassJournal> journal;
    std::unique_ptr<JournalWindow> window;

    TeacherView() {
        journal = std::make_unique<ClassJournal>(dir.filePath(QStringLiteral("journal.sqlite")),
                                                 server->settings(database),
                                                 QStringLiteral("pc-teacher"));
        window = std::make_unique<JournalWindow>(journal.get());
        window->teacherLogin->setText(PostgresServer::teacherUser());
        window->teacherPassword->setText(PostgresServer::passwordOf(PostgresServer::teacherUser()));
    }
    // Milliseconds until the rows asked for are in the table.
    double waitLoaded(const QElapsedTimer& since) {
        while (window->isLoading() || window->rows->isFetching())
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        return since.nsecsElapsed() / 1e6;
    }
    double login() {
        QElapsedTimer timer;
        timer.start();
        window->reload();
        return waitLoaded(timer);
    }
};

#define REQUIRE_DISTRICT(state)                                \
    if (!fillDistrict()) {                                     \
        state.SkipWithError(setupFault.toStdString().c_str()); \
        return;                                                \
    }

// The teacher logs in: the filters' choices and the newest page of every group.
void BM_OpenView(benchmark::State& state) {
    REQUIRE_DISTRICT(state)
    for (auto _ : state) {
        TeacherView view;
        const double ms = view.login();
        state.SetIterationTime(ms / 1000);
        state.counters["groups"] = view.window->groupFilter->count() - 1;
        state.counters["rows_shown"] = view.window->rows->rowCount();
        if (!view.window->faultLine->text().isEmpty())
            state.SkipWithError(view.window->faultLine->text().toStdString().c_str());
    }
}

// One group chosen: its newest page; then scrolled to its end, page by page.
void BM_OpenGroupAndScroll(benchmark::State& state) {
    REQUIRE_DISTRICT(state)
    for (auto _ : state) {
        TeacherView view;
        view.login();
        QComboBox* groups = view.window->groupFilter;
        QElapsedTimer timer;
        timer.start();
        groups->setCurrentIndex(groups->findText(QStringLiteral("КРЛ-117")));
        const double open = view.waitLoaded(timer);
        state.SetIterationTime(open / 1000);
        double slowest = 0;
        int pages = 1;
        QTableView* table = view.window->table;
        while (view.window->rows->hasMore()) {
            timer.restart();
            table->scrollToBottom();
            if (!view.window->rows->isFetching()) view.window->rows->fetchMore({});
            slowest = std::max(slowest, view.waitLoaded(timer));
            ++pages;
        }
        state.counters["open_group_ms"] = open;
        state.counters["slowest_page_ms"] = slowest;
        state.counters["pages"] = pages;
        state.counters["sittings"] = view.window->rows->rowCount();
    }
}

// Every group, scrolled forty pages deep: a page deep in the years costs what the first does.
void BM_ScrollEveryGroup(benchmark::State& state) {
    REQUIRE_DISTRICT(state)
    for (auto _ : state) {
        TeacherView view;
        view.login();
        double slowest = 0, total = 0;
        for (int page = 0; page < 40 && view.window->rows->hasMore(); ++page) {
            QElapsedTimer timer;
            timer.start();
            view.window->table->scrollToBottom();
            if (!view.window->rows->isFetching()) view.window->rows->fetchMore({});
            const double ms = view.waitLoaded(timer);
            slowest = std::max(slowest, ms);
            total += ms;
        }
        state.SetIterationTime(total / 1000);
        state.counters["slowest_page_ms"] = slowest;
        state.counters["sittings"] = view.window->rows->rowCount();
    }
}

// A period of the district's lessons that holds 100,000 sittings, to a file.
enum class Output { Csv, Moodle, ClassSheet };
void BM_Export100k(benchmark::State& state, Output output) {
    REQUIRE_DISTRICT(state)
    for (auto _ : state) {
        TeacherView view;
        view.login();
        // 100,000 sittings at 13 minutes each from the first.
        const QDateTime first(QDate(2021, 9, 1), QTime(6, 0), Qt::UTC);
        view.window->fromDate->setDate(first.toLocalTime().date());
        view.window->toDate->setDate(
            first.addSecs(qint64(100000) * 13 * 60 - 1).toLocalTime().date());
        view.waitLoaded(QElapsedTimer());
        QTemporaryDir out;
        const QString path = out.filePath(output == Output::ClassSheet ? "sheet.pdf" : "out.csv");
        QElapsedTimer timer;
        timer.start();
        bool ok = false;
        switch (output) {
            case Output::Csv:
                ok = view.window->exportTo(path);
                break;
            case Output::Moodle:
                ok = view.window->exportMoodleTo(path);
                break;
            case Output::ClassSheet:
                ok = view.window->saveClassSheetTo(path);
                break;
        }
        const double ms = timer.nsecsElapsed() / 1e6;
        state.SetIterationTime(ms / 1000);
        if (!ok) state.SkipWithError(view.window->faultLine->text().toStdString().c_str());
        state.counters["file_kb"] = QFileInfo(path).size() / 1024.0;
        if (output == Output::Csv) {
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            state.counters["csv_rows"] = file.readAll().count("\r\n") - 1;
        }
    }
}

// The statements of a group's page and of a period's use the indexes, not a pass over the
// table.
void BM_PlansUseIndexes(benchmark::State& state) {
    REQUIRE_DISTRICT(state)
    for (auto _ : state) {
        SittingQuery group;
        group.filter.group = QStringLiteral("КРЛ-117");
        SittingQuery period;
        period.filter.from = QDate(2023, 1, 10);
        period.filter.to = QDate(2023, 1, 20);
        SittingQuery computer;
        computer.filter.computer = QStringLiteral("pc-07");
        computer.after = {QStringLiteral("2023-01-10T00:00:00.000000Z"), QStringLiteral("5"),
                          QStringLiteral("pc-07"), QStringLiteral("x")};
        QElapsedTimer timer;
        timer.start();
        // The export reads the sittings alone: the server keeps their summaries beside them.
        const struct {
            const char* name;
            QString plan;
            const char* index;
            bool readsJournal;
        } plans[] = {{"group", planOf(group), "sittings_by_group", true},
                     {"period", planOf(period), "sittings_by_time", true},
                     {"computer", planOf(computer), "sittings_by_computer", true},
                     {"export", planOf(period, true), "sittings_by_time", false}};
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
        for (const auto& p : plans) {
            const bool indexed =
                p.plan.contains(QLatin1String(p.index)) &&
                p.plan.contains(QLatin1String("journal_by_sitting")) == p.readsJournal &&
                p.plan.contains(QLatin1String("\"journal\"")) == p.readsJournal &&
                !p.plan.contains(QLatin1String("\"Seq Scan\""));
            state.counters[std::string(p.name) + "_uses_indexes"] = indexed ? 1 : 0;
            if (!indexed) {
                std::printf("%s\n", qPrintable(p.plan));
                state.SkipWithError((std::string("no index for the ") + p.name).c_str());
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    for (int i = 1; i < argc; ++i)
        if (QByteArray(argv[i]).startsWith("--rows="))
            journalRows = QByteArray(argv[i]).mid(7).toLongLong();
    bench::manualOnce("OpenView", BM_OpenView);
    bench::manualOnce("OpenGroupAndScroll", BM_OpenGroupAndScroll);
    bench::manualOnce("ScrollEveryGroup40Pages", BM_ScrollEveryGroup);
    bench::manualOnce("ExportCsv100k", BM_Export100k, Output::Csv);
    bench::manualOnce("ExportMoodle100k", BM_Export100k, Output::Moodle);
    bench::manualOnce("ClassSheetPdf100k", BM_Export100k, Output::ClassSheet);
    bench::manualOnce("PlansUseIndexes", BM_PlansUseIndexes);
    const int result = bench::runBenchmarks(argc, argv);
    delete server;
    return result;
}
