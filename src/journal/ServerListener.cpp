#include "journal/ServerListener.h"

#include <QDeadlineTimer>
#include <QMetaObject>
#include <algorithm>

#include "journal/ServerConnection.h"

namespace {
// The pauses before connecting again after a break: short at first (a server restarted), then
// no more often than a sending computer tries.
constexpr int firstPauseMs = 1000;
constexpr int lastPauseMs = 30000;
// How long one wait for notifications lasts; the network's silence is noticed by the keepalives
// of the connection, so this only bounds how long the thread sleeps in one call.
constexpr int waitSliceMs = 60000;
}  // namespace

ServerListener::ServerListener(QObject* parent) : QObject(parent) {}

ServerListener::~ServerListener() {
    stop();
}

void ServerListener::stop() {
    ++serial_;
    listening_ = false;
    user_.clear();
    if (!running_) return;
    connection_->abort();
    running_->wait();
    delete running_;
    running_ = nullptr;
    connection_.reset();
}

void ServerListener::post(quint64 serial, std::function<void()> what) {
    QMetaObject::invokeMethod(
        this,
        [this, serial, what] {
            if (serial_ == serial) what();
        },
        Qt::QueuedConnection);
}

void ServerListener::listen(const ServerSettings& server, const QString& user,
                            const QString& password) {
    stop();
    const quint64 serial = serial_;
    user_ = user;
    fault_.clear();
    auto connection = std::make_shared<ServerConnection>(server);
    connection_ = connection;
    const QString listen =
        QStringLiteral("LISTEN %1").arg(QString::fromLatin1(ServerListener::journalChannel));
    running_ = QThread::create([this, connection, user, password, serial, listen] {
        bool reached = false;
        int pauseMs = firstPauseMs;
        while (!connection->aborted()) {
            if (connection->open(user, password) && connection->exec(listen)) {
                reached = true;
                pauseMs = firstPauseMs;
                post(serial, [this] {
                    listening_ = true;
                    fault_.clear();
                    Q_EMIT listening();
                });
                QStringList payloads;
                while (connection->waitForNotifications(waitSliceMs, &payloads)) {
                    for (const QString& payload : std::as_const(payloads))
                        post(serial, [this, payload] { Q_EMIT notified(payload); });
                    payloads.clear();
                }
            }
            if (connection->aborted()) return;
            const QString fault = connection->fault();
            connection->close();
            if (!reached) {
                // A login that never worked is not tried again on its own: the teacher's next
                // login asks again.
                post(serial, [this, fault] {
                    running_->wait();
                    delete running_;
                    running_ = nullptr;
                    connection_.reset();
                    listening_ = false;
                    fault_ = fault;
                    Q_EMIT failed();
                });
                return;
            }
            post(serial, [this, fault] {
                listening_ = false;
                fault_ = fault;
            });
            const QDeadlineTimer pause(pauseMs);
            while (!connection->aborted() && !pause.hasExpired()) QThread::msleep(50);
            pauseMs = std::min(pauseMs * 2, lastPauseMs);
        }
    });
    running_->setObjectName(QStringLiteral("journal-listener"));
    running_->start(QThread::LowPriority);
}
