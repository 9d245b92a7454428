#include "toolkit/LabWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QScreen>
#include <QTimer>

#include "toolkit/Fonts.h"

namespace {
QPointer<LabWindow> active;
LabWindow::ModalHook modalHook;
bool ending = false;
QList<QEventLoop*> runningLoops;
}  // namespace

LabWindow::LabWindow(const QString& caption, QSize clientSize, Border border, QWidget* parent)
    : QWidget(parent), border_(border) {
    Qt::WindowFlags flags = Qt::Window;
    switch (border) {
        case Border::None:
            flags |= Qt::FramelessWindowHint;
            break;
        case Border::Tool:
            flags = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                    Qt::WindowCloseButtonHint;
            break;
        case Border::ToolNoButtons:
            flags = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
            break;
    }
    setWindowFlags(flags);
    setWindowTitle(caption);
    setFixedSize(clientSize);
    setFont(labFont("MS Sans Serif", 11));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAutoFillBackground(true);
}

LabWindow::~LabWindow() {
    if (modalLoop_) modalLoop_->exit(0);
}

void LabWindow::centreOnScreen() {
    if (centred_) return;
    centred_ = true;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void LabWindow::showAndActivate() {
    centreOnScreen();
    show();
    // The offscreen platform of the tests has no stacking order to change.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) raise();
    activateWindow();
    becomeActive();
}

void LabWindow::exec() {
    if (ending || modalLoop_) return;
    QPointer<LabWindow> owner = active;
    modalOwner_ = owner;
    setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    modalLoop_ = &loop;
    runningLoops.append(&loop);
    showAndActivate();
    if (modalHook) {
        QPointer<LabWindow> self(this);
        QTimer::singleShot(0, &loop, [self] {
            if (self && modalHook) modalHook(*self);
        });
    }
    if (!ending && isVisible()) loop.exec();
    runningLoops.removeAll(&loop);
    modalLoop_ = nullptr;
    if (isVisible()) hide();
    setWindowModality(Qt::NonModal);
    // The owner gets the focus back without a fresh activation.
    active = owner;
    if (owner) owner->activateWindow();
}

void LabWindow::done() {
    hide();
}

void LabWindow::setBackgroundColor(const QColor& color) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, color);
    setPalette(pal);
}

LabWindow* LabWindow::activeWindow() {
    return active.data();
}

void LabWindow::resetActivation() {
    active = nullptr;
}

void LabWindow::setModalHook(ModalHook hook) {
    modalHook = std::move(hook);
}

void LabWindow::terminateModalLoops() {
    ending = true;
    for (QEventLoop* loop : runningLoops) loop->exit(0);
}

void LabWindow::resetTermination() {
    ending = false;
}

void LabWindow::becomeActive() {
    if (active == this) return;
    active = this;
    onActivated();
}

bool LabWindow::event(QEvent* event) {
    // A platform activation (the user clicking another window of the program) counts too;
    // activation handed back after a modal box finds this window still marked active.
    if (event->type() == QEvent::WindowActivate && isVisible() &&
        !QApplication::activeModalWidget())
        becomeActive();
    return QWidget::event(event);
}

void LabWindow::closeEvent(QCloseEvent* event) {
    if (!canClose()) {
        event->ignore();
        return;
    }
    // The window manager's close goes the window's own way out, which knows where the
    // student goes next; the window is never simply closed under the run.
    if (event->spontaneous()) {
        event->ignore();
        if (closeRequestHandler_)
            closeRequestHandler_();
        else
            done();
        return;
    }
    QWidget::closeEvent(event);
}

void LabWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (modalLoop_ && !event->spontaneous()) {
        // The platform may activate the owner before the modal loop has unwound: mark it active
        // now so that this is no fresh activation.
        active = modalOwner_;
        modalLoop_->exit(0);
    }
}
