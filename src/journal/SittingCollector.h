#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "journal/JournalSettings.h"
#include "journal/ServerReader.h"
#include "journal/SittingSummary.h"

class QWidget;

// Every sitting that passes the teacher's filters, read from the class server for an export or
// a paper, with a progress dialog (shown when the read takes more than a moment) that the
// teacher may cancel. The caller waits; the window's events go on meanwhile.
class SittingCollector {
public:
    explicit SittingCollector(QWidget* parent);

    // The sittings, newest first; nothing when the teacher cancelled or the read failed (then
    // fault() says why).
    std::optional<QList<SittingRow>> collect(const ServerSettings& server, const QString& user,
                                             const QString& password, const SittingQuery& query,
                                             const QString& label);
    QString fault() const { return fault_; }
    bool cancelled() const { return cancelled_; }

private:
    QWidget* parent_;
    ServerReader reader_;
    QString fault_;
    bool cancelled_ = false;
};
