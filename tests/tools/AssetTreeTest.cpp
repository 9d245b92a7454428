// The files of the program folder as the generator writes them: all of them, the same bytes
// on every build, pictures of the right sizes and the reference data in the reader's layout.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>

#include "AssetTree.h"
#include "Chemistry.h"
#include "TestSupport.h"
#include "lab/ReferenceData.h"
#include "toolkit/Jpeg.h"

namespace {

QStringList expectedFiles() {
    QStringList out = {"BackGround/ZGround.jpg",
                       "BackGround/Ground.jpg",
                       "BackGround/Opit.jpg",
                       "BackGround/About.swf",
                       "Movie/1.swf",
                       "Restextout/6.jpg",
                       "Restextout/7.jpg",
                       "Dannie.txt",
                       "BDStudent.rez",
                       "BackGround/ZGround@2x.jpg",
                       "BackGround/Ground@2x.jpg",
                       "BackGround/Opit@2x.jpg",
                       "Restextout/6@2x.jpg",
                       "Restextout/7@2x.jpg"};
    for (int n = 1; n <= 3; ++n) out << QStringLiteral("Movie/Opyt1/%1.swf").arg(n);
    for (int step = 4; step <= 7; ++step)
        for (int v = 1; v <= 6; ++v)
            out << QStringLiteral("Movie/Opyt1/%1_%2.swf").arg(step).arg(v);
    out << "Movie/Opyt2/1.swf"
        << "Movie/Opyt2/4.swf"
        << "Movie/Opyt2/5.swf";
    for (int step = 2; step <= 3; ++step)
        for (int v = 1; v <= 6; ++v)
            out << QStringLiteral("Movie/Opyt2/%1_%2.swf").arg(step).arg(v);
    for (int n = 1; n <= 4; ++n) out << QStringLiteral("Movie/Opyt3/%1.swf").arg(n);
    for (int n = 1; n <= 6; ++n) out << QStringLiteral("Movie/Opyt4/%1.swf").arg(n);
    return out;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(AssetTree, WritesEveryFileAndTheSameBytesTwice) {
    QTemporaryDir first, second;
    QString error;
    ASSERT_TRUE(assets::writeAssetTree(first.path(), &error)) << error.toStdString();
    ASSERT_TRUE(assets::writeAssetTree(second.path(), &error)) << error.toStdString();
    const QStringList files = expectedFiles();
    EXPECT_EQ(assets::allAssets().size(), std::size_t(files.size()));
    for (const QString& f : files) {
        SCOPED_TRACE(f.toStdString());
        const QByteArray a = readAll(first.path() + '/' + f);
        EXPECT_TRUE(QFile::exists(first.path() + '/' + f));
        EXPECT_EQ(a, readAll(second.path() + '/' + f));
        if (f != QLatin1String("BDStudent.rez")) {
            EXPECT_FALSE(a.isEmpty());
        }
    }
    EXPECT_EQ(QFileInfo(first.path() + "/BDStudent.rez").size(), 0);
}

TEST(AssetTree, RegeneratingKeepsTheStudentsResults) {
    QTemporaryDir dir;
    ASSERT_TRUE(assets::writeAssetTree(dir.path()));
    QFile rez(dir.path() + "/BDStudent.rez");
    ASSERT_TRUE(rez.open(QIODevice::WriteOnly));
    rez.write(QByteArray(300, 'x'));
    rez.close();
    QFile dannie(dir.path() + "/Dannie.txt");
    ASSERT_TRUE(dannie.open(QIODevice::WriteOnly));
    dannie.write("damaged");
    dannie.close();
    ASSERT_TRUE(assets::writeAssetTree(dir.path()));
    EXPECT_EQ(readAll(dir.path() + "/BDStudent.rez"), QByteArray(300, 'x'));
    EXPECT_EQ(readAll(dir.path() + "/Dannie.txt"), chemistry::dannieTxt());
}

TEST(AssetTree, PicturesAreJpegsOfTheirWindowsSizes) {
    const std::map<QString, QSize> sizes = {{"BackGround/ZGround.jpg", {488, 288}},
                                            {"BackGround/Ground.jpg", {715, 506}},
                                            {"BackGround/Opit.jpg", {715, 505}},
                                            {"Restextout/6.jpg", {555, 85}},
                                            {"Restextout/7.jpg", {555, 85}}};
    // Each picture also at twice the size, under its @2x name, for scaled screens.
    ASSERT_EQ(assets::pictureAssets().size(), 2 * sizes.size());
    for (const assets::FileAsset& p : assets::pictureAssets()) {
        SCOPED_TRACE(p.path.toStdString());
        QString error;
        const QImage image = decodeJpeg(p.bytes(), &error);
        ASSERT_FALSE(image.isNull()) << error.toStdString();
        const bool doubled = p.path.contains(QLatin1String("@2x"));
        const QSize plain = sizes.at(QString(p.path).remove(QLatin1String("@2x")));
        EXPECT_EQ(image.size(), doubled ? plain * 2 : plain);
    }
}

TEST(AssetTree, OpitLinkBandIsOneColourWhereTheMoviesContinueIt) {
    QImage image;
    for (const assets::FileAsset& p : assets::pictureAssets())
        if (p.path == QLatin1String("BackGround/Opit.jpg")) image = decodeJpeg(p.bytes());
    ASSERT_FALSE(image.isNull());
    // Rows 461..464 under the experiment 4 movie (x 5..709), JPEG noise allowed.
    for (int y = 461; y < 465; ++y)
        for (int x = 5; x < 710; x += 7) {
            const QColor c = image.pixelColor(x, y);
            EXPECT_NEAR(c.red(), 0xDC, 4);
            EXPECT_NEAR(c.green(), 0xE6, 4);
            EXPECT_NEAR(c.blue(), 0xF0, 4);
        }
}

TEST(DannieTxt, HasFiftyFourLinesWithTheirLineEndsAndFullStops) {
    const QByteArray bytes = chemistry::dannieTxt();
    EXPECT_EQ(bytes.count('\n'), 54);
    EXPECT_TRUE(bytes.endsWith("\n\n"));
    EXPECT_FALSE(bytes.endsWith("\n\n\n"));
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_FALSE(bytes.contains('\r'));
    EXPECT_FALSE(bytes.contains(','));
    for (char c : bytes) EXPECT_TRUE(c == '\n' || (c >= ' ' && c < 127));
    const QList<QByteArray> lines = bytes.split('\n');  // 55 pieces: the last after line 54
    for (int b = 1; b <= 6; ++b) {
        EXPECT_TRUE(lines[5 * b - 1].isEmpty()) << "line " << 5 * b;
        EXPECT_TRUE(lines[30 + 4 * b - 1].isEmpty()) << "line " << 30 + 4 * b;
        for (int k = 1; k <= 4; ++k) EXPECT_EQ(lines[5 * (b - 1) + k - 1].split(' ').size(), 3);
        for (int k = 1; k <= 3; ++k)
            EXPECT_EQ(lines[30 + 4 * (b - 1) + k - 1].split(' ').size(), 4);
    }
}

TEST(DannieTxt, ReadsBackAsTheVariantsReferenceValues) {
    const ReferenceParseResult data = parseReferenceData(chemistry::dannieTxt());
    ASSERT_TRUE(data.ok) << (data.error ? data.error->describe().toStdString() : std::string());
    const struct {
        double tube4Seconds, molarity;
    } variants[6] = {{16, 0.1}, {21, 0.05}, {16, 0.1}, {21, 0.05}, {13, 0.2}, {12, 0.2}};
    for (int v = 1; v <= 6; ++v) {
        SCOPED_TRACE(v);
        for (int k = 1; k <= 4; ++k) {
            const double t = variants[v - 1].tube4Seconds * 5 / (k + 1);
            EXPECT_NEAR(data.reference[v][1][k], t, 0.005);
            EXPECT_LT(data.reference[v][1][k], 60);
            // 1/t to four significant digits.
            EXPECT_NEAR(data.reference[v][2][k], 1 / t, 1 / t * 5e-4);
            EXPECT_DOUBLE_EQ(data.reference[v][3][k], variants[v - 1].molarity * (k + 1) / 10);
        }
        const double t1 = data.reference[v][1][1];
        const double temps[3] = {25, 35, 45};
        for (int row = 1; row <= 3; ++row) {
            EXPECT_EQ(data.auxiliary[v][1][row], temps[row - 1]);
            EXPECT_NEAR(data.auxiliary[v][2][row], t1 / (1 << (row - 1)), 0.005);
            EXPECT_EQ(data.auxiliary[v][4][row], row == 1 ? 0 : 2);
        }
    }
    EXPECT_NEAR(data.reference[1][1][2], 26.67, 1e-9);
}

// What a chemistry teacher compares across the variants: the same solutions take the same
// time, and a stronger thiosulfate or a stronger acid is never slower.
TEST(DannieTxt, VariantsAgreeWithEachOther) {
    const ReferenceParseResult data = parseReferenceData(chemistry::dannieTxt());
    ASSERT_TRUE(data.ok);
    const struct {
        double molarity, acidNormality;
    } solutions[6] = {{0.1, 1}, {0.05, 2}, {0.1, 1}, {0.05, 2}, {0.2, 1}, {0.2, 2}};
    for (int a = 1; a <= 6; ++a)
        for (int b = 1; b <= 6; ++b) {
            const auto& sa = solutions[a - 1];
            const auto& sb = solutions[b - 1];
            if (a == b || sa.molarity < sb.molarity || sa.acidNormality < sb.acidNormality)
                continue;
            SCOPED_TRACE(testing::Message() << "variant " << a << " against " << b);
            const double ta = data.reference[a][1][4], tb = data.reference[b][1][4];
            if (sa.molarity == sb.molarity && sa.acidNormality == sb.acidNormality)
                EXPECT_EQ(ta, tb);
            else
                EXPECT_LT(ta, tb);
        }
}

}  // namespace
