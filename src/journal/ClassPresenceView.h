#pragma once

#include <QList>
#include <QObject>

#include "journal/ClassPresence.h"

class QLabel;
class QListWidget;

// «Сейчас в классе»: a card per computer with today's newest sitting — the computer and the
// student, the experiment the student is in and the grades so far — side by side under a
// title, so that a class's computers are seen at a glance; a student in an experiment stands
// out in bold. The title and the cards are controls of the window given, which places them.
class ClassPresenceView : public QObject {
    Q_OBJECT
public:
    explicit ClassPresenceView(QWidget* window);

    void showPresence(const QList<ComputerPresence>& presence);
    const QList<ComputerPresence>& shown() const { return shown_; }
    // What a card says: the computer, the student with the group, where the student is, the
    // grades.
    QStringList lineTexts(int line) const;

    QLabel* title = nullptr;
    QListWidget* cards = nullptr;

private:
    QList<ComputerPresence> shown_;
};
