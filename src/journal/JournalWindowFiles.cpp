// The teacher's view: the files and papers it writes, and where their rows come from.

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

#include "journal/ClassJournal.h"
#include "journal/JournalWindow.h"
#include "journal/MoodleExport.h"
#include "journal/Paper.h"
#include "journal/ProtocolPaper.h"
#include "journal/ServerLink.h"
#include "journal/SittingCollector.h"
#include "journal/SittingTableModel.h"

namespace {
// A name typed by a student, fit to stand in a file name.
QString fileNamePart(QString text) {
    static const QString unfit = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : text)
        if (unfit.contains(c) || c.unicode() < 0x20) c = QLatin1Char('_');
    return text.trimmed();
}
}  // namespace

void JournalWindow::reportFault(const QString& fault) {
    exportFault_ = fault;
    updateFaultLine(serverLines_);
}

bool JournalWindow::saveFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) {
        exportFault_.clear();
        return true;
    }
    reportFault(QStringLiteral("Не удалось сохранить файл %1: %2").arg(path, file.errorString()));
    return false;
}

bool JournalWindow::savePdf(const QString& path,
                            const std::function<bool(QPagedPaintDevice&)>& draw) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        reportFault(
            QStringLiteral("Не удалось сохранить файл %1: %2").arg(path, file.errorString()));
        return false;
    }
    bool drawn = false;
    {
        QPdfWriter writer(&file);
        writer.setResolution(300);
        writer.setCreator(QStringLiteral("Реактикум"));
        writer.setTitle(QFileInfo(path).completeBaseName());
        drawn = draw(writer);
    }
    if (drawn && file.commit()) {
        exportFault_.clear();
        return true;
    }
    file.cancelWriting();
    reportFault(QStringLiteral("Не удалось сохранить файл %1: %2")
                    .arg(path, drawn ? file.errorString()
                                     : QStringLiteral("не удалось составить страницы")));
    return false;
}

void JournalWindow::printPaper(const std::function<bool(QPagedPaintDevice&)>& draw) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(Paper::pageLayout());
    printer.setCreator(QStringLiteral("Реактикум"));
    if (!askPrinter || !askPrinter(printer)) return;
    if (draw(printer)) {
        exportFault_.clear();
        return;
    }
    reportFault(
        printer.printerName().isEmpty()
            ? QStringLiteral("Не удалось напечатать.")
            : QStringLiteral("Не удалось напечатать на принтере «%1».").arg(printer.printerName()));
}

std::optional<QList<SittingRow>> JournalWindow::allPassingRows(const QString& label) {
    ServerLink* server = journal_->server();
    if (!fromServer_ || !rows->hasMore() || !server) return shownRows();
    SittingQuery query;
    query.filter = currentFilter();
    // The papers and the files carry the grades' sentences, not their full evidence.
    query.withEvidence = false;
    const std::optional<QList<SittingRow>> all =
        collector_->collect(server->settings(), serverUser_, teacherPassword->text(), query, label);
    if (!all && !collector_->cancelled()) reportFault(collector_->fault());
    return all;
}

bool JournalWindow::exportTo(const QString& path) {
    const std::optional<QList<SittingRow>> all = allPassingRows(QStringLiteral("Экспорт…"));
    return all && saveFile(path, sittingsCsv(*all));
}

void JournalWindow::onExportClicked() {
    const QString path = askExportPath ? askExportPath() : QString();
    if (path.isEmpty()) return;
    exportTo(path);
}

bool JournalWindow::exportMoodleTo(const QString& path) {
    const std::optional<QList<SittingRow>> all =
        allPassingRows(QStringLiteral("Экспорт для Moodle…"));
    return all && saveFile(path, moodleGradesCsv(gradesByStudent(*all)));
}

void JournalWindow::onMoodleClicked() {
    const QString path = askMoodlePath ? askMoodlePath() : QString();
    if (path.isEmpty()) return;
    exportMoodleTo(path);
}

bool JournalWindow::saveProtocolTo(const QString& path) {
    const SittingRow* sitting = selectedSitting();
    if (!sitting) return false;
    const SittingRow chosen = *sitting;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    return savePdf(path,
                   [&](QPagedPaintDevice& device) { return drawProtocol(device, chosen, now); });
}

bool JournalWindow::saveClassSheetTo(const QString& path) {
    const std::optional<QList<SittingRow>> all =
        allPassingRows(QStringLiteral("Составление ведомости…"));
    if (!all) return false;
    const ClassSheet sheet = classSheetOf(*all);
    return savePdf(path, [&](QPagedPaintDevice& device) { return drawClassSheet(device, sheet); });
}

void JournalWindow::onProtocolToPdf() {
    const SittingRow* sitting = selectedSitting();
    if (!sitting || !askPdfPath) return;
    const QString name =
        QStringLiteral("Протокол %1 %2.pdf")
            .arg(fileNamePart(sitting->surname),
                 sitting->registeredAt.toLocalTime().toString(QStringLiteral("dd.MM.yyyy")));
    const QString path = askPdfPath(name);
    if (!path.isEmpty()) saveProtocolTo(path);
}

void JournalWindow::onProtocolToPrinter() {
    const SittingRow* sitting = selectedSitting();
    if (!sitting) return;
    const SittingRow chosen = *sitting;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    printPaper([&](QPagedPaintDevice& device) { return drawProtocol(device, chosen, now); });
}

void JournalWindow::onClassSheetToPdf() {
    if (!askPdfPath) return;
    // While the server holds rows not read yet, the group chosen names the sheet.
    QStringList groups;
    if (!rows->hasMore())
        groups = groupsOf(gradesByStudent(shownRows()));
    else if (groupFilter->currentIndex() > 0)
        groups << groupFilter->currentText();
    const QString name = groups.size() == 1
                             ? QStringLiteral("Ведомость %1.pdf").arg(fileNamePart(groups[0]))
                             : QStringLiteral("Ведомость.pdf");
    const QString path = askPdfPath(name);
    if (!path.isEmpty()) saveClassSheetTo(path);
}

void JournalWindow::onClassSheetToPrinter() {
    const std::optional<QList<SittingRow>> all =
        allPassingRows(QStringLiteral("Составление ведомости…"));
    if (!all) return;
    const ClassSheet sheet = classSheetOf(*all);
    printPaper([&](QPagedPaintDevice& device) { return drawClassSheet(device, sheet); });
}
