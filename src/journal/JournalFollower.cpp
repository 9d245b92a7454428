#include "journal/JournalFollower.h"

#include <QEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>

#include "journal/ClassJournal.h"
#include "journal/ClassPresence.h"
#include "journal/ClassPresenceView.h"
#include "journal/JournalWatch.h"
#include "journal/JournalWindow.h"
#include "journal/ServerLink.h"

JournalFollower::JournalFollower(JournalWindow* window, ClassJournal* journal,
                                 ClassPresenceView* presence)
    : QObject(window), window_(window), journal_(journal), presence_(presence) {
    watch_ = new JournalWatch(this);
    connect(watch_, &JournalWatch::rowsChanged, this, &JournalFollower::onRowsChanged);
    connect(window_, &JournalWindow::loaded, this, &JournalFollower::onLoaded);
    window_->installEventFilter(this);
}

bool JournalFollower::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_) {
        if (event->type() == QEvent::Show) {
            watch_->watchFile(journal_->local().path());
        } else if (event->type() == QEvent::Hide) {
            watch_->stop();
            pending_ = false;
            following_ = false;
            loadedUser_.clear();
            loadedPassword_.clear();
        }
    }
    return QObject::eventFilter(watched, event);
}

// The login fields hold what the rows shown were read with: a read now reads the same place.
bool JournalFollower::loginAsLoaded() const {
    return window_->teacherLogin->text().trimmed() == loadedUser_ &&
           window_->teacherPassword->text() == loadedPassword_;
}

void JournalFollower::onRowsChanged() {
    if (!window_->isVisible()) return;
    if (window_->isLoading() || !loginAsLoaded()) {
        pending_ = true;
        return;
    }
    pending_ = false;
    place_ = place();
    following_ = true;
    ++followedReads_;
    window_->reload();
}

void JournalFollower::onLoaded() {
    presence_->showPresence(classPresence(window_->allRows(), QDateTime::currentDateTimeUtc()));
    if (following_) {
        following_ = false;
        restore(place_);
    }
    if (!window_->isVisible()) return;
    loadedUser_ = window_->teacherLogin->text().trimmed();
    loadedPassword_ = window_->teacherPassword->text();
    if (ServerLink* server = journal_->server(); server && !loadedUser_.isEmpty())
        watch_->listenToServer(server->settings(), loadedUser_, loadedPassword_);
    else
        watch_->stopListening();
    // Rows that arrived while this read ran are read now.
    if (pending_) onRowsChanged();
}

QString JournalFollower::keyOfRow(int row) const {
    const QList<SittingRow>& rows = window_->shownRows();
    if (row < 0 || row >= rows.size()) return {};
    return rows[row].computer + QChar(0x1F) + rows[row].sitting;
}

int JournalFollower::rowOfKey(const QString& key) const {
    if (key.isEmpty()) return -1;
    for (int r = 0; r < window_->shownRows().size(); ++r)
        if (keyOfRow(r) == key) return r;
    return -1;
}

JournalFollower::Place JournalFollower::place() const {
    const QTableView* table = window_->table;
    Place p;
    const QModelIndex current = table->currentIndex();
    if (current.isValid() && table->selectionModel()->isSelected(current)) {
        p.selected = keyOfRow(current.row());
        p.column = current.column();
    }
    p.atTop = table->verticalScrollBar()->value() == table->verticalScrollBar()->minimum();
    p.top = keyOfRow(table->rowAt(0));
    p.horizontal = table->horizontalScrollBar()->value();
    return p;
}

// Rows only ever come: the sittings kept their keys, and the new ones are shown above them
// (newest first) unless the teacher had scrolled down, where the rows in sight stay in sight.
void JournalFollower::restore(const Place& p) {
    QTableView* table = window_->table;
    if (!p.selected.isEmpty()) {
        const int row = rowOfKey(p.selected);
        if (row >= 0)
            table->setCurrentIndex(table->model()->index(row, std::max(p.column, 0)));
        else
            table->setCurrentIndex(QModelIndex());
    }
    if (p.atTop) {
        table->verticalScrollBar()->setValue(table->verticalScrollBar()->minimum());
    } else if (const int row = rowOfKey(p.top); row >= 0) {
        table->scrollTo(table->model()->index(row, 0), QAbstractItemView::PositionAtTop);
    }
    table->horizontalScrollBar()->setValue(p.horizontal);
}
