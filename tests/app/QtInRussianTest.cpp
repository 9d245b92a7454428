// Qt's own dialogs and controls as a student or teacher meets them: the save dialog of the
// journal's CSV export and the journal's date picker speak Russian once the program has set up
// Qt's translations, and the picker opens on the current month.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "TestSupport.h"
#include "app/Startup.h"
#include "journal/ClassJournal.h"
#include "journal/JournalSettings.h"
#include "journal/JournalWindow.h"

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
