#pragma once

#include <QDialog>
#include <functional>

#include "lab/GradeEvidence.h"

class EvidenceTable;
class QLabel;
class QPushButton;

// The message that announces a grade ("Оценка за выполнение опыта№1: 4,5 !!!!"). Beside «OK»
// it offers «Подробнее…», which unfolds what the grade was reached from: one sentence and a
// short table of what the student entered, what was expected and what counted.
class GradeMessage : public QDialog {
    Q_OBJECT
public:
    GradeMessage(const GradeEvidence& evidence, QWidget* parent = nullptr);

    QLabel* messageText = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* detailsButton = nullptr;  // «Подробнее…»
    QWidget* detailsPane = nullptr;        // hidden until «Подробнее…»
    QLabel* summaryText = nullptr;
    EvidenceTable* detailsTable = nullptr;

    bool detailsShown() const;
    void setDetailsShown(bool shown);

    // Tests look inside the box through this hook: with one set, the box is built and handed to
    // it instead of being shown modally. nullptr removes it.
    using Hook = std::function<void(GradeMessage&)>;
    static void setHook(Hook hook);

private:
    void fitToContents();
};

// Shows the grade message of the evidence's experiment and grade modally. While message boxes
// are recorded (tests), its text is recorded like any other message.
void showGradeMessage(const GradeEvidence& evidence);
