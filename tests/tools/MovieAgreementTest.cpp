// The agreements between the movies and the windows that play them: stage sizes, the blank
// boxes under controls, the reaction times of the tube movies, the endings.

#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <cmath>
#include <memory>

#include "Chemistry.h"
#include "GeneratedMovies.h"
#include "Palette.h"
#include "TestSupport.h"
#include "Text.h"
#include "lab/ReferenceData.h"
#include "movie/Renderer.h"
#include "swf/Timeline.h"

namespace {

QSize playerSize(const QString& path) {
    if (path == QLatin1String("BackGround/About.swf")) return {117, 151};
    if (path == QLatin1String("Movie/1.swf")) return {585, 361};
    return {705, 350};
}

bool startsItself(const QString& path) {
    return path.startsWith(QLatin1String("Movie/Opyt4/"));
}

// The movie as its window plays it: experiment 4 with play and loop off, the others on.
std::unique_ptr<swf::Timeline> playing(const QString& path) {
    const bool self = startsItself(path);
    return std::make_unique<swf::Timeline>(generatedMovie(path), !self, !self);
}

QImage frameImage(const QString& path, int frame) {
    auto tl = playing(path);
    if (frame > 0) tl->gotoFrame(frame);
    return swf::renderFrame(*tl).convertToFormat(QImage::Format_RGB32);
}

int lastFrame(const QString& path) {
    return generatedMovie(path).header.frameCount - 1;
}

int labelledFrame(const swf::Movie& movie, const QByteArray& label) {
    int frame = 0;
    for (const swf::Tag& tag : movie.tags) {
        if (std::holds_alternative<swf::ShowFrameTag>(tag)) ++frame;
        if (const auto* l = std::get_if<swf::FrameLabelTag>(&tag); l && l->name == label)
            return frame;
    }
    return -1;
}

std::vector<swf::Action> frameActions(const swf::Movie& movie, int wanted) {
    std::vector<swf::Action> out;
    int frame = 0;
    for (const swf::Tag& tag : movie.tags) {
        if (std::holds_alternative<swf::ShowFrameTag>(tag)) ++frame;
        if (const auto* a = std::get_if<swf::DoActionTag>(&tag); a && frame == wanted)
            out.insert(out.end(), a->actions.begin(), a->actions.end());
    }
    return out;
}

bool hasAction(const std::vector<swf::Action>& actions, std::uint8_t code) {
    for (const swf::Action& a : actions)
        if (a.code == code) return true;
    return false;
}

// Pixels of the rectangle that differ from the colour (each channel within 2).
int pixelsOff(const QImage& image, QRect r, QColor c) {
    int off = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (std::abs(p.red() - c.red()) > 2 || std::abs(p.green() - c.green()) > 2 ||
                std::abs(p.blue() - c.blue()) > 2)
                ++off;
        }
    return off;
}

QStringList tubeMovies() {
    QStringList out;
    for (int v = 1; v <= 6; ++v) {
        for (int step = 4; step <= 7; ++step)
            out << QStringLiteral("Movie/Opyt1/%1_%2.swf").arg(step).arg(v);
        for (int step = 2; step <= 3; ++step)
            out << QStringLiteral("Movie/Opyt2/%1_%2.swf").arg(step).arg(v);
    }
    return out;
}

// The reaction time of a tube movie, as Dannie.txt gives it.
double referenceSeconds(const ReferenceParseResult& data, const QString& path) {
    const QStringList parts = path.section('/', 2).chopped(4).split('_');
    const int step = parts[0].toInt(), v = parts[1].toInt();
    if (path.contains(QLatin1String("Opyt1"))) return data.reference[v][1][step - 3];
    return data.auxiliary[v][2][step];  // rows 2 and 3: 35 and 45 °C
}

TEST(MovieAgreement, EveryMovieIsReadWholeAtItsPlayersSize) {
    ASSERT_EQ(generatedMovies().size(), 54u);
    for (const auto& [path, read] : generatedMovies()) {
        SCOPED_TRACE(path.toStdString());
        ASSERT_TRUE(read.ok) << swf::describe(read.error).toStdString();
        EXPECT_TRUE(read.warning.isEmpty()) << swf::describe(read.warning).toStdString();
        EXPECT_EQ(swf::stageSizePx(read.movie.header), playerSize(path));
        EXPECT_EQ(read.movie.header.framesPerSecond(), 12.0);
        swf::Timeline tl(read.movie, true, false);
        EXPECT_EQ(tl.framesPresent(), tl.totalFrames());
    }
}

// The frame a tube movie waits at for «Старт»: it stops itself there, and the window plays it
// on once the stopwatch runs.
int waitsAt(const QString& path) {
    return labelledFrame(generatedMovie(path), "acid");
}

// One tick of the movie as its window plays it, «Старт» pressed when it waits for it.
void tickAsTimed(swf::Timeline& tl) {
    if (!tl.root().playing()) tl.root().setPlaying(true);
    tl.tick();
}

TEST(MovieAgreement, EveryMovieReachesItsLastFrame) {
    for (const auto& [path, read] : generatedMovies()) {
        SCOPED_TRACE(path.toStdString());
        auto tl = playing(path);
        const int last = tl->totalFrames() - 1;
        for (int i = 0; i < last && tl->frameNum() != last; ++i) tickAsTimed(*tl);
        EXPECT_EQ(tl->frameNum(), last);
        if (startsItself(path)) {
            // It stops there by itself and stays.
            tl->tick();
            EXPECT_EQ(tl->frameNum(), last);
            EXPECT_FALSE(tl->root().playing());
        }
    }
}

TEST(MovieAgreement, EquilibriumMoviesStartAndStopThemselves) {
    for (int n = 1; n <= 6; ++n) {
        const QString path = QStringLiteral("Movie/Opyt4/%1.swf").arg(n);
        SCOPED_TRACE(path.toStdString());
        const swf::Movie& m = generatedMovie(path);
        EXPECT_TRUE(hasAction(frameActions(m, 0), swf::Action::Play));
        EXPECT_TRUE(hasAction(frameActions(m, lastFrame(path)), swf::Action::Stop));
    }
}

TEST(MovieAgreement, CrossVanishesWhenTheReferenceDataSays) {
    const ReferenceParseResult data = parseReferenceData(chemistry::dannieTxt());
    ASSERT_TRUE(data.ok);
    for (const QString& path : tubeMovies()) {
        SCOPED_TRACE(path.toStdString());
        const double seconds = referenceSeconds(data, path);
        ASSERT_GT(seconds, 0);
        const int reaction = int(std::floor(seconds * 12 + 0.5));
        const swf::Movie& movie = generatedMovie(path);
        const int acidIn = labelledFrame(movie, "acid");
        ASSERT_GT(acidIn, 0);
        int lastSeen = -1;
        auto tl = playing(path);
        const int last = tl->totalFrames() - 1;
        for (int f = 0; f <= last; ++f) {
            if (f > 0) tickAsTimed(*tl);
            ASSERT_EQ(tl->frameNum(), f);
            for (const auto& [depth, object] : tl->root().displayList()) {
                const int alpha = object.cxform.hasMult ? object.cxform.mult[3] : 256;
                if (object.name == "cross" && alpha > 0) lastSeen = f;
            }
            if (f == acidIn) {
                EXPECT_EQ(lastSeen, f) << "the cross is there when the acid is in";
            }
        }
        EXPECT_EQ(lastSeen + 1 - acidIn, reaction);
        // Room for filling, with the pipettes poured at their own pace, and the last caption,
        // and no more.
        EXPECT_LE(movie.header.frameCount, reaction + 16 * 12);
    }
}

// Before «Старт» nothing clouds: a tube movie stops itself at the frame the acid is in, with
// the mixture clear and the cross whole, and stays there however long the student waits; only
// tube movies wait so. From «Старт» on the view from above turns from a faint opalescence to
// an ever deeper one until the cross is gone.
TEST(MovieAgreement, TubeMoviesWaitForStartThenCloudDeeperAndDeeper) {
    const ReferenceParseResult data = parseReferenceData(chemistry::dannieTxt());
    ASSERT_TRUE(data.ok);
    const QPoint besideTheCross(496, 162);  // in the view from above, off the cross's arms
    auto cloud = [&](const QImage& img) {
        const QColor c = img.pixelColor(besideTheCross);
        return 3 * 255 - c.red() - c.green() - c.blue();
    };
    for (const QString& path : tubeMovies()) {
        SCOPED_TRACE(path.toStdString());
        const int acidIn = waitsAt(path);
        ASSERT_GT(acidIn, 0);
        EXPECT_TRUE(hasAction(frameActions(generatedMovie(path), acidIn), swf::Action::Stop));
        auto tl = playing(path);
        for (int i = 0; i < acidIn + 5 * 12; ++i) tl->tick();
        EXPECT_EQ(tl->frameNum(), acidIn);
        EXPECT_FALSE(tl->root().playing());
        const QImage waiting = swf::renderFrame(*tl);
        EXPECT_EQ(cloud(waiting), cloud(frameImage(path, 0))) << "clear while it waits";

        const int reaction = int(std::floor(referenceSeconds(data, path) * 12 + 0.5));
        int before = cloud(waiting);
        for (int quarter = 1; quarter <= 4; ++quarter) {
            const QImage img = frameImage(path, acidIn + reaction * quarter / 4 - 1);
            EXPECT_GT(cloud(img), before) << "quarter " << quarter;
            before = cloud(img);
        }
    }
    for (const auto& [path, read] : generatedMovies()) {
        if (tubeMovies().contains(path) || startsItself(path)) continue;
        SCOPED_TRACE(path.toStdString());
        for (int f = 0; f < lastFrame(path); ++f)
            EXPECT_FALSE(hasAction(frameActions(read.movie, f), swf::Action::Stop)) << f;
    }
}

TEST(MovieAgreement, OtherMoviesAreShort) {
    for (const auto& [path, read] : generatedMovies()) {
        if (tubeMovies().contains(path)) continue;
        SCOPED_TRACE(path.toStdString());
        EXPECT_LE(read.movie.header.frameCount, 12 * 14);
        EXPECT_GE(read.movie.header.frameCount, 12);
    }
}

struct BoxRow {
    const char* name;
    const char* movie;
    bool lastOnly;  // the control appears with the last frame
    std::vector<QRect> controls;
};

// Where the windows lay their controls over the movies, in movie coordinates.
const std::vector<BoxRow>& controlRows() {
    static const std::vector<BoxRow> rows = {
        {"variant chooser and values",
         "Movie/1.swf",
         false,
         {{83, 170, 145, 21}, {310, 173, 50, 20}, {447, 173, 50, 20}}},
        {"variant texts of experiment 1",
         "Movie/Opyt1/2.swf",
         false,
         {{104, 28, 50, 20}, {104, 48, 50, 20}}},
        {"calculator",
         "Movie/Opyt1/2.swf",
         false,
         {{316, 198, 41, 19},
          {383, 198, 25, 19},
          {302, 230, 25, 19},
          {345, 230, 25, 19},
          {390, 230, 25, 19},
          {425, 210, 33, 25},
          {481, 213, 33, 19}}},
        {"variant texts of experiment 2",
         "Movie/Opyt2/1.swf",
         false,
         {{106, 189, 81, 20}, {106, 208, 81, 20}}},
        {"coefficient boxes",
         "Movie/Opyt2/4.swf",
         false,
         {{320, 76, 41, 19},
          {320, 106, 41, 19},
          {320, 156, 41, 19},
          {320, 186, 41, 19},
          {374, 87, 37, 25},
          {374, 167, 37, 25},
          {438, 89, 95, 24},
          {436, 168, 95, 24}}},
        {"catalyst options", "Movie/Opyt3/3.swf", false, {{56, 125, 15, 17}, {56, 150, 16, 17}}},
        {"direction groups",
         "Movie/Opyt4/3.swf",
         true,
         {{293, 29, 59, 54}, {367, 29, 59, 54}, {439, 29, 59, 54}}},
        {"equilibrium constant boxes",
         "Movie/Opyt4/4.swf",
         false,
         {{313, 129, 35, 19},
          {393, 129, 33, 19},
          {440, 117, 15, 19},
          {313, 172, 35, 19},
          {393, 172, 32, 19},
          {440, 160, 15, 19}}},
    };
    return rows;
}

// The frames a movie is looked at for a row: the last, or the first, middle and last.
std::vector<int> rowFrames(const BoxRow& row) {
    const int last = lastFrame(QString::fromLatin1(row.movie));
    if (row.lastOnly) return {last};
    return {0, last / 2, last};
}

TEST(MovieAgreement, BlankBoxLiesUnderEveryControl) {
    for (const BoxRow& row : controlRows()) {
        SCOPED_TRACE(row.name);
        const QString path = QString::fromLatin1(row.movie);
        for (int f : rowFrames(row)) {
            const QImage img = frameImage(path, f);
            for (const QRect& r : row.controls) {
                EXPECT_EQ(pixelsOff(img, r, palette::box), 0)
                    << "frame " << f << " at " << r.x() << "," << r.y();
            }
        }
    }
}

// Dark pixels in the ring `width` pixels wide just outside the rectangle: a frame drawn there
// would double the control's own border.
int darkPixelsAround(const QImage& image, const QRect& r, int width) {
    int dark = 0;
    const QRect outer = r.adjusted(-width, -width, width, width);
    for (int y = outer.top(); y <= outer.bottom(); ++y)
        for (int x = outer.left(); x <= outer.right(); ++x)
            if (!r.contains(x, y) && qGray(image.pixel(x, y)) < 200) ++dark;
    return dark;
}

TEST(MovieAgreement, NoFrameIsDrawnAroundAWindowControl) {
    for (const BoxRow& row : controlRows()) {
        SCOPED_TRACE(row.name);
        const QString path = QString::fromLatin1(row.movie);
        for (int f : rowFrames(row)) {
            const QImage img = frameImage(path, f);
            for (const QRect& r : row.controls)
                EXPECT_EQ(darkPixelsAround(img, r, 2), 0)
                    << "frame " << f << " around " << r.x() << "," << r.y();
        }
    }
}

// The check finds a frame: a box drawn with an outline around the control.
TEST(MovieAgreement, AFrameAroundAControlIsFound) {
    QImage image(60, 40, QImage::Format_RGB32);
    image.fill(palette::stage);
    QPainter p(&image);
    p.setPen(QPen(QColor(0x8F, 0xA6, 0xBF), 1.2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(18.5, 8.5, 27, 21), 3, 3);
    p.end();
    EXPECT_GT(darkPixelsAround(image, QRect(20, 10, 25, 19), 2), 20);
}

TEST(MovieAgreement, TubeMoviesKeepTheStopwatchCornerAndTheTableBandFree) {
    for (const QString& path : tubeMovies()) {
        SCOPED_TRACE(path.toStdString());
        const bool first = path.contains(QLatin1String("Opyt1"));
        const QRect corner = first ? QRect(592, 210, 113, 71) : QRect(596, 180, 109, 66);
        const QRect table = first ? QRect(0, 285, 590, 65) : QRect(0, 300, 590, 50);
        const int acidIn = labelledFrame(generatedMovie(path), "acid");
        for (int f : {0, acidIn, lastFrame(path)}) {
            const QImage img = frameImage(path, f);
            EXPECT_EQ(pixelsOff(img, corner, palette::stage), 0) << "corner, frame " << f;
            EXPECT_EQ(pixelsOff(img, table, palette::stage), 0) << "table band, frame " << f;
        }
    }
}

// Experiment 1's tube stands empty until the pipettes empty into it: at the first frame its
// round bottom looks like the empty glass above it, and by the time the acid is in it holds
// liquid there.
TEST(MovieAgreement, TheTubeOfExperimentOneStartsEmptyAndIsFilled) {
    const QPoint roundBottom(290, 252), emptyGlass(290, 150);
    auto differs = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
               std::abs(a.blue() - b.blue());
    };
    for (const QString& path : tubeMovies()) {
        if (!path.contains(QLatin1String("Opyt1"))) continue;
        SCOPED_TRACE(path.toStdString());
        const QImage first = frameImage(path, 0);
        EXPECT_LE(differs(first.pixelColor(roundBottom), first.pixelColor(emptyGlass)), 6);
        const int acidIn = labelledFrame(generatedMovie(path), "acid");
        EXPECT_GT(differs(frameImage(path, acidIn).pixelColor(roundBottom),
                          first.pixelColor(roundBottom)),
                  12);
    }
}

TEST(MovieAgreement, TextMoviesOfTheTableExperimentsStayAboveTheTable) {
    for (const char* p : {"Movie/Opyt1/1.swf", "Movie/Opyt1/2.swf", "Movie/Opyt1/3.swf",
                          "Movie/Opyt2/1.swf", "Movie/Opyt2/4.swf", "Movie/Opyt2/5.swf"}) {
        const QString path = QString::fromLatin1(p);
        SCOPED_TRACE(p);
        const QRect table =
            path.contains(QLatin1String("Opyt1")) ? QRect(0, 285, 590, 65) : QRect(0, 300, 590, 50);
        EXPECT_EQ(pixelsOff(frameImage(path, lastFrame(path)), table, palette::stage), 0);
    }
}

// The longest run of frames in which nothing on the stage is placed, moved, recoloured or
// removed.
int longestStillRun(const swf::Movie& movie) {
    int run = 0, longest = 0;
    bool changed = false;
    for (const swf::Tag& tag : movie.tags) {
        if (std::holds_alternative<swf::PlaceObjectTag>(tag) ||
            std::holds_alternative<swf::RemoveObjectTag>(tag))
            changed = true;
        if (std::holds_alternative<swf::ShowFrameTag>(tag)) {
            run = changed ? 0 : run + 1;
            longest = std::max(longest, run);
            changed = false;
        }
    }
    return longest;
}

// While a student watches, something on the stage changes at least every five seconds: a
// reaction the student times clouds from the moment the acid is in, and no movie stands still
// before its end.
TEST(MovieAgreement, NoMovieStandsStillForMoreThanFiveSeconds) {
    for (const auto& [path, read] : generatedMovies()) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_LE(longestStillRun(read.movie), 5 * 12);
    }
}

// The intro and the About corner loop for as long as their windows are open: the last frame
// leads into the first without a visible jump.
TEST(MovieAgreement, LoopingMoviesJoinSmoothly) {
    for (const char* p : {"BackGround/About.swf", "Movie/1.swf"}) {
        const QString path = QString::fromLatin1(p);
        SCOPED_TRACE(p);
        const QImage first = frameImage(path, 0), last = frameImage(path, lastFrame(path));
        const QImage middle = frameImage(path, lastFrame(path) / 2);
        auto distance = [](const QImage& a, const QImage& b) {
            double sum = 0;
            for (int y = 0; y < a.height(); ++y)
                for (int x = 0; x < a.width(); ++x)
                    sum += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
            return sum / (a.width() * a.height());
        };
        // Something moves, and the step from last to first is no bigger than one frame's step.
        EXPECT_GT(distance(first, middle), 0.05);
        EXPECT_LT(distance(last, first), 0.5);
    }
}

// Every text a movie of the asset tree shows, by its path.
QStringList movieTexts(const QString& path) {
    QStringList out;
    for (const assets::MovieAsset& m : assets::movieAssets())
        if (m.path == path) {
            const Scene s = m.make();
            for (const Scene::TextNote& t : s.texts()) out << t.markup;
        }
    return out;
}

bool anyContains(const QStringList& texts, const QString& part) {
    for (const QString& t : texts)
        if (t.contains(part, Qt::CaseInsensitive)) return true;
    return false;
}

// The inks of one movie, in the order they are drawn.
std::vector<text::Ink> movieInks(const QString& path) {
    text::resetInkLog();
    for (const assets::MovieAsset& m : assets::movieAssets())
        if (m.path == path) m.make();
    return text::inkLog();
}

// The dilution calculator states its formula once, as the fraction the student fills in, and
// writes its quantity symbols as the formula and the window's table do: upright.
TEST(MovieAgreement, TheCalculatorStatesItsFormulaOnceInOneNotation) {
    const std::vector<text::Ink> inks = movieInks("Movie/Opyt1/2.swf");
    ASSERT_FALSE(inks.empty());
    int formulas = 0;
    for (const text::Ink& ink : inks) {
        if (ink.markup.contains(QStringLiteral("C′ ="))) ++formulas;
        EXPECT_FALSE(ink.style.italic) << ink.markup.toStdString();
    }
    EXPECT_EQ(formulas, 1);
}

// The timing slide numbers its steps in two colours by one rule: what the show does in the
// heading's colour, every instruction to the student (an imperative: «нажмите», «следите»,
// «впишите») in the action colour.
TEST(MovieAgreement, EveryInstructionToActIsNumberedInTheActionColour) {
    const std::vector<text::Ink> inks = movieInks("Movie/Opyt1/3.swf");
    int steps = 0;
    for (size_t i = 0; i + 1 < inks.size(); ++i) {
        const text::Ink& number = inks[i];
        if (number.colour != QColor(Qt::white)) continue;
        if (number.ground != palette::action && number.ground != palette::accent) continue;
        ++steps;
        static const QRegularExpression imperative(QStringLiteral("\\b\\w+ите\\b"),
                                                   QRegularExpression::UseUnicodePropertiesOption);
        const bool instruction = imperative.match(inks[i + 1].markup).hasMatch();
        EXPECT_EQ(number.ground == palette::action, instruction)
            << number.markup.toStdString() << ": " << inks[i + 1].markup.toStdString();
    }
    EXPECT_EQ(steps, 5);
}

// Experiment 1 asks before it measures: its movies, all shown before the table is filled, pose
// the question and never state the result; the conclusion stands under the finished graph.
TEST(MovieAgreement, ExperimentOneConcludesOnlyAfterTheTableIsFilled) {
    QStringList before;
    for (const assets::MovieAsset& m : assets::movieAssets())
        if (m.path.startsWith(QLatin1String("Movie/Opyt1/"))) before << movieTexts(m.path);
    ASSERT_FALSE(before.isEmpty());
    for (const QString& claim :
         {QStringLiteral("Вывод"), QStringLiteral("тем меньше"), QStringLiteral("тем больше")})
        EXPECT_FALSE(anyContains(before, claim)) << claim.toStdString();
    EXPECT_TRUE(anyContains(movieTexts("Movie/Opyt1/1.swf"), "?"));

    auto pictureTexts = [](const QString& path) {
        text::resetInkLog();
        for (const assets::FileAsset& p : assets::pictureAssets())
            if (p.path == path) p.bytes();
        QStringList out;
        for (const text::Ink& ink : text::inkLog()) out << ink.markup;
        return out;
    };
    const QStringList graph = pictureTexts("Restextout/7.jpg");
    EXPECT_TRUE(anyContains(graph, "Вывод"));
    EXPECT_TRUE(anyContains(graph, "тем меньше время"));
    EXPECT_FALSE(anyContains(pictureTexts("Restextout/6.jpg"), "Вывод"));
}

// Experiment 2's task tells the procedure its tube movies show: the solutions warm apart in
// the bath, and the acid is poured in afterwards; no text speaks of a heated mixture.
TEST(MovieAgreement, ExperimentTwoTellsOneProcedure) {
    const QStringList task = movieTexts("Movie/Opyt2/1.swf");
    EXPECT_TRUE(anyContains(task, "порознь"));
    EXPECT_TRUE(anyContains(task, "сливают"));
    for (const QString& path :
         {QStringLiteral("Movie/Opyt2/1.swf"), QStringLiteral("Movie/Opyt2/2_1.swf")}) {
        const QStringList texts = movieTexts(path);
        EXPECT_FALSE(anyContains(texts, "Смесь как")) << path.toStdString();
        EXPECT_FALSE(anyContains(texts, "смесь нагрева")) << path.toStdString();
    }
}

}  // namespace
