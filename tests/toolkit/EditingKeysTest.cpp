// Editing keys edit and never reach a key handler; every way of pasting meets the handler.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QtTest/QTest>

#include "TestSupport.h"
#include "toolkit/FilteredEdit.h"
#include "toolkit/StringGrid.h"

namespace {
void digitsOnly(unsigned char& key) {
    if (!((key >= '0' && key <= '9') || key == ',' || key == 8 || key == 13 || key == 22)) key = 0;
}

struct EditingKeysTest : ::testing::Test {
    MessageRecorder recorder;
};
}  // namespace

TEST_F(EditingKeysTest, DeleteAndTheMovingKeysEditWithoutMeetingTheHandler) {
    for (const bool filtered : {true, false}) {
        SCOPED_TRACE(filtered ? "numeric field" : "field without a filter");
        FilteredEdit edit;
        QList<int> seen;
        if (filtered)
            edit.setKeyPressHandler([&](unsigned char& key) {
                seen << key;
                digitsOnly(key);
            });
        edit.show();
        typeKeys(&edit, QStringLiteral("1234"));
        seen.clear();
        QTest::keyClick(&edit, Qt::Key_Home);
        QTest::keyClick(&edit, Qt::Key_Delete);
        EXPECT_EQ(edit.text(), QStringLiteral("234"));
        QTest::keyClick(&edit, Qt::Key_End);
        QTest::keyClick(&edit, Qt::Key_Left);
        QTest::keyClick(&edit, Qt::Key_Delete);
        EXPECT_EQ(edit.text(), QStringLiteral("23"));
        for (Qt::Key key : {Qt::Key_Insert, Qt::Key_Up, Qt::Key_Down, Qt::Key_Right, Qt::Key_PageUp,
                            Qt::Key_PageDown, Qt::Key_F1, Qt::Key_F5, Qt::Key_F12})
            QTest::keyClick(&edit, key);
        EXPECT_EQ(edit.text(), QStringLiteral("23"));
        EXPECT_TRUE(seen.isEmpty()) << seen.size() << " keys reached the handler";
        EXPECT_EQ(recorder.beeps(), 0);
        // No invisible character anywhere.
        for (QChar c : edit.text()) EXPECT_GE(c.unicode(), 0x20);
    }
}

TEST_F(EditingKeysTest, EveryPasteMeetsTheHandler) {
    FilteredEdit edit;
    edit.setKeyPressHandler(digitsOnly);
    edit.show();

    QApplication::clipboard()->setText(QStringLiteral("1a,2\x7f"));
    QTest::keyClick(&edit, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("1,2"));
    EXPECT_EQ(recorder.beeps(), 2);

    // A drop is refused: it would bypass the handler.
    edit.clear();
    QMimeData mime;
    mime.setText(QStringLiteral("x9y8"));
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&edit, &drop);
    EXPECT_EQ(edit.text(), QString());

    // The middle button pastes the selection clipboard where the platform has one.
    edit.clear();
    QClipboard* clipboard = QApplication::clipboard();
    if (clipboard->supportsSelection()) {
        clipboard->setText(QStringLiteral("7q6"), QClipboard::Selection);
        QTest::mouseClick(&edit, Qt::MiddleButton);
        EXPECT_EQ(edit.text(), QStringLiteral("76"));
    } else {
        // Without one, the middle button inserts nothing at all.
        QTest::mouseClick(&edit, Qt::MiddleButton);
        EXPECT_EQ(edit.text(), QString());
    }
}

TEST_F(EditingKeysTest, DeleteInATableCellDeletesTheCharacterAfterTheCaret) {
    StringGrid grid;
    grid.setColCount(3);
    grid.setRowCountCells(3);
    grid.setEditingAllowed(true);
    grid.setKeyPressHandler(digitsOnly);
    grid.resize(300, 120);
    grid.show();
    ASSERT_TRUE(grid.selectCell(1, 1));
    typeKeys(&grid, QStringLiteral("4"));
    auto* editor = grid.findChild<FilteredEdit*>();
    ASSERT_NE(editor, nullptr);
    typeKeys(editor, QStringLiteral("56"));
    QTest::keyClick(editor, Qt::Key_Home);
    QTest::keyClick(editor, Qt::Key_Delete);
    EXPECT_EQ(grid.cell(1, 1), QStringLiteral("56"));
    EXPECT_EQ(recorder.beeps(), 0);
}

TEST_F(EditingKeysTest, AClickIntoAFieldSelectsItsTextLikeTab) {
    QWidget window;
    auto* first = new FilteredEdit(&window);
    auto* second = new FilteredEdit(&window);
    first->setGeometry(0, 0, 150, 20);
    second->setGeometry(0, 30, 150, 20);
    second->setText(QStringLiteral("Введите группу"));
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    first->setFocus();
    QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(40, 10));
    ASSERT_TRUE(second->hasFocus());
    EXPECT_EQ(second->selectedText(), QStringLiteral("Введите группу"));
    typeKeys(second, QStringLiteral("КРЛ"));
    EXPECT_EQ(second->text(), QStringLiteral("КРЛ"));
    // A second click in the focused field places the caret as usual.
    QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(2, 10));
    EXPECT_EQ(second->selectedText(), QString());
}
