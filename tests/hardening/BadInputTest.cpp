// Every picture, movie and the reference data of the program folder, damaged in every way a
// folder on a stick can be damaged: each gives the program's own message (or loads quietly
// where nothing is wrong for reading), ends the program where a required file is unusable,
// and never touches the results file or anything else in the folder.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "BadInput.h"
#include "TestSupport.h"
#include "app/AboutWindow.h"
#include "app/Laboratory.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "experiments/catalyst/CatalystWindow.h"
#include "experiments/concentration/ConcentrationWindow.h"
#include "experiments/concentration/RateGraphWindow.h"
#include "experiments/concentration/ReferenceDataReport.h"
#include "experiments/equilibrium/EquilibriumWindow.h"
#include "experiments/temperature/TemperatureWindow.h"
#include "lab/Session.h"
#include "movie/MoviePlayer.h"
#include "shell/Loaders.h"
#include "students/RegistrationWindow.h"
#include "swf/Timeline.h"
#include "toolkit/FilteredEdit.h"
#include "toolkit/LabTimer.h"
#include "toolkit/Picture.h"
#include "toolkit/StringGrid.h"

namespace {

// The box for a malformed number names the file and the line, in Russian.
QString invalidNumberPattern(const QString& path) {
    return QStringLiteral("^В файле ") + QRegularExpression::escape(path) +
           QStringLiteral(
               " в строке \\d+ (вместо числа записано|записано слишком большое "
               "число:) «[^«»]+»\\.$");
}

enum class Kind { Picture, Movie, ReferenceData };

// What the student sees.
enum class Outcome {
    Quiet,  // no message, the program goes on
    CannotOpen,  // "Невозможно открыть файл по адресу: <path>. …", the program ends
    MovieMissing,    // the movie probe failed: the file is named, the program ends
    Refused,         // the player refused the movie: the second text, the program ends
    InvalidNumber,   // a malformed number in the reference data: reported, then as below
    IncompleteData,  // reference data cut short or wrong: the file is named, the program ends
};

// The rules of the loaders and of the reference data reader, per kind of file and damage.
Outcome expectedOutcome(Kind kind, Damage damage) {
    switch (kind) {
        case Kind::Picture:
            // Reading is all a picture needs: a read-only one loads.
            return damage == Damage::ReadOnly ? Outcome::Quiet : Outcome::CannotOpen;
        case Kind::Movie:
            switch (damage) {
                case Damage::Missing:
                case Damage::ReadOnly:
                case Damage::Directory:
                    return Outcome::MovieMissing;
                default:
                    return Outcome::Refused;
            }
        case Kind::ReferenceData:
            switch (damage) {
                case Damage::Missing:
                case Damage::Directory:
                    return Outcome::CannotOpen;
                case Damage::RandomBytes:
                case Damage::OversizedHeader:
                    return Outcome::InvalidNumber;
                case Damage::Empty:
                case Damage::Truncated:
                    return Outcome::IncompleteData;
                default:
                    return Outcome::Quiet;
            }
    }
    return Outcome::Quiet;
}

// A results file with two students, as an earlier run left it: no bad input may change it.
QByteArray twoStudentFile() {
    QByteArray block(300, '\0');
    const QByteArray group = "\xCA\xD0\xCB-01";  // КРЛ-01 in Windows-1251
    block[0] = char(group.size());
    block.replace(1, group.size(), group);
    block[60] = char(group.size());
    block.replace(61, group.size(), group);
    block[15] = 1;
    block[16] = char(0xC0);
    block[75] = 1;
    block[76] = char(0xC1);
    return block + block;
}

class BadInputFixture : public LabTest {
protected:
    void SetUp() override {
        LabTest::SetUp();
        tree->write("BDStudent.rez", twoStudentFile());
    }

    // The generated asset of the build, the real thing rather than the test tree's small one.
    static QByteArray generatedAsset(const QString& relative) {
        QFile f(QStringLiteral(LAB_PROGRAM_DIR) + "/" + relative);
        if (!f.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << "the build generates " << relative.toStdString() << " in "
                          << LAB_PROGRAM_DIR;
            return {};
        }
        return f.readAll();
    }

    void damage(const QString& relative, Kind kind, Damage d) {
        const QByteArray good = tree->read(relative);
        ASSERT_FALSE(good.isEmpty()) << relative.toStdString();
        switch (d) {
            case Damage::Missing:
                tree->remove(relative);
                break;
            case Damage::Empty:
                tree->write(relative, QByteArray());
                break;
            case Damage::Truncated:
                tree->write(relative, good.left(good.size() / 2));
                break;
            case Damage::RandomBytes:
                tree->write(relative, randomBytes(int(good.size()), seedOf(relative)));
                break;
            case Damage::OversizedHeader:
                if (kind == Kind::Picture) tree->write(relative, withHugeJpegSize(good));
                if (kind == Kind::Movie) tree->write(relative, withHugeSwfLength(good));
                // A number far beyond what a double holds, where the first value stands.
                if (kind == Kind::ReferenceData) tree->write(relative, "1e99999" + good);
                break;
            case Damage::ReadOnly:
                makeReadOnly(tree->path(relative));
                break;
            case Damage::Directory:
                putDirectoryInPlace(*tree, relative);
                break;
        }
    }

    QStringList expectedMessages(Outcome outcome, const QString& relative, int readers) const {
        QString text;
        switch (outcome) {
            case Outcome::Quiet:
                return {};
            case Outcome::CannotOpen:
                text = cannotOpenFileMessage(tree->path(relative));
                break;
            case Outcome::MovieMissing:
                text = missingMovieMessage(tree->path(relative));
                break;
            case Outcome::Refused:
                text = missingFilesMessage;
                break;
            case Outcome::InvalidNumber:
                return {invalidNumberPattern(tree->path(relative)),
                        incompleteReferenceDataMessage(tree->path(relative))};
            case Outcome::IncompleteData:
                return {incompleteReferenceDataMessage(tree->path(relative))};
        }
        QStringList out;
        for (int i = 0; i < readers; ++i) out << text;
        return out;
    }

    // The program's state after the outcome, and an untouched folder.
    void expectOutcome(Outcome outcome, const QString& relative, int readers,
                       const QStringList& folderBefore) {
        QStringList expected = expectedMessages(outcome, relative, readers);
        QStringList shown = messages->errorTexts();
        if (outcome == Outcome::InvalidNumber && !shown.isEmpty()) {
            EXPECT_TRUE(QRegularExpression(expected.takeFirst()).match(shown.first()).hasMatch())
                << shown.first().toStdString();
            shown.removeFirst();
        }
        EXPECT_EQ(shown.join("\n").toStdString(), expected.join("\n").toStdString());
        EXPECT_TRUE(messages->messageTexts().isEmpty());
        const bool ends = outcome == Outcome::CannotOpen || outcome == Outcome::MovieMissing ||
                          outcome == Outcome::InvalidNumber || outcome == Outcome::IncompleteData ||
                          outcome == Outcome::Refused;
        EXPECT_EQ(programEnding(), ends);
        EXPECT_EQ(tree->read("BDStudent.rez"), twoStudentFile());
        EXPECT_EQ(folderListing(tree->dir()), folderBefore);
    }
};

// A movie cut short may be refused like any movie the player cannot read, or shown as far as
// it goes; then the frame the windows' end watch waits for (totalFrames() - 1) must still come up
// as the player steps on, or the experiment waits for ever.
bool reachesLastFrame(MoviePlayer* player) {
    player->setManualStepping(true);
    for (int i = 0; i <= 2 * player->totalFrames() + 1; ++i) {
        if (player->currentFrame() == player->totalFrames() - 1) return true;
        player->stepFrames(1);
    }
    return false;
}
constexpr const char* cutMovieStuck =
    "a movie cut short is shown but never reaches the last frame the window waits for";

// ---- files read while the windows are created ----

struct StartupFile {
    const char* name;
    const char* relative;
    Kind kind;
    int readers;  // windows that read it at start-up
};

const StartupFile startupFiles[] = {
    {"Splash", "BackGround/ZGround.jpg", Kind::Picture, 1},
    {"MainBackground", "BackGround/Ground.jpg", Kind::Picture, 1},
    {"ExperimentBackground", "BackGround/Opit.jpg", Kind::Picture, 4},
    {"AboutMovie", "BackGround/About.swf", Kind::Movie, 1},
    {"IntroMovie", "Movie/1.swf", Kind::Movie, 1},
    {"ReferenceData", "Dannie.txt", Kind::ReferenceData, 1},
};

void PrintTo(const StartupFile& f, std::ostream* os) {
    *os << f.relative;
}

class StartupFileTest : public BadInputFixture,
                        public ::testing::WithParamInterface<std::tuple<StartupFile, Damage>> {};

TEST_P(StartupFileTest, GivesItsMessageAndLeavesTheFolderAlone) {
    const auto [file, d] = GetParam();
    const QString relative = QString::fromLatin1(file.relative);
    if (file.kind == Kind::Movie) tree->write(relative, generatedAsset(relative));
    damage(relative, file.kind, d);
    const QStringList before = folderListing(tree->dir());

    createWindows();

    if (file.kind == Kind::Movie && d == Damage::Truncated && messages->texts().isEmpty()) {
        // Shown as far as it goes: these two loop for as long as they are on show and nothing
        // waits for their last frame.
        expectOutcome(Outcome::Quiet, relative, 0, before);
        return;
    }
    const Outcome outcome = expectedOutcome(file.kind, d);
    expectOutcome(outcome, relative, file.readers, before);
    if (outcome == Outcome::Quiet && relative == "BackGround/Ground.jpg") {
        EXPECT_EQ(lab->window<MainWindow>()->background->image().size(), QSize(715, 506));
    }
    if (outcome == Outcome::Quiet && relative == "BackGround/Opit.jpg") {
        for (Picture* shown : {lab->window<ConcentrationWindow>()->background,
                               lab->window<TemperatureWindow>()->background,
                               lab->window<CatalystWindow>()->background,
                               lab->window<EquilibriumWindow>()->background})
            EXPECT_EQ(shown->image().size(), QSize(715, 505));
    }
    if (file.kind == Kind::ReferenceData && outcome != Outcome::Quiet) {
        // Whatever the reader gave up on, the measurement table is set up.
        EXPECT_EQ(lab->window<ConcentrationWindow>()->measurementTable->cell(1, 4),
                  QStringLiteral("5 мл"));
    }
}

// The whole session: a start that failed ends before anyone can register, so the results
// file keeps its two students exactly; a start that went on registers the third.
TEST_P(StartupFileTest, ASessionRegistersOnlyAfterAStartThatWentOn) {
    const auto [file, d] = GetParam();
    const QString relative = QString::fromLatin1(file.relative);
    if (file.kind == Kind::Movie) tree->write(relative, generatedAsset(relative));
    damage(relative, file.kind, d);
    const bool cutMovie = file.kind == Kind::Movie && d == Damage::Truncated;
    int registrations = 0;
    LabWindow::setModalHook([&](LabWindow& w) {
        if (&w != static_cast<LabWindow*>(lab->window<RegistrationWindow>())) return;
        ++registrations;
        lab->window<RegistrationWindow>()->groupEdit->setText(QStringLiteral("КРЛ-99-1"));
        lab->window<RegistrationWindow>()->surnameEdit->setText(QStringLiteral("Ларцев О.Е."));
        lab->window<RegistrationWindow>()->onAcceptClicked();
        QTimer::singleShot(0, lab->window<MainWindow>(),
                           [this] { lab->window<MainWindow>()->close(); });
    });

    EXPECT_EQ(runSession(), 0);

    const Outcome outcome = expectedOutcome(file.kind, d);
    // A cut intro or About movie may be refused or shown as far as it goes (see above).
    const bool goesOn = outcome == Outcome::Quiet || (cutMovie && registrations == 1);
    EXPECT_EQ(registrations, goesOn ? 1 : 0);
    const QByteArray stored = tree->read("BDStudent.rez");
    if (goesOn) {
        ASSERT_EQ(stored.size(), 900);
        EXPECT_EQ(stored.left(120), twoStudentFile().left(120));
    } else {
        EXPECT_EQ(stored, twoStudentFile());
    }
}

std::string startupRowName(const ::testing::TestParamInfo<std::tuple<StartupFile, Damage>>& info) {
    return std::string(std::get<0>(info.param).name) + damageName(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(EveryDamage, StartupFileTest,
                         ::testing::Combine(::testing::ValuesIn(startupFiles),
                                            ::testing::ValuesIn(allDamages)),
                         startupRowName);

// ---- the first movie of each experiment, loaded when the student enters it ----

struct ExperimentMovie {
    const char* name;
    int experiment;
    const char* relative;
};

const ExperimentMovie experimentMovies[] = {
    {"Concentration", 1, "Movie/Opyt1/1.swf"},
    {"Temperature", 2, "Movie/Opyt2/1.swf"},
    {"Catalyst", 3, "Movie/Opyt3/1.swf"},
    {"Equilibrium", 4, "Movie/Opyt4/1.swf"},
};

void PrintTo(const ExperimentMovie& m, std::ostream* os) {
    *os << m.relative;
}

class ExperimentMovieTest
    : public BadInputFixture,
      public ::testing::WithParamInterface<std::tuple<ExperimentMovie, Damage>> {
protected:
    MoviePlayer* playerOf(int experiment) const {
        switch (experiment) {
            case 1:
                return lab->window<ConcentrationWindow>()->movie;
            case 2:
                return lab->window<TemperatureWindow>()->movie;
            case 3:
                return lab->window<CatalystWindow>()->movie;
            default:
                return lab->window<EquilibriumWindow>()->movie;
        }
    }
};

TEST_P(ExperimentMovieTest, GivesItsMessageWhenTheExperimentIsEntered) {
    const auto [movie, d] = GetParam();
    const QString relative = QString::fromLatin1(movie.relative);
    tree->write(relative, generatedAsset(relative));
    createWindows();
    ASSERT_TRUE(messages->texts().isEmpty());
    damage(relative, Kind::Movie, d);
    const QStringList before = folderListing(tree->dir());

    lab->window<MainWindow>()->chooseExperiment(movie.experiment);
    lab->window<MainWindow>()->onExperimentLinkClicked();

    MoviePlayer* player = playerOf(movie.experiment);
    if (d == Damage::Truncated && messages->texts().isEmpty()) {
        EXPECT_TRUE(reachesLastFrame(player)) << cutMovieStuck;
        expectOutcome(Outcome::Quiet, relative, 0, before);
        return;
    }
    const Outcome outcome = expectedOutcome(Kind::Movie, d);
    expectOutcome(outcome, relative, 1, before);
    // The path reaches the player whatever the probe said; a movie it cannot show leaves it
    // without one rather than with a half-read one.
    if (d == Damage::ReadOnly) {
        EXPECT_EQ(player->movie(), tree->path(relative));
        EXPECT_GT(player->totalFrames(), 0);
    } else {
        EXPECT_EQ(player->totalFrames(), 0);
    }
}

std::string experimentRowName(
    const ::testing::TestParamInfo<std::tuple<ExperimentMovie, Damage>>& info) {
    return std::string(std::get<0>(info.param).name) + damageName(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(EveryDamage, ExperimentMovieTest,
                         ::testing::Combine(::testing::ValuesIn(experimentMovies),
                                            ::testing::ValuesIn(allDamages)),
                         experimentRowName);

// ---- every movie of the generated folder, through the loader every window uses ----

class EveryMovieTest : public BadInputFixture {
protected:
    void restore(const QString& relative, const QByteArray& bytes) {
        const QString path = tree->path(relative);
        if (QFileInfo(path).isDir()) QDir(path).removeRecursively();
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        tree->write(relative, bytes);
        messages->clear();
        navigation.ended = false;
    }
};

TEST_F(EveryMovieTest, EachDamageOfEachMovieGivesItsMessage) {
    const QDir generated(QStringLiteral(LAB_PROGRAM_DIR));
    QStringList movies;
    QDirIterator it(generated.path(), {QStringLiteral("*.swf")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) movies << generated.relativeFilePath(it.next());
    movies.sort();
    ASSERT_GE(movies.size(), 50) << "the build generates the movies in " << LAB_PROGRAM_DIR;
    QStringList stuck;
    for (const QString& relative : movies) {
        const QByteArray good = generatedAsset(relative);
        for (Damage d : allDamages) {
            SCOPED_TRACE(relative.toStdString() + " " + damageName(d));
            restore(relative, good);
            damage(relative, Kind::Movie, d);
            MoviePlayer player;
            player.setManualStepping(true);
            loadMovie(navigation, &player, "\\" + QString(relative).replace('/', '\\'));
            if (d == Damage::Truncated && messages->texts().isEmpty()) {
                if (!reachesLastFrame(&player)) stuck << relative;
                continue;
            }
            const Outcome outcome = expectedOutcome(Kind::Movie, d);
            EXPECT_EQ(messages->errorTexts().join("\n").toStdString(),
                      expectedMessages(outcome, relative, 1).join("\n").toStdString());
            EXPECT_EQ(programEnding(), outcome != Outcome::Quiet);
        }
        restore(relative, good);
    }
    EXPECT_EQ(tree->read("BDStudent.rez"), twoStudentFile());
    EXPECT_TRUE(stuck.isEmpty()) << cutMovieStuck << ": " << stuck.join(", ").toStdString();
}

// ---- the two pictures under the graph, read when experiment 1 reaches its graph ----

class ResultPictureTest : public BadInputFixture,
                          public ::testing::WithParamInterface<std::tuple<const char*, Damage>> {
protected:
    // Step 8 of experiment 1 with a complete table: the rates, the graph window with 6.jpg,
    // then "Далее" there, whose line ends by drawing the reference line under 7.jpg.
    void reachTheGraph() {
        for (int row = 1; row <= 4; ++row) {
            lab->window<ConcentrationWindow>()->measurementTable->setCell(4, row,
                                                                          QStringLiteral("0,1"));
            lab->window<ConcentrationWindow>()->measurementTable->setCell(5, row,
                                                                          QStringLiteral("10"));
        }
        LabWindow::setModalHook([this](LabWindow& w) {
            if (&w != static_cast<LabWindow*>(lab->window<RateGraphWindow>())) return;
            lab->window<RateGraphWindow>()->onNextClicked();
            for (int i = 0; i < 1000 && lab->window<RateGraphWindow>()->lineGrowthTimer->enabled();
                 ++i)
                lab->window<RateGraphWindow>()->lineGrowthTimer->fire();
            lab->window<RateGraphWindow>()->done();
        });
        lab->window<ConcentrationWindow>()->setStep(7);
        lab->window<ConcentrationWindow>()->onNextClicked();
    }
};

TEST_P(ResultPictureTest, GivesItsMessageWhenTheGraphIsShown) {
    const auto [file, d] = GetParam();
    const QString relative = QString::fromLatin1(file);
    createWindows();
    ASSERT_TRUE(messages->texts().isEmpty());
    damage(relative, Kind::Picture, d);
    const QStringList before = folderListing(tree->dir());

    reachTheGraph();

    const Outcome outcome = expectedOutcome(Kind::Picture, d);
    EXPECT_EQ(messages->errorTexts().join("\n").toStdString(),
              expectedMessages(outcome, relative, 1).join("\n").toStdString());
    EXPECT_EQ(programEnding(), outcome != Outcome::Quiet);
    // No student registered in this run: the grade has nowhere to go and the file stays.
    EXPECT_EQ(tree->read("BDStudent.rez"), twoStudentFile());
    EXPECT_EQ(folderListing(tree->dir()), before);
}

std::string pictureRowName(const ::testing::TestParamInfo<std::tuple<const char*, Damage>>& info) {
    return std::string(QString::fromLatin1(std::get<0>(info.param)).contains("6") ? "Strip6"
                                                                                  : "Strip7") +
           damageName(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(EveryDamage, ResultPictureTest,
                         ::testing::Combine(::testing::Values("Restextout/6.jpg",
                                                              "Restextout/7.jpg"),
                                            ::testing::ValuesIn(allDamages)),
                         pictureRowName);

}  // namespace
