#include "toolkit/RadioGroup.h"

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
