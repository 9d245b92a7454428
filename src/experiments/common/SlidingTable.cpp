#include "experiments/common/SlidingTable.h"

#include <QWidget>

#include "toolkit/LabTimer.h"

namespace {
constexpr int SlideStep = 5;
}  // namespace

SlidingTable::SlidingTable(QWidget* table, const QList<QWidget*>& companions, int collapsedLimit,
                           QObject* parent)
    : QObject(parent),
      table_(table),
      companions_(companions),
      collapsedLimit_(collapsedLimit),
      startingTable_(table->geometry()),
      collapseTimer_(new LabTimer(10, this)),
      expandTimer_(new LabTimer(10, this)) {
    for (QWidget* w : companions_) startingCompanions_.append(w->pos());
    connect(collapseTimer_, &LabTimer::timeout, this, [this] {
        if (table_->height() <= collapsedLimit_)
            collapseTimer_->setEnabled(false);
        else
            slide(SlideStep);
    });
    connect(expandTimer_, &LabTimer::timeout, this, [this] {
        if (table_->height() >= startingTable_.height())
            expandTimer_->setEnabled(false);
        else
            slide(-SlideStep);
    });
}

void SlidingTable::collapse() {
    expandTimer_->setEnabled(false);
    collapseTimer_->setEnabled(true);
}

void SlidingTable::expand() {
    collapseTimer_->setEnabled(false);
    expandTimer_->setEnabled(true);
}

void SlidingTable::restore() {
    table_->setGeometry(startingTable_);
    for (qsizetype i = 0; i < companions_.size(); ++i) companions_[i]->move(startingCompanions_[i]);
}

void SlidingTable::slide(int delta) {
    for (QWidget* w : companions_) w->move(w->x(), w->y() + delta);
    table_->setGeometry(table_->x(), table_->y() + delta, table_->width(),
                        table_->height() - delta);
}
