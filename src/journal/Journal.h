#pragma once

#include <QString>

// The one interface the windows and the results store call when a student is registered,
// graded or deleted. Nothing a student does ever waits on it or sees it fail: an implementation
// writes quickly or keeps the event for later, and reports trouble only in the teacher's view.
//
// A sitting is the id a registration gets, so grades attach to the right registration even when
// two students share a name. An empty sitting (a student registered in an earlier run) is worked
// out by the journal and handed back through the reference.
class Journal {
public:
    virtual ~Journal() = default;
    virtual void registered(QString& sitting, const QString& group, const QString& surname) = 0;
    virtual void graded(QString& sitting, const QString& group, const QString& surname,
                        int experiment, double grade) = 0;
    virtual void deleted(QString& sitting, const QString& group, const QString& surname) = 0;
    // The results window emptied: one call per student removed, in table order.
    virtual void deletedAll(QString& sitting, const QString& group, const QString& surname) = 0;
};

// The journal in use: one that records nothing until the composition root installs the class
// journal (tests of other folders never see a journal).
Journal& journal();
// Installs a journal, or restores the silent one with nullptr. The caller keeps ownership.
void setJournal(Journal* journal);
