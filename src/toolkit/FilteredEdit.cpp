#include "toolkit/FilteredEdit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>

#include "lab/Cp1251.h"
#include "toolkit/MessageBoxes.h"

unsigned char filterKey(const KeyPressHandler& handler, unsigned char key) {
    if (!handler) return key;
    handler(key);
    if (key == 0) defaultBeep();
    return key;
}

int keyEventCode(const QKeyEvent* event) {
    // Shift+Insert pastes like Ctrl+V, Shift+Delete cuts and Ctrl+Insert copies: the same codes,
    // so the key handler decides on them alike.
    if (event->matches(QKeySequence::Paste)) return 22;
    if (event->matches(QKeySequence::Cut)) return 24;
    if (event->matches(QKeySequence::Copy)) return 3;
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
        // Editing and moving keys type nothing: they never meet the key handler.
        case Qt::Key_Delete:
        case Qt::Key_Insert:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            return -1;
        default:
            break;
    }
    if (event->key() >= Qt::Key_F1 && event->key() <= Qt::Key_F35) return -1;
    if (event->modifiers() & Qt::ControlModifier) {
        if (event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z)
            return event->key() - Qt::Key_A + 1;
        return -1;
    }
    const QString text = event->text();
    if (text.isEmpty() || text.at(0).unicode() < 32 || text.at(0).unicode() == 0x7F) return -1;
    return Cp1251::encodeChar(text.at(0));
}

FilteredEdit::FilteredEdit(QWidget* parent) : QLineEdit(parent) {
    setContextMenuPolicy(Qt::NoContextMenu);
    setDragEnabled(false);
    // A drop would insert its text past the key handler: drops are refused.
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
        if (code >= 32 && code != 0x7F)
            insertChecked(QString(code == Cp1251::encodeChar(c) ? c : Cp1251::decodeChar(code)));
    }
}

void FilteredEdit::insertChecked(const QString& typed) {
    if (rule_) {
        QString after = text();
        if (hasSelectedText())
            after.replace(selectionStart(), selectedText().size(), typed);
        else
            after.insert(cursorPosition(), typed);
        if (!rule_(after)) {
            defaultBeep();
            return;
        }
    }
    insert(typed);
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
        insertChecked(unchanged ? typed.left(1) : QString(Cp1251::decodeChar(code)));
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
    if (!autoSelect_) return;
    selectAll();
    // The press that brought the focus would put the caret at the click: select after it.
    selectAfterPress_ = event->reason() == Qt::MouseFocusReason;
}

void FilteredEdit::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mousePressEvent(event);
    if (selectAfterPress_ || (!prompt_.isEmpty() && text() == prompt_)) selectAll();
    selectAfterPress_ = false;
}

void FilteredEdit::mouseReleaseEvent(QMouseEvent* event) {
    // The middle button pastes the selection clipboard: through the key handler, like Ctrl+V.
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (isReadOnly() || !clipboard->supportsSelection()) return;
        setCursorPosition(cursorPositionAt(event->position().toPoint()));
        typeText(clipboard->text(QClipboard::Selection));
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void FilteredEdit::inputMethodEvent(QInputMethodEvent* event) {
    // Composed text arrives here rather than as key presses: filter it the same way.
    const QString commit = event->commitString();
    QInputMethodEvent stripped;
    QLineEdit::inputMethodEvent(&stripped);
    if (!commit.isEmpty()) typeText(commit);
    event->accept();
}
