#pragma once

#include <QLineEdit>
#include <functional>

// The key handler of an edit or grid: it sees each typed character as its Windows-1251 code
// (Backspace 8, Enter 13, Ctrl+letter 1..26) and may change it; setting it to 0 discards the
// character with the default beep.
using KeyPressHandler = std::function<void(unsigned char& key)>;

// A rule on the whole text an edit would hold after a typed or pasted character: false refuses
// the character (with the default beep), as a key handler's 0 does.
using TextRule = std::function<bool(const QString& text)>;

// Applies a key handler to one typed character; returns the code that survives (0: discarded,
// the beep has sounded).
unsigned char filterKey(const KeyPressHandler& handler, unsigned char key);

// A one-line edit whose typed and pasted characters pass through a key handler, one by one,
// however they arrive: keys, Ctrl+V or Shift+Insert, the middle button, an input method; drops
// are refused.
// Editing and moving keys (Delete, Home, arrows, function keys) are no characters and just edit.
class FilteredEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit FilteredEdit(QWidget* parent = nullptr);

    void setKeyPressHandler(KeyPressHandler handler) { handler_ = std::move(handler); }
    // Characters the key handler lets through must also leave a text the rule accepts.
    void setTextRule(TextRule rule) { rule_ = std::move(rule); }
    // Selects the whole text when the edit gets the focus, by Tab or by a click (on by default).
    void setAutoSelect(bool on) { autoSelect_ = on; }
    // A text that only asks for input ("Введите группу"): while the field still shows it, a
    // click selects it whole, so typing replaces it even when the field had the focus already.
    void setPromptText(const QString& prompt) { prompt_ = prompt; }
    // A thin single-line border instead of the sunken frame.
    void setFlat(bool flat);

    // Feeds text through the key handler as if typed (what a paste does).
    void typeText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool deliver(unsigned char code, QKeyEvent* original);
    // Inserts typed text at the cursor (over the selection) when the text rule allows it.
    void insertChecked(const QString& typed);
    KeyPressHandler handler_;
    TextRule rule_;
    bool autoSelect_ = true;
    QString prompt_;
    bool selectAfterPress_ = false;
};

// The code a key event produces as a typed character, or -1 when it types none.
int keyEventCode(const QKeyEvent* event);
