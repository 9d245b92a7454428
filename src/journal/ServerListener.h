#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QThread>
#include <memory>

#include "journal/JournalSettings.h"

class ServerConnection;

// Listens on the class server for the word that rows arrived (the server's trigger notifies the
// channel journalChannel after every statement that added rows; the notification carries
// nothing of the rows), on a connection and a thread of its own: connecting may take seconds and
// the window never waits for it. A connection that breaks is made again quietly, sooner at
// first and then every half minute; a first login that fails is given up, for the window to ask
// again with the next login.
//
// The login and password are held while it listens, to connect again, and forgotten by stop().
class ServerListener : public QObject {
    Q_OBJECT
public:
    static constexpr const char* journalChannel = "reaktikum_journal";

    explicit ServerListener(QObject* parent = nullptr);
    // Cuts short what the thread waits for and waits for it, which ends at once.
    ~ServerListener() override;

    // Starts listening as user; a listener already running is stopped first.
    void listen(const ServerSettings& server, const QString& user, const QString& password);
    void stop();
    // Started and not given up: connected or connecting again.
    bool isRunning() const { return running_ != nullptr; }
    // A LISTEN is in place on the server right now.
    bool isListening() const { return listening_; }
    QString user() const { return user_; }
    QString fault() const { return fault_; }

Q_SIGNALS:
    // A LISTEN was put in place: rows may have arrived while there was none.
    void listening();
    // One notification and what it carried.
    void notified(const QString& payload);
    // The first login failed (fault() says why): the listener has stopped.
    void failed();

private:
    struct Run;
    void post(quint64 serial, std::function<void()> what);

    QThread* running_ = nullptr;
    std::shared_ptr<ServerConnection> connection_;
    quint64 serial_ = 0;
    bool listening_ = false;
    QString user_;
    QString fault_;
};
