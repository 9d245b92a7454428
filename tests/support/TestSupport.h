#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>
#include <memory>

#include "app/Laboratory.h"
#include "lab/Clock.h"
#include "shell/Navigation.h"
#include "toolkit/MessageBoxes.h"

// A tiny but valid SWF movie: a stage of the given size and that many empty frames.
QByteArray minimalSwf(int width, int height, int frames = 2);

// A small program folder in a temporary directory with every file the laboratory reads
// (plain pictures, minimal movies, a complete Dannie.txt, an empty results file).
// ProgramDir points at it while it exists.
class TempAssetTree {
public:
    TempAssetTree();
    ~TempAssetTree();
    QString dir() const { return dir_.path(); }
    QString path(const QString& relative) const;  // relative with backslashes or slashes
    void write(const QString& relative, const QByteArray& bytes) const;
    void remove(const QString& relative) const;
    QByteArray read(const QString& relative) const;

private:
    QTemporaryDir dir_;
};

// Types text into a widget key by key, as the keyboard would, Cyrillic included
// (QTest::keyClicks handles only ASCII).
void typeKeys(QWidget* widget, const QString& text);

// Closes a window as the window manager does (a title-bar button, Alt+F4, WM_DELETE_WINDOW):
// a spontaneous close event; an accepted one hides the window.
void closeByWindowManager(QWidget* window);

// The words of a text a Russian reader would take for English: runs of three or more Latin
// small letters outside file paths and file names (chemical formulas such as Na2S2O3 and
// abbreviations such as CSV are no words, nor names such as Linux).
QStringList englishWordsIn(const QString& text);

// The reference data every variant of the small tree shares (tube 4: V and C per variant).
QByteArray sampleDannieTxt();

// The start-up refusals for a missing picture or movie, as the student reads them.
// A movie that cannot be read names its file.
QString missingMovieMessage(const QString& fullPath);
extern const QString missingFilesMessage;

// Starts this test program again as a child that runs only the disabled test `filter`, with
// `env`; its error output goes to this process's.
void startChildTest(QProcess& child, const QProcessEnvironment& env, const QString& filter);

// Where the windows of a test without a laboratory go: nowhere; an end of the program is
// remembered.
class RecordingNavigation : public Navigation {
public:
    void returnToMainWindow() override { ++returns; }
    void endProgram() override { ended = true; }
    bool isEnding() const override { return ended; }
    bool ended = false;
    int returns = 0;
};

// Base of tests that need a clean laboratory: a manual clock, message boxes recorded, a
// temporary asset tree; optionally every window created as at start-up.
class LabTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Creates the windows in start-up order against the tree.
    void createWindows();

    // Runs the program as main() does, with lab pointing at its windows while it runs.
    int runSession();
    // A student registers as at the computer: the registration window comes up, the group and
    // the surname are typed key by key and "Принять" is clicked.
    void registerThroughWindow(const QString& group, const QString& surname);

    // The session of the laboratory (created by createWindows or running) and its results file;
    // without a laboratory, one session of the test's own that reports as the program does.
    Session& session();
    ResultsFile& results();
    // The test's own session tells the given journal (nullptr: none) of its events from now on.
    void setSessionJournal(Journal* journal);
    // The program is ending: the laboratory's, or for loaders called without one, navigation's.
    bool programEnding() const;

    // The windows: created by createWindows, or those of the session that runs.
    std::unique_ptr<Laboratory> ownedLab;
    Laboratory* lab = nullptr;
    std::unique_ptr<TempAssetTree> tree;
    std::unique_ptr<MessageRecorder> messages;
    ManualClock clock;
    RecordingNavigation navigation;

private:
    bool sessionEnded_ = false;
    std::unique_ptr<Session> standaloneSession_;
    Journal* sessionJournal_ = nullptr;
};
