#include "journal/JournalWindow.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <algorithm>

#include "journal/ClassJournal.h"
#include "journal/ClassPresenceView.h"
#include "journal/EvidenceTable.h"
#include "journal/JournalFollower.h"
#include "journal/ServerLink.h"
#include "journal/ServerReader.h"
#include "journal/SittingCollector.h"
#include "journal/SittingTableModel.h"
#include "lab/Numbers.h"
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

// The date picker of a box without a bound opens on the current month.
class CalendarOpensOnToday : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* calendar = qobject_cast<QCalendarWidget*>(watched);
        if (event->type() == QEvent::Show && calendar && calendar->selectedDate() == noBound) {
            const QDate today = QDate::currentDate();
            calendar->setCurrentPage(today.year(), today.month());
        }
        return QObject::eventFilter(watched, event);
    }
};

QDate boundOf(const QDateEdit* edit) {
    return edit->date() == noBound ? QDate() : edit->date();
}

// The columns of sittingCells: the grades of experiments 1..4 follow the five columns of who,
// where and when.
constexpr int firstGradeColumn = 5;

const QString chooseGradeHint =
    QStringLiteral("Выберите оценку в таблице, чтобы увидеть, из чего она сложилась.");
QString documentsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

}  // namespace

JournalWindow::JournalWindow(ClassJournal* journal, QWidget* parent)
    : LabWindow(QStringLiteral("Журнал класса"), QSize(780, 700), Border::Tool, parent),
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
    table = new QTableView(this);
    rows = new SittingTableModel(this);
    evidenceTitle = new QLabel(this);
    evidenceText = new QPlainTextEdit(this);
    evidenceTable = new EvidenceTable(EvidenceTable::Reader::Teacher, this);
    exportButton = new QPushButton(QStringLiteral("Экспорт в CSV…"), this);
    moodleButton = new QPushButton(QStringLiteral("Экспорт для Moodle…"), this);
    protocolButton = new QPushButton(QStringLiteral("Протокол…"), this);
    classSheetButton = new QPushButton(QStringLiteral("Ведомость…"), this);
    closeButton = new QPushButton(QStringLiteral("Закрыть"), this);
    auto* loginLabel = new QLabel(QStringLiteral("Учитель:"), this);
    teacherLogin = new QLineEdit(this);
    auto* passwordLabel = new QLabel(QStringLiteral("Пароль:"), this);
    teacherPassword = new QLineEdit(this);
    loginButton = new QPushButton(QStringLiteral("Войти"), this);
    reader_ = new ServerReader(this);
    classNow = new ClassPresenceView(this);
    follower = new JournalFollower(this, journal_, classNow);
    collector_ = std::make_unique<SittingCollector>(this);

    placeControls({
        {groupLabel, 8, 11, 48, 17},         {groupFilter, 58, 8, 140, 23},
        {fromLabel, 210, 11, 12, 17},        {fromDate, 224, 8, 100, 23},
        {toLabel, 332, 11, 20, 17},          {toDate, 354, 8, 100, 23},
        {computerLabel, 466, 11, 76, 17},    {computerFilter, 544, 8, 140, 23},
        {refreshButton, 692, 8, 80, 23},     {sourceLine, 8, 36, 764, 17},
        {faultLine, 8, 54, 764, 30},         {table, 8, 86, 764, 176},
        {loginLabel, 8, 271, 56, 17},        {teacherLogin, 66, 268, 120, 23},
        {passwordLabel, 198, 271, 50, 17},   {teacherPassword, 250, 268, 120, 23},
        {loginButton, 378, 267, 80, 25},     {evidenceTitle, 8, 298, 764, 17},
        {evidenceText, 8, 316, 764, 48},     {evidenceTable, 8, 366, 764, 194},
        {classNow->title, 8, 568, 764, 17},  {classNow->cards, 8, 586, 764, 74},
        {exportButton, 8, 668, 130, 25},     {moodleButton, 144, 668, 150, 25},
        {protocolButton, 300, 668, 105, 25}, {classSheetButton, 411, 668, 105, 25},
        {closeButton, 697, 668, 75, 25},
    });
    // What a screen reader says for the controls without a visible text of their own.
    groupFilter->setAccessibleName(QStringLiteral("Группа"));
    fromDate->setAccessibleName(QStringLiteral("Записи с даты"));
    toDate->setAccessibleName(QStringLiteral("Записи по дату"));
    computerFilter->setAccessibleName(QStringLiteral("Компьютер"));
    sourceLine->setAccessibleName(QStringLiteral("Откуда записи"));
    faultLine->setAccessibleName(QStringLiteral("Неполадки журнала"));
    table->setAccessibleName(QStringLiteral("Записи журнала"));
    evidenceTitle->setAccessibleName(QStringLiteral("Выбранная оценка"));
    evidenceText->setAccessibleName(QStringLiteral("Почему такая оценка"));
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
        // Without a bound the calendar opens on this month, not on the bound's January 2000.
        edit->calendarWidget()->installEventFilter(new CalendarOpensOnToday(edit));
    }
    faultLine->setWordWrap(true);
    QPalette faultPalette = faultLine->palette();
    faultPalette.setColor(QPalette::WindowText, colorFromBgr(0x0000C0));
    faultLine->setPalette(faultPalette);

    // The sentences read like the lines above the table; a long list scrolls.
    evidenceText->setReadOnly(true);
    evidenceText->setFrameShape(QFrame::NoFrame);
    evidenceText->viewport()->setAutoFillBackground(false);
    evidenceText->setTabChangesFocus(true);
    QFont titleFont = evidenceTitle->font();
    titleFont.setBold(true);
    evidenceTitle->setFont(titleFont);
    evidenceText->setPlainText(chooseGradeHint);

    table->setModel(rows);
    rows->fetchPage = [this] { readServerPage(false); };
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(18);
    // Column widths are measured on the first rows only: a page of the server's is hundreds.
    table->horizontalHeader()->setResizeContentsPrecision(100);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setAlternatingRowColors(true);
    QPalette tablePalette = table->palette();
    tablePalette.setColor(QPalette::Window, QPalette().color(QPalette::Window));
    table->setPalette(tablePalette);

    connect(table->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { showEvidence(current.row(), current.column()); });
    connect(groupFilter, &QComboBox::currentIndexChanged, this, &JournalWindow::applyFilters);
    connect(computerFilter, &QComboBox::currentIndexChanged, this, &JournalWindow::applyFilters);
    connect(refreshButton, &QPushButton::clicked, this, &JournalWindow::reload);
    connect(loginButton, &QPushButton::clicked, this, &JournalWindow::reload);
    connect(teacherLogin, &QLineEdit::returnPressed, this, &JournalWindow::reload);
    connect(teacherPassword, &QLineEdit::returnPressed, this, &JournalWindow::reload);
    connect(exportButton, &QPushButton::clicked, this, &JournalWindow::onExportClicked);
    connect(moodleButton, &QPushButton::clicked, this, &JournalWindow::onMoodleClicked);
    connect(closeButton, &QPushButton::clicked, this, &JournalWindow::done);
    // Each paper goes to a PDF file or to a printer, chosen from the button's menu.
    const auto paperMenu = [this](QPushButton* button, void (JournalWindow::*toPdf)(),
                                  void (JournalWindow::*toPrinter)()) {
        auto* menu = new QMenu(button);
        menu->addAction(QStringLiteral("Сохранить в PDF…"), this, toPdf);
        menu->addAction(QStringLiteral("Печать…"), this, toPrinter);
        button->setMenu(menu);
    };
    paperMenu(protocolButton, &JournalWindow::onProtocolToPdf, &JournalWindow::onProtocolToPrinter);
    paperMenu(classSheetButton, &JournalWindow::onClassSheetToPdf,
              &JournalWindow::onClassSheetToPrinter);
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &JournalWindow::updatePaperButtons);
    // New rows keep the columns wide enough for what they hold.
    connect(rows, &QAbstractItemModel::modelReset, table, &QTableView::resizeColumnsToContents);
    updatePaperButtons();
    attachDialogKeys(this, {[this] { done(); }, [this] { done(); }, closeButton});

    askExportPath = [this] {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        return QFileDialog::getSaveFileName(this, QStringLiteral("Экспорт журнала"),
                                            folder + QStringLiteral("/Журнал класса.csv"),
                                            QStringLiteral("Таблица CSV (*.csv)"));
    };
    askMoodlePath = [this] {
        return QFileDialog::getSaveFileName(
            this, QStringLiteral("Экспорт для Moodle"),
            documentsFolder() + QStringLiteral("/Оценки для Moodle.csv"),
            QStringLiteral("Таблица CSV (*.csv)"));
    };
    askPdfPath = [this](const QString& suggestedName) {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Сохранить в PDF"),
                                            documentsFolder() + QLatin1Char('/') + suggestedName,
                                            QStringLiteral("Документ PDF (*.pdf)"));
    };
    askPrinter = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        dialog.setWindowTitle(QStringLiteral("Печать"));
        return dialog.exec() == QDialog::Accepted;
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
    reader_->disconnect();
    LabWindow::hideEvent(event);
}

QString JournalWindow::lastReachedText() const {
    const ServerStatus status = journal_->server()->status();
    return status.lastReached.isValid() ? localTimeText(status.lastReached)
                                        : QStringLiteral("ещё не было");
}

void JournalWindow::reload() {
    exportFault_.clear();
    // A journal file moved aside as corrupt is told once, at the first showing after it.
    notice_ = journal_->local().takeNotice();
    ServerLink* server = journal_->server();
    const QString user = teacherLogin->text().trimmed();
    if (!server || user.isEmpty()) {
        // A page of the server's still on its way is not wanted any more.
        reader_->stop();
        reader_->disconnect();
        loading_ = false;
        fromServer_ = false;
        showLocalRows();
        return;
    }
    // A reload logs in afresh, with what is typed now.
    reader_->stop();
    reader_->disconnect();
    loading_ = true;
    sourceLine->setText(QStringLiteral("Чтение записей с сервера журнала %1 от имени «%2»…")
                            .arg(server->settings().host, user));
    SittingQuery query;
    query.filter = currentFilter();
    query.limit = pageSize;
    query.withChoices = true;
    reader_->read(server->settings(), user, teacherPassword->text(), query,
                  [this, user, filter = query.filter](const ServerReading& reading) {
                      showServerReading(reading, user, filter);
                  });
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

void JournalWindow::showServerReading(const ServerReading& reading, const QString& user,
                                      const SittingFilter& asked) {
    loading_ = false;
    const ServerSettings& settings = journal_->server()->settings();
    QStringList lines;
    if (reading.ok) {
        sourceLine->setText(QStringLiteral("Записи сервера журнала %1, база «%2», вход «%3»; "
                                           "последняя связь этого компьютера: %4.")
                                .arg(settings.host, settings.database, user, lastReachedText()));
        fromServer_ = true;
        serverUser_ = user;
        all_.clear();
        allMistakes_.clear();
        fillFilterChoices(reading.groups, reading.computers);
        if (currentFilter() == asked)
            showServerPage(reading, true);
        else  // a choice the server does not know any more, or one changed meanwhile
            readServerPage(true);
        if (reading.conflicts > 0)
            lines << QStringLiteral(
                         "На сервере есть записи, присланные повторно с другим "
                         "содержимым: %1 (таблица reaktikum.journal_conflicts).")
                         .arg(reading.conflicts);
    } else {
        sourceLine->setText(QStringLiteral("Сервер журнала недоступен, показаны записи "
                                           "этого компьютера; последняя связь с сервером: %1.")
                                .arg(lastReachedText()));
        fromServer_ = false;
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
    if (!notice_.isEmpty()) lines << notice_;
    if (!journal_->local().fault().isEmpty()) lines << journal_->local().fault();
    if (journal_->heldEvents() > 0)
        lines << QStringLiteral("Записей ждут внесения в файл журнала: %1.")
                     .arg(journal_->heldEvents());
    QString linkFault;
    if (ServerLink* server = journal_->server()) {
        // The computer's own link: what keeps its rows from the server.
        linkFault = server->status().fault;
        const qint64 waiting = journal_->waitingEvents();
        if (!linkFault.isEmpty())
            lines << (waiting > 0 ? linkFault + QStringLiteral(" Ждут отправки: %1.").arg(waiting)
                                  : linkFault);
    }
    // The teacher's read may have failed for the same reason: it is told once.
    for (const QString& line : serverLines_)
        if (line != linkFault) lines << line;
    if (!exportFault_.isEmpty()) lines << exportFault_;
    faultLine->setText(lines.join(QLatin1Char('\n')));
}

int JournalWindow::gradeColumn(int experiment) {
    return firstGradeColumn + experiment - 1;
}

int JournalWindow::sharedMistakeColumn() const {
    return rows->mistakeColumn();
}

JournalWindow::~JournalWindow() = default;

const QList<SittingRow>& JournalWindow::shownRows() const {
    return rows->rows();
}

void JournalWindow::showRows(const JournalEvents& events) {
    all_ = summariseSittings(events);
    // Counted over every row read, not only those the filters show: a group is a group
    // whatever dates or computer the teacher looks at.
    allMistakes_ = findSharedMistakes(all_);
    QStringList groups, computers;
    for (const SittingRow& row : all_) {
        groups << row.group;
        computers << row.computer;
    }
    fillFilterChoices(groups, computers);
    applyFilters();
}

void JournalWindow::fillFilterChoices(QStringList groups, QStringList computers) {
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
    refill(groupFilter, allGroups, groups);
    refill(computerFilter, allComputers, computers);
}

SittingFilter JournalWindow::currentFilter() const {
    SittingFilter filter;
    if (groupFilter->currentIndex() > 0) filter.group = groupFilter->currentText();
    if (computerFilter->currentIndex() > 0) filter.computer = computerFilter->currentText();
    filter.from = boundOf(fromDate);
    filter.to = boundOf(toDate);
    return filter;
}

void JournalWindow::applyFilters() {
    if (fromServer_) {
        readServerPage(true);
        return;
    }
    const SittingFilter filter = currentFilter();
    QList<SittingRow> shown;
    QList<QList<SharedMistake>> mistakes;
    for (qsizetype r = 0; r < all_.size(); ++r) {
        if (!filter.matches(all_[r])) continue;
        shown.append(all_[r]);
        mistakes.append(allMistakes_.value(r));
    }
    rows->setRows(shown, mistakes, false);
    showEvidence(-1, -1);
    updatePaperButtons();
}

// The first page of what the filters pass, or the next page as the table is scrolled.
void JournalWindow::readServerPage(bool firstPage) {
    ServerLink* server = journal_->server();
    if (!server || !fromServer_) {
        rows->fetchFailed();
        return;
    }
    if (firstPage) {
        loading_ = true;
        cursor_ = {};
    }
    SittingQuery query;
    query.filter = currentFilter();
    query.after = cursor_;
    query.limit = pageSize;
    reader_->read(server->settings(), serverUser_, teacherPassword->text(), query,
                  [this, firstPage](const ServerReading& reading) {
                      loading_ = false;
                      if (!reading.ok) {
                          rows->fetchFailed();
                          updateFaultLine({reading.fault});
                          Q_EMIT loaded();
                          return;
                      }
                      showServerPage(reading, firstPage);
                      Q_EMIT loaded();
                  });
}

void JournalWindow::showServerPage(const ServerReading& reading, bool firstPage) {
    cursor_ = reading.next;
    // The server's rows are read a page at a time: a mistake is counted among the group's
    // sittings read so far, and a page changes only the marks of its groups' rows.
    if (firstPage) serverMistakes_.clear();
    const QSet<QString> changed = serverMistakes_.add(reading.sittings, reading.mistakes);
    QList<QList<SharedMistake>> mistakes;
    if (!firstPage) {
        mistakes.reserve(serverMistakes_.size());
        const QList<SittingRow>& shown = rows->rows();
        for (qsizetype r = 0; r < shown.size(); ++r)
            mistakes << (changed.contains(shown[r].group) ? serverMistakes_.mistakesOf(r)
                                                          : rows->mistakesOf(int(r)));
    }
    for (qsizetype r = mistakes.size(); r < serverMistakes_.size(); ++r)
        mistakes << serverMistakes_.mistakesOf(r);
    if (firstPage) {
        rows->setRows(reading.sittings, mistakes, reading.more);
        showEvidence(-1, -1);
        updatePaperButtons();
    } else {
        rows->appendRows(reading.sittings, mistakes, reading.more);
    }
}

// The grade in the selected cell: its evidence as a sentence and a table, and the mistakes it
// shares with many of the group. Elsewhere in a row: the sentences of all its grades.
void JournalWindow::showEvidence(int row, int column) {
    evidenceTable->setEvidence({});
    const QList<SittingRow>& shown = rows->rows();
    if (row < 0 || row >= shown.size()) {
        evidenceTitle->clear();
        evidenceText->setPlainText(chooseGradeHint);
        return;
    }
    const SittingRow& sitting = shown[row];
    const QString who = sitting.surname + QStringLiteral(", ") + sitting.group;
    const int experiment = column - firstGradeColumn + 1;
    const bool onGrade = experiment >= 1 && experiment <= 4 &&
                         sitting.grades[std::size_t(experiment - 1)].has_value();
    if (!onGrade) {
        QStringList lines;
        for (int k = 1; k <= 4; ++k) {
            const auto& grade = sitting.grades[std::size_t(k - 1)];
            if (!grade) continue;
            const QString summary = sitting.evidenceSummaries[std::size_t(k - 1)];
            lines << QStringLiteral("Опыт %1 (%2): %3")
                         .arg(k)
                         .arg(formatGeneral(double(*grade)),
                              summary.isEmpty() ? QStringLiteral("подробности не записаны.")
                                                : summary);
        }
        evidenceTitle->setText(who);
        lines << (lines.isEmpty() ? QStringLiteral("Оценок нет.") : chooseGradeHint);
        evidenceText->setPlainText(lines.join(QLatin1Char('\n')));
        return;
    }

    const float grade = *sitting.grades[std::size_t(experiment - 1)];
    evidenceTitle->setText(QStringLiteral("%1 — опыт %2, оценка %3")
                               .arg(who)
                               .arg(experiment)
                               .arg(formatGeneral(double(grade))));
    const std::optional<GradeEvidence> evidence =
        GradeEvidence::fromJson(sitting.evidence[std::size_t(experiment - 1)]);
    QString text =
        evidence ? evidence->summary : sitting.evidenceSummaries[std::size_t(experiment - 1)];
    if (text.isEmpty())
        text = QStringLiteral(
            "Подробности этой оценки не записаны: она получена до того, как "
            "журнал стал их хранить.");
    if (!evidence) {
        evidenceText->setPlainText(text);
        return;
    }
    evidenceTable->setEvidence(*evidence);
    for (const SharedMistake& m : rows->mistakesOf(row)) {
        if (m.experiment != experiment) continue;
        text += QStringLiteral("\n") + sharedMistakeText(m) +
                QStringLiteral(" — проверьте эталон или вопрос.");
        QList<int> lines;
        for (int i = 0; i < evidence->items.size(); ++i) {
            const EvidenceItem& item = evidence->items[i];
            if (item.key == m.itemKey && item.mistakes.contains(m.mistake)) lines << i;
        }
        evidenceTable->markItems(lines, sharedMistakeText(m));
    }
    evidenceText->setPlainText(text);
}

void JournalWindow::updatePaperButtons() {
    protocolButton->setEnabled(selectedSitting() != nullptr);
}

const SittingRow* JournalWindow::selectedSitting() const {
    const QModelIndexList selected = table->selectionModel()->selectedIndexes();
    if (selected.isEmpty()) return nullptr;
    const int row = selected.first().row();
    return row >= 0 && row < shownRows().size() ? &shownRows()[row] : nullptr;
}

ClassSheet JournalWindow::classSheet() const {
    return classSheetOf(shownRows());
}

ClassSheet JournalWindow::classSheetOf(const QList<SittingRow>& rows) const {
    ClassSheet sheet;
    sheet.students = gradesByStudent(rows);
    const auto [first, last] = dateRange(rows);
    sheet.from = boundOf(fromDate).isValid() ? boundOf(fromDate) : first;
    sheet.to = boundOf(toDate).isValid() ? boundOf(toDate) : last;
    sheet.madeAt = QDateTime::currentDateTimeUtc();
    return sheet;
}
