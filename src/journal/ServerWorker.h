#pragma once

#include <QObject>
#include <QTimer>
#include <memory>

#include "journal/JournalEvent.h"
#include "journal/JournalSettings.h"

class LocalJournal;
class ServerConnection;
class ServerLink;

// The server link's thread: sends on the link's server connection and reads through a second
// connection to the local journal. Every slot runs on that thread.
class ServerWorker : public QObject {
    Q_OBJECT
public:
    ServerWorker(ServerLink* link, ServerConnection* connection, const QString& localPath,
                 int retryMs);
    ~ServerWorker() override;

public Q_SLOTS:
    void begin();
    void sendPending();
    void finish();

private:
    bool connectServer();
    bool sendRows(const JournalEvents& rows, const QString& journalId);
    void reportFault();
    void reportState(qint64 waiting);

    ServerLink* link_;
    ServerConnection* connection_;
    QString localPath_;
    std::unique_ptr<LocalJournal> local_;
    QTimer* retryTimer_ = nullptr;
    QString fault_;
    QDateTime lastReached_;
    qint64 pass_ = 0;
};
