#pragma once

#include <QLabel>
#include <cstdint>

// A text label, transparent unless given a colour, that reports mouse moves without a pressed
// button and clicks (press and release over it). Used for the link labels of every window.
//
// A double click is one click: the second press of a double click (which arrives as a double
// click event) is not a second action, so a link that advances a step never advances two.
//
// From the keyboard a link is reached with Tab (a click does not focus it, so a mouse user sees
// nothing new) and activated with Enter or Space; while it has the keyboard focus a dotted
// frame in its font colour surrounds its text. Screen readers see a link named by its text.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text = {}, QWidget* parent = nullptr);

    // Sets the font colour (0x00BBGGRR, see Colors.h); no repaint when the colour does not change.
    void setFontColor(std::uint32_t bbggrr);
    std::uint32_t fontColor() const { return color_; }
    // Whether the focus frame is on show: the link has the focus and got it from the keyboard
    // (or the program while no mouse press was the last input), not just by being first in a
    // window that came up, nor passed on from a button that a click disabled.
    bool showsFocusMark() const { return hasFocus() && keyboardFocus_; }
    // A label is a link once something listens to its clicks; only links take the focus and
    // are announced as links, plain texts stay texts.
    bool isLink() const;

Q_SIGNALS:
    void clicked();
    void mouseMove(int x, int y);
    // The keyboard brought the focus to the link (what the pointer's arrival is to the mouse).
    void focusedByKeyboard();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void connectNotify(const QMetaMethod& signal) override;

private:
    std::uint32_t color_ = 0;
    bool pressed_ = false;
    bool keyboardFocus_ = false;
};
