#pragma once

#include <QObject>
#include <QString>
#include <QThread>
#include <functional>
#include <memory>

#include "journal/JournalEvent.h"
#include "journal/JournalSettings.h"

class ServerConnection;

// What a teacher's read of the class server found.
struct ServerReading {
    bool ok = false;
    JournalEvents events;
    // Rows a login sent again under a key it had used, with other content: kept apart on the
    // server for the teacher to look into.
    qint64 conflicts = 0;
    QString fault;  // why the server could not be read, in the teacher's words
};

// Reads the class's rows as the teacher, with the login and password the teacher typed (or the
// teacher account's ~/.pgpass), on a connection and thread of their own: the teacher's view
// never waits behind the computer's sending thread. Nothing typed is kept once a read is over.
class ServerReader : public QObject {
    Q_OBJECT
public:
    explicit ServerReader(QObject* parent = nullptr);
    // Cuts short a read in progress and waits for its thread, which ends at once.
    ~ServerReader() override;

    // Starts a read; done runs on this object's thread, unless a later read or the reader's end
    // came first. A read in progress is abandoned.
    void read(const ServerSettings& server, const QString& user, const QString& password,
              std::function<void(const ServerReading&)> done);
    bool isReading() const { return running_ != nullptr; }

private:
    void stop();

    QThread* running_ = nullptr;
    std::shared_ptr<ServerConnection> connection_;
    quint64 serial_ = 0;
};
