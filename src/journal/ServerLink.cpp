#include "journal/ServerLink.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMetaObject>
#include <QMutexLocker>

#include "journal/ServerConnection.h"
#include "journal/ServerWorker.h"

ServerLink::ServerLink(const ServerSettings& settings, const QString& localPath, int retryMs)
    : settings_(settings), connection_(std::make_unique<ServerConnection>(settings)) {
    thread_.setObjectName(QStringLiteral("journal-server"));
    worker_ = new ServerWorker(this, connection_.get(), localPath, retryMs);
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.start(QThread::LowPriority);
    QMetaObject::invokeMethod(worker_, &ServerWorker::begin, Qt::QueuedConnection);
}

ServerLink::~ServerLink() {
    // Every wait of the connection ends at once, so the worker is free for finish() within
    // moments whatever it was doing.
    connection_->abort();
    QMetaObject::invokeMethod(worker_, &ServerWorker::finish, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
}

void ServerLink::wake() {
    QMetaObject::invokeMethod(worker_, &ServerWorker::sendPending, Qt::QueuedConnection);
}

ServerStatus ServerLink::status() const {
    QMutexLocker lock(&statusMutex_);
    return status_;
}

void ServerLink::setStatus(const ServerStatus& status) {
    QMutexLocker lock(&statusMutex_);
    status_ = status;
}

bool ServerLink::waitUntilSent(int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    // Only a pass that starts after this call has seen every row written before it.
    const qint64 firstPass = passesStarted_.load() + 1;
    wake();
    for (;;) {
        {
            QMutexLocker lock(&statusMutex_);
            if (status_.pass >= firstPass && status_.waiting == 0 && status_.fault.isEmpty())
                return true;
        }
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}
