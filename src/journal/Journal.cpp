#include "journal/Journal.h"

#include "lab/Replaceable.h"

namespace {

class SilentJournal final : public Journal {
public:
    void registered(QString&, const QString&, const QString&) override {}
    void graded(QString&, const QString&, const QString&, int, double) override {}
    void deleted(QString&, const QString&, const QString&) override {}
    void deletedAll(QString&, const QString&, const QString&) override {}
};

Replaceable<Journal, SilentJournal> currentJournal;
}  // namespace

Journal& journal() {
    return currentJournal.get();
}

void setJournal(Journal* journal) {
    currentJournal.install(journal);
}
