// reaktikum.ini merged from the program folder, the user's folder and the system's: what the
// administrator sets for the class stays set, whatever a student writes in a file of their own;
// the README's examples behave as the README says.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>

#include "lab/LabSettings.h"
#include "lab/ProgramDir.h"

namespace {

class LabSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        files.besideProgram = path("program/reaktikum.ini");
        files.user = path("home/config/reaktikum/reaktikum.ini");
        files.systemWide = {path("etc/xdg/reaktikum/reaktikum.ini"),
                            path("usr/etc/xdg/reaktikum/reaktikum.ini")};
        // The test's files count as root's: the ownership rule is tried with its own files.
        files.trustedOwner = ::getuid();
    }
    QString path(const QString& relative) const { return root.path() + '/' + relative; }
    void write(const QString& file, const QByteArray& text,
               QFile::Permissions mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                         QFile::ReadOther) const {
        QDir().mkpath(QFileInfo(file).path());
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
        f.close();
        ASSERT_TRUE(f.setPermissions(mode));
    }
    QString text(const LabSettings& settings, const char* key) const {
        return settings.value(QString::fromLatin1(key)).toString();
    }

    QTemporaryDir root;
    SettingsFiles files;
};

TEST_F(LabSettingsTest, TheAdministratorsSectionsCannotBeChangedDroppedOrExtended) {
    write(files.systemWide[0],
          "[Data]\nfolder=/srv/reaktikum\n[ClassJournal]\nhost=10.0.0.1\ndatabase=class\n");
    write(files.user,
          "[Data]\nfolder=/tmp/mine\n[ClassJournal]\nhost=\nport=6543\n[Look]\ncolour=green\n");
    write(files.besideProgram, "[ClassJournal]\nhost=evil\n[Look]\ncolour=red\nsize=2\n");
    const LabSettings settings(files);
    EXPECT_EQ(text(settings, "Data/folder"), "/srv/reaktikum");
    EXPECT_EQ(settings.fileOf(QStringLiteral("Data/folder")), files.systemWide[0]);
    EXPECT_EQ(text(settings, "ClassJournal/host"), "10.0.0.1");
    EXPECT_EQ(text(settings, "ClassJournal/database"), "class");
    EXPECT_FALSE(settings.value(QStringLiteral("ClassJournal/port")).isValid());
    // Other keys: beside the program first, then the user's.
    EXPECT_EQ(text(settings, "Look/colour"), "red");
    EXPECT_EQ(text(settings, "Look/size"), "2");
    EXPECT_TRUE(settings.warnings().isEmpty());
}

TEST_F(LabSettingsTest, SectionsTheSystemLeavesOutMergeKeyByKey) {
    // The administrator names the data folder system-wide and the server beside the program.
    write(files.systemWide[0], "[Data]\nfolder=/srv/reaktikum\n");
    write(files.besideProgram, "[ClassJournal]\nhost=10.0.0.1\ndatabase=class\n");
    write(files.user, "[ClassJournal]\nhost=10.0.0.2\nuser=pc07\n");
    const LabSettings settings(files);
    EXPECT_EQ(text(settings, "Data/folder"), "/srv/reaktikum");
    EXPECT_EQ(text(settings, "ClassJournal/host"), "10.0.0.1");
    EXPECT_EQ(settings.fileOf(QStringLiteral("ClassJournal/host")), files.besideProgram);
    EXPECT_EQ(text(settings, "ClassJournal/user"), "pc07");
    EXPECT_EQ(settings.section(QStringLiteral("ClassJournal")).value("database").toString(),
              "class");

    // Several system-wide folders: the first wins key by key, the later ones fill in.
    write(files.systemWide[1], "[Data]\nfolder=/var/other\n[ClassJournal]\nport=5433\n");
    const LabSettings twoSystems(files);
    EXPECT_EQ(text(twoSystems, "Data/folder"), "/srv/reaktikum");
    EXPECT_EQ(text(twoSystems, "ClassJournal/port"), "5433");
    EXPECT_FALSE(twoSystems.value(QStringLiteral("ClassJournal/host")).isValid());
    // No file at all: nothing is set.
    EXPECT_FALSE(LabSettings(SettingsFiles{}).value(QStringLiteral("Data/folder")).isValid());
}

TEST_F(LabSettingsTest, TheTeachersHashComesOnlyFromASystemFileNobodyElseMayWrite) {
    const QByteArray teacher = "[Teacher]\npassword_hash=pbkdf2-sha256$1$c2FsdA==$aGFzaA==\n";
    write(files.user, teacher);
    write(files.besideProgram, teacher);
    EXPECT_FALSE(LabSettings(files).value(QStringLiteral("Teacher/password_hash")).isValid());

    write(files.systemWide[0], teacher + "[Data]\nfolder=/srv/reaktikum\n");
    EXPECT_EQ(text(LabSettings(files), "Teacher/password_hash"),
              "pbkdf2-sha256$1$c2FsdA==$aGFzaA==");

    const struct {
        const char* name;
        QFile::Permissions mode;
        uint owner;
    } refused[] = {
        {"writable by others",
         QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::WriteOther,
         files.trustedOwner},
        {"writable by its group",
         QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup,
         files.trustedOwner},
        {"owned by someone else", QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther,
         files.trustedOwner + 1},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name);
        write(files.systemWide[0], teacher + "[Data]\nfolder=/srv/reaktikum\n", c.mode);
        SettingsFiles strict = files;
        strict.trustedOwner = c.owner;
        const LabSettings settings(strict);
        EXPECT_FALSE(settings.value(QStringLiteral("Teacher/password_hash")).isValid());
        ASSERT_EQ(settings.warnings().size(), 1);
        EXPECT_TRUE(settings.warnings()[0].contains(files.systemWide[0]));
        EXPECT_TRUE(settings.warnings()[0].contains(QStringLiteral("[Teacher]")));
        // The rest of the file still counts.
        EXPECT_EQ(text(settings, "Data/folder"), "/srv/reaktikum");
    }
}

// The README's ini examples that start with "; PATH", each written where its path points.
QMap<QString, QByteArray> readmeExamples() {
    QFile readme(QStringLiteral(LAB_README));
    if (!readme.open(QIODevice::ReadOnly)) return {};
    const QString text = QString::fromUtf8(readme.readAll());
    QMap<QString, QByteArray> examples;
    static const QRegularExpression block(QStringLiteral("```ini\\n; (\\S+)\\n(.*?)```"),
                                          QRegularExpression::DotMatchesEverythingOption);
    for (auto it = block.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        examples[m.captured(1)] += m.captured(2).toUtf8();
    }
    return examples;
}

TEST_F(LabSettingsTest, TheReadmesExampleKeepsTheClassOnItsFolderAndServer) {
    const QMap<QString, QByteArray> examples = readmeExamples();
    const QString system = QStringLiteral("/etc/xdg/reaktikum/reaktikum.ini");
    const QString user = QStringLiteral("~/.config/reaktikum/reaktikum.ini");
    ASSERT_TRUE(examples.contains(system)) << "README: no system-wide example";
    ASSERT_TRUE(examples.contains(user)) << "README: no user's example";
    write(files.systemWide[0], examples[system]);
    write(files.user, examples[user]);

    const QSettings systemFile(files.systemWide[0], QSettings::IniFormat);
    const QSettings userFile(files.user, QSettings::IniFormat);
    ASSERT_TRUE(systemFile.allKeys().contains(QStringLiteral("Data/folder")));
    const LabSettings settings(files);
    int tried = 0;
    for (const QString& key : userFile.allKeys()) {
        const QString section = key.section('/', 0, 0);
        if (!LabSettings::administratorSections().contains(section)) continue;
        ++tried;
        SCOPED_TRACE(key.toStdString());
        EXPECT_EQ(settings.value(key), systemFile.value(key));
        if (systemFile.contains(key)) {
            EXPECT_EQ(settings.fileOf(key), files.systemWide[0]);
        }
    }
    EXPECT_GE(tried, 3) << "the user's example tries the class's sections";

    // The program's data folder is the administrator's.
    const char* names[] = {"HOME", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"};
    std::vector<std::pair<const char*, QByteArray>> saved;
    for (const char* name : names) saved.push_back({name, qgetenv(name)});
    qputenv("HOME", path("home").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", path("home/config").toLocal8Bit());
    qputenv("XDG_CONFIG_DIRS", path("etc/xdg").toLocal8Bit());
    setProgramDirForTests(path("program"));
    EXPECT_EQ(dataFolder(), systemFile.value(QStringLiteral("Data/folder")).toString());
    setProgramDirForTests(QString());
    for (const auto& [name, value] : saved) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
}

}  // namespace
