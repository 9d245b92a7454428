#include "concentration/HeadingStrip.h"

#include <QFontMetrics>
#include <QPainter>

#include "toolkit/Controls.h"
#include "toolkit/Fonts.h"

namespace {
constexpr int StripWidth = 575;
constexpr int StripHeight = 16;

// Headings in a small markup: "_" sets the next character as a subscript.
const char* const headingMarkup[] = {
    "№ пробирки", "Na_2S_2O_3, мл",         "H_2O, мл", "H_2SO_4, мл", "C′ Na_2S_2O_3, моль/л",
    "Время T, с", "Скорость реакции, у.е.",
};

struct Run {
    QString text;
    bool subscript = false;
};

QList<Run> parseMarkup(const QString& markup) {
    QList<Run> runs;
    for (qsizetype i = 0; i < markup.size(); ++i) {
        const bool sub = markup[i] == '_' && i + 1 < markup.size();
        if (sub) ++i;
        if (runs.isEmpty() || runs.back().subscript != sub) runs.append({QString(), sub});
        runs.back().text += markup[i];
    }
    return runs;
}

int runsWidth(const QList<Run>& runs, const QFont& normal, const QFont& small) {
    int w = 0;
    for (const Run& r : runs)
        w += QFontMetrics(r.subscript ? small : normal).horizontalAdvance(r.text);
    return w;
}

// Draws a heading centred in its cell, a pixel smaller at a time until it fits.
void drawHeading(QPainter& p, const QRect& cell, const QList<Run>& runs) {
    int size = 11;
    QFont normal, small;
    for (;; --size) {
        normal = labFont(QStringLiteral("MS Sans Serif"), size);
        small = labFont(QStringLiteral("MS Sans Serif"), qMax(6, size * 3 / 4));
        if (size <= 7 || runsWidth(runs, normal, small) <= cell.width() - 2) break;
    }
    const int baseline = cell.top() + 11;
    int x = cell.left() + (cell.width() - runsWidth(runs, normal, small)) / 2;
    for (const Run& r : runs) {
        const QFont& f = r.subscript ? small : normal;
        p.setFont(f);
        p.drawText(x, baseline + (r.subscript ? 3 : 0), r.text);
        x += QFontMetrics(f).horizontalAdvance(r.text);
    }
}
}  // namespace

QImage headingStripImage(const QList<int>& columnWidths) {
    QImage img(StripWidth, StripHeight, QImage::Format_RGB32);
    img.fill(QColor(0xF0, 0xF0, 0xF0));
    QPainter p(&img);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QColor line(0xA0, 0xA0, 0xA0);
    int x = 1;
    for (qsizetype c = 0; c < columnWidths.size(); ++c) {
        const int w = columnWidths[c];
        const QRect cell(x, 0, w - 1, StripHeight - 1);
        p.setPen(Qt::black);
        if (c < qsizetype(std::size(headingMarkup)))
            drawHeading(p, cell, parseMarkup(QString::fromUtf8(headingMarkup[c])));
        p.setPen(line);
        p.drawLine(x + w - 1, 0, x + w - 1, StripHeight - 1);
        x += w;
    }
    p.setPen(line);
    p.drawLine(0, StripHeight - 1, StripWidth - 1, StripHeight - 1);
    return img;
}

ConcentrationHeadingStrip::ConcentrationHeadingStrip(QWidget* parent) : QWidget(parent) {
    resize(StripWidth, StripHeight);
    picture = new Picture(this);
    picture->setGeometry(0, 0, StripWidth, StripHeight);
}

void ConcentrationHeadingStrip::setColumnWidths(const QList<int>& widths) {
    picture->setImage(headingStripImage(widths));
}
