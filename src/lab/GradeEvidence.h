#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// What a grade was reached from, as the grading rules found it: one line per thing the student
// entered or chose, with what was expected and what it counted for. The journal stores it as
// JSON for programs and one Russian sentence for people; the windows show its lines as a table.
struct EvidenceItem {
    enum class Verdict { None, Right, Wrong };

    QString key;  // stable name for programs: "tube4.concentration", "coefficient1", …
    QString label;  // what the line is about, in Russian: "Пробирка 4: концентрация C`"
    QString entered;   // what the student typed or chose, as the window showed it
    QString expected;  // what was expected
    QString counted;  // what it counted for: "5 баллов: от 0,9 до 1,2 эталона", "неверно, −1"
    Verdict verdict = Verdict::None;
    bool counts = false;  // it entered the grade (experiment 1's tubes 1 to 3 do not)
    // How it was wrong, in words that read the same for every student who went wrong the same
    // way ("выше эталона", "поле 1 — «б»"); the teacher's view compares these between students.
    QStringList mistakes;

    bool operator==(const EvidenceItem&) const = default;
};

struct GradeEvidence {
    int experiment = 0;  // 1..4; 0 for no evidence
    double grade = 0;
    QString summary;  // one short Russian sentence: why this grade
    QList<EvidenceItem> items;
    // The experiment's own numbers for programs (tables as entered, reference values, bands).
    QJsonObject data;

    bool isEmpty() const { return experiment == 0; }
    // Compact UTF-8 JSON; empty for no evidence.
    QString toJson() const;
    // nullopt for text that is not evidence JSON (an empty column, a damaged row).
    static std::optional<GradeEvidence> fromJson(const QString& json);

    bool operator==(const GradeEvidence&) const = default;
};

// "Оценка за выполнение опыта№2: 4 !!!!": the message that announces a grade of experiment 1..4.
QString gradeMessage(int experiment, double grade);

// "1 балл", "2 балла", "5 баллов", "2,5 балла".
QString pointsText(double points);
