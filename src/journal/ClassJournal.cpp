#include "journal/ClassJournal.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>
#include <QThreadPool>
#include <QUuid>
#include <algorithm>

#include "journal/ServerLink.h"

namespace {
// Beyond this many events held in memory the oldest are let go: the results file has them.
constexpr qsizetype heldLimit = 10000;
// Rows between two checkpoints, which run on a pool thread so that no click waits for one.
constexpr int checkpointEvery = 200;
// A click waits at most this long for a lock another program holds; then the event waits in
// memory and goes in with the next one.
constexpr int clickBusyTimeoutMs = 30;
}  // namespace

ClassJournal::ClassJournal(const QString& journalPath, const ServerSettings& server,
                           const QString& computer, int retryMs)
    : computer_(computer), local_(journalPath, clickBusyTimeoutMs) {
    // This journal is the file's keeper: a corrupt file is moved aside and a fresh one begun.
    local_.setMovesCorruptFileAside(true);
    // A missing journal is created by the first event, not at start-up: a program that
    // stops before anyone registers leaves its folder as it found it.
    if (QFileInfo::exists(journalPath) && local_.open()) local_.deferCheckpoints();
    retryHeld_.setInterval(1000);
    retryHeld_.callOnTimeout([this] { writeHeld(); });
    if (server.isSetUp()) server_ = std::make_unique<ServerLink>(server, journalPath, retryMs);
}

ClassJournal::~ClassJournal() {
    server_.reset();
    QThreadPool::globalInstance()->waitForDone();
    if (local_.state() == LocalJournal::State::Ready) LocalJournal::checkpoint(local_.path());
}

void ClassJournal::record(QString& sitting, const QString& group, const QString& surname,
                          int variant, JournalEventKind kind, int experiment,
                          std::optional<float> grade, const GradeEvidence& evidence) {
    if (sitting.isEmpty() && kind != JournalEventKind::Registered)
        sitting = local_.latestSitting(computer_, group, surname);
    // A deletion of a student this journal never registered belongs to no sitting it knows:
    // it is kept with none rather than with a new one that would stand for a sitting.
    const bool deletion = kind == JournalEventKind::Deleted || kind == JournalEventKind::DeletedAll;
    if (sitting.isEmpty() && !deletion)
        sitting = QUuid::createUuid().toString(QUuid::WithoutBraces);

    JournalEvent e;
    e.recordedAt = QDateTime::currentDateTimeUtc();
    e.computer = computer_;
    // Empty, not null: the column holds text, and a null string would be bound as NULL.
    e.sitting = sitting.isEmpty() ? QStringLiteral("") : sitting;
    e.group = group;
    e.surname = surname;
    e.variant = variant >= 1 && variant <= 6 ? variant : 0;
    e.experiment = experiment;
    e.grade = grade;
    e.kind = kind;
    e.evidence = evidence.toJson();
    e.evidenceSummary = evidence.summary;
    held_.append(e);
    if (held_.size() > heldLimit) held_.remove(0, held_.size() - heldLimit);

    writeHeld();
}

void ClassJournal::writeHeld() {
    if (held_.isEmpty() || local_.state() == LocalJournal::State::Unusable ||
        local_.state() == LocalJournal::State::ReadOnly) {
        retryHeld_.stop();
        return;
    }
    const bool wasReady = local_.state() == LocalJournal::State::Ready;
    if (!local_.append(held_)) {
        retryHeld_.start();
        return;
    }
    retryHeld_.stop();
    if (!wasReady) local_.deferCheckpoints();
    sinceCheckpoint_ += static_cast<int>(held_.size());
    held_.clear();
    if (sinceCheckpoint_ >= checkpointEvery) {
        sinceCheckpoint_ = 0;
        const QString path = local_.path();
        QThreadPool::globalInstance()->start([path] { LocalJournal::checkpoint(path); });
    }
    if (server_) server_->wake();
}

void ClassJournal::registered(QString& sitting, const QString& group, const QString& surname,
                              int variant) {
    sitting.clear();
    record(sitting, group, surname, variant, JournalEventKind::Registered);
}

void ClassJournal::entered(QString& sitting, const QString& group, const QString& surname,
                           int variant, int experiment) {
    record(sitting, group, surname, variant, JournalEventKind::Entered, experiment);
}

void ClassJournal::graded(QString& sitting, const QString& group, const QString& surname,
                          int variant, int experiment, double grade,
                          const GradeEvidence& evidence) {
    record(sitting, group, surname, variant, JournalEventKind::Graded, experiment,
           static_cast<float>(grade), evidence);
}

void ClassJournal::deleted(QString& sitting, const QString& group, const QString& surname,
                           int variant) {
    record(sitting, group, surname, variant, JournalEventKind::Deleted);
}

void ClassJournal::deletedAll(QString& sitting, const QString& group, const QString& surname,
                              int variant) {
    record(sitting, group, surname, variant, JournalEventKind::DeletedAll);
}

qint64 ClassJournal::waitingEvents() const {
    return held_.size() + (server_ ? server_->status().waiting : 0);
}

bool ClassJournal::waitUntilSent(int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    // Held events go to the file first: the retry timer runs while the caller's events do.
    while (!held_.isEmpty()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (!held_.isEmpty() && local_.state() != LocalJournal::State::Unusable &&
            local_.state() != LocalJournal::State::ReadOnly)
            writeHeld();
        if (!held_.isEmpty()) QThread::msleep(20);
    }
    if (!server_) return true;
    return server_->waitUntilSent(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 0)));
}
