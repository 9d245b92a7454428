// A grade of each experiment, reached through its window, leaves a journal row whose evidence
// names what the student entered and what was expected; the student reads it under
// «Подробнее…» of the grade message, the teacher in the class journal's view.

#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "ExperimentTestSupport.h"
#include "TableCells.h"
#include "experiments/catalyst/CatalystWindow.h"
#include "experiments/common/GradeMessage.h"
#include "experiments/common/MovieEndWatch.h"
#include "experiments/concentration/ConcentrationWindow.h"
#include "experiments/concentration/RateGraphWindow.h"
#include "experiments/equilibrium/EquilibriumWindow.h"
#include "experiments/temperature/TemperatureWindow.h"
#include "journal/ClassJournal.h"
#include "journal/EvidenceTable.h"
#include "journal/JournalWindow.h"
#include "toolkit/FilteredEdit.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/RadioButton.h"
#include "toolkit/RadioGroup.h"
#include "toolkit/StringGrid.h"

namespace {

// What the student saw of a grade message: its text, and once «Подробнее…» was pressed, the
// sentence and the table.
struct SeenMessage {
    QString text;
    QString buttons;
    bool foldedAtFirst = false;
    QString summary;
    QList<QStringList> rows;
};

class GradeEvidenceWindowTest : public ExperimentTest {
protected:
    void SetUp() override {
        ExperimentTest::SetUp();
        ASSERT_NE(lab->classJournal(), nullptr);
        GradeMessage::setHook([this](GradeMessage& box) {
            SeenMessage seen;
            seen.text = box.messageText->text();
            seen.buttons = box.okButton->text() + QLatin1Char('|') + box.detailsButton->text();
            seen.foldedAtFirst = !box.detailsShown();
            box.detailsButton->click();
            if (box.detailsShown()) {
                seen.summary = box.summaryText->text();
                for (int r = 0; r < box.detailsTable->rowCount(); ++r)
                    seen.rows << box.detailsTable->rowTexts(r);
            }
            messagesSeen << seen;
        });
    }
    void TearDown() override {
        GradeMessage::setHook(nullptr);
        LabWindow::setModalHook(nullptr);
        ExperimentTest::TearDown();
    }

    // The evidence of the newest grade in the journal file, with its sentence as stored.
    GradeEvidence journalEvidence(int experiment) {
        const JournalEvents rows = lab->classJournal()->local().events();
        for (qsizetype i = rows.size() - 1; i >= 0; --i) {
            if (rows[i].kind != JournalEventKind::Graded || rows[i].experiment != experiment)
                continue;
            const std::optional<GradeEvidence> e = GradeEvidence::fromJson(rows[i].evidence);
            EXPECT_TRUE(e.has_value()) << rows[i].evidence.toStdString();
            EXPECT_FALSE(rows[i].evidenceSummary.isEmpty());
            if (e) {
                EXPECT_EQ(rows[i].evidenceSummary, e->summary);
            }
            return e.value_or(GradeEvidence{});
        }
        ADD_FAILURE() << "no grade of experiment " << experiment << " in the journal";
        return {};
    }

    // The teacher selects the grade of the experiment in the student's row.
    JournalWindow* teacherSelects(int experiment) {
        JournalWindow* view = lab->window<JournalWindow>();
        view->reload();
        EXPECT_EQ(rowCountOf(view->table), 1);
        setCurrentCell(view->table, 0, JournalWindow::gradeColumn(experiment));
        return view;
    }

    static QList<QStringList> tableRows(const EvidenceTable* table) {
        QList<QStringList> rows;
        for (int r = 0; r < table->rowCount(); ++r) rows << table->rowTexts(r);
        return rows;
    }

    // The student's table and the teacher's show the same lines, and both come from the row.
    void expectSameLinesEverywhere(int experiment, const SeenMessage& seen) {
        const GradeEvidence stored = journalEvidence(experiment);
        EXPECT_EQ(seen.summary, stored.summary);
        ASSERT_EQ(seen.rows.size(), stored.items.size());
        for (int i = 0; i < seen.rows.size(); ++i)
            EXPECT_EQ(seen.rows[i],
                      (QStringList{stored.items[i].label, stored.items[i].entered,
                                   stored.items[i].expected, stored.items[i].counted}));
        JournalWindow* view = teacherSelects(experiment);
        EXPECT_TRUE(view->evidenceText->toPlainText().startsWith(stored.summary))
            << view->evidenceText->toPlainText().toStdString();
        EXPECT_EQ(tableRows(view->evidenceTable), seen.rows);
        EXPECT_EQ(view->evidenceTable->horizontalHeaderItem(1)->text(),
                  QStringLiteral("Ученик ввёл"));
    }

    QList<SeenMessage> messagesSeen;
};

TEST_F(GradeEvidenceWindowTest, ExperimentOneThroughTheGraphWindow) {
    auto* experiment = lab->window<ConcentrationWindow>();
    auto* graph = lab->window<RateGraphWindow>();
    experiment->showAndActivate();
    const QStringList concentrations = {"0,04", "0,06", "0,08", "0,085"};
    const QStringList times = {"48", "24", "16", "12,5"};
    const QStringList rates = {"0,02", "0,04", "0,06", "0,08"};
    for (int r = 1; r <= 4; ++r) {
        experiment->measurementTable->setCell(4, r, concentrations[r - 1]);
        experiment->measurementTable->setCell(5, r, times[r - 1]);
        experiment->measurementTable->setCell(6, r, rates[r - 1]);
    }
    LabWindow::setModalHook([graph](LabWindow& w) {
        if (&w != graph) return;
        click(graph->nextLink);
        click(graph->backLink);
    });
    experiment->graphLink->show();
    click(experiment->graphLink);

    // The message keeps its text; tube 4 decides: 0,085 of 0,1 is 4, 0,08 of 0,081 is 5.
    EXPECT_EQ(messages->messageTexts(), QStringList{"Оценка за выполнение опыта№1: 4,5 !!!!"});
    ASSERT_EQ(messagesSeen.size(), 1);
    const SeenMessage& seen = messagesSeen[0];
    EXPECT_EQ(seen.text, QStringLiteral("Оценка за выполнение опыта№1: 4,5 !!!!"));
    EXPECT_EQ(seen.buttons, QStringLiteral("ОК|Подробнее…"));
    EXPECT_TRUE(seen.foldedAtFirst);
    EXPECT_EQ(seen.summary,
              QStringLiteral("Оценку решает пробирка 4: концентрация 0,085 при эталоне 0,1 — 4 "
                             "балла, скорость 0,08 при эталоне 0,081 — 5 баллов; (4 + 5) / 2 = "
                             "4,5."));
    ASSERT_EQ(seen.rows.size(), 12);
    EXPECT_EQ(seen.rows[9], (QStringList{"Пробирка 4: концентрация C`, моль/л", "0,085", "0,1",
                                         "4 балла: от 0,8 до 0,9 эталона"}));
    EXPECT_EQ(seen.rows[10],
              (QStringList{"Пробирка 4: время T, с", "12,5", "4", "даёт скорость 1/T"}));
    EXPECT_EQ(seen.rows[11], (QStringList{"Пробирка 4: скорость 1/T", "0,08", "0,081",
                                          "5 баллов: от 0,8 до 1,4 эталона"}));
    // Tube 1 against its own reference (0,04 and 0,021): the rate 0,02 is in band 5 too.
    EXPECT_EQ(seen.rows[0][1], QStringLiteral("0,04"));
    EXPECT_EQ(seen.rows[2][2], QStringLiteral("0,021"));

    const GradeEvidence stored = journalEvidence(1);
    EXPECT_EQ(stored.grade, 4.5);
    EXPECT_EQ(stored.data.value("tubes").toArray().size(), 4);
    expectSameLinesEverywhere(1, seen);
    EXPECT_EQ(lab->window<JournalWindow>()->evidenceTitle->text(),
              QStringLiteral("Петрова А., ХТ-21 — опыт 1, оценка 4,5"));
}

TEST_F(GradeEvidenceWindowTest, ExperimentTwoWithASwappedPair) {
    auto* w = lab->window<TemperatureWindow>();
    lab->window<ConcentrationWindow>()->measurementTable->setCell(5, 1, QStringLiteral("36"));
    lab->window<ConcentrationWindow>()->measurementTable->setCell(6, 1, QStringLiteral("0,03"));
    startRun(w, 2);
    w->onNextClicked();
    w->onNextClicked();
    w->measurementTable->setCell(1, 2, QStringLiteral("18"));
    w->measurementTable->setCell(1, 3, QStringLiteral("9"));
    w->onNextClicked();
    ASSERT_EQ(w->step(), 4);
    const auto pair = [&](int k, const QString& a, const QString& b) {
        const TemperatureWindow::CoefficientInput& input = w->coefficientInputs[k - 1];
        input.numeratorBox->clear();
        typeKeys(input.numeratorBox, a);
        input.denominatorBox->clear();
        typeKeys(input.denominatorBox, b);
        click(input.okButton);
    };
    pair(1, "0,03", "0,06");
    pair(1, "0,06", "0,03");
    pair(2, "0,11", "0,06");
    ASSERT_EQ(w->step(), 5);

    EXPECT_EQ(messages->messageTexts(),
              (QStringList{"Температурный коэффициент рассчитан неверно. Попробуйте еще раз",
                           "Оценка за выполнение опыта№2: 4 !!!!"}));
    ASSERT_EQ(messagesSeen.size(), 1);
    const SeenMessage& seen = messagesSeen[0];
    EXPECT_EQ(seen.summary, QStringLiteral("Оба коэффициента приняты; неверных попыток — 1, "
                                           "каждая стоит балл: 4 балла."));
    ASSERT_EQ(seen.rows.size(), 6);
    EXPECT_EQ(seen.rows[0], (QStringList{"25 °C: время, с", "36", "", "скорость 0,03"}));
    EXPECT_EQ(seen.rows[2], (QStringList{"45 °C: время, с", "9", "", "скорость 0,11"}));
    EXPECT_EQ(seen.rows[3], (QStringList{"Коэффициент 1 (35 °C к 25 °C), попытка 1", "0,03 / 0,06",
                                         "0,06 / 0,03 = 2", "неверно, −1 балл"}));
    EXPECT_EQ(seen.rows[4], (QStringList{"Коэффициент 1 (35 °C к 25 °C), попытка 2", "0,06 / 0,03",
                                         "0,06 / 0,03 = 2", "верно, коэффициент 2"}));
    EXPECT_EQ(seen.rows[5][1], QStringLiteral("0,11 / 0,06"));
    expectSameLinesEverywhere(2, seen);
}

TEST_F(GradeEvidenceWindowTest, ExperimentThreeWithTheWrongOptionFirst) {
    auto* w = lab->window<CatalystWindow>();
    startRun(w, 3);
    w->onNextClicked();
    w->onNextClicked();
    click(w->wrongOption);
    click(w->rightOption);
    ASSERT_EQ(w->step(), 4);

    EXPECT_EQ(messages->messageTexts(),
              (QStringList{"Нет, вы не правы!!!", "Оценка за выполнение опыта№3: 2,5 !!!!"}));
    ASSERT_EQ(messagesSeen.size(), 1);
    EXPECT_EQ(
        messagesSeen[0].rows,
        (QList<QStringList>{{"Как влияет катализатор: ответ 1", "Катализатор замедляет реакцию",
                             "Катализатор ускоряет реакцию", "неверно: оценка не выше 2,5"},
                            {"Как влияет катализатор: ответ 2", "Катализатор ускоряет реакцию",
                             "Катализатор ускоряет реакцию", "верно"}}));
    expectSameLinesEverywhere(3, messagesSeen[0]);
    EXPECT_EQ(recordedScore(3), 2.5f);
}

TEST_F(GradeEvidenceWindowTest, ExperimentFourWithAWrongDirectionAndAWrongBox) {
    auto* w = lab->window<EquilibriumWindow>();
    for (int step = 1; step <= 6; ++step)
        tree->write(QStringLiteral("Movie/Opyt4/%1.swf").arg(step), minimalSwf(705, 400, 1));
    startRun(w, 4);
    w->onNextClicked();
    w->movieEndWatch->fire();
    w->onNextClicked();
    w->movieEndWatch->fire();
    ASSERT_TRUE(w->directionGroups[0]->isVisible());
    const auto choose = [&](int group, int item) {
        w->directionGroups[group - 1]->button(item)->click();
    };
    choose(2, 1);  // KSCN: to the left, wrong
    choose(2, 0);
    choose(1, 0);
    choose(3, 1);
    ASSERT_EQ(w->step(), 4);
    const auto fill = [&](const QStringList& texts) {
        for (int i = 0; i < 6; ++i) {
            w->answerBoxes[i]->clear();
            typeKeys(w->answerBoxes[i], texts[i]);
        }
        click(w->nextLink);
    };
    fill({"в", "г", "а", "в", "3", "3"});
    fill({"в", "г", "а", "б", "3", "3"});
    ASSERT_EQ(w->step(), 5);

    EXPECT_EQ(messages->messageTexts().last(),
              QStringLiteral("Оценка за выполнение опыта№4: 4 !!!!"));
    ASSERT_EQ(messagesSeen.size(), 1);
    const SeenMessage& seen = messagesSeen[0];
    ASSERT_EQ(seen.rows.size(), 6);
    EXPECT_EQ(seen.rows[0], (QStringList{"Добавлен KSCN: куда сместится равновесие", "влево (<--)",
                                         "вправо (-->)", "неверно: за направления 4"}));
    EXPECT_EQ(seen.rows[3][3], QStringLiteral("верно"));
    EXPECT_EQ(seen.rows[4], (QStringList{"Константа равновесия, попытка 1", "в·г^3 / а·в^3",
                                         "в·г^3 / а·б^3", "неверно (поля 4): за константу 4"}));
    EXPECT_EQ(seen.rows[5][3], QStringLiteral("верно"));
    expectSameLinesEverywhere(4, seen);
    EXPECT_EQ(recordedScore(4), 4.0f);
}

// Without a grade selected the view names the grades' sentences; a grade recorded before the
// journal kept evidence says so.
TEST_F(GradeEvidenceWindowTest, TheTeachersPaneOutsideAGradeAndForAnOldGrade) {
    auto* w = lab->window<CatalystWindow>();
    startRun(w, 3);
    w->onNextClicked();
    w->onNextClicked();
    click(w->rightOption);
    session().recordGrade(2, 3);  // as an older window would: no evidence

    JournalWindow* view = teacherSelects(3);
    EXPECT_EQ(view->evidenceTable->rowCount(), 1);
    setCurrentCell(view->table, 0, JournalWindow::gradeColumn(2));
    EXPECT_EQ(view->evidenceTable->rowCount(), 0);
    EXPECT_TRUE(view->evidenceText->toPlainText().contains(QStringLiteral("не записаны")));
    setCurrentCell(view->table, 0, 3);  // the surname
    EXPECT_EQ(view->evidenceTitle->text(), QStringLiteral("Петрова А., ХТ-21"));
    EXPECT_EQ(view->evidenceText->toPlainText(),
              QStringLiteral("Опыт 2 (3): подробности не записаны.\n"
                             "Опыт 3 (5): Верный ответ «Катализатор ускоряет реакцию» выбран "
                             "сразу: 5 баллов.\n"
                             "Выберите оценку в таблице, чтобы увидеть, из чего она сложилась."));
}

}  // namespace
