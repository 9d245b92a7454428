#include "experiments/common/HeadingStrip.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "toolkit/Fonts.h"

namespace {
constexpr int StripHeight = 16;
// The grids' own size: a strip takes it where all its headings fit their cells.
constexpr int TableFontSize = 12;

struct Run {
    QString text;
    bool subscript = false;
};

QList<Run> parseMarkup(const QString& markup) {
    QList<Run> runs;
    auto append = [&runs](const QString& text, bool subscript) {
        if (runs.isEmpty() || runs.back().subscript != subscript)
            runs.append({QString(), subscript});
        runs.back().text += text;
    };
    for (qsizetype i = 0; i < markup.size(); ++i) {
        if (markup[i] == '_' && i + 1 < markup.size()) {
            const qsizetype close = markup.indexOf('}', i + 2);
            if (markup[i + 1] == '{' && close > 0) {
                append(markup.mid(i + 2, close - i - 2), true);
                i = close;
            } else {
                append(QString(markup[++i]), true);
            }
        } else {
            append(QString(markup[i]), false);
        }
    }
    return runs;
}

QFont tableFont(int size) {
    return labFont(QStringLiteral("MS Sans Serif"), size);
}

QFont subscriptFont(int size) {
    return labFont(QStringLiteral("MS Sans Serif"), qMax(6, size * 5 / 6));
}

int runsWidth(const QList<Run>& runs, int size) {
    int w = 0;
    for (const Run& r : runs)
        w += QFontMetrics(r.subscript ? subscriptFont(size) : tableFont(size))
                 .horizontalAdvance(r.text);
    return w;
}

// What a heading may take of its cell's width: a clear pixel or two before each line.
int room(const HeadingSet& set, const QRect& cell) {
    return set.centred ? cell.width() - 4 : cell.width() - 5;
}

void drawHeading(QPainter& p, const HeadingSet& set, const QRect& cell, const QList<Run>& runs,
                 int size) {
    int x = cell.left() + 3;
    if (set.centred) x = cell.left() + (cell.width() - runsWidth(runs, size)) / 2;
    const int baseline = cell.top() + set.baseline;
    for (const Run& r : runs) {
        const QFont f = r.subscript ? subscriptFont(size) : tableFont(size);
        p.setFont(f);
        p.drawText(x, baseline + (r.subscript ? set.subscriptDrop : 0), r.text);
        x += QFontMetrics(f).horizontalAdvance(r.text);
    }
}

QRect cellOf(const QList<int>& columnWidths, int column) {
    int x = 1;
    for (int c = 0; c < column; ++c) x += columnWidths[c];
    return QRect(x, 0, columnWidths[column] - 1, StripHeight - 1);
}

// One size for the whole strip: the grid's own where every heading fits its cell, else a pixel
// smaller at a time until they all do, so the headings never run over a line and never differ.
int stripSize(const HeadingSet& set, const QList<int>& columnWidths) {
    int size = TableFontSize;
    const qsizetype n = std::min(set.headings.size(), columnWidths.size());
    auto fits = [&](int s) {
        for (qsizetype c = 0; c < n; ++c)
            if (runsWidth(parseMarkup(set.headings[c]), s) >
                room(set, cellOf(columnWidths, int(c))))
                return false;
        return true;
    };
    while (size > 7 && !fits(size)) --size;
    return size;
}
}  // namespace

const HeadingSet& concentrationHeadings() {
    static const HeadingSet set{
        575,
        {QStringLiteral("№ пробирки"), QStringLiteral("Na_2S_2O_3, мл"), QStringLiteral("H_2O, мл"),
         QStringLiteral("H_2SO_4, мл"), QStringLiteral("C′ Na_2S_2O_3, моль/л"),
         QStringLiteral("Время T, с"), QStringLiteral("Скорость реакции, у.е.")},
        true,
        11,
        3,
        false,
    };
    return set;
}

const HeadingSet& temperatureHeadings() {
    static const HeadingSet set{
        425,
        {QStringLiteral("№ пробирки"), QStringLiteral("Время, с"), QStringLiteral("T, °C"),
         QStringLiteral("V_{усл} = 1/Время"), QStringLiteral("Температурный коэфф-т")},
        false,
        12,
        2,
        true,
    };
    return set;
}

void paintHeadingStrip(QPainter& p, const HeadingSet& set, const QList<int>& columnWidths) {
    p.save();
    p.fillRect(QRect(0, 0, set.width, StripHeight), QColor(0xF0, 0xF0, 0xF0));
    p.setRenderHint(QPainter::TextAntialiasing);
    const int size = stripSize(set, columnWidths);
    const QColor line(0xA0, 0xA0, 0xA0);
    int x = 1;
    for (qsizetype c = 0; c < columnWidths.size(); ++c) {
        const int w = columnWidths[c];
        p.setPen(Qt::black);
        if (c < set.headings.size())
            drawHeading(p, set, QRect(x, 0, w - 1, StripHeight - 1), parseMarkup(set.headings[c]),
                        size);
        p.setPen(line);
        p.drawLine(x + w - 1, 0, x + w - 1, StripHeight - 1);
        x += w;
    }
    p.setPen(line);
    const int right = set.width - 1, bottom = StripHeight - 1;
    p.drawLine(0, bottom, right, bottom);
    if (set.boxed) {
        p.drawLine(0, 0, 0, bottom);
        p.drawLine(0, 0, right, 0);
        p.drawLine(right, 0, right, bottom);
    }
    p.restore();
}

HeadingStrip::HeadingStrip(const HeadingSet& headings, QWidget* parent)
    : Picture(parent), headings_(headings) {
    resize(headings.width, StripHeight);
    QStringList spoken;
    for (QString h : headings.headings)
        spoken << h.remove(QStringLiteral("_{")).remove(QLatin1Char('_')).remove(QLatin1Char('}'));
    setAccessibleName(QStringLiteral("Заголовки таблицы: ") + spoken.join(QStringLiteral("; ")));
}

void HeadingStrip::setColumnWidths(const QList<int>& widths) {
    // Drawn on the screen's own pixels, so the headings are as sharp as the grid below them.
    const HeadingSet* set = &headings_;
    setDrawing(QSize(headings_.width, StripHeight),
               [set, widths](QPainter& p) { paintHeadingStrip(p, *set, widths); });
}
