// The laboratory without a mouse and through a screen reader: a student signs in and starts
// experiment 1 with the keyboard alone, Escape leaves an experiment as its close glyph does,
// Enter and Escape work the small windows as in any desktop dialog, and every control of every
// window has a name and a role a screen reader can announce.

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <cstdio>

#include "TestSupport.h"
#include "app/AboutWindow.h"
#include "app/Laboratory.h"
#include "app/MainWindow.h"
#include "experiments/catalyst/CatalystWindow.h"
#include "experiments/concentration/ConcentrationWindow.h"
#include "experiments/equilibrium/EquilibriumWindow.h"
#include "experiments/temperature/TemperatureWindow.h"
#include "journal/JournalWindow.h"
#include "lab/Session.h"
#include "movie/MoviePlayer.h"
#include "students/RegistrationWindow.h"
#include "toolkit/Accessibility.h"
#include "toolkit/FilteredEdit.h"
#include "toolkit/LabWindow.h"
#include "toolkit/LinkLabel.h"

namespace {

class KeyboardAndReaderTest : public LabTest {
protected:
    void SetUp() override {
        LabTest::SetUp();
        createWindows();
    }
    // A key as the keyboard sends it: to whatever has the focus.
    static void press(Qt::Key key, Qt::KeyboardModifiers mods = {}) {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr) << "nothing has the keyboard focus";
        QTest::keyClick(target, key, mods);
    }
    // Presses Tab until `target` has the focus; false after a whole round without it.
    static bool tabTo(QWidget* target) {
        for (int i = 0; i < 40; ++i) {
            if (QApplication::focusWidget() == target) return true;
            QWidget* from = QApplication::focusWidget();
            if (!from) return false;
            QTest::keyClick(from, Qt::Key_Tab);
        }
        return QApplication::focusWidget() == target;
    }
};

TEST_F(KeyboardAndReaderTest, AStudentSignsInAndStartsExperimentOneWithTheKeyboardAlone) {
    MainWindow* main = lab->window<MainWindow>();
    RegistrationWindow* registration = lab->window<RegistrationWindow>();
    bool signedIn = false;
    LabWindow::setModalHook([&](LabWindow& w) {
        if (&w != registration) return;
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        ASSERT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(registration->groupEdit));
        typeKeys(QApplication::focusWidget(), QStringLiteral("КРЛ-99-1"));
        press(Qt::Key_Return);  // on to the surname
        ASSERT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(registration->surnameEdit));
        typeKeys(QApplication::focusWidget(), QStringLiteral("Ларцев О.Е."));
        ASSERT_TRUE(tabTo(registration->acceptLink));
        EXPECT_TRUE(registration->acceptLink->showsFocusMark());
        press(Qt::Key_Return);
        signedIn = true;
    });
    main->showAndActivate();
    ASSERT_TRUE(signedIn);
    EXPECT_FALSE(registration->isVisible());
    ASSERT_EQ(results().count(), 1);
    EXPECT_EQ(results().surname(1), QStringLiteral("Ларцев О.Е."));

    // The main window: a variant with the arrow keys, then experiment 1 with Tab and Enter.
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    ASSERT_TRUE(tabTo(main->variantChooser));
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    EXPECT_EQ(main->variantChooser->currentIndex(), 2);
    EXPECT_EQ(session().variant(), 3);
    ASSERT_TRUE(tabTo(main->experiment2Link));
    EXPECT_EQ(lab->window<MainWindow>()->selectedExperiment(), 2)
        << "Tab chooses the link's experiment";
    press(Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(main->experiment1Link));
    EXPECT_EQ(lab->window<MainWindow>()->selectedExperiment(), 1);
    EXPECT_TRUE(main->experiment1Link->showsFocusMark());
    press(Qt::Key_Return);
    ConcentrationWindow* experiment = lab->window<ConcentrationWindow>();
    ASSERT_TRUE(experiment->isVisible());
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(experiment->movie->movie().endsWith(QStringLiteral("/Movie/Opyt1/1.swf")));

    // Escape acts as the close glyph: back to the main window.
    ASSERT_TRUE(QTest::qWaitForWindowActive(experiment));
    QTest::keyClick(experiment, Qt::Key_Escape);
    EXPECT_FALSE(experiment->isVisible());
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(messages->texts().isEmpty()) << messages->texts().join("\n").toStdString();
}

TEST_F(KeyboardAndReaderTest, EscapeLeavesEveryExperimentButNotTheMainWindow) {
    lab->window<MainWindow>()->setRegistrationShown(true);
    for (LabWindow* w :
         QList<LabWindow*>{lab->window<TemperatureWindow>(), lab->window<CatalystWindow>(),
                           lab->window<EquilibriumWindow>()}) {
        w->showAndActivate();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        QTest::keyClick(w, Qt::Key_Escape);
        EXPECT_FALSE(w->isVisible()) << w->metaObject()->className();
        EXPECT_TRUE(lab->window<MainWindow>()->isVisible());
    }
    lab->window<MainWindow>()->showAndActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(lab->window<MainWindow>()));
    QTest::keyClick(lab->window<MainWindow>(), Qt::Key_Escape);
    EXPECT_TRUE(lab->window<MainWindow>()->isVisible());
    EXPECT_FALSE(programEnding());
}

TEST_F(KeyboardAndReaderTest, EnterAndEscapeCloseTheAboutAndJournalWindows) {
    MainWindow* main = lab->window<MainWindow>();
    main->setRegistrationShown(true);
    main->showAndActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));

    // About: Enter does what «ОК» does, and so does Escape.
    AboutWindow* about = lab->window<AboutWindow>();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        SCOPED_TRACE(key);
        bool pressed = false;
        LabWindow::setModalHook([&](LabWindow& w) {
            if (&w != about) return;
            ASSERT_TRUE(QTest::qWaitForWindowActive(about));
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus && focus->window() == about ? focus : about, key);
            pressed = true;
            if (about->isVisible()) about->done();  // a failing key leaves the window open
        });
        main->showAbout();
        ASSERT_TRUE(pressed);
        EXPECT_FALSE(about->isVisible()) << "still open after the key";
        EXPECT_TRUE(main->isVisible());
    }

    // The class journal: Enter on a focused button presses that button; elsewhere it presses
    // "Закрыть", as Escape does from anywhere.
    JournalWindow* journal = lab->window<JournalWindow>();
    EXPECT_TRUE(journal->closeButton->isDefault());
    int loads = 0;
    QObject::connect(journal, &JournalWindow::loaded, journal, [&] { ++loads; });
    const struct {
        const char* name;
        QWidget* target;
        Qt::Key key;
        bool closes;
    } cases[] = {
        {"Enter on «Обновить»", journal->refreshButton, Qt::Key_Return, false},
        {"Enter in the table", journal->table, Qt::Key_Return, true},
        {"Enter in a date box", journal->fromDate, Qt::Key_Enter, true},
        {"Escape in a date box", journal->toDate, Qt::Key_Escape, true},
        {"Escape on the group filter", journal->groupFilter, Qt::Key_Escape, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool stayed = false;
        int loadsBefore = 0;
        LabWindow::setModalHook([&](LabWindow& w) {
            if (&w != journal) return;
            ASSERT_TRUE(QTest::qWaitForWindowActive(journal));
            c.target->setFocus();
            loadsBefore = loads;
            QTest::keyClick(c.target, c.key);
            stayed = journal->isVisible();
            if (stayed) journal->done();
        });
        journal->exec();
        EXPECT_EQ(stayed, !c.closes);
        if (!c.closes) {
            EXPECT_EQ(loads, loadsBefore + 1) << "the button was not pressed";
        }
    }
}

// The widgets a user meets: every widget of a window except the inner parts of Qt's own
// composite controls (the list of a drop-down, the scroll bars and viewport of a table).
QList<QWidget*> controlsOf(QWidget* window) {
    QList<QWidget*> out;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        bool inner = w->objectName().startsWith(QLatin1String("qt_"));
        for (QWidget* p = w->parentWidget(); p && p != window && !inner; p = p->parentWidget())
            if (qobject_cast<QAbstractScrollArea*>(p) || qobject_cast<QComboBox*>(p) ||
                qobject_cast<QAbstractSpinBox*>(p))
                inner = true;
        if (!inner && !w->isWindow()) out << w;
    }
    return out;
}

TEST_F(KeyboardAndReaderTest, EveryControlOfEveryWindowHasANameAndARole) {
    QList<LabWindow*> windows;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* w = qobject_cast<LabWindow*>(top)) windows << w;
    ASSERT_GE(windows.size(), 10);
    QStringList empty;
    int listed = 0;
    for (LabWindow* window : windows) {
        std::printf("%s \"%s\"\n", window->metaObject()->className(),
                    qPrintable(labAccessibility::nameOf(window)));
        for (QWidget* control : controlsOf(window)) {
            const QString name = labAccessibility::nameOf(control).simplified();
            const QAccessible::Role role = labAccessibility::roleOf(control);
            std::printf("  %-22s %-14s \"%s\"\n", control->metaObject()->className(),
                        qPrintable(labAccessibility::roleName(role)), qPrintable(name));
            ++listed;
            const QString where = QStringLiteral("%1: %2 at %3,%4")
                                      .arg(QString::fromLatin1(window->metaObject()->className()),
                                           QString::fromLatin1(control->metaObject()->className()))
                                      .arg(control->x())
                                      .arg(control->y());
            if (name.isEmpty()) empty << where + QStringLiteral(" has no name");
            if (role == QAccessible::NoRole || role == QAccessible::Client)
                empty << where + QStringLiteral(" has no role of its own");
            // Tables: every cell says which column it belongs to.
            QAccessibleInterface* i = QAccessible::queryAccessibleInterface(control);
            if (i && i->tableInterface()) {
                QAccessibleTableInterface* t = i->tableInterface();
                for (int r = 0; r < t->rowCount(); ++r)
                    for (int c = 0; c < t->columnCount(); ++c) {
                        QAccessibleInterface* cell = t->cellAt(r, c);
                        if (!cell || cell->text(QAccessible::Name).trimmed().isEmpty())
                            empty << where +
                                         QStringLiteral(" cell %1,%2 has no name").arg(c).arg(r);
                    }
            }
        }
    }
    EXPECT_GT(listed, 100);
    EXPECT_TRUE(empty.isEmpty()) << empty.join(QLatin1Char('\n')).toStdString();
}

TEST_F(KeyboardAndReaderTest, TheMovieIsAnImageAndTheStopwatchAnnouncesItsTime) {
    MoviePlayer* movie = lab->window<MainWindow>()->movie;
    EXPECT_EQ(labAccessibility::roleOf(movie), QAccessible::Graphic);
    EXPECT_FALSE(labAccessibility::nameOf(movie).isEmpty());
}

}  // namespace
