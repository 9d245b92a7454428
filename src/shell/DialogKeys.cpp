#include "shell/DialogKeys.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>

namespace {
// Sees the Enter presses that no control of the window used.
class EnterWatcher : public QObject {
public:
    EnterWatcher(QWidget* window, std::function<void()> enter)
        : QObject(window), enter_(std::move(enter)) {
        window->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != parent() || event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || mods != 0)
            return false;
        enter_();
        return true;
    }

private:
    std::function<void()> enter_;
};
}  // namespace

void attachDialogKeys(QWidget* window, const DialogKeys& keys) {
    // Outside a dialog Qt's push buttons ignore Enter unless told otherwise.
    for (QPushButton* button : window->findChildren<QPushButton*>()) button->setAutoDefault(true);
    if (keys.defaultButton) keys.defaultButton->setDefault(true);
    if (keys.enter) new EnterWatcher(window, keys.enter);
    if (keys.escape) {
        auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
        QObject::connect(escape, &QShortcut::activated, window, keys.escape);
    }
}
