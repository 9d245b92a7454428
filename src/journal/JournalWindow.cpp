#include "journal/JournalWindow.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTableWidget>
#include <algorithm>

#include "journal/ClassJournal.h"
#include "journal/ServerLink.h"
#include "shell/DialogKeys.h"
#include "shell/Layout.h"
#include "toolkit/Colors.h"

namespace {
const QString allGroups = QStringLiteral("Все группы");
const QString allComputers = QStringLiteral("Все компьютеры");
// The earliest date of the date boxes stands for "no bound" and shows as a dash.
const QDate noBound(2000, 1, 1);

QString localTimeText(const QDateTime& utc) {
    return utc.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

QDate boundOf(const QDateEdit* edit) {
    return edit->date() == noBound ? QDate() : edit->date();
}
}  // namespace

JournalWindow::JournalWindow(ClassJournal* journal, QWidget* parent)
    : LabWindow(QStringLiteral("Журнал класса"), QSize(780, 480), Border::Tool, parent),
      journal_(journal) {
    auto* groupLabel = new QLabel(QStringLiteral("Группа:"), this);
    groupFilter = new QComboBox(this);
    auto* fromLabel = new QLabel(QStringLiteral("с"), this);
    fromDate = new QDateEdit(this);
    auto* toLabel = new QLabel(QStringLiteral("по"), this);
    toDate = new QDateEdit(this);
    auto* computerLabel = new QLabel(QStringLiteral("Компьютер:"), this);
    computerFilter = new QComboBox(this);
    refreshButton = new QPushButton(QStringLiteral("Обновить"), this);
    sourceLine = new QLabel(this);
    faultLine = new QLabel(this);
    table = new QTableWidget(this);
    exportButton = new QPushButton(QStringLiteral("Экспорт в CSV…"), this);
    closeButton = new QPushButton(QStringLiteral("Закрыть"), this);

    placeControls({
        {groupLabel, 8, 11, 48, 17},
        {groupFilter, 58, 8, 140, 23},
        {fromLabel, 210, 11, 12, 17},
        {fromDate, 224, 8, 100, 23},
        {toLabel, 332, 11, 20, 17},
        {toDate, 354, 8, 100, 23},
        {computerLabel, 466, 11, 76, 17},
        {computerFilter, 544, 8, 140, 23},
        {refreshButton, 692, 8, 80, 23},
        {sourceLine, 8, 36, 764, 17},
        {faultLine, 8, 54, 764, 30},
        {table, 8, 86, 764, 354},
        {exportButton, 8, 448, 130, 25},
        {closeButton, 697, 448, 75, 25},
    });
    // What a screen reader says for the controls without a visible text of their own.
    groupFilter->setAccessibleName(QStringLiteral("Группа"));
    fromDate->setAccessibleName(QStringLiteral("Записи с даты"));
    toDate->setAccessibleName(QStringLiteral("Записи по дату"));
    computerFilter->setAccessibleName(QStringLiteral("Компьютер"));
    sourceLine->setAccessibleName(QStringLiteral("Откуда записи"));
    faultLine->setAccessibleName(QStringLiteral("Неполадки журнала"));
    table->setAccessibleName(QStringLiteral("Записи журнала"));

    for (QDateEdit* edit : {fromDate, toDate}) {
        edit->setCalendarPopup(true);
        edit->setMinimumDate(noBound);
        edit->setSpecialValueText(QStringLiteral("—"));
        edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        edit->setDate(noBound);
        connect(edit, &QDateEdit::dateChanged, this, &JournalWindow::applyFilters);
    }
    faultLine->setWordWrap(true);
    QPalette faultPalette = faultLine->palette();
    faultPalette.setColor(QPalette::WindowText, colorFromBgr(0x0000C0));
    faultLine->setPalette(faultPalette);

    const QStringList titles = sittingColumnTitles();
    table->setColumnCount(titles.size());
    table->setHorizontalHeaderLabels(titles);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(18);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setAlternatingRowColors(true);
    QPalette tablePalette = table->palette();
    tablePalette.setColor(QPalette::Window, QPalette().color(QPalette::Window));
    table->setPalette(tablePalette);

    connect(groupFilter, &QComboBox::currentIndexChanged, this, &JournalWindow::applyFilters);
    connect(computerFilter, &QComboBox::currentIndexChanged, this, &JournalWindow::applyFilters);
    connect(refreshButton, &QPushButton::clicked, this, &JournalWindow::reload);
    connect(exportButton, &QPushButton::clicked, this, &JournalWindow::onExportClicked);
    connect(closeButton, &QPushButton::clicked, this, &JournalWindow::done);
    attachDialogKeys(this, {[this] { done(); }, [this] { done(); }, closeButton});

    askExportPath = [this] {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        return QFileDialog::getSaveFileName(this, QStringLiteral("Экспорт журнала"),
                                            folder + QStringLiteral("/Журнал класса.csv"),
                                            QStringLiteral("Таблица CSV (*.csv)"));
    };
    setBackgroundColor(colorFromBgr(LabColors::GoldenYellow));
}

void JournalWindow::onActivated() {
    reload();
}

void JournalWindow::reload() {
    exportFault_.clear();
    ServerLink* server = journal_->server();
    if (!server) {
        sourceLine->setText(
            QStringLiteral("Записи журнала этого компьютера (%1).").arg(journal_->computer()));
        showRows(journal_->local().events());
        updateFaultLine(QString());
        Q_EMIT loaded();
        return;
    }
    loading_ = true;
    sourceLine->setText(
        QStringLiteral("Чтение записей с сервера журнала %1…").arg(server->settings().host));
    server->fetchEvents(this, [this, server](const JournalEvents& events, bool ok) {
        loading_ = false;
        const ServerStatus status = server->status();
        const QString reached = status.lastReached.isValid() ? localTimeText(status.lastReached)
                                                             : QStringLiteral("ещё не было");
        if (ok) {
            sourceLine->setText(
                QStringLiteral("Записи сервера журнала %1, база «%2»; "
                               "последняя связь: %3.")
                    .arg(server->settings().host, server->settings().database, reached));
            showRows(events);
        } else {
            sourceLine->setText(QStringLiteral("Сервер журнала недоступен, показаны записи "
                                               "этого компьютера; последняя связь с сервером: %1.")
                                    .arg(reached));
            showRows(journal_->local().events());
        }
        updateFaultLine(status.fault);
        Q_EMIT loaded();
    });
}

void JournalWindow::updateFaultLine(const QString& serverFault) {
    QStringList lines;
    if (!journal_->local().fault().isEmpty()) lines << journal_->local().fault();
    if (journal_->heldEvents() > 0)
        lines << QStringLiteral("Записей ждут внесения в файл журнала: %1.")
                     .arg(journal_->heldEvents());
    if (!serverFault.isEmpty()) {
        const qint64 waiting = journal_->server() ? journal_->server()->status().waiting : 0;
        lines << (waiting > 0 ? serverFault + QStringLiteral(" Ждут отправки: %1.").arg(waiting)
                              : serverFault);
    }
    if (!exportFault_.isEmpty()) lines << exportFault_;
    faultLine->setText(lines.join(QLatin1Char('\n')));
}

void JournalWindow::showRows(const JournalEvents& events) {
    all_ = summariseSittings(events);
    fillFilterChoices();
    applyFilters();
}

void JournalWindow::fillFilterChoices() {
    const auto refill = [](QComboBox* box, const QString& all, QStringList values) {
        const QString current = box->currentIndex() > 0 ? box->currentText() : QString();
        values.removeDuplicates();
        values.sort(Qt::CaseInsensitive);
        const QSignalBlocker block(box);
        box->clear();
        box->addItem(all);
        box->addItems(values);
        const int index = current.isEmpty() ? 0 : box->findText(current);
        box->setCurrentIndex(std::max(index, 0));
    };
    QStringList groups, computers;
    for (const SittingRow& row : all_) {
        groups << row.group;
        computers << row.computer;
    }
    refill(groupFilter, allGroups, groups);
    refill(computerFilter, allComputers, computers);
}

void JournalWindow::applyFilters() {
    SittingFilter filter;
    if (groupFilter->currentIndex() > 0) filter.group = groupFilter->currentText();
    if (computerFilter->currentIndex() > 0) filter.computer = computerFilter->currentText();
    filter.from = boundOf(fromDate);
    filter.to = boundOf(toDate);
    shown_ = filterSittings(all_, filter);

    table->setRowCount(static_cast<int>(shown_.size()));
    for (int r = 0; r < shown_.size(); ++r) {
        const QStringList cells = sittingCells(shown_[r]);
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c >= 4) item->setTextAlignment(Qt::AlignCenter);
            if (shown_[r].deleted) item->setToolTip(QStringLiteral("Удалён из окна результатов"));
            table->setItem(r, c, item);
        }
    }
    table->resizeColumnsToContents();
}

bool JournalWindow::exportTo(const QString& path) {
    QSaveFile file(path);
    const QByteArray bytes = sittingsCsv(shown_);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) {
        exportFault_.clear();
        return true;
    }
    exportFault_ = QStringLiteral("Не удалось сохранить файл %1: %2").arg(path, file.errorString());
    updateFaultLine(journal_->server() ? journal_->server()->status().fault : QString());
    return false;
}

void JournalWindow::onExportClicked() {
    const QString path = askExportPath ? askExportPath() : QString();
    if (path.isEmpty()) return;
    exportTo(path);
}
