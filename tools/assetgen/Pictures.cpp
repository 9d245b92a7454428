#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <cmath>
#include <functional>
#include <utility>

#include "AssetTree.h"
#include "Glassware.h"
#include "Palette.h"
#include "Text.h"
#include "toolkit/Jpeg.h"

namespace assets {
namespace {

// Device pixels per picture pixel of the picture being drawn: 2 for the "@2x" files of scaled
// screens. The drawing code works in picture pixels either way; the canvas carries the ratio.
int pictureScale = 1;
// The darker end of the picture's ground, which its texts are held to.
QColor pictureGround;

QImage canvas(int w, int h, QColor top, QColor bottom) {
    QImage image(w * pictureScale, h * pictureScale, QImage::Format_RGB32);
    image.setDevicePixelRatio(pictureScale);
    pictureGround = top.lightness() < bottom.lightness() ? top : bottom;
    QPainter p(&image);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(QRect(0, 0, w, h), g);
    return image;
}

void draw(QPainter& p, const art::Art& a, QPointF at = {}) {
    p.save();
    p.translate(at);
    art::paint(p, a);
    p.restore();
}

void write(QPainter& p, const QString& markup, const text::Style& style, QPointF at, QColor c,
           text::Align align = text::Align::Left) {
    text::noteInk(markup, style, c, pictureGround);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(text::block(markup, style, at, align));
}

// Faint hexagons of a benzene-like pattern, for the corners of the backgrounds.
void molecules(QPainter& p, QPointF centre, double r, int count, QColor c) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(c, 1.6));
    for (int i = 0; i < count; ++i) {
        const QPointF o =
            centre + QPointF((i % 3) * r * 1.73, (i / 3) * r * 1.5 + (i % 2) * r * 0.75);
        QPolygonF hex;
        for (int k = 0; k < 6; ++k) {
            const double a = M_PI / 3 * k + M_PI / 6;
            hex << o + QPointF(std::cos(a) * r, std::sin(a) * r);
        }
        p.drawPolygon(hex);
    }
}

// A little still life of glassware, its base line at y = 0.
void glassware(QPainter& p, QPointF base, double scale) {
    p.save();
    p.translate(base);
    p.scale(scale, scale);
    draw(p, glass::flask(90, 120), {0, 0});
    draw(p, glass::flaskLiquid(90, 120, 0.42, QColor(0x8F, 0xC8, 0xEE)), {0, 0});
    draw(p, glass::flaskOutline(90, 120), {0, 0});
    for (int i = 0; i < 3; ++i) {
        const double x = 80 + i * 28;
        const QColor c = i == 0   ? QColor(0xF2, 0xE6, 0xA0)
                         : i == 1 ? QColor(0xC8, 0x3A, 0x3A)
                                  : QColor(0xB9, 0xDD, 0xF3);
        draw(p, glass::testTube(18, 96), {x, -104});
        draw(p, glass::tubeLiquidCap(18, c), {x, -104 + glass::tubeBodyBottom(18, 96)});
        draw(p, glass::tubeLiquidBody(18, 40 + i * 8, c),
             {x, -104 + glass::tubeBodyBottom(18, 96)});
        draw(p, glass::testTubeFront(18, 96), {x, -104});
    }
    draw(p, glass::rack(3, 28, 30), {108, -58});
    // The beaker stands clear of the rack's end.
    draw(p, glass::beaker(70, 74), {218, 0});
    draw(p, glass::beakerLiquid(70, 74, 0.55, QColor(0xE8, 0xB4, 0x4A, 0xC0)), {218, 0});
    p.restore();
}

QImage splash() {
    QImage image = canvas(488, 288, QColor(0xFF, 0xFF, 0xFF), QColor(0xDC, 0xE9, 0xF5));
    QPainter p(&image);
    molecules(p, {330, 18}, 14, 6, QColor(0x1F, 0x5F, 0xA8, 28));
    p.setPen(QPen(palette::panelLine, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(6, 6, 476, 276), 10, 10);
    write(p, "Реактикум", text::bold(46), {32, 36}, palette::accent);
    write(p, "Виртуальная химическая лаборатория", text::plain(16), {34, 94}, palette::muted);
    write(p, "Скорость химических реакций\nи химическое равновесие", text::bold(18), {34, 136},
          palette::ink);
    p.setPen(QPen(palette::action, 3));
    p.drawLine(QPointF(34, 124), QPointF(120, 124));
    glassware(p, {300, 262}, 0.62);
    write(p, "Загрузка…", text::italic(13), {34, 250}, palette::muted);
    return image;
}

QImage mainBackground() {
    QImage image = canvas(715, 506, QColor(0xF7, 0xFA, 0xFD), QColor(0xE3, 0xEC, 0xF5));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Header band behind the title.
    QLinearGradient band(0, 0, 0, 90);
    band.setColorAt(0, QColor(0xDD, 0xEA, 0xF6));
    band.setColorAt(1, QColor(0xF3, 0xF7, 0xFB));
    p.fillRect(QRectF(0, 0, 715, 90), band);
    molecules(p, {560, 8}, 12, 3, QColor(0x1F, 0x5F, 0xA8, 30));
    molecules(p, {130, 12}, 11, 3, QColor(0x1F, 0x5F, 0xA8, 24));
    p.setPen(QPen(palette::panelLine, 1.5));
    p.drawLine(QPointF(0, 90), QPointF(715, 90));
    // The links' column on the left.
    p.setPen(QPen(palette::panelLine, 1));
    p.setBrush(QColor(0xFF, 0xFF, 0xFF));
    p.drawRoundedRect(QRectF(3, 154, 114, 183), 6, 6);
    // The frame around the movie.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x9F, 0xB5, 0xCC), 2));
    p.drawRoundedRect(QRectF(116, 93, 591, 367), 6, 6);
    // A small flask beside "х и м и я".
    p.save();
    p.translate(60, 84);
    p.scale(0.32, 0.32);
    art::paint(p, glass::flask(90, 100));
    art::paint(p, glass::flaskLiquid(90, 100, 0.45, QColor(0x8F, 0xC8, 0xEE)));
    art::paint(p, glass::flaskOutline(90, 100));
    p.restore();
    // Footer.
    p.setPen(QPen(palette::panelLine, 1));
    p.drawLine(QPointF(120, 480), QPointF(705, 480));
    write(p, "Реактикум — виртуальная химическая лаборатория", text::plain(12), {705, 485},
          palette::muted, text::Align::Right);
    return image;
}

QImage experimentBackground() {
    // The movie area is the movies' own stage colour, so a movie, and the window's tables laid
    // over its lower edge, sit on one even ground with no visible panel edge around them.
    QImage image = canvas(715, 505, palette::stage, palette::stage);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient band(0, 0, 0, 62);
    band.setColorAt(0, QColor(0xD6, 0xE5, 0xF4));
    band.setColorAt(1, QColor(0xF0, 0xF5, 0xFA));
    p.fillRect(QRectF(0, 0, 715, 62), band);
    molecules(p, {600, 6}, 10, 3, QColor(0x1F, 0x5F, 0xA8, 30));
    p.setPen(QPen(palette::panelLine, 1.5));
    p.drawLine(QPointF(0, 62), QPointF(715, 62));
    // The link band at the bottom: one flat colour, which the movies of experiment 4 continue.
    // It begins where the links do, a little below the tables of experiments 1 and 2 (they end
    // at y 458), so a table never stands on its edge.
    p.fillRect(QRectF(0, 461, 715, 44), palette::linkBand);
    p.setPen(QPen(palette::panelLine, 1));
    p.drawLine(QPointF(0, 460.5), QPointF(715, 460.5));
    return image;
}

QImage resultStrip(bool legend) {
    QImage image = canvas(555, 85, QColor(0xFF, 0xFF, 0xFF), QColor(0xEE, 0xF3, 0xF9));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(palette::panelLine, 1));
    p.drawLine(QPointF(0, 0.5), QPointF(555, 0.5));
    if (!legend) {
        write(p, "Нажмите «Далее», чтобы построить график и получить оценку", text::bold(15),
              {277.5, 14}, palette::ink, text::Align::Center);
        write(p, "Линия ваших измерений растёт по мере построения", text::plain(12), {277.5, 36},
              palette::muted, text::Align::Center);
        return image;
    }
    // The conclusion comes here, under the student's own line, after the table is filled.
    const auto sample = [&](double x, QColor c, const QString& label) {
        p.setPen(QPen(c, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x, 14), QPointF(x + 40, 14));
        write(p, label, text::plain(14), {x + 50, 5}, palette::ink);
    };
    sample(60, QColor(0xD0, 0x21, 0x21), "эталонная зависимость");
    sample(310, QColor(0x1F, 0x4F, 0xD0), "ваши измерения");
    write(p,
          "Вывод: чем больше концентрация " + text::chem("Na2S2O3") +
              ",\nтем меньше время и больше скорость реакции",
          text::bold(14), {277.5, 26}, palette::good, text::Align::Center);
    write(p, "Оценка зависит от отклонения вашей линии от эталонной", text::plain(12), {277.5, 66},
          palette::muted, text::Align::Center);
    return image;
}

}  // namespace

std::vector<FileAsset> pictureAssets() {
    const std::vector<std::pair<QString, std::function<QImage()>>> pictures = {
        {"BackGround/ZGround.jpg", splash},
        {"BackGround/Ground.jpg", mainBackground},
        {"BackGround/Opit.jpg", experimentBackground},
        {"Restextout/6.jpg", [] { return resultStrip(false); }},
        {"Restextout/7.jpg", [] { return resultStrip(true); }},
    };
    // Each picture twice: as named, and drawn at twice the size under Qt's "@2x" name beside it
    // for screens scaled above 1.
    std::vector<FileAsset> files;
    for (const auto& [path, make] : pictures) {
        files.push_back({path, [make] { return encodeJpeg(make(), 92); }});
        const QString doubled =
            path.left(path.lastIndexOf('.')) + "@2x" + path.mid(path.lastIndexOf('.'));
        files.push_back({doubled, [make] {
                             pictureScale = 2;
                             const QImage image = make();
                             pictureScale = 1;
                             return encodeJpeg(image, 92);
                         }});
    }
    return files;
}

}  // namespace assets
