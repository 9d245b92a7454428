#include <gtest/gtest.h>

#include "TestSupport.h"
#include "experiments/concentration/ReferenceData.h"
#include "shell/LabState.h"

namespace {
// A complete file: tube k of variant v reads `k  1/tk  C'k`, with values that name their place.
QByteArray completeFile() {
    QByteArray out;
    for (int v = 1; v <= 6; ++v) {
        for (int k = 1; k <= 4; ++k)
            out += QByteArray::number(10 * v + k) + " 0." + QByteArray::number(v) +
                   QByteArray::number(k) + "\t" + QByteArray::number(v) + "." +
                   QByteArray::number(k) + "e-2\n";
        out += "\n";
    }
    for (int b = 1; b <= 6; ++b) {
        for (int k = 1; k <= 3; ++k)
            out += QByteArray::number(15 + 10 * k) + " " + QByteArray::number(b * 10 + k) + " " +
                   QByteArray::number(b) + ".5 " + QByteArray::number(k - 1) + "\n";
        out += "\n";
    }
    return out;
}

void expectAllZero(const ReferenceParseResult& r) {
    for (int v = 1; v <= 6; ++v)
        for (int n = 1; n <= 3; ++n)
            for (int k = 1; k <= 4; ++k) EXPECT_EQ(r.reference[v][n][k], 0.0) << v << n << k;
    for (int b = 1; b <= 6; ++b)
        for (int n = 1; n <= 4; ++n)
            for (int k = 1; k <= 3; ++k) EXPECT_EQ(r.auxiliary[b][n][k], 0.0) << b << n << k;
}
}  // namespace

TEST(ReferenceDataParse, CompleteFileFillsBothSections) {
    const QByteArray file = completeFile();
    ASSERT_EQ(file.count('\n'), 54);
    const ReferenceParseResult r = parseReferenceData(file);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.reference[1][1][1], 11);
    EXPECT_EQ(r.reference[3][2][4], 0.34);
    EXPECT_EQ(r.reference[3][3][4], 3.4e-2);
    EXPECT_EQ(r.reference[6][3][4], 6.4e-2);
    EXPECT_EQ(r.auxiliary[1][1][1], 25);
    EXPECT_EQ(r.auxiliary[6][2][3], 63);
    EXPECT_EQ(r.auxiliary[4][3][2], 4.5);
    EXPECT_EQ(r.auxiliary[2][4][3], 2);
}

TEST(ReferenceDataParse, LayoutVariants) {
    const QByteArray complete = completeFile();
    struct Case {
        const char* name;
        QByteArray bytes;
        double v6c4;  // ReferenceBlocks[6][3][4]
        double aux6;  // AuxiliaryBlocks[6][2][3]
    };
    QByteArray crlf = complete;
    crlf.replace("\n", "\r\n");
    QByteArray noFinalBlank = complete;
    noFinalBlank.chop(1);
    const Case cases[] = {
        {"windows line ends", crlf, 6.4e-2, 63},
        {"no final skipped line", noFinalBlank, 6.4e-2, 63},
        {"no line end at all after the last number", complete.left(complete.size() - 2), 6.4e-2,
         63},
    };
    for (const Case& c : cases) {
        const ReferenceParseResult r = parseReferenceData(c.bytes);
        EXPECT_TRUE(r.ok) << c.name;
        EXPECT_EQ(r.reference[6][3][4], c.v6c4) << c.name;
        EXPECT_EQ(r.auxiliary[6][2][3], c.aux6) << c.name;
    }
}

TEST(ReferenceDataParse, OneExtraLineEndRunsASecondPassOfZeros) {
    const ReferenceParseResult r = parseReferenceData(completeFile() + "\n");
    EXPECT_TRUE(r.ok);
    expectAllZero(r);
}

TEST(ReferenceDataParse, ShortFileLeavesZerosWithoutError) {
    // The first two variant blocks only.
    const QByteArray file = completeFile();
    qsizetype cut = 0;
    for (int i = 0; i < 10; ++i) cut = file.indexOf('\n', cut) + 1;
    const ReferenceParseResult r = parseReferenceData(file.left(cut));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.reference[2][3][4], 2.4e-2);
    EXPECT_EQ(r.reference[3][1][1], 0);
    EXPECT_EQ(r.auxiliary[1][1][1], 0);
    expectAllZero(parseReferenceData(QByteArray()));
}

TEST(ReferenceDataParse, ExtraAndMissingNumbersOnALine) {
    QByteArray file = completeFile();
    // A fourth number on tube 1 of variant 1 is skipped with the rest of the line.
    file.replace("11 0.11\t1.1e-2\n", "11 0.11\t1.1e-2 999\n");
    ReferenceParseResult r = parseReferenceData(file);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.reference[1][3][1], 1.1e-2);
    EXPECT_EQ(r.reference[1][1][2], 12);
    EXPECT_EQ(r.reference[6][3][4], 6.4e-2);

    // A line with two numbers takes its third from the next line: the block shifts.
    file = completeFile();
    file.replace("11 0.11\t1.1e-2\n", "11 0.11\n");
    r = parseReferenceData(file);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.reference[1][3][1], 12);  // the next line's first number
    EXPECT_EQ(r.reference[1][1][2], 13);  // its rest skipped, tube 2 reads tube 3's line
}

TEST(ReferenceDataParse, MalformedNumbersStopTheReadingAndKeepWhatWasRead) {
    struct Case {
        const char* name;
        const char* from;
        const char* to;
    };
    const Case cases[] = {
        {"decimal comma", "0.23", "0,23"},
        {"letter", "0.23", "abc"},
        {"bare exponent", "0.23", "1e"},
        {"control character", "0.23", "\x01"},
    };
    for (const Case& c : cases) {
        QByteArray file = completeFile();
        file.replace(c.from, c.to);
        const ReferenceParseResult r = parseReferenceData(file);
        EXPECT_FALSE(r.ok) << c.name;
        EXPECT_TRUE(r.error.startsWith("line 8,")) << c.name << ": " << r.error.toStdString();
        EXPECT_EQ(r.reference[2][1][2], 22) << c.name;  // read before the fault
        EXPECT_EQ(r.reference[2][3][3], 0) << c.name;   // after it
    }
}

TEST(ReferenceDataParse, ANumberTakesAtMost64Characters) {
    // 70 digits: the first 64 make one number, the remaining six the next one.
    QByteArray file = QByteArray(64, '0') + "000007 2 3\n";
    const ReferenceParseResult r = parseReferenceData(file);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.reference[1][1][1], 0);
    EXPECT_EQ(r.reference[1][2][1], 7);
    EXPECT_EQ(r.reference[1][3][1], 2);
}

class ReferenceDataLoad : public LabTest {};

TEST_F(ReferenceDataLoad, MissingFileIsReportedAndEndsTheProgram) {
    resetReferenceData();
    tree->remove("Dannie.txt");
    loadReferenceData();
    ASSERT_EQ(messages->errorTexts().size(), 1);
    EXPECT_EQ(messages->errorTexts()[0],
              QStringLiteral("Невозможно открыть файл по адресу: ") + tree->dir() +
                  QStringLiteral("/Dannie.txt. Выполнение программы будет остановлено!!!"));
    EXPECT_TRUE(LabState.startupFailed);
    EXPECT_EQ(referenceConcentrationOfTube4(1), 0);
}

TEST_F(ReferenceDataLoad, MalformedNumberIsReportedAndEndsTheProgramLikeIncompleteData) {
    QByteArray file = completeFile();
    file.replace("0.34", "0,34");
    tree->write("Dannie.txt", file);
    loadReferenceData();
    EXPECT_EQ(messages->errorTexts(),
              (QStringList{QStringLiteral("Invalid numeric input"),
                           incompleteReferenceDataMessage(tree->path("Dannie.txt"))}));
    EXPECT_TRUE(LabState.startupFailed);
    EXPECT_EQ(referenceConcentrationOfTube4(2), 2.4e-2);
    EXPECT_EQ(referenceRateOfTube4(3), 0);
    resetReferenceData();
}

TEST_F(ReferenceDataLoad, CompleteFileGivesTheTube4Values) {
    tree->write("Dannie.txt", completeFile());
    loadReferenceData();
    EXPECT_TRUE(messages->texts().isEmpty());
    EXPECT_EQ(referenceRateOfTube4(5), 0.54);
    EXPECT_EQ(referenceConcentrationOfTube4(5), 5.4e-2);
    EXPECT_EQ(referenceRateOfTube4(0), 0);
    EXPECT_EQ(referenceRateOfTube4(7), 0);
    resetReferenceData();
}

// Data that would grade every student 1: reported like a missing file, the program ends.
TEST_F(ReferenceDataLoad, IncompleteDataIsReportedAndEndsTheProgram) {
    QByteArray cutShort = completeFile();
    cutShort.chop(40);
    QByteArray zeroValue = completeFile();
    zeroValue.replace("0.34", "0.00");
    QByteArray shifted = completeFile();
    shifted.replace("0.22\t2.2e-2", "0.22");  // the next line's number fills the gap
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"cut short", cutShort},
        {"one more line end at the end", completeFile() + "\n"},
        {"a missing number that shifts the blocks", shifted},
        {"a reference value of 0", zeroValue},
        {"empty", QByteArray()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        messages->clear();
        LabState.startupFailed = false;
        tree->write("Dannie.txt", c.bytes);
        EXPECT_FALSE(parseReferenceData(c.bytes).complete);
        loadReferenceData();
        const QString message = QStringLiteral("Файл ") + tree->path("Dannie.txt") +
                                QStringLiteral(
                                    " содержит неполные данные. Выполнение программы "
                                    "будет остановлено!!!");
        EXPECT_EQ(messages->errorTexts(), QStringList{message});
        EXPECT_TRUE(LabState.startupFailed);
    }
    EXPECT_TRUE(parseReferenceData(completeFile()).complete);
    resetReferenceData();
}
