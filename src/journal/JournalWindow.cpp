#include "journal/JournalWindow.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTableWidget>
#include <algorithm>

#include "journal/ClassJournal.h"
#include "journal/ServerLink.h"
#include "journal/ServerReader.h"
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
    auto* loginLabel = new QLabel(QStringLiteral("Учитель:"), this);
    teacherLogin = new QLineEdit(this);
    auto* passwordLabel = new QLabel(QStringLiteral("Пароль:"), this);
    teacherPassword = new QLineEdit(this);
    loginButton = new QPushButton(QStringLiteral("Войти"), this);
    reader_ = new ServerReader(this);

    placeControls({
        {groupLabel, 8, 11, 48, 17},          {groupFilter, 58, 8, 140, 23},
        {fromLabel, 210, 11, 12, 17},         {fromDate, 224, 8, 100, 23},
        {toLabel, 332, 11, 20, 17},           {toDate, 354, 8, 100, 23},
        {computerLabel, 466, 11, 76, 17},     {computerFilter, 544, 8, 140, 23},
        {refreshButton, 692, 8, 80, 23},      {sourceLine, 8, 36, 764, 17},
        {faultLine, 8, 54, 764, 30},          {table, 8, 86, 764, 354},
        {exportButton, 8, 448, 130, 25},      {loginLabel, 166, 452, 56, 17},
        {teacherLogin, 224, 449, 120, 23},    {passwordLabel, 356, 452, 50, 17},
        {teacherPassword, 408, 449, 120, 23}, {loginButton, 536, 448, 80, 25},
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
    teacherLogin->setAccessibleName(QStringLiteral("Имя учителя на сервере журнала"));
    teacherPassword->setAccessibleName(QStringLiteral("Пароль учителя на сервере журнала"));
    teacherPassword->setEchoMode(QLineEdit::Password);
    // With no server there is nothing to log in to.
    const bool serverSetUp = journal_->server() != nullptr;
    for (QWidget* w : std::initializer_list<QWidget*>{loginLabel, teacherLogin, passwordLabel,
                                                      teacherPassword, loginButton})
        w->setVisible(serverSetUp);

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
    connect(loginButton, &QPushButton::clicked, this, &JournalWindow::reload);
    connect(teacherLogin, &QLineEdit::returnPressed, this, &JournalWindow::reload);
    connect(teacherPassword, &QLineEdit::returnPressed, this, &JournalWindow::reload);
    connect(exportButton, &QPushButton::clicked, this, &JournalWindow::onExportClicked);
    connect(closeButton, &QPushButton::clicked, this, &JournalWindow::done);

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

// The login and password live only in the fields, which are emptied as the window goes.
void JournalWindow::hideEvent(QHideEvent* event) {
    teacherPassword->clear();
    teacherLogin->clear();
    LabWindow::hideEvent(event);
}

QString JournalWindow::lastReachedText() const {
    const ServerStatus status = journal_->server()->status();
    return status.lastReached.isValid() ? localTimeText(status.lastReached)
                                        : QStringLiteral("ещё не было");
}

void JournalWindow::reload() {
    exportFault_.clear();
    ServerLink* server = journal_->server();
    const QString user = teacherLogin->text().trimmed();
    if (!server || user.isEmpty()) {
        showLocalRows();
        return;
    }
    loading_ = true;
    sourceLine->setText(QStringLiteral("Чтение записей с сервера журнала %1 от имени «%2»…")
                            .arg(server->settings().host, user));
    reader_->read(server->settings(), user, teacherPassword->text(),
                  [this, user](const ServerReading& reading) { showServerReading(reading, user); });
}

void JournalWindow::showLocalRows() {
    ServerLink* server = journal_->server();
    if (!server)
        sourceLine->setText(
            QStringLiteral("Записи журнала этого компьютера (%1).").arg(journal_->computer()));
    else
        sourceLine->setText(QStringLiteral("Записи журнала этого компьютера (%1); последняя "
                                           "связь с сервером: %2. Весь класс — после входа "
                                           "учителя.")
                                .arg(journal_->computer(), lastReachedText()));
    showRows(journal_->local().events());
    updateFaultLine();
    Q_EMIT loaded();
}

void JournalWindow::showServerReading(const ServerReading& reading, const QString& user) {
    loading_ = false;
    const ServerSettings& settings = journal_->server()->settings();
    QStringList lines;
    if (reading.ok) {
        sourceLine->setText(QStringLiteral("Записи сервера журнала %1, база «%2», вход «%3»; "
                                           "последняя связь этого компьютера: %4.")
                                .arg(settings.host, settings.database, user, lastReachedText()));
        showRows(reading.events);
        if (reading.conflicts > 0)
            lines << QStringLiteral(
                         "На сервере есть записи, присланные повторно с другим "
                         "содержимым: %1 (таблица reaktikum.journal_conflicts).")
                         .arg(reading.conflicts);
    } else {
        sourceLine->setText(QStringLiteral("Сервер журнала недоступен, показаны записи "
                                           "этого компьютера; последняя связь с сервером: %1.")
                                .arg(lastReachedText()));
        showRows(journal_->local().events());
        lines << reading.fault;
    }
    updateFaultLine(lines);
    Q_EMIT loaded();
}

// The lines the server gives are kept for an export fault told later.
void JournalWindow::updateFaultLine(const QStringList& serverLines) {
    serverLines_ = serverLines;
    QStringList lines;
    if (!journal_->local().fault().isEmpty()) lines << journal_->local().fault();
    if (journal_->heldEvents() > 0)
        lines << QStringLiteral("Записей ждут внесения в файл журнала: %1.")
                     .arg(journal_->heldEvents());
    QString linkFault;
    if (ServerLink* server = journal_->server()) {
        // The computer's own link: what keeps its rows from the server.
        const ServerStatus status = server->status();
        linkFault = status.fault;
        if (!linkFault.isEmpty())
            lines << (status.waiting > 0
                          ? linkFault + QStringLiteral(" Ждут отправки: %1.").arg(status.waiting)
                          : linkFault);
    }
    // The teacher's read may have failed for the same reason: it is told once.
    for (const QString& line : serverLines_)
        if (line != linkFault) lines << line;
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
    updateFaultLine(serverLines_);
    return false;
}

void JournalWindow::onExportClicked() {
    const QString path = askExportPath ? askExportPath() : QString();
    if (path.isEmpty()) return;
    exportTo(path);
}
