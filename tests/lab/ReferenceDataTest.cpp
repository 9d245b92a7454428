#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "lab/ReferenceData.h"

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
    ASSERT_TRUE(r.ok) << (r.error ? r.error->describe().toStdString() : std::string());
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

// Editors and copies often leave empty lines at the end: they are no data, while a stray number
// after the data starts another pass that reads zeros.
TEST(ReferenceDataParse, TrailingBlankLinesAreIgnoredButMoreDataRunsASecondPass) {
    for (const QByteArray& tail : {QByteArray("\n"), QByteArray("\n\n\n"),
                                   QByteArray("   \t\r\n \r\n\t"), QByteArray("  ")}) {
        SCOPED_TRACE(tail.toStdString());
        const ReferenceParseResult r = parseReferenceData(completeFile() + tail);
        EXPECT_TRUE(r.ok);
        EXPECT_TRUE(r.complete);
        EXPECT_EQ(r.reference[6][3][4], 6.4e-2);
        EXPECT_EQ(r.auxiliary[6][2][3], 63);
    }
    const ReferenceParseResult r = parseReferenceData(completeFile() + "\n\n1.5\n");
    EXPECT_TRUE(r.ok);
    EXPECT_FALSE(r.complete);
    EXPECT_EQ(r.reference[1][1][2], 0);
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
        ASSERT_TRUE(r.error) << c.name;
        EXPECT_EQ(r.error->line, 8) << c.name << ": " << r.error->describe().toStdString();
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

class ReferenceDataLoad : public ::testing::Test {
protected:
    QString path() const { return dir.filePath(QStringLiteral("Dannie.txt")); }
    void write(const QByteArray& bytes) const {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    QTemporaryDir dir;
    ReferenceData data;
};

TEST_F(ReferenceDataLoad, AMissingFileOrAFolderIsNotOpened) {
    EXPECT_FALSE(data.load(path()).opened);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Dannie.txt")));
    const ReferenceData::Load load = data.load(path());
    EXPECT_FALSE(load.opened);
    EXPECT_FALSE(load.complete);
    EXPECT_EQ(data.concentrationOfTube4(1), 0);
}

// A malformed number says where it is; what was read before it is kept, and the data are not
// complete, so the program refuses to grade against them.
TEST_F(ReferenceDataLoad, AMalformedNumberIsNamedAndMakesTheDataIncomplete) {
    QByteArray file = completeFile();
    file.replace("0.34", "0,34");
    write(file);
    const ReferenceData::Load load = data.load(path());
    EXPECT_TRUE(load.opened);
    ASSERT_TRUE(load.malformed);
    EXPECT_EQ(load.malformed->kind, ReferenceNumberError::Kind::NotANumber);
    EXPECT_EQ(load.malformed->line, 14);
    EXPECT_EQ(load.malformed->text, QStringLiteral("0,34"));
    EXPECT_EQ(
        load.malformed->describe(),
        QStringLiteral("line 14, byte %1: '0,34' is not a number").arg(file.indexOf("0,34") + 1));
    EXPECT_FALSE(load.complete);
    EXPECT_EQ(data.concentrationOfTube4(2), 2.4e-2);
    EXPECT_EQ(data.rateOfTube4(3), 0);
}

TEST_F(ReferenceDataLoad, CompleteFileGivesTheTube4Values) {
    write(completeFile());
    const ReferenceData::Load load = data.load(path());
    EXPECT_TRUE(load.opened);
    EXPECT_FALSE(load.malformed);
    EXPECT_TRUE(load.complete);
    EXPECT_EQ(data.rateOfTube4(5), 0.54);
    EXPECT_EQ(data.concentrationOfTube4(5), 5.4e-2);
    EXPECT_EQ(data.rateOfTube4(0), 0);
    EXPECT_EQ(data.rateOfTube4(7), 0);
}

// Data that would grade every student 1 are not complete.
TEST_F(ReferenceDataLoad, IncompleteDataAreNotComplete) {
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
        {"cut short, then blank lines", cutShort + "\n\n  \n"},
        {"only blank lines", QByteArray("\n \n\t\r\n")},
        {"a missing number that shifts the blocks", shifted},
        {"a reference value of 0", zeroValue},
        {"empty", QByteArray()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write(c.bytes);
        const ReferenceData::Load load = data.load(path());
        EXPECT_TRUE(load.opened);
        EXPECT_FALSE(load.malformed);
        EXPECT_FALSE(load.complete);
    }
    write(completeFile());
    EXPECT_TRUE(data.load(path()).complete);
    write(completeFile() + "\n  \n\n");
    EXPECT_TRUE(data.load(path()).complete);
}
