#include "Icon.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSaveFile>

#include "Palette.h"

namespace icon {

namespace {
constexpr double canvas = 256;
constexpr int sizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The flask's glass, neck at the top, body widening to a flat bottom with rounded corners.
QPainterPath flaskPath() {
    QPainterPath p;
    p.moveTo(106, 44);
    p.lineTo(150, 44);
    p.lineTo(150, 58);
    p.lineTo(146, 58);
    p.lineTo(146, 104);
    p.lineTo(200, 192);
    p.cubicTo(208, 205, 200, 216, 186, 216);
    p.lineTo(70, 216);
    p.cubicTo(56, 216, 48, 205, 56, 192);
    p.lineTo(110, 104);
    p.lineTo(110, 58);
    p.lineTo(106, 58);
    p.closeSubpath();
    return p;
}

// The liquid filling the flask's cone from the surface at y = 150 down.
QPainterPath liquidPath() {
    QPainterPath p;
    p.moveTo(83, 150);
    p.cubicTo(105, 142, 151, 158, 173, 150);
    p.lineTo(192, 188);
    p.cubicTo(199, 200, 194, 206, 184, 206);
    p.lineTo(72, 206);
    p.cubicTo(62, 206, 57, 200, 64, 188);
    p.closeSubpath();
    return p;
}

QString colorText(const QColor& c) {
    return c.name(QColor::HexRgb);
}

QString number(double v) {
    return QString::number(v, 'g', 6);
}

QString pathData(const QPainterPath& path) {
    QString d;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo())
            d += QStringLiteral("M%1 %2").arg(number(e.x), number(e.y));
        else if (e.isLineTo())
            d += QStringLiteral("L%1 %2").arg(number(e.x), number(e.y));
        else if (e.isCurveTo() && i + 2 < path.elementCount()) {
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            d += QStringLiteral("C%1 %2 %3 %4 %5 %6")
                     .arg(number(e.x), number(e.y), number(c2.x), number(c2.y), number(end.x),
                          number(end.y));
            i += 2;
        }
    }
    return d;
}

// An SVG paint attribute value; gradients are appended to defs under the given id.
QString svgPaint(const art::Paint& paint, const QString& id, QString& defs, QString& opacity) {
    switch (paint.kind) {
        case art::Paint::None:
            return QStringLiteral("none");
        case art::Paint::Solid:
            if (paint.color.alpha() != 255) opacity = number(paint.color.alphaF());
            return colorText(paint.color);
        case art::Paint::Linear:
        case art::Paint::Radial: {
            const bool linear = paint.kind == art::Paint::Linear;
            QString g = linear ? QStringLiteral(
                                     "<linearGradient id=\"%1\" gradientUnits="
                                     "\"userSpaceOnUse\" x1=\"%2\" y1=\"%3\" x2=\"%4\" "
                                     "y2=\"%5\">")
                                     .arg(id, number(paint.from.x()), number(paint.from.y()),
                                          number(paint.to.x()), number(paint.to.y()))
                               : QStringLiteral(
                                     "<radialGradient id=\"%1\" gradientUnits="
                                     "\"userSpaceOnUse\" cx=\"%2\" cy=\"%3\" r=\"%4\">")
                                     .arg(id, number(paint.from.x()), number(paint.from.y()),
                                          number(paint.to.x() - paint.from.x()));
            for (const auto& [at, color] : paint.stops)
                g += QStringLiteral("<stop offset=\"%1\" stop-color=\"%2\" stop-opacity=\"%3\"/>")
                         .arg(number(at), colorText(color), number(color.alphaF()));
            g += linear ? QStringLiteral("</linearGradient>") : QStringLiteral("</radialGradient>");
            defs += g;
            return QStringLiteral("url(#%1)").arg(id);
        }
    }
    return QStringLiteral("none");
}
}  // namespace

art::Art drawing() {
    const QColor tileTop = palette::accent.lighter(135);
    const QColor liquidTop{0xD8, 0x3A, 0x3A};
    art::Art a;
    a.fill(art::roundRect(8, 8, 240, 240, 44),
           art::Paint::linear({0, 8}, {0, 248}, {{0, tileTop}, {1, palette::accent}}));
    // The glass: pale and slightly see-through over the tile, the liquid inside it.
    a.fill(flaskPath(), art::Paint::linear({56, 0}, {200, 0},
                                           {{0, QColor(0xFF, 0xFF, 0xFF, 0xF0)},
                                            {1, QColor(0xDD, 0xEB, 0xF5, 0xF0)}}));
    a.fill(liquidPath(),
           art::Paint::linear({0, 142}, {0, 206}, {{0, liquidTop}, {1, palette::bad}}));
    a.fill(art::circle({112, 182}, 9), QColor(0xFF, 0xFF, 0xFF, 0xB0));
    a.fill(art::circle({138, 168}, 6), QColor(0xFF, 0xFF, 0xFF, 0xB0));
    a.fill(art::circle({150, 190}, 4), QColor(0xFF, 0xFF, 0xFF, 0xB0));
    // Bubbles rising from the neck: the reaction is going on.
    a.fill(art::circle({140, 26}, 7), QColor(0xFF, 0xFF, 0xFF, 0xD0));
    a.fill(art::circle({160, 14}, 4.5), QColor(0xFF, 0xFF, 0xFF, 0xB0));
    a.stroke(flaskPath(), palette::ink, 7);
    // The highlight on the glass, as on the laboratory's flasks.
    a.stroke(art::line({84, 178}, {120, 118}), QColor(0xFF, 0xFF, 0xFF, 0xC0), 6);
    return a;
}

QByteArray svg() {
    QString defs;
    QString body;
    int gradient = 0;
    const art::Art icon = drawing();
    for (const art::Part& part : icon.parts()) {
        QString opacity;
        const QString fill =
            svgPaint(part.fill, QStringLiteral("g%1").arg(++gradient), defs, opacity);
        QString element =
            QStringLiteral("<path d=\"%1\" fill=\"%2\"").arg(pathData(part.path), fill);
        if (!opacity.isEmpty()) element += QStringLiteral(" fill-opacity=\"%1\"").arg(opacity);
        if (part.path.fillRule() == Qt::OddEvenFill)
            element += QStringLiteral(" fill-rule=\"evenodd\"");
        if (part.lineWidth > 0) {
            element += QStringLiteral(
                           " stroke=\"%1\" stroke-width=\"%2\" stroke-linecap=\"round\" "
                           "stroke-linejoin=\"round\"")
                           .arg(colorText(part.lineColor), number(part.lineWidth));
            if (part.lineColor.alpha() != 255)
                element +=
                    QStringLiteral(" stroke-opacity=\"%1\"").arg(number(part.lineColor.alphaF()));
        }
        body += element + QStringLiteral("/>\n");
    }
    QString out = QStringLiteral(
                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                      "viewBox=\"0 0 256 256\">\n") +
                  (defs.isEmpty() ? QString() : QStringLiteral("<defs>") + defs + "</defs>\n") +
                  body + QStringLiteral("</svg>\n");
    return out.toUtf8();
}

QByteArray png(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.scale(size / canvas, size / canvas);
        art::paint(p, drawing());
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

bool writeIconTheme(const QString& dir, const QString& name, QString* error) {
    auto write = [&](const QString& folder, const QString& file, const QByteArray& bytes) {
        const QString path = dir + QStringLiteral("/hicolor/") + folder + QStringLiteral("/apps");
        QSaveFile out(path + '/' + file);
        if (QDir().mkpath(path) && out.open(QIODevice::WriteOnly) &&
            out.write(bytes) == bytes.size() && out.commit())
            return true;
        if (error)
            *error = QStringLiteral("cannot write ") + out.fileName() + ": " + out.errorString();
        return false;
    };
    if (!write(QStringLiteral("scalable"), name + QStringLiteral(".svg"), svg())) return false;
    for (int size : sizes)
        if (!write(QStringLiteral("%1x%1").arg(size), name + QStringLiteral(".png"), png(size)))
            return false;
    return true;
}

}  // namespace icon
