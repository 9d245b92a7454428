#include "experiments/common/HeadingStrip.h"

#include <QFontMetrics>
#include <QPainter>

#include "toolkit/Fonts.h"

namespace {
constexpr int StripHeight = 16;
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

void drawHeading(QPainter& p, const HeadingSet& set, const QRect& cell, const QList<Run>& runs) {
    // The table's own size where the heading fits its cell, a pixel smaller at a time where it
    // does not: a long heading never runs over its cell's line.
    int size = TableFontSize;
    int x = cell.left() + 3;
    const int room = set.centred ? cell.width() - 4 : cell.width() - 5;
    while (size > 7 && runsWidth(runs, size) > room) --size;
    if (set.centred) x = cell.left() + (cell.width() - runsWidth(runs, size)) / 2;
    const int baseline = cell.top() + set.baseline;
    for (const Run& r : runs) {
        const QFont f = r.subscript ? subscriptFont(size) : tableFont(size);
        p.setFont(f);
        p.drawText(x, baseline + (r.subscript ? set.subscriptDrop : 0), r.text);
        x += QFontMetrics(f).horizontalAdvance(r.text);
    }
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
    const QColor line(0xA0, 0xA0, 0xA0);
    int x = 1;
    for (qsizetype c = 0; c < columnWidths.size(); ++c) {
        const int w = columnWidths[c];
        p.setPen(Qt::black);
        if (c < set.headings.size())
            drawHeading(p, set, QRect(x, 0, w - 1, StripHeight - 1), parseMarkup(set.headings[c]));
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
