#include "journal/ServerReader.h"

#include <QMetaObject>

#include "journal/ServerConnection.h"

namespace {

// Timestamps in UTC with milliseconds, as the local journal keeps them.
const QLatin1String selectRows(
    "SELECT local_id, to_char(recorded_at AT TIME ZONE 'UTC',"
    " 'YYYY-MM-DD\"T\"HH24:MI:SS.MS\"Z\"') AS recorded_at, computer, sitting, student_group,"
    " student_surname, variant, experiment, grade, event, evidence, evidence_summary"
    " FROM reaktikum.journal ORDER BY id");
const QLatin1String countConflicts("SELECT count(*) FROM reaktikum.journal_conflicts");

ServerReading readAll(ServerConnection& connection, const QString& user, const QString& password) {
    ServerReading reading;
    ServerRows rows, conflicts;
    reading.ok = connection.open(user, password) && connection.exec(selectRows, {}, &rows) &&
                 connection.exec(countConflicts, {}, &conflicts);
    connection.close();
    if (!reading.ok) {
        reading.fault = connection.fault();
        return reading;
    }
    reading.events = eventsFromRows(rows);
    if (!conflicts.values.isEmpty()) reading.conflicts = conflicts.values[0][0].toLongLong();
    return reading;
}

}  // namespace

ServerReader::ServerReader(QObject* parent) : QObject(parent) {}

ServerReader::~ServerReader() {
    stop();
}

void ServerReader::stop() {
    if (!running_) return;
    connection_->abort();
    running_->wait();
    delete running_;
    running_ = nullptr;
    connection_.reset();
}

void ServerReader::read(const ServerSettings& server, const QString& user, const QString& password,
                        std::function<void(const ServerReading&)> done) {
    stop();
    const quint64 serial = ++serial_;
    auto connection = std::make_shared<ServerConnection>(server);
    connection_ = connection;
    // The reader outlives the thread (stop() waits for it); a result posted to a reader that
    // is gone is dropped with it.
    running_ = QThread::create([this, connection, user, password, serial, done] {
        const ServerReading reading = readAll(*connection, user, password);
        if (connection->aborted()) return;
        QMetaObject::invokeMethod(
            this,
            [this, serial, done, reading] {
                if (serial_ != serial) return;
                // The thread has ended or is about to: let it go.
                running_->wait();
                delete running_;
                running_ = nullptr;
                connection_.reset();
                done(reading);
            },
            Qt::QueuedConnection);
    });
    running_->setObjectName(QStringLiteral("journal-teacher"));
    running_->start(QThread::LowPriority);
}
