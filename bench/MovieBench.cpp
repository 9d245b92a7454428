// Movie player benchmarks: parse time of every conformance movie, render time per frame at
// stage size (after the first frame, which builds the shape geometry), and a typical
// laboratory frame at 705 x 350 that changes every frame.

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>

#include "movie/Renderer.h"
#include "swf/SwfReader.h"
#include "swf/SwfWriter.h"
#include "swf/Timeline.h"

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void parse(benchmark::State& state, QByteArray bytes) {
    for (auto _ : state) {
        auto r = swf::readSwf(bytes);
        benchmark::DoNotOptimize(r.ok);
    }
}

void render(benchmark::State& state, QByteArray bytes) {
    swf::ReadResult r = swf::readSwf(bytes);
    if (!r.ok) {
        state.SkipWithError("refused");
        return;
    }
    swf::Timeline tl(std::move(r.movie), true, true);
    const QSize size = swf::stageSizePx(tl.header());
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter p(&img);
        swf::renderStage(p, tl, QRectF(0, 0, size.width(), size.height()));  // first frame
    }
    for (auto _ : state) {
        QPainter p(&img);
        swf::renderStage(p, tl, QRectF(0, 0, size.width(), size.height()));
    }
}

// A laboratory scene: bench, stand, a flask with liquid and rising bubbles, a thermometer.
QByteArray labMovie() {
    using namespace swf;
    SwfWriter w(705, 350, 24);
    w.setBackground({236, 233, 216, 255});
    ShapeSpec wall;
    wall.fills.push_back(
        linearGradient(0, 0, 0, px(350), {{0, {250, 250, 240, 255}}, {255, {200, 200, 185, 255}}}));
    wall.paths.push_back(SubPath::rect(0, 0, px(705), px(260), 1, 0));
    wall.fills.push_back(FillStyle::solid({120, 85, 50, 255}));
    wall.paths.push_back(SubPath::rect(0, px(260), px(705), px(90), 2, 0));
    const auto wallId = w.defineShape(wall);
    ShapeSpec flask;
    flask.fills.push_back(radialGradient(px(60), px(120), px(90),
                                         {{0, {255, 255, 255, 90}}, {255, {170, 200, 230, 140}}}));
    flask.lines.push_back(LineStyle::make(40, {60, 60, 80, 255}));
    SubPath body(px(45), 0, 1, 1);
    body.lineTo(px(75), 0)
        .lineTo(px(75), px(60))
        .curveTo(px(140), px(110), px(120), px(170))
        .lineTo(0, px(170))
        .curveTo(px(-20), px(110), px(45), px(60))
        .close();
    flask.paths.push_back(body);
    const auto flaskId = w.defineShape(flask);
    ShapeSpec liquid;
    liquid.fills.push_back(FillStyle::solid({40, 120, 220, 160}));
    SubPath lq(px(8), px(110), 1, 0);
    lq.lineTo(px(112), px(110))
        .curveTo(px(130), px(140), px(118), px(168))
        .lineTo(px(2), px(168))
        .curveTo(px(-10), px(140), px(8), px(110));
    liquid.paths.push_back(lq);
    const auto liquidId = w.defineShape(liquid);
    ShapeSpec bubble;
    bubble.fills.push_back(
        focalGradient(0, 0, px(5), -0.4, {{0, {255, 255, 255, 230}}, {255, {150, 200, 255, 60}}}));
    bubble.lines.push_back(LineStyle::make(10, {255, 255, 255, 180}));
    bubble.paths.push_back(SubPath::ellipse(0, 0, px(5), px(5), 1, 1));
    const auto bubbleId = w.defineShape(bubble);
    ShapeSpec stand;
    stand.fills.push_back(linearGradient(
        0, 0, px(12), 0,
        {{0, {90, 90, 90, 255}}, {128, {200, 200, 200, 255}}, {255, {80, 80, 80, 255}}}));
    stand.paths.push_back(SubPath::rect(0, 0, px(12), px(230), 1, 0));
    stand.paths.push_back(SubPath::rect(px(-40), px(225), px(120), px(10), 1, 0));
    const auto standId = w.defineShape(stand);
    ShapeSpec thermo;
    thermo.fills.push_back(FillStyle::solid({250, 250, 250, 255}));
    thermo.fills.push_back(FillStyle::solid({220, 30, 30, 255}));
    thermo.lines.push_back(LineStyle::make(20, {40, 40, 40, 255}));
    thermo.paths.push_back(SubPath::rect(0, 0, px(14), px(150), 1, 1));
    thermo.paths.push_back(SubPath::ellipse(px(7), px(158), px(11), px(11), 2, 1));
    for (int i = 0; i < 15; ++i)
        thermo.paths.push_back(SubPath::rect(px(14), px(10 + i * 9), px(5), px(1), 0, 1));
    const auto thermoId = w.defineShape(thermo);
    SpriteBuilder bubbles;
    for (int f = 0; f < 24; ++f) {
        for (int b = 0; b < 12; ++b) {
            const double x = px(20 + (b * 37) % 80),
                         y = px(160 - std::fmod(f * 4.0 + b * 13.0, 50.0));
            if (f == 0)
                bubbles.placeObject(std::uint16_t(b + 1), bubbleId, Matrix::translate(x, y));
            else
                bubbles.moveObject(std::uint16_t(b + 1), Matrix::translate(x, y));
        }
        bubbles.showFrame();
    }
    const auto bubblesId = w.defineSprite(bubbles);
    w.placeObject(1, wallId);
    w.placeObject(2, standId, Matrix::translate(px(200), px(40)));
    w.placeObject(3, liquidId, Matrix::translate(px(260), px(90)));
    w.placeObject(4, bubblesId, Matrix::translate(px(260), px(90)));
    w.placeObject(5, flaskId, Matrix::translate(px(260), px(90)));
    w.placeObject(6, thermoId, Matrix::translate(px(520), px(60)));
    w.placeObject(7, flaskId, Matrix::fromValues(0.6, 0, 0, 0.6, px(80), px(150)),
                  CxForm::multiply(1, 0.8, 0.8, 1));
    for (int f = 0; f < 48; ++f) {
        if (f > 0) w.moveObject(6, Matrix::translate(px(520), px(60 - f % 10)));
        w.showFrame();
    }
    return w.finish();
}

// Plays a movie at 705 x 350, one tick and one frame drawn per iteration.
void playMovie(benchmark::State& state, QByteArray bytes) {
    swf::ReadResult r = swf::readSwf(bytes);
    if (!r.ok) {
        state.SkipWithError("refused");
        return;
    }
    swf::Timeline tl(std::move(r.movie), true, true);
    QImage img(705, 350, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        tl.tick();
        QPainter p(&img);
        swf::renderStage(p, tl, QRectF(0, 0, 705, 350));
    }
}

void labFrame(benchmark::State& state) {
    swf::ReadResult r = swf::readSwf(labMovie());
    swf::Timeline tl(std::move(r.movie), true, true);
    QImage img(705, 350, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter p(&img);
        swf::renderStage(p, tl, QRectF(0, 0, 705, 350));
    }
    for (auto _ : state) {
        tl.tick();
        QPainter p(&img);
        swf::renderStage(p, tl, QRectF(0, 0, 705, 350));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir root(QStringLiteral(LAB_TEST_DATA_DIR "/swf-conformance"));
    for (const QString& name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QByteArray bytes = readAll(root.filePath(name + QStringLiteral("/test.swf")));
        if (bytes.isEmpty()) continue;
        benchmark::RegisterBenchmark(QString(QStringLiteral("parse/") + name).toStdString().c_str(),
                                     parse, bytes)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(
            QString(QStringLiteral("render/") + name).toStdString().c_str(), render, bytes)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("render/lab_frame_705x350", labFrame)
        ->Unit(benchmark::kMillisecond);
    // LAB_BENCH_MOVIES: more movies to play at 705 x 350 (paths separated by ':'), for example the
    // generated experiment movies of a build's program folder.
    for (const QString& path :
         qEnvironmentVariable("LAB_BENCH_MOVIES").split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        const QByteArray bytes = readAll(path);
        if (bytes.isEmpty()) continue;
        benchmark::RegisterBenchmark(
            QString(QStringLiteral("play/") + QFileInfo(path).fileName()).toStdString().c_str(),
            playMovie, bytes)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
