#include "experiments/HeadingStrip14.h"

#include <QPainter>

#include "toolkit/Fonts.h"

namespace {
constexpr int StripWidth = 425;
constexpr int StripHeight = 16;

// Draws text at x on the baseline and returns the x after it.
int drawRun(QPainter& p, int x, int baseline, const QString& text, const QFont& font) {
    p.setFont(font);
    p.drawText(x, baseline, text);
    return x + QFontMetrics(font).horizontalAdvance(text);
}
}  // namespace

QImage headingStrip14Image(const QList<int>& columnWidths) {
    QImage image(StripWidth, StripHeight, QImage::Format_RGB32);
    image.fill(QColor(0xF0, 0xF0, 0xF0));
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QFont font = labFont(QStringLiteral("MS Sans Serif"), 11);
    QFont small = labFont(QStringLiteral("MS Sans Serif"), 8);
    const int baseline = 12;

    // The grid's frame is one pixel wide; each column ends with its grid line.
    QList<int> left;
    int x = 1;
    for (int w : columnWidths) {
        left.append(x);
        x += w;
        p.setPen(QColor(0xA0, 0xA0, 0xA0));
        p.drawLine(x - 1, 0, x - 1, StripHeight - 1);
    }
    p.setPen(QColor(0xA0, 0xA0, 0xA0));
    p.drawLine(0, StripHeight - 1, StripWidth - 1, StripHeight - 1);
    p.drawLine(0, 0, 0, StripHeight - 1);
    p.drawLine(0, 0, StripWidth - 1, 0);
    p.drawLine(StripWidth - 1, 0, StripWidth - 1, StripHeight - 1);

    p.setPen(Qt::black);
    auto at = [&](int column) { return column < left.size() ? left[column] + 3 : StripWidth; };
    drawRun(p, at(0), baseline, QStringLiteral("№ пробирки"), font);
    drawRun(p, at(1), baseline, QStringLiteral("Время, с"), font);
    drawRun(p, at(2), baseline, QStringLiteral("T, °C"), font);
    int vx = drawRun(p, at(3), baseline, QStringLiteral("V"), font);
    vx = drawRun(p, vx, baseline + 2, QStringLiteral("усл"), small);
    drawRun(p, vx, baseline, QStringLiteral(" = 1/Время"), font);
    drawRun(p, at(4), baseline, QStringLiteral("Температурный коэфф-т"), font);
    return image;
}

TemperatureHeadingStrip::TemperatureHeadingStrip(const QList<int>& columnWidths, QWidget* parent)
    : Picture(parent) {
    setImage(headingStrip14Image(columnWidths));
}
