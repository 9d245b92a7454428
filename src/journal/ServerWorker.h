#pragma once

#include <QObject>
#include <QTimer>
#include <memory>

#include "journal/JournalEvent.h"
#include "journal/JournalSettings.h"
#include "journal/ServerLink.h"

class LocalJournal;
class ServerLink;

// The server link's thread: owns the PostgreSQL connection and a second connection to the
// local journal. Every slot runs on that thread.
class ServerWorker : public QObject {
    Q_OBJECT
public:
    ServerWorker(ServerLink* link, const ServerSettings& settings, const QString& localPath,
                 int retryMs);
    ~ServerWorker() override;

public Q_SLOTS:
    void begin();
    void sendPending();
    void finish();

public:
    JournalEvents fetchAll(bool* ok);

private:
    bool connectServer();
    bool ensureSchema();
    void dropConnection();
    void reportFault(const QString& fault);
    void reportState(qint64 waiting);

    ServerLink* link_;
    ServerSettings settings_;
    QString localPath_;
    QString connectionName_;
    std::unique_ptr<LocalJournal> local_;
    QTimer* retryTimer_ = nullptr;
    QString fault_;
    QDateTime lastReached_;
    qint64 pass_ = 0;
};
