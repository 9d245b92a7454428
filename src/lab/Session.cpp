#include "lab/Session.h"

#include <QList>

#include "lab/Journal.h"

Session::Session(Journal* journal, QString resultsPath)
    : journal_(journal), results_(std::move(resultsPath)) {}

bool Session::registerStudent(const QString& group, const QString& surname) {
    const ResultsFile::AddOutcome outcome = results_.add(group, surname);
    if (outcome == ResultsFile::AddOutcome::NotLoaded) return false;
    StudentRecord& record = results_.slot(results_.current());
    if (journal_)
        journal_->registered(record.sitting, record.group.text(), record.surname.text(), variant_);
    return outcome == ResultsFile::AddOutcome::Saved;
}

void Session::recordGrade(int experiment, double grade, const GradeEvidence& evidence) {
    if (results_.setScore(experiment, grade) == ResultsFile::ScoreOutcome::NoStudent) return;
    StudentRecord& record = results_.slot(results_.current());
    if (journal_)
        journal_->graded(record.sitting, record.group.text(), record.surname.text(), variant_,
                         experiment, grade, evidence);
}

void Session::recordEntry(int experiment) {
    if (!journal_ || results_.current() < 1 || results_.current() > results_.count()) return;
    StudentRecord& record = results_.slot(results_.current());
    journal_->entered(record.sitting, record.group.text(), record.surname.text(), variant_,
                      experiment);
}

bool Session::deleteStudent(int index) {
    if (results_.count() <= 0 || index < 1) return true;
    StudentRecord removed = results_.slot(std::min(index, results_.count()));
    const ResultsFile::Snapshot before = results_.snapshot();
    results_.remove(index);
    // A deletion the file did not take did not happen: the row stays where the student sees it.
    if (!results_.save()) {
        results_.restore(before);
        return false;
    }
    if (journal_)
        journal_->deleted(removed.sitting, removed.group.text(), removed.surname.text(), variant_);
    return true;
}

bool Session::deleteAllStudents() {
    QList<StudentRecord> removed;
    for (int i = 1; i <= results_.count(); ++i) removed.append(results_.slot(i));
    const ResultsFile::Snapshot before = results_.snapshot();
    results_.removeAll();
    if (!results_.save()) {
        results_.restore(before);
        return false;
    }
    if (journal_)
        for (StudentRecord& r : removed)
            journal_->deletedAll(r.sitting, r.group.text(), r.surname.text(), variant_);
    return true;
}
