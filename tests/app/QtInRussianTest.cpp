// Qt's own dialogs and controls as a student or teacher meets them: the save dialog of the
// journal's CSV export and the journal's date picker speak Russian once the program has set up
// Qt's translations, and the picker opens on the current month.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "TestSupport.h"
#include "app/Startup.h"
#include "journal/ClassJournal.h"
#include "journal/JournalSettings.h"
#include "journal/JournalWindow.h"
#include "toolkit/LabWindow.h"

namespace {
const QRegularExpression latinLetters(QStringLiteral("[A-Za-z]"));
const QRegularExpression cyrillicLetters(QStringLiteral("[А-Яа-яЁё]"));

// Every text a user reads on the widget and its children: labels, buttons and their tool tips.
QStringList readableTexts(QWidget* root) {
    QStringList texts;
    for (QLabel* label : root->findChildren<QLabel*>())
        if (label->isVisibleTo(root) && !label->text().trimmed().isEmpty()) texts << label->text();
    for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
        if (!button->isVisibleTo(root)) continue;
        if (!button->text().trimmed().isEmpty()) texts << button->text();
        if (!button->toolTip().trimmed().isEmpty()) texts << button->toolTip();
    }
    return texts;
}

class QtInRussianTest : public LabTest {
protected:
    void SetUp() override {
        LabTest::SetUp();
        ASSERT_TRUE(installRussianForQt(*qApp))
            << "Qt's Russian translations are not installed (Debian: qt6-translations-l10n)";
        journal = std::make_unique<ClassJournal>(journalFilePath(), ServerSettings{},
                                                 QStringLiteral("pc-21"));
    }
    void TearDown() override {
        journal.reset();
        LabTest::TearDown();
    }
    std::unique_ptr<ClassJournal> journal;
};
}  // namespace

TEST_F(QtInRussianTest, TheExportSaveDialogSpeaksRussian) {
    JournalWindow window(journal.get());
    window.show();
    QStringList texts;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        seen = true;
        texts = readableTexts(dialog);
        dialog->reject();
    });
    EXPECT_TRUE(window.askExportPath().isEmpty());
    ASSERT_TRUE(seen);
    EXPECT_TRUE(texts.contains(QStringLiteral("&Сохранить")) ||
                texts.contains(QStringLiteral("Сохранить")))
        << texts.join(" | ").toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("Отмена"))) << texts.join(" | ").toStdString();
    for (const QString& text : texts) {
        EXPECT_FALSE(text.contains(latinLetters)) << text.toStdString();
        EXPECT_TRUE(text.contains(cyrillicLetters)) << text.toStdString();
    }
}

TEST_F(QtInRussianTest, TheDatePickerSpeaksRussianAndOpensOnTheCurrentMonth) {
    JournalWindow window(journal.get());
    window.show();
    QDateEdit* from = window.findChild<QDateEdit*>();
    ASSERT_TRUE(from);
    // A click on the box's arrow opens the calendar.
    QTest::mouseClick(from, Qt::LeftButton, {}, QPoint(from->width() - 6, from->height() / 2));
    QCalendarWidget* calendar = from->calendarWidget();
    ASSERT_TRUE(calendar->isVisible());
    const QDate today = QDate::currentDate();
    EXPECT_EQ(calendar->yearShown(), today.year());
    EXPECT_EQ(calendar->monthShown(), today.month());
    // The box still has no bound until a day is picked.
    EXPECT_EQ(from->text(), QStringLiteral("—"));
    auto* month = calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
    ASSERT_TRUE(month);
    EXPECT_TRUE(month->text().contains(cyrillicLetters)) << month->text().toStdString();
    EXPECT_EQ(QLocale().dayName(1, QLocale::ShortFormat), QStringLiteral("пн"));
    calendar->window()->hide();
}

// The standard buttons of Qt's boxes.
TEST_F(QtInRussianTest, StandardButtonsSpeakRussian) {
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                             QDialogButtonBox::Yes | QDialogButtonBox::No);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Отмена"));
    EXPECT_EQ(buttons.button(QDialogButtonBox::Yes)->text().remove('&'), QStringLiteral("Да"));
    EXPECT_EQ(buttons.button(QDialogButtonBox::No)->text().remove('&'), QStringLiteral("Нет"));
}

// Every text the program's windows show or tell a screen reader, in every window created at
// start-up with Qt set up as the program sets it up: captions, labels, links, buttons, tool
// tips, table cells, list entries, Qt's own controls among them. None is English (file names
// and formulas aside).
TEST_F(QtInRussianTest, NoWindowSpeaksEnglish) {
    createWindows();
    QStringList seen;
    auto check = [&seen](const QString& text, const QObject* where) {
        if (text.trimmed().isEmpty()) return;
        seen << text;
        const QStringList english = englishWordsIn(text);
        EXPECT_TRUE(english.isEmpty())
            << where->metaObject()->className() << " " << where->objectName().toStdString() << ": "
            << text.toStdString();
    };
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!qobject_cast<LabWindow*>(top)) continue;
        check(top->windowTitle(), top);
        QList<QWidget*> widgets = top->findChildren<QWidget*>();
        widgets << top;
        for (QWidget* w : widgets) {
            check(w->toolTip(), w);
            check(w->accessibleName(), w);
            check(w->accessibleDescription(), w);
            if (auto* label = qobject_cast<QLabel*>(w)) check(label->text(), w);
            if (auto* button = qobject_cast<QAbstractButton*>(w)) check(button->text(), w);
            if (auto* edit = qobject_cast<QLineEdit*>(w)) check(edit->placeholderText(), w);
            if (auto* box = qobject_cast<QComboBox*>(w))
                for (int i = 0; i < box->count(); ++i) check(box->itemText(i), w);
            if (auto* table = qobject_cast<QTableWidget*>(w)) {
                for (int r = 0; r < table->rowCount(); ++r)
                    for (int c = 0; c < table->columnCount(); ++c)
                        if (table->item(r, c)) check(table->item(r, c)->text(), w);
                for (int c = 0; c < table->columnCount(); ++c)
                    if (table->horizontalHeaderItem(c))
                        check(table->horizontalHeaderItem(c)->text(), w);
            }
        }
    }
    // The walk did reach the windows' texts.
    EXPECT_TRUE(seen.contains(QStringLiteral("Выберите номер опыта и кликните по нему")));
    EXPECT_GT(seen.size(), 100);
}
