#include "toolkit/LinkLabel.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include "toolkit/Accessibility.h"
#include "toolkit/Colors.h"

namespace {
// Which hand the user's last press came from. Qt moves the focus on with a Tab reason also when a
// clicked button disables itself ("Старт", "Стоп"); that focus did not come from the keyboard.
class InputWatch : public QObject {
public:
    // One per application object, which owns it.
    static InputWatch& instance() {
        static QPointer<InputWatch> watch;
        if (!watch) {
            watch = new InputWatch(QCoreApplication::instance());
            QCoreApplication::instance()->installEventFilter(watch);
        }
        return *watch;
    }
    bool lastPressFromMouse() const { return mouse_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyPress:
                mouse_ = false;
                break;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseButtonRelease:
            case QEvent::TouchBegin:
                mouse_ = true;
                break;
            default:
                break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    using QObject::QObject;
    bool mouse_ = false;
};
}  // namespace

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    InputWatch::instance();
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);  // until it becomes a link (connectNotify)
    labAccessibility::install();
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    setFontColor(LabColors::Black);
}

void LinkLabel::setFontColor(std::uint32_t bbggrr) {
    if (bbggrr == color_ && palette().color(QPalette::WindowText) == colorFromBgr(bbggrr)) return;
    color_ = bbggrr;
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, colorFromBgr(bbggrr));
    setPalette(pal);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed_ = true;
}

void LinkLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click: no press of its own, so its release clicks nothing.
    pressed_ = false;
    event->accept();
}

void LinkLabel::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    Q_EMIT mouseMove(pos.x(), pos.y());
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool wasPressed = pressed_;
    pressed_ = false;
    if (wasPressed && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (!event->isAutoRepeat()) Q_EMIT clicked();
            event->accept();
            return;
        default:
            QLabel::keyPressEvent(event);
    }
}

void LinkLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!showsFocusMark()) return;
    // A dotted frame just around the text, in the text's own colour: the link's usual look with
    // the mark keyboard users know from buttons.
    QPainter p(this);
    const QRect text = fontMetrics().boundingRect(
        contentsRect(), int(alignment()) | Qt::TextShowMnemonic, this->text());
    QRect frame = text.adjusted(-2, 0, 1, 0).intersected(rect().adjusted(0, 0, -1, -1));
    if (frame.isEmpty()) frame = rect().adjusted(0, 0, -1, -1);
    p.setPen(QPen(colorFromBgr(color_), 1, Qt::DotLine));
    p.drawRect(frame);
}

void LinkLabel::focusInEvent(QFocusEvent* event) {
    // Coming back with its window, the link keeps the frame it had; a window that comes up
    // for the first time hands its first link the focus without a frame, so a mouse user sees
    // the window as always.
    const Qt::FocusReason reason = event->reason();
    // Focus passed on while the mouse is at work (a clicked button disabling itself) shows no
    // frame either.
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        keyboardFocus_ =
            reason != Qt::MouseFocusReason && !InputWatch::instance().lastPressFromMouse();
    QLabel::focusInEvent(event);
    update();
    if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) && keyboardFocus_)
        Q_EMIT focusedByKeyboard();
}

void LinkLabel::focusOutEvent(QFocusEvent* event) {
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        keyboardFocus_ = false;
    QLabel::focusOutEvent(event);
    update();
}

bool LinkLabel::focusNextPrevChild(bool next) {
    // The first Tab in a window whose first link holds the focus unseen marks that link. The same
    // call comes when the focused link hides itself on a click: then the focus just moves on.
    if (next && hasFocus() && !keyboardFocus_ && isVisible() &&
        !InputWatch::instance().lastPressFromMouse()) {
        keyboardFocus_ = true;
        update();
        Q_EMIT focusedByKeyboard();
        return true;
    }
    return QLabel::focusNextPrevChild(next);
}

bool LinkLabel::isLink() const {
    return isSignalConnected(QMetaMethod::fromSignal(&LinkLabel::clicked));
}

void LinkLabel::connectNotify(const QMetaMethod& signal) {
    if (signal == QMetaMethod::fromSignal(&LinkLabel::clicked)) setFocusPolicy(Qt::TabFocus);
    QLabel::connectNotify(signal);
}
