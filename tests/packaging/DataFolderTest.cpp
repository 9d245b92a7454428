// Where the results file and the settings are looked for: beside a portable program, in the
// user's folders of an installed one, in a folder the settings name; and that the results
// file's messages name the file actually used.
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "TestSupport.h"
#include "app/DataFolderGuard.h"
#include "lab/DataFolder.h"
#include "lab/ProgramDir.h"
#include "lab/Session.h"
#include "movie/MoviePlayer.h"
#include "shell/Loaders.h"

namespace {

// A temporary computer: an installed tree PREFIX/lib/reaktikum + PREFIX/bin/reaktikum and a
// home with its XDG folders; the environment points into it while it exists.
class FolderFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        const char* names[] = {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"};
        for (const char* name : names) saved.push_back({name, qgetenv(name)});
        qputenv("HOME", path("home").toLocal8Bit());
        qputenv("XDG_DATA_HOME", path("home/data").toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", path("home/config").toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", path("etc/xdg").toLocal8Bit());
    }
    void TearDown() override {
        setProgramDirForTests(QString());
        for (const auto& [name, value] : saved) {
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, value);
        }
    }

    QString path(const QString& relative) const { return root.path() + '/' + relative; }
    // A session of the program started now, reporting as the program does.
    Session& session() {
        if (!session_) {
            session_ = std::make_unique<Session>();
            reportFailuresOf(session_->results(), navigation);
        }
        return *session_;
    }
    RecordingNavigation navigation;
    std::unique_ptr<Session> session_;
    void write(const QString& relative, const QByteArray& bytes) const {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile f(path(relative));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    // An installed program folder under PREFIX = root/usr.
    QString installProgram() {
        write("usr/bin/reaktikum", "starter");
        write("usr/lib/reaktikum/Dannie.txt", "data");
        setProgramDirForTests(path("usr/lib/reaktikum"));
        return path("usr/lib/reaktikum");
    }
    QStringList programFolderListing() const {
        return QDir(path("usr/lib/reaktikum")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }

    QTemporaryDir root;
    std::vector<std::pair<const char*, QByteArray>> saved;
};

mode_t modeOf(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

void makeFolder(const QString& path, mode_t mode) {
    QDir().mkpath(path);
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

TEST_F(FolderFixture, PortableProgramKeepsEverythingBesideItself) {
    write("stick/reaktikum/BDStudent.rez", {});
    setProgramDirForTests(path("stick/reaktikum"));
    EXPECT_TRUE(isPortable());
    EXPECT_EQ(dataFolder(), path("stick/reaktikum"));
    EXPECT_EQ(resultsFilePath(), path("stick/reaktikum/BDStudent.rez"));
    EXPECT_EQ(settingsFilePath(), path("stick/reaktikum/reaktikum.ini"));

    // A missing results file beside a portable program is not made up at start: the
    // registration reports it, as it always has.
    QFile::remove(path("stick/reaktikum/BDStudent.rez"));
    EXPECT_TRUE(prepareDataFolder());
    EXPECT_FALSE(QFile::exists(path("stick/reaktikum/BDStudent.rez")));
    EXPECT_FALSE(QDir(path("home/data/reaktikum")).exists());
}

TEST_F(FolderFixture, InstalledProgramKeepsResultsInTheUsersDataFolder) {
    installProgram();
    // Even root, who may write the program folder, leaves an installed one alone.
    EXPECT_FALSE(isPortable());
    EXPECT_EQ(dataFolder(), path("home/data/reaktikum"));
    EXPECT_EQ(settingsFilePath(), path("home/config/reaktikum/reaktikum.ini"));

    QString error;
    ASSERT_TRUE(prepareDataFolder(&error)) << error.toStdString();
    ASSERT_TRUE(QFile::exists(path("home/data/reaktikum/BDStudent.rez")));
    EXPECT_EQ(QFileInfo(path("home/data/reaktikum/BDStudent.rez")).size(), 0);
    // Classmates on the same computer read neither the folder nor the grades.
    EXPECT_EQ(modeOf(path("home/data/reaktikum")), 0700u);
    EXPECT_EQ(modeOf(path("home/data/reaktikum/BDStudent.rez")), 0600u);
    EXPECT_EQ(currentDataFolderProblem(), DataFolderProblem::None);

    MessageRecorder messages;
    ASSERT_TRUE(
        session().registerStudent(QStringLiteral("Х-11"), QStringLiteral("Менделеев Д.И.")));
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('\n').toStdString();
    EXPECT_EQ(QFileInfo(path("home/data/reaktikum/BDStudent.rez")).size(), StudentBlockSize);
    EXPECT_EQ(modeOf(path("home/data/reaktikum/BDStudent.rez")), 0600u);
    EXPECT_EQ(programFolderListing(), QStringList({"Dannie.txt"}));

    // A later start finds the student's results and keeps them.
    ASSERT_TRUE(prepareDataFolder());
    EXPECT_EQ(QFileInfo(path("home/data/reaktikum/BDStudent.rez")).size(), StudentBlockSize);
}

TEST_F(FolderFixture, InstalledMoviesThatNobodyMayWriteStillPlay) {
    installProgram();
    write("usr/lib/reaktikum/Movie/1.swf", minimalSwf(585, 361));
    ASSERT_TRUE(QFile::setPermissions(path("usr/lib/reaktikum/Movie/1.swf"),
                                      QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    MessageRecorder messages;
    MoviePlayer player;
    loadMovie(navigation, &player, QStringLiteral("\\Movie\\1.swf"));
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('\n').toStdString();
    EXPECT_EQ(player.totalFrames(), 2);

    // A movie that is not there is still reported.
    loadMovie(navigation, &player, QStringLiteral("\\Movie\\2.swf"));
    EXPECT_EQ(messages.errorTexts().size(), 1);
}

TEST_F(FolderFixture, WithoutXdgVariablesTheHomeFoldersAreUsed) {
    installProgram();
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(dataFolder(), path("home/.local/share/reaktikum"));
    EXPECT_EQ(settingsFilePath(), path("home/.config/reaktikum/reaktikum.ini"));
}

TEST_F(FolderFixture, TheSystemWideDataFolderCannotBeLeft) {
    installProgram();
    // Without the system's [Data], the user's own names the folder, taken from its folder; one
    // beside the program comes before it.
    write("home/config/reaktikum/reaktikum.ini", "[Data]\nfolder=mine\n");
    EXPECT_EQ(settingsFilePath(), path("home/config/reaktikum/reaktikum.ini"));
    EXPECT_EQ(dataFolder(), path("home/config/reaktikum/mine"));
    write("usr/lib/reaktikum/reaktikum.ini", "[Data]\nfolder=" + path("stick").toUtf8() + "\n");
    EXPECT_EQ(dataFolder(), path("stick"));

    // The administrator's [Data] wins over both, and an empty folder= cannot drop it.
    write("etc/xdg/reaktikum/reaktikum.ini", "[Data]\nfolder=" + path("shared").toUtf8() + "\n");
    EXPECT_EQ(dataFolder(), path("shared"));
    write("home/config/reaktikum/reaktikum.ini", "[Data]\nfolder=\n");
    EXPECT_EQ(dataFolder(), path("shared"));

    // Without [Data] anywhere the usual folder is kept.
    write("etc/xdg/reaktikum/reaktikum.ini", "[ClassJournal]\nhost=\n");
    write("usr/lib/reaktikum/reaktikum.ini", "[ClassJournal]\nhost=\n");
    write("home/config/reaktikum/reaktikum.ini", "");
    EXPECT_EQ(dataFolder(), path("home/data/reaktikum"));
}

// A data folder other accounts may write is refused at start-up, the message saying which and
// why; the owner's own folder (also group-writable with his private group) and a portable
// program folder are taken as they are.
TEST_F(FolderFixture, ADataFolderOthersMayWriteIsRefusedAtStartUp) {
    installProgram();
    const QString own = path("home/data/reaktikum");
    makeFolder(own, 0777);
    EXPECT_EQ(currentDataFolderProblem(), DataFolderProblem::WritableByOthers);
    {
        MessageRecorder messages;
        EXPECT_FALSE(acceptDataFolder());
        ASSERT_EQ(messages.errorTexts().size(), 1);
        EXPECT_EQ(messages.errorTexts()[0],
                  dataFolderRefusalMessage(own, DataFolderProblem::WritableByOthers));
        EXPECT_TRUE(messages.errorTexts()[0].contains(own));
        EXPECT_TRUE(messages.errorTexts()[0].contains(QStringLiteral("все пользователи")));
    }
    // Nothing is made in a refused folder.
    EXPECT_TRUE(QDir(own).isEmpty());

    makeFolder(own, 0700);
    {
        MessageRecorder messages;
        EXPECT_TRUE(acceptDataFolder());
        EXPECT_TRUE(messages.texts().isEmpty());
    }

    // The owner's private group (named as he is, nobody else in it) is his alone.
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(own).constData(), &st), 0);
    const group* ownGroup = ::getgrgid(st.st_gid);
    makeFolder(own, 0770);
    const passwd* me = ::getpwuid(::geteuid());
    if (ownGroup && me && QByteArray(ownGroup->gr_name) == me->pw_name &&
        ownGroup->gr_mem[0] == nullptr) {
        EXPECT_EQ(currentDataFolderProblem(), DataFolderProblem::None);
    }

    // A group with other members, as the shared folder the README once described.
    if (const group* users = ::getgrnam("users");
        users && ::chown(QFile::encodeName(own).constData(), ::geteuid(), users->gr_gid) == 0) {
        EXPECT_EQ(currentDataFolderProblem(), DataFolderProblem::WritableByGroup);
        MessageRecorder messages;
        EXPECT_FALSE(acceptDataFolder());
        EXPECT_TRUE(messages.errorTexts().value(0).contains(QStringLiteral("её группы")));
    }

    // A folder the settings name is held to the same rule.
    makeFolder(path("class"), 01777);
    write("etc/xdg/reaktikum/reaktikum.ini", "[Data]\nfolder=" + path("class").toUtf8() + "\n");
    EXPECT_EQ(currentDataFolderProblem(), DataFolderProblem::WritableByOthers);
    makeFolder(path("class"), 0755);
    EXPECT_EQ(currentDataFolderProblem(), DataFolderProblem::None);

    // A portable program keeps whatever folder its user gave it.
    write("stick/reaktikum/BDStudent.rez", {});
    makeFolder(path("stick/reaktikum"), 0777);
    setProgramDirForTests(path("stick/reaktikum"));
    ASSERT_TRUE(isPortable());
    EXPECT_EQ(currentDataFolderProblem(), DataFolderProblem::None);
    MessageRecorder messages;
    EXPECT_TRUE(acceptDataFolder());
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(FolderFixture, SharedDataFolderReceivesTheStudent) {
    installProgram();
    write("etc/xdg/reaktikum/reaktikum.ini",
          "[Data]\nfolder=" + path("shared/class").toUtf8() + "\n");
    ASSERT_TRUE(prepareDataFolder());
    MessageRecorder messages;
    ASSERT_TRUE(
        session().registerStudent(QStringLiteral("Х-12"), QStringLiteral("Ломоносов М.В.")));
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(QFileInfo(path("shared/class/BDStudent.rez")).size(), StudentBlockSize);
    EXPECT_FALSE(QDir(path("home/data/reaktikum")).exists());
}

TEST_F(FolderFixture, ResultsFileMessageNamesTheFileInUse) {
    installProgram();
    // The named folder cannot be made: a plain file stands where its parent should be.
    write("blocked", "not a folder");
    write("etc/xdg/reaktikum/reaktikum.ini",
          "[Data]\nfolder=" + path("blocked/class").toUtf8() + "\n");
    QString error;
    EXPECT_FALSE(prepareDataFolder(&error));
    EXPECT_TRUE(error.contains(path("blocked/class"))) << error.toStdString();

    MessageRecorder messages;
    session().registerStudent(QStringLiteral("Х-13"), QStringLiteral("Бутлеров А.М."));
    ASSERT_FALSE(messages.errorTexts().isEmpty());
    EXPECT_EQ(messages.errorTexts().first(),
              QStringLiteral("Невозможно открыть файл по адресу: ") + path("blocked/class") +
                  QStringLiteral("/BDStudent.rez. Выполнение программы будет остановлено!!!"));
}

}  // namespace
