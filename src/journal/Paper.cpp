#include "journal/Paper.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>

namespace {
// Room kept at the foot of every page for its foot line.
constexpr qreal footRoom = 9;
// Inner margin of a table cell.
constexpr qreal cellPadding = 1.3;
// Taller than any cell: the height a cell is measured in.
constexpr qreal unbounded = 1e7;

qreal share(const QList<qreal>& widths, qsizetype column) {
    qreal sum = 0;
    for (qreal w : widths) sum += w;
    return sum > 0 && column < widths.size() ? widths[column] / sum : 0;
}

Qt::Alignment alignmentOf(const PaperTable& table, qsizetype column) {
    return column < table.alignments.size() ? table.alignments[column] : Qt::AlignLeft;
}
}  // namespace

QPageLayout Paper::pageLayout() {
    // A wide left margin leaves room for a binder's holes.
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(25, 15, 15, 12),
                       QPageLayout::Millimeter);
}

QFont Paper::font(Style style) {
    // The laboratory's "Arial" is Liberation Sans on Linux; DejaVu Sans when that is missing.
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans")});
    switch (style) {
        case Style::Title:
            font.setPointSizeF(15);
            font.setBold(true);
            break;
        case Style::Heading:
            font.setPointSizeF(12);
            font.setBold(true);
            break;
        case Style::Body:
            font.setPointSizeF(11);
            break;
        case Style::Cell:
            font.setPointSizeF(10);
            break;
        case Style::Small:
            font.setPointSizeF(8.5);
            break;
    }
    return font;
}

Paper::Paper(QPagedPaintDevice& device, QPainter* painter, QString footer, int pageCount)
    : device_(device), painter_(painter), footer_(std::move(footer)), pageCount_(pageCount) {}

qreal Paper::mm(qreal millimetres) const {
    return millimetres * device_.logicalDpiY() / 25.4;
}

qreal Paper::bottom() const {
    return device_.height() - mm(footRoom);
}

bool Paper::fits(qreal height) const {
    // At the top of a page everything fits that ever will.
    return y_ <= 0 || y_ + height <= bottom();
}

void Paper::newPage() {
    drawFoot();
    if (painter_ && !device_.newPage()) ok_ = false;
    ++page_;
    y_ = 0;
}

void Paper::drawFoot() {
    if (!painter_) return;
    const QFont small = font(Style::Small);
    const qreal top = device_.height() - mm(footRoom) + mm(3);
    painter_->save();
    painter_->setPen(QPen(QColor(0x70, 0x70, 0x70), mm(0.2)));
    painter_->drawLine(QPointF(0, top), QPointF(device_.width(), top));
    painter_->setFont(small);
    painter_->setPen(Qt::black);
    const QFontMetricsF metrics(small, &device_);
    const QRectF line(0, top + mm(1), device_.width(), metrics.height());
    const QString sheet = pageCount_ > 0
                              ? QStringLiteral("Лист %1 из %2").arg(page_).arg(pageCount_)
                              : QStringLiteral("Лист %1").arg(page_);
    painter_->drawText(line, Qt::AlignRight | Qt::AlignTop, sheet);
    const qreal room = device_.width() - metrics.horizontalAdvance(sheet) - mm(5);
    painter_->drawText(line, Qt::AlignLeft | Qt::AlignTop,
                       metrics.elidedText(footer_, Qt::ElideMiddle, room));
    painter_->restore();
}

void Paper::text(const QString& text, Style style, Qt::Alignment alignment, qreal indent) {
    const QFont f = font(style);
    const qreal left = mm(indent);
    const qreal width = device_.width() - left;
    QTextLayout layout(text, f, &device_);
    QTextOption option(alignment);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QList<QTextLine> lines;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, 0));
        lines.append(line);
    }
    layout.endLayout();
    for (QTextLine& line : lines) {
        if (!fits(line.height())) newPage();
        if (painter_) {
            painter_->setPen(Qt::black);
            line.draw(painter_, QPointF(left, y_));
        }
        y_ += line.height();
    }
    y_ += mm(style == Style::Title || style == Style::Heading ? 2 : 1);
}

void Paper::heading(const QString& title) {
    text(QStringLiteral("Виртуальная лаборатория по химии «Реактикум»"), Style::Small,
         Qt::AlignRight);
    text(title, Style::Title, Qt::AlignHCenter);
    space(2);
}

void Paper::space(qreal millimetres) {
    y_ += mm(millimetres);
}

void Paper::keepTogether(qreal millimetres) {
    if (!fits(mm(millimetres))) newPage();
}

qreal Paper::rowHeight(const PaperTable& table, const QStringList& cells, const QFont& f,
                       qreal width) const {
    const QFontMetricsF metrics(f, &device_);
    const qreal pad = mm(cellPadding);
    qreal height = metrics.height();
    for (qsizetype c = 0; c < table.widths.size(); ++c) {
        const qreal inner = std::max<qreal>(width * share(table.widths, c) - 2 * pad, 1);
        const QRectF box =
            metrics.boundingRect(QRectF(0, 0, inner, unbounded),
                                 int(alignmentOf(table, c)) | Qt::TextWordWrap, cells.value(c));
        height = std::max(height, box.height());
    }
    return height + 2 * pad;
}

void Paper::drawRow(const PaperTable& table, const QStringList& cells, const QFont& f, qreal left,
                    qreal width, qreal height) {
    if (painter_) {
        const qreal pad = mm(cellPadding);
        painter_->save();
        painter_->setFont(f);
        // Without lines, the first column's text lines up with the text above it.
        qreal x = table.ruled ? left : left - pad;
        for (qsizetype c = 0; c < table.widths.size(); ++c) {
            const qreal w = width * share(table.widths, c);
            const QRectF cell(x, y_, w, height);
            if (table.ruled) {
                painter_->setPen(QPen(Qt::black, mm(0.2)));
                painter_->drawRect(cell);
            }
            painter_->setPen(Qt::black);
            painter_->drawText(cell.adjusted(pad, pad, -pad, -pad),
                               int(alignmentOf(table, c)) | Qt::AlignTop | Qt::TextWordWrap,
                               cells.value(c));
            x += w;
        }
        painter_->restore();
    }
    y_ += height;
}

void Paper::table(const PaperTable& table, qreal indent) {
    const qreal left = mm(indent);
    const qreal width = device_.width() - left;
    QFont cellFont = font(Style::Cell);
    QFont headerFont = cellFont;
    headerFont.setBold(true);
    const qreal headerHeight =
        table.headers.isEmpty() ? 0 : rowHeight(table, table.headers, headerFont, width);
    const auto drawHeader = [&] {
        if (table.headers.isEmpty()) return;
        if (painter_)
            painter_->fillRect(QRectF(left, y_, width, headerHeight), QColor(0xE8, 0xE8, 0xE8));
        drawRow(table, table.headers, headerFont, left, width, headerHeight);
    };
    // A header never stands alone at the foot of a page.
    const qreal first = table.rows.isEmpty() ? 0 : rowHeight(table, table.rows[0], cellFont, width);
    if (!fits(headerHeight + first)) newPage();
    drawHeader();
    for (const QStringList& row : table.rows) {
        const qreal height = rowHeight(table, row, cellFont, width);
        if (!fits(height)) {
            newPage();
            drawHeader();
        }
        drawRow(table, row, cellFont, left, width, height);
    }
    y_ += mm(2);
}

void Paper::signatureLines(const QStringList& roles) {
    const QFont body = font(Style::Body);
    const QFont small = font(Style::Small);
    const qreal each = 16;
    keepTogether(each * roles.size());
    const QFontMetricsF bodyMetrics(body, &device_);
    const QFontMetricsF smallMetrics(small, &device_);
    for (const QString& role : roles) {
        const qreal lineY = y_ + mm(8);
        if (painter_) {
            painter_->save();
            painter_->setFont(body);
            painter_->setPen(Qt::black);
            painter_->drawText(QPointF(0, lineY - bodyMetrics.descent() - mm(0.5)), role);
            const qreal signFrom = mm(42), signTo = mm(95);
            const qreal nameFrom = mm(105), nameTo = device_.width();
            painter_->setPen(QPen(Qt::black, mm(0.2)));
            painter_->drawLine(QPointF(signFrom, lineY), QPointF(signTo, lineY));
            painter_->drawLine(QPointF(nameFrom, lineY), QPointF(nameTo, lineY));
            painter_->setFont(small);
            const qreal captionTop = lineY + mm(0.8);
            painter_->drawText(
                QRectF(signFrom, captionTop, signTo - signFrom, smallMetrics.height()),
                Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("(подпись)"));
            painter_->drawText(
                QRectF(nameFrom, captionTop, nameTo - nameFrom, smallMetrics.height()),
                Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("(фамилия и инициалы)"));
            painter_->restore();
        }
        y_ += mm(each);
    }
}

void Paper::finish() {
    drawFoot();
}

bool drawPaper(QPagedPaintDevice& device, const QString& footer,
               const std::function<void(Paper&)>& compose) {
    device.setPageLayout(Paper::pageLayout());
    Paper measure(device, nullptr, footer, 0);
    compose(measure);
    measure.finish();

    QPainter painter;
    if (!painter.begin(&device)) return false;
    Paper paper(device, &painter, footer, measure.pageCount());
    compose(paper);
    paper.finish();
    return painter.end() && paper.ok();
}
