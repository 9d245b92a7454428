#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

// Mouse input delivered straight to a control, as the window system would after hit-testing:
// positions relative to the control, the screen position worked out from where it stands now.
namespace pointer {
inline void send(QWidget* w, QEvent::Type type, QPoint local, Qt::MouseButton button,
                 Qt::MouseButtons held, QPoint global) {
    QMouseEvent e(type, QPointF(local), QPointF(global), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
inline void move(QWidget* w, QPoint local = {2, 2}, Qt::MouseButtons held = Qt::NoButton) {
    send(w, QEvent::MouseMove, local, Qt::NoButton, held, w->mapToGlobal(local));
}
// A move of the pointer to a screen position while a button is held on w (w keeps the mouse).
inline void moveTo(QWidget* w, QPoint global, Qt::MouseButtons held) {
    send(w, QEvent::MouseMove, w->mapFromGlobal(global), Qt::NoButton, held, global);
}
inline void press(QWidget* w, QPoint local, Qt::MouseButton button = Qt::LeftButton) {
    send(w, QEvent::MouseButtonPress, local, button, button, w->mapToGlobal(local));
}
inline void release(QWidget* w, QPoint local, Qt::MouseButton button = Qt::LeftButton) {
    send(w, QEvent::MouseButtonRelease, local, button, Qt::NoButton, w->mapToGlobal(local));
}
inline void click(QWidget* w, QPoint local = {2, 2}) {
    move(w, local);
    press(w, local);
    release(w, local);
}
}  // namespace pointer
