#pragma once

#include <QString>

#include "lab/GradeEvidence.h"
#include "lab/ResultsFile.h"

class Journal;

// The sitting at this computer: the results file with the student registered in this run, the
// task variant chosen now, and the class journal every registration, grade and deletion is
// told of. One object for the whole run, created by the composition root.
class Session {
public:
    // Without a journal nothing is told to one. resultsPath as for ResultsFile.
    explicit Session(Journal* journal = nullptr, QString resultsPath = {});

    ResultsFile& results() { return results_; }
    const ResultsFile& results() const { return results_; }

    // The journal told of every event from now on; nullptr for none.
    void setJournal(Journal* journal) { journal_ = journal; }

    // The task variant 1..6 the main window shows; 0 before one is chosen.
    int variant() const { return variant_; }
    void setVariant(int variant) { variant_ = variant; }

    // Registers a student at this computer: he becomes the current student. The journal keeps
    // the registration even when the results file could not. False when the file failed.
    bool registerStudent(const QString& group, const QString& surname);
    // Gives the current student a grade in experiment 1..4, in the file and in the journal,
    // which also keeps what the grade was reached from. Without a current student nothing is
    // recorded.
    void recordGrade(int experiment, double grade, const GradeEvidence& evidence = {});
    // Tells the journal that the current student opened experiment 1..4; the results file
    // keeps no such thing. Without a current student nothing is told.
    void recordEntry(int experiment);
    // Removes student index (1-based) or every student and saves. The journal hears of a
    // deletion only once the file holds it. False when the file could not be saved: the table
    // is then as it was before.
    bool deleteStudent(int index);
    bool deleteAllStudents();

private:
    Journal* journal_ = nullptr;
    ResultsFile results_;
    int variant_ = 0;
};
