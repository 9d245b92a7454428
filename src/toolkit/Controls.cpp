#include "toolkit/Controls.h"

#include <QAccessible>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>

#include "toolkit/Accessibility.h"
#include "toolkit/Colors.h"
#include "toolkit/Jpeg.h"

Picture::Picture(QWidget* parent) : QWidget(parent) {
    labAccessibility::install();
    setMouseTracking(true);
    setAttribute(Qt::WA_NoSystemBackground);
}

bool Picture::loadFromFile(const QString& path, QString* error) {
    QImage loaded = loadJpegFile(path, error);
    if (loaded.isNull()) return false;
    setImage(loaded);
    doubleSizeFile_ = doubleSizePath(path);
    return true;
}

void Picture::setImage(const QImage& image) {
    image_ = image;
    drawing_ = nullptr;
    doubleSizeFile_.clear();
    doubleSize_ = QImage();
    doubleSizeTried_ = false;
    update();
}

void Picture::setDrawing(QSize size, Drawing drawing) {
    QImage plain(size, QImage::Format_ARGB32_Premultiplied);
    plain.fill(Qt::transparent);
    {
        QPainter p(&plain);
        drawing(p);
    }
    // An opaque drawing is kept as an opaque image, as a loaded picture would be.
    bool opaque = true;
    for (int y = 0; y < plain.height() && opaque; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(plain.constScanLine(y));
        for (int x = 0; x < plain.width() && opaque; ++x) opaque = qAlpha(line[x]) == 255;
    }
    setImage(opaque ? plain.convertToFormat(QImage::Format_RGB32) : plain);
    drawing_ = std::move(drawing);
}

QString Picture::doubleSizePath(const QString& path) {
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    if (dot <= slash + 1) return path + QStringLiteral("@2x");
    return path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}

QImage Picture::imageForRatio(double ratio) const {
    if (ratio <= 1.0 || doubleSizeFile_.isEmpty()) return image_;
    if (!doubleSizeTried_) {
        doubleSizeTried_ = true;
        // Only an image of exactly twice the size can stand in for the 1x one; anything else
        // (a stale or foreign file) is passed over quietly, as is a file that does not read.
        QImage loaded =
            QFileInfo(doubleSizeFile_).isFile() ? loadJpegFile(doubleSizeFile_) : QImage();
        if (!loaded.isNull() && loaded.size() == image_.size() * 2) {
            loaded.setDevicePixelRatio(2.0);
            doubleSize_ = loaded;
        }
    }
    return doubleSize_.isNull() ? image_ : doubleSize_;
}

void Picture::paintEvent(QPaintEvent*) {
    if (image_.isNull()) return;
    QPainter p(this);
    const double ratio = devicePixelRatioF();
    if (drawing_ && ratio != 1.0) {
        // Drawn straight onto the screen's pixels instead of blowing up the 1x rendering.
        p.setClipRect(QRect(QPoint(0, 0), image_.size()), Qt::IntersectClip);
        drawing_(p);
        return;
    }
    const QImage shown = imageForRatio(ratio);
    p.setRenderHint(QPainter::SmoothPixmapTransform, shown.devicePixelRatio() != ratio);
    p.drawImage(QPointF(0, 0), shown);
}

void Picture::mousePressEvent(QMouseEvent* event) {
    pressedInside_ = true;
    const QPoint pos = event->position().toPoint();
    Q_EMIT mouseDown(event->button(), pos.x(), pos.y());
}

void Picture::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    Q_EMIT mouseMove(pos.x(), pos.y());
}

void Picture::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const bool wasPressed = pressedInside_;
    pressedInside_ = false;
    Q_EMIT mouseUp(event->button(), pos.x(), pos.y());
    if (wasPressed && rect().contains(pos) && event->button() == Qt::LeftButton) Q_EMIT clicked();
}

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
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
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        keyboardFocus_ = reason != Qt::MouseFocusReason;
    QLabel::focusInEvent(event);
    update();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
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
    // The first Tab in a window whose first link holds the focus unseen marks that link.
    if (next && hasFocus() && !keyboardFocus_) {
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

StaticText::StaticText(QWidget* parent) : QLabel(parent) {
    setAutoFillBackground(true);
    labAccessibility::install();
}

void StaticText::setCaption(const QString& text) {
    const bool changed = text != this->text();
    setText(text);
    if (autoSize_) resize(sizeHint());
    if (changed && !liveLabel_.isEmpty()) {
        QAccessibleEvent nameChanged(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&nameChanged);
    }
}

void StaticText::setLiveLabel(const QString& label) {
    liveLabel_ = label;
    labAccessibility::install();
}

void StaticText::setColors(std::uint32_t textColor, std::uint32_t background) {
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, colorFromBgr(textColor));
    pal.setColor(QPalette::Window, colorFromBgr(background));
    setPalette(pal);
}

RadioGroup::RadioGroup(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {
    group_.setExclusive(true);
    connect(&group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked || id == index_) return;
        index_ = id;
        Q_EMIT clicked();
    });
}

void RadioGroup::setItems(const QStringList& items) {
    qDeleteAll(buttons_);
    buttons_.clear();
    index_ = -1;
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        group_.addButton(b, i);
        buttons_.append(b);
        b->show();
    }
    layoutButtons();
}

void RadioGroup::setItemIndex(int index) {
    if (index == index_) return;
    if (index < 0 || index >= buttons_.size()) {
        group_.setExclusive(false);
        for (QRadioButton* b : buttons_) b->setChecked(false);
        group_.setExclusive(true);
        index_ = -1;
        return;
    }
    buttons_[index]->setChecked(true);
}

void RadioGroup::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    layoutButtons();
}

void RadioGroup::layoutButtons() {
    if (buttons_.isEmpty()) return;
    const int top = title().isEmpty() ? 4 : fontMetrics().height() + 2;
    const int avail = height() - top - 4;
    const int step = avail / int(buttons_.size());
    for (int i = 0; i < buttons_.size(); ++i)
        buttons_[i]->setGeometry(8, top + i * step, width() - 12, qMax(step, 16));
}

RadioButton::RadioButton(const QString& text, QWidget* parent) : QRadioButton(text, parent) {
    connect(this, &QRadioButton::toggled, this, [this](bool on) {
        if (on) Q_EMIT clickedOn();
    });
}
