#include "toolkit/Controls.h"

#include <QMouseEvent>
#include <QPainter>

#include "toolkit/Colors.h"
#include "toolkit/Jpeg.h"

Picture::Picture(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_NoSystemBackground);
}

bool Picture::loadFromFile(const QString& path, QString* error) {
    QImage loaded = loadJpegFile(path, error);
    if (loaded.isNull()) return false;
    setImage(loaded);
    return true;
}

void Picture::setImage(const QImage& image) {
    image_ = image;
    update();
}

void Picture::paintEvent(QPaintEvent*) {
    if (image_.isNull()) return;
    QPainter p(this);
    p.drawImage(0, 0, image_);
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

StaticText::StaticText(QWidget* parent) : QLabel(parent) {
    setAutoFillBackground(true);
}

void StaticText::setCaption(const QString& text) {
    setText(text);
    if (autoSize_) resize(sizeHint());
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
