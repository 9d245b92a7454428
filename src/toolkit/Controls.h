#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QRadioButton>
#include <QWidget>
#include <cstdint>
#include <functional>

// A picture control: draws an image at its top-left corner, reports mouse
// presses, moves (also without a pressed button) and releases with X, Y relative to itself.
// Without an image it is a transparent, mouse-sensitive spot.
//
// On a scaled screen (device pixel ratio above 1) a picture loaded from "Name.jpg" is drawn
// from "Name@2x.jpg" beside it when that file exists and reads, so backgrounds stay as sharp as
// the text on them; otherwise from the 1x file. A drawn picture (setDrawing) is painted by its
// function at the screen's own resolution.
class Picture : public QWidget {
    Q_OBJECT
public:
    using Drawing = std::function<void(QPainter&)>;

    explicit Picture(QWidget* parent = nullptr);

    // Loads a JPEG file; returns false (keeping the old picture) and sets *error on failure.
    // The @2x file is read when first needed; a missing or unreadable one is no error.
    bool loadFromFile(const QString& path, QString* error = nullptr);
    void setImage(const QImage& image);
    // A picture drawn by code in logical pixels on an area of the given size; image() holds
    // its 1x rendering.
    void setDrawing(QSize size, Drawing drawing);
    const QImage& image() const { return image_; }
    // The @2x file's path when the picture came from a file (empty otherwise).
    static QString doubleSizePath(const QString& path);
    // The image drawn at the given device pixel ratio: the @2x image when the ratio is above 1
    // and it exists, else the 1x image.
    QImage imageForRatio(double ratio) const;

Q_SIGNALS:
    void mouseDown(Qt::MouseButton button, int x, int y);
    void mouseMove(int x, int y);
    void mouseUp(Qt::MouseButton button, int x, int y);
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage image_;
    Drawing drawing_;
    QString doubleSizeFile_;     // read on first use at a ratio above 1
    mutable QImage doubleSize_;  // null until read, or when unreadable
    mutable bool doubleSizeTried_ = false;
    bool pressedInside_ = false;
};

// A text label, transparent unless given a colour, that reports mouse moves without a pressed
// button and clicks (press and release over it). Used for the link labels of every window.
//
// From the keyboard a link is reached with Tab (a click does not focus it, so a mouse user sees
// nothing new) and activated with Enter or Space; while it has the keyboard focus a dotted
// frame in its font colour surrounds its text. Screen readers see a link named by its text.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text = {}, QWidget* parent = nullptr);

    // Sets the font colour ($00BBGGRR); no repaint when the colour does not change.
    void setFontColor(std::uint32_t bbggrr);
    std::uint32_t fontColor() const { return color_; }
    // Whether the focus frame is on show: the link has the focus and got it from the keyboard
    // (or the program), not just by being first in a window that came up.
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

// A static text with its own background colour; optionally sizes itself to its text.
class StaticText : public QLabel {
    Q_OBJECT
public:
    explicit StaticText(QWidget* parent = nullptr);
    void setAutoSize(bool autoSize) { autoSize_ = autoSize; }
    void setCaption(const QString& text);
    QString caption() const { return text(); }
    void setColors(std::uint32_t textColor, std::uint32_t background);
    // A text that changes by itself (a stopwatch display): screen readers hear it as
    // "label: text" each time it changes.
    void setLiveLabel(const QString& label);
    QString liveLabel() const { return liveLabel_; }

private:
    bool autoSize_ = false;
    QString liveLabel_;
};

// A group of radio buttons with a caption; clicked() fires only when the choice changes,
// whether by the user or by setItemIndex.
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit RadioGroup(const QString& caption = {}, QWidget* parent = nullptr);
    void setItems(const QStringList& items);
    int itemIndex() const { return index_; }
    void setItemIndex(int index);
    QRadioButton* button(int i) const { return buttons_.value(i); }
    int count() const { return int(buttons_.size()); }

Q_SIGNALS:
    void clicked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutButtons();
    QButtonGroup group_;
    QList<QRadioButton*> buttons_;
    int index_ = -1;
};

// A single radio button; clicked() fires when it becomes checked.
class RadioButton : public QRadioButton {
    Q_OBJECT
public:
    explicit RadioButton(const QString& text = {}, QWidget* parent = nullptr);

Q_SIGNALS:
    void clickedOn();
};
