#include "experiments/equilibrium/DirectionArrowStyle.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

DirectionArrowStyle::DirectionArrowStyle() = default;

bool DirectionArrowStyle::isArrowText(const QString& text) {
    return text == QLatin1String("-->") || text == QLatin1String("<--");
}

void DirectionArrowStyle::drawItemText(QPainter* painter, const QRect& rect, int flags,
                                       const QPalette& palette, bool enabled, const QString& text,
                                       QPalette::ColorRole textRole) const {
    if (!isArrowText(text)) {
        QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, textRole);
        return;
    }
    // The arrow takes the room the text would take, on the text's middle line.
    const QFontMetricsF metrics(painter->font());
    const double length = std::max(metrics.horizontalAdvance(text), metrics.height() * 1.4);
    double left = rect.left();
    if (flags & Qt::AlignHCenter) left = rect.center().x() - length / 2;
    if (flags & Qt::AlignRight) left = rect.right() - length;
    const double axis = rect.top() + rect.height() / 2.0 + 0.5;
    const double weight = std::max(1.5, painter->font().pixelSize() / 8.0);
    const double head = std::max(4.0, metrics.height() * 0.3);
    const bool right = text.startsWith(QLatin1Char('-'));
    const QPointF from(right ? left + 1 : left + length - 1, axis);
    const QPointF to(right ? left + length - 1 : left + 1, axis);
    const double back = right ? -head : head;
    QPainterPath path(from);
    path.lineTo(to);
    path.moveTo(to.x() + back, axis - head * 0.75);
    path.lineTo(to);
    path.lineTo(to.x() + back, axis + head * 0.75);
    const QColor colour =
        palette.color(enabled ? QPalette::Active : QPalette::Disabled,
                      textRole == QPalette::NoRole ? QPalette::WindowText : textRole);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(colour, weight, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(path);
    painter->restore();
}
