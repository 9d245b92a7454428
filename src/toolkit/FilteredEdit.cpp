#include "toolkit/FilteredEdit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>

#include "toolkit/Cp1251.h"
#include "toolkit/MessageBoxes.h"

unsigned char filterKey(const KeyPressHandler& handler, unsigned char key) {
    if (!handler) return key;
    handler(key);
    if (key == 0) defaultBeep();
    return key;
}

int keyEventCode(const QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return -1;
        default:
            break;
    }
    if (event->modifiers() & Qt::ControlModifier) {
        if (event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z)
            return event->key() - Qt::Key_A + 1;
        return -1;
    }
    const QString text = event->text();
    if (text.isEmpty() || text.at(0).unicode() < 32) return -1;
    return Cp1251::encodeChar(text.at(0));
}

FilteredEdit::FilteredEdit(QWidget* parent) : QLineEdit(parent) {
    setContextMenuPolicy(Qt::NoContextMenu);
    setDragEnabled(false);
    setAcceptDrops(false);
}

void FilteredEdit::setFlat(bool flat) {
    setStyleSheet(flat ? QStringLiteral("QLineEdit { border: 1px solid #646464; background: white; "
                                        "padding: 0px 1px; }")
                       : QString());
}

void FilteredEdit::typeText(const QString& text) {
    for (QChar c : text) {
        const unsigned char code = filterKey(handler_, Cp1251::encodeChar(c));
        if (code == 0) continue;
        if (code >= 32)
            insert(QString(code == Cp1251::encodeChar(c) ? c : Cp1251::decodeChar(code)));
    }
}

bool FilteredEdit::deliver(unsigned char code, QKeyEvent* original) {
    switch (code) {
        case 8:
        case 13:
        case 27:
            QLineEdit::keyPressEvent(original);
            return true;
        case 22:  // paste: every pasted character meets the key handler on its own
            if (!isReadOnly()) typeText(QGuiApplication::clipboard()->text());
            return true;
        default:
            break;
    }
    if (code < 32) {
        QLineEdit::keyPressEvent(original);
        return true;
    }
    if (!isReadOnly()) {
        const QString typed = original->text();
        const bool unchanged = !typed.isEmpty() && Cp1251::encodeChar(typed.at(0)) == code;
        insert(unchanged ? typed.left(1) : QString(Cp1251::decodeChar(code)));
    }
    return true;
}

void FilteredEdit::keyPressEvent(QKeyEvent* event) {
    const int code = keyEventCode(event);
    if (code < 0) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const unsigned char kept = filterKey(handler_, static_cast<unsigned char>(code));
    if (kept != 0) deliver(kept, event);
    event->accept();
}

void FilteredEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (autoSelect_ && event->reason() != Qt::MouseFocusReason) selectAll();
}

void FilteredEdit::inputMethodEvent(QInputMethodEvent* event) {
    // Composed text arrives here rather than as key presses: filter it the same way.
    const QString commit = event->commitString();
    QInputMethodEvent stripped;
    QLineEdit::inputMethodEvent(&stripped);
    if (!commit.isEmpty()) typeText(commit);
    event->accept();
}
