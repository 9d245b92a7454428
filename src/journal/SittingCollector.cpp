#include "journal/SittingCollector.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QWidget>

SittingCollector::SittingCollector(QWidget* parent) : parent_(parent) {}

std::optional<QList<SittingRow>> SittingCollector::collect(const ServerSettings& server,
                                                           const QString& user,
                                                           const QString& password,
                                                           const SittingQuery& query,
                                                           const QString& label) {
    fault_.clear();
    cancelled_ = false;
    QProgressDialog progress(label, QStringLiteral("Отмена"), 0, 0, parent_);
    progress.setWindowTitle(QStringLiteral("Журнал класса"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(400);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    progress.setValue(0);

    QEventLoop loop;
    std::optional<ServerReading> result;
    QObject::connect(&progress, &QProgressDialog::canceled, &loop, [&] {
        cancelled_ = true;
        reader_.stop();
        loop.quit();
    });
    SittingQuery all = query;
    all.limit = 0;
    reader_.read(
        server, user, password, all,
        [&](const ServerReading& reading) {
            result = reading;
            loop.quit();
        },
        [&](qint64 read, qint64 total) {
            progress.setMaximum(int(std::min<qint64>(total, INT_MAX)));
            progress.setValue(int(std::min<qint64>(read, total)));
            progress.setLabelText(
                QStringLiteral("%1\nПрочитано записей: %2 из %3").arg(label).arg(read).arg(total));
        });
    // The read may already be over (canceled before it began, say) when the loop would start.
    if (!cancelled_ && !result) loop.exec();
    if (cancelled_ || !result) return std::nullopt;
    if (!result->ok) {
        fault_ = result->fault;
        return std::nullopt;
    }
    return result->sittings;
}
