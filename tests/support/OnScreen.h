#pragma once

// What a user sees of a control in its window: whether it shows whole, inside the window, with
// nothing over it, and where a label's text actually shows.

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QWidget>

namespace onscreen {

inline std::string describe(const QRect& r) {
    return QStringLiteral("(%1,%2 %3x%4)")
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height())
        .toStdString();
}

// A control's place in its window's coordinates.
inline QRect placeInWindow(const QWidget* control) {
    return QRect(control->mapTo(control->window(), QPoint(0, 0)), control->size());
}

// Where a label's text shows, in its window's coordinates: the pixels its text darkens
// clearly (a faint edge of smoothing left out), drawn as the label draws it but without the
// label's edges to cut it off.
inline QRect textInWindow(const QLabel* label) {
    const int margin = 64;
    const QRect room = label->contentsRect().translated(margin, margin);
    QImage canvas(label->size() + QSize(2 * margin, 2 * margin), QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter p(&canvas);
        p.setFont(label->font());
        p.setPen(Qt::black);
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        p.drawText(room, flags, label->text());
    }
    QRect ink;
    for (int y = 0; y < canvas.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        for (int x = 0; x < canvas.width(); ++x)
            if (qGray(line[x]) < 128) ink |= QRect(x, y, 1, 1);
    }
    return ink.translated(label->mapTo(label->window(), QPoint(0, 0)) - QPoint(margin, margin));
}

// The part of a control that must show: a label's text, any other control whole.
inline QRect shownPart(const QWidget* control) {
    if (const auto* label = qobject_cast<const QLabel*>(control)) return textInWindow(label);
    return placeInWindow(control);
}

// A control the user sees whole and can reach: shown, its text (or all of it) inside the
// control and inside the window, and the control is what the pointer finds at the middle of
// that text, so nothing lies over it.
inline ::testing::AssertionResult seenWholeAndReachable(const QWidget* control) {
    const QWidget* window = control->window();
    if (!control->isVisible()) return ::testing::AssertionFailure() << "hidden";
    const QRect place = placeInWindow(control);
    const QRect shown = shownPart(control);
    if (!place.contains(shown))
        return ::testing::AssertionFailure()
               << "its text needs " << describe(shown) << ", the control is " << describe(place);
    if (!window->rect().contains(shown))
        return ::testing::AssertionFailure()
               << "at " << describe(shown) << ", outside the window's " << describe(window->rect());
    const QWidget* hit = window->childAt(shown.center());
    if (hit != control && !control->isAncestorOf(hit))
        return ::testing::AssertionFailure()
               << "covered by " << (hit ? hit->metaObject()->className() : "nothing");
    return ::testing::AssertionSuccess();
}

}  // namespace onscreen
