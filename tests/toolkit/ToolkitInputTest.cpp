#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QtTest/QTest>

#include "TestSupport.h"
#include "lab/Cp1251.h"
#include "toolkit/FilteredEdit.h"
#include "toolkit/Jpeg.h"
#include "toolkit/Picture.h"
#include "toolkit/StringGrid.h"

namespace {
// Digits and comma pass, as in the numeric boxes; everything else is refused.
void digitsOnly(unsigned char& key) {
    if (!((key >= '0' && key <= '9') || key == ',' || key == 8 || key == 13)) key = 0;
}
}  // namespace

TEST(ToolkitInput, KeyHandlerSeesWindows1251CodesAndDiscardsWithABeep) {
    MessageRecorder recorder;
    FilteredEdit edit;
    QList<int> seen;
    edit.setKeyPressHandler([&](unsigned char& key) {
        seen << key;
        if (key != 0xC0 && key != 8) key = 0;  // only "А" and Backspace pass
    });
    edit.show();
    typeKeys(&edit, QStringLiteral("АbА"));
    EXPECT_EQ(edit.text(), QStringLiteral("АА"));
    EXPECT_EQ(recorder.beeps(), 1);
    EXPECT_EQ(seen, QList<int>({0xC0, 'b', 0xC0}));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), QStringLiteral("А"));
    EXPECT_EQ(seen.last(), 8);
}

TEST(ToolkitInput, PastedTextMeetsTheKeyHandlerCharacterByCharacter) {
    MessageRecorder recorder;
    FilteredEdit edit;
    edit.setKeyPressHandler([](unsigned char& key) {
        if (key == 22) return;  // let the paste shortcut through
        digitsOnly(key);
    });
    edit.show();
    QApplication::clipboard()->setText(QStringLiteral("1a2.3,4"));
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("123,4"));
    EXPECT_EQ(recorder.beeps(), 2);
}

TEST(ToolkitInput, PasteShortcutRefusedByTheHandlerInsertsNothing) {
    MessageRecorder recorder;
    FilteredEdit edit;
    edit.setKeyPressHandler(digitsOnly);
    edit.show();
    QApplication::clipboard()->setText(QStringLiteral("123"));
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QString());
    EXPECT_EQ(recorder.beeps(), 1);
}

TEST(ToolkitInput, GridRefusedCellsKeepTheSelectionWhereItWas) {
    MessageRecorder recorder;
    StringGrid grid;
    grid.setColCount(7);
    grid.setRowCountCells(5);
    grid.setDefaultRowHeight(16);
    grid.setDefaultColWidth(48);
    grid.setEditingAllowed(true);
    grid.setSelectCellHandler([](int col, int) { return col == 4 || col == 5; });
    grid.setKeyPressHandler(digitsOnly);
    grid.resize(400, 100);
    grid.show();
    ASSERT_TRUE(grid.selectCell(4, 1));
    EXPECT_FALSE(grid.selectCell(2, 1));
    EXPECT_EQ(grid.selectedCol(), 4);

    // A click on a refused cell leaves the selection.
    const QRect refused = grid.visualRect(grid.model()->index(2, 6));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, refused.center());
    EXPECT_EQ(grid.selectedCol(), 4);
    EXPECT_EQ(grid.selectedRow(), 1);

    // Typing into an allowed cell goes through the key handler.
    typeKeys(&grid, QStringLiteral("1"));
    auto* editor = grid.findChild<FilteredEdit*>();
    ASSERT_NE(editor, nullptr);
    typeKeys(editor, QStringLiteral("x2"));
    // The cell follows the typing at once, before the edit is closed.
    EXPECT_EQ(grid.cell(4, 1), QStringLiteral("12"));
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(grid.cell(4, 1), QStringLiteral("12"));
    EXPECT_EQ(recorder.beeps(), 1);
    // Fixed cells are cells too but never selectable.
    grid.setCell(0, 0, QStringLiteral("№"));
    EXPECT_EQ(grid.cell(0, 0), QStringLiteral("№"));
    EXPECT_FALSE(grid.selectCell(0, 2));
}

TEST(ToolkitInput, Windows1251CodesAndUnknownCharacters) {
    EXPECT_EQ(Cp1251::encodeChar(QChar(u'А')), 0xC0);
    EXPECT_EQ(Cp1251::encodeChar(QChar(u'я')), 0xFF);
    EXPECT_EQ(Cp1251::encodeChar(QChar(u'Ё')), 0xA8);
    EXPECT_EQ(Cp1251::encodeChar(QChar(u'у')), 243);
    EXPECT_EQ(Cp1251::encodeChar(QChar(u'€')), 0x88);
    EXPECT_EQ(Cp1251::encode(QStringLiteral("Ж中")), QByteArray("\xC6?"));
    const QString all = Cp1251::decode(Cp1251::encode(QStringLiteral("КРЛ-99-1 Ларцев О.Е.")));
    EXPECT_EQ(all, QStringLiteral("КРЛ-99-1 Ларцев О.Е."));
}

TEST(ToolkitInput, JpegRoundTripAndRefusals) {
    QImage img(31, 17, QImage::Format_RGB32);
    img.fill(QColor(200, 30, 40));
    const QByteArray bytes = encodeJpeg(img, 95);
    ASSERT_FALSE(bytes.isEmpty());
    QString error;
    const QImage back = decodeJpeg(bytes, &error);
    ASSERT_FALSE(back.isNull()) << error.toStdString();
    EXPECT_EQ(back.size(), img.size());
    EXPECT_NEAR(QColor(back.pixel(15, 8)).red(), 200, 6);

    for (const QByteArray& bad :
         {QByteArray(), QByteArray("not a picture"), bytes.left(bytes.size() / 2)}) {
        error.clear();
        EXPECT_TRUE(decodeJpeg(bad, &error).isNull());
        EXPECT_FALSE(error.isEmpty());
    }
    Picture pic;
    pic.setImage(img);
    EXPECT_FALSE(pic.loadFromFile(QStringLiteral("/nonexistent/x.jpg")));
    EXPECT_EQ(pic.image().size(), img.size());  // keeps its picture
}
