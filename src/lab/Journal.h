#pragma once

#include <QString>

#include "lab/GradeEvidence.h"

// What the class journal is told when a student is registered, enters an experiment, is graded
// or deleted. Nothing a
// student does ever waits on it or sees it fail: an implementation writes quickly or keeps the
// event for later, and reports trouble only in the teacher's view.
//
// A sitting is the id a registration gets, so grades attach to the right registration even when
// two students share a name. An empty sitting (a student registered in an earlier run) is worked
// out by the journal and handed back through the reference. The variant is the task variant
// chosen when the event happened (1..6; 0 when none is known). A grade comes with what it was
// reached from; a grade given without it (an older caller) carries empty evidence.
class Journal {
public:
    virtual ~Journal() = default;
    virtual void registered(QString& sitting, const QString& group, const QString& surname,
                            int variant) = 0;
    // The student opened the window of experiment 1..4.
    virtual void entered(QString& sitting, const QString& group, const QString& surname,
                         int variant, int experiment) = 0;
    virtual void graded(QString& sitting, const QString& group, const QString& surname, int variant,
                        int experiment, double grade, const GradeEvidence& evidence = {}) = 0;
    virtual void deleted(QString& sitting, const QString& group, const QString& surname,
                         int variant) = 0;
    // The results window emptied: one call per student removed, in table order.
    virtual void deletedAll(QString& sitting, const QString& group, const QString& surname,
                            int variant) = 0;
};
