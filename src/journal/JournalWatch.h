#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include "journal/JournalSettings.h"

class QFileSystemWatcher;
class ServerListener;

// Tells the teacher's view that the journal's rows changed, so that it reads them again without
// a click: from the class server through its notifications, as the teacher who logged in; from
// this computer's journal by watching the file and its write-ahead log (another program of this
// computer writes there). A burst of rows, a whole class's batch, is one rowsChanged().
class JournalWatch : public QObject {
    Q_OBJECT
public:
    // How long the watch waits after a change for more to come before it tells.
    static constexpr int settleMs = 250;

    explicit JournalWatch(QObject* parent = nullptr);
    ~JournalWatch() override;

    // Watches the journal file at path; it need not exist yet. Another path replaces it.
    void watchFile(const QString& path);
    // Listens on the server as user (see ServerListener); the same server and user again leave
    // a listener that runs as it is.
    void listenToServer(const ServerSettings& server, const QString& user, const QString& password);
    void stopListening();
    // Watches and listens no more, and forgets the login.
    void stop();

    QString watchedFile() const { return path_; }
    ServerListener* listener() const { return listener_; }
    bool isListening() const;

Q_SIGNALS:
    void rowsChanged();

private:
    void rewatch();
    void changed();

    QString path_;
    QFileSystemWatcher* files_ = nullptr;
    ServerListener* listener_ = nullptr;
    QString listenedHost_;
    QString listenedDatabase_;
    QTimer settle_;
};
