#include "journal/JournalWatch.h"

#include <QFileInfo>
#include <QFileSystemWatcher>

#include "journal/ServerListener.h"

JournalWatch::JournalWatch(QObject* parent) : QObject(parent) {
    files_ = new QFileSystemWatcher(this);
    listener_ = new ServerListener(this);
    settle_.setSingleShot(true);
    settle_.setInterval(settleMs);
    connect(&settle_, &QTimer::timeout, this, &JournalWatch::rowsChanged);
    connect(files_, &QFileSystemWatcher::fileChanged, this, [this] {
        rewatch();
        changed();
    });
    // The folder tells when the journal or its log is made anew (SQLite removes the log when
    // the last connection closes, and a corrupt journal is replaced by a fresh one).
    connect(files_, &QFileSystemWatcher::directoryChanged, this, [this] {
        const QStringList before = files_->files();
        rewatch();
        if (files_->files() != before) changed();
    });
    connect(listener_, &ServerListener::listening, this, &JournalWatch::changed);
    connect(listener_, &ServerListener::notified, this, &JournalWatch::changed);
}

JournalWatch::~JournalWatch() = default;

void JournalWatch::changed() {
    // The first change of a burst starts the wait; those that follow within it join it.
    if (!settle_.isActive()) settle_.start();
}

void JournalWatch::watchFile(const QString& path) {
    if (path == path_) {
        rewatch();
        return;
    }
    if (!files_->files().isEmpty()) files_->removePaths(files_->files());
    if (!files_->directories().isEmpty()) files_->removePaths(files_->directories());
    path_ = path;
    rewatch();
}

// A file that was removed or replaced drops out of the watcher: it is taken up again whenever it
// exists.
void JournalWatch::rewatch() {
    if (path_.isEmpty()) return;
    const QString folder = QFileInfo(path_).absolutePath();
    if (!files_->directories().contains(folder) && QFileInfo(folder).isDir())
        files_->addPath(folder);
    for (const QString& file : QStringList{path_, path_ + QStringLiteral("-wal")}) {
        const bool watched = files_->files().contains(file);
        const bool exists = QFileInfo(file).isFile();
        if (exists && !watched)
            files_->addPath(file);
        else if (!exists && watched)
            files_->removePath(file);
    }
}

void JournalWatch::listenToServer(const ServerSettings& server, const QString& user,
                                  const QString& password) {
    if (listener_->isRunning() && listener_->user() == user && listenedHost_ == server.host &&
        listenedDatabase_ == server.database)
        return;
    listenedHost_ = server.host;
    listenedDatabase_ = server.database;
    listener_->listen(server, user, password);
}

void JournalWatch::stopListening() {
    listener_->stop();
    listenedHost_.clear();
    listenedDatabase_.clear();
}

void JournalWatch::stop() {
    stopListening();
    if (!files_->files().isEmpty()) files_->removePaths(files_->files());
    if (!files_->directories().isEmpty()) files_->removePaths(files_->directories());
    path_.clear();
    settle_.stop();
}

bool JournalWatch::isListening() const {
    return listener_->isListening();
}
