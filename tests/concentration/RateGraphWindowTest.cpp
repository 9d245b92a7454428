#include <gtest/gtest.h>

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMessageBox>
#include <QScatterSeries>
#include <QTextDocument>
#include <QTimer>
#include <QValueAxis>
#include <QtEndian>
#include <QtTest/QTest>

#include "TestSupport.h"
#include "app/Laboratory.h"
#include "app/MainWindow.h"
#include "experiments/concentration/ConcentrationWindow.h"
#include "experiments/concentration/RateGraphWindow.h"
#include "experiments/concentration/ReferenceDataReport.h"
#include "lab/ReferenceData.h"
#include "lab/Session.h"
#include "toolkit/LabTimer.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/Picture.h"
#include "toolkit/StringGrid.h"

namespace {
// A chart text as the reader sees it: blanks kept, line breaks as line ends.
QString shownText(const QString& html) {
    QTextDocument doc;
    doc.setHtml(html);
    return doc.toPlainText().replace(QChar(0xA0), QLatin1Char(' '));
}

class GraphWindowTest : public LabTest {
protected:
    void SetUp() override {
        LabTest::SetUp();
        createWindows();
        lab->window<MainWindow>()->setRegistrationShown(true);
        lab->window<ConcentrationWindow>()->showAndActivate();
    }
    void TearDown() override {
        LabWindow::setModalHook(nullptr);
        LabTest::TearDown();
    }
    void fillTable(const QStringList& concentrations, const QStringList& rates) {
        for (int r = 1; r <= 4; ++r) {
            lab->window<ConcentrationWindow>()->measurementTable->setCell(
                4, r, concentrations.value(r - 1));
            lab->window<ConcentrationWindow>()->measurementTable->setCell(6, r, rates.value(r - 1));
        }
    }
    // Opens the graph through "График", acts inside it, closes it with "Назад".
    void openGraph(const std::function<void()>& inside) {
        LabWindow::setModalHook([this, inside](LabWindow& w) {
            if (&w != lab->window<RateGraphWindow>()) return;
            inside();
            QTest::mouseClick(lab->window<RateGraphWindow>()->backLink, Qt::LeftButton);
            if (lab->window<RateGraphWindow>()->isVisible()) lab->window<RateGraphWindow>()->done();
        });
        lab->window<ConcentrationWindow>()->graphLink->show();
        QTest::mouseClick(lab->window<ConcentrationWindow>()->graphLink, Qt::LeftButton);
        LabWindow::setModalHook(nullptr);
    }
    static QList<QPointF> points(QXYSeries* s) { return s->points(); }
    static void runDown(LabTimer* timer, int* ticks = nullptr) {
        int n = 0;
        while (timer->enabled() && n < 200) timer->fire(), ++n;
        if (ticks) *ticks = n;
    }
};
}  // namespace

TEST_F(GraphWindowTest, ChartSettings) {
    EXPECT_EQ(lab->window<RateGraphWindow>()->size(), QSize(555, 486));
    EXPECT_EQ(lab->window<RateGraphWindow>()->windowTitle(), "График");
    EXPECT_EQ(lab->window<RateGraphWindow>()->chartView->geometry(), QRect(0, 0, 555, 400));
    EXPECT_EQ(lab->window<RateGraphWindow>()->footer->geometry(), QRect(0, 400, 555, 85));
    EXPECT_EQ(lab->window<RateGraphWindow>()->nextLink->pos(), QPoint(14, 455));
    EXPECT_EQ(lab->window<RateGraphWindow>()->backLink->pos(), QPoint(480, 456));
    EXPECT_EQ(lab->window<RateGraphWindow>()->lineGrowthTimer->interval(), 100);
    QChart* chart = lab->window<RateGraphWindow>()->chartView->chart();
    const QList<QAbstractSeries*> series = chart->series();
    ASSERT_EQ(series.size(), 3);
    EXPECT_EQ(series[0], lab->window<RateGraphWindow>()->referenceSeries);
    EXPECT_EQ(series[1], lab->window<RateGraphWindow>()->experimentalSeries);
    EXPECT_EQ(series[2], lab->window<RateGraphWindow>()->measuredPoints);
    EXPECT_EQ(lab->window<RateGraphWindow>()->referenceSeries->name(), "Эталон");
    EXPECT_EQ(lab->window<RateGraphWindow>()->experimentalSeries->name(), "Экспериментальная");
    EXPECT_EQ(lab->window<RateGraphWindow>()->referenceSeries->pen().color(), QColor(Qt::red));
    EXPECT_EQ(lab->window<RateGraphWindow>()->referenceSeries->pen().width(), 2);
    EXPECT_TRUE(lab->window<RateGraphWindow>()->referenceSeries->pointsVisible());
    EXPECT_EQ(lab->window<RateGraphWindow>()->experimentalSeries->pen().color(), QColor(Qt::blue));
    EXPECT_EQ(lab->window<RateGraphWindow>()->experimentalSeries->pen().width(), 2);
    EXPECT_FALSE(lab->window<RateGraphWindow>()->experimentalSeries->pointsVisible());
    EXPECT_EQ(lab->window<RateGraphWindow>()->measuredPoints->color(), QColor(Qt::black));
    EXPECT_EQ(lab->window<RateGraphWindow>()->measuredPoints->markerSize(), 3);
    EXPECT_EQ(chart->legend()->alignment(), Qt::AlignBottom);
    EXPECT_TRUE(chart->legend()
                    ->markers(lab->window<RateGraphWindow>()->referenceSeries)
                    .first()
                    ->isVisible());
    EXPECT_FALSE(chart->legend()
                     ->markers(lab->window<RateGraphWindow>()->measuredPoints)
                     .first()
                     ->isVisible());
    // Titles keep their blanks.
    EXPECT_EQ(
        shownText(chart->title()),
        "  График зависимости условной скорости от \nконцентрации тиосульфата натрия в растворе");
    const auto axes = chart->axes();
    ASSERT_EQ(axes.size(), 2);
    EXPECT_EQ(shownText(chart->axes(Qt::Horizontal).first()->titleText()), "Концентрация  моль/л");
    EXPECT_EQ(shownText(chart->axes(Qt::Vertical).first()->titleText()), "Скорость   1/с");
    EXPECT_FALSE(lab->window<RateGraphWindow>()->nextLink->isHidden());
    EXPECT_TRUE(lab->window<RateGraphWindow>()->backLink->isHidden());
}

TEST_F(GraphWindowTest, EveryShowingAddsTheMeasuredPointsSortedByConcentration) {
    fillTable({"0,05", "0,03", "0,04", "0,02"}, {"0,07", "0,04", "0,06", "0,03"});
    openGraph([] {});
    const QList<QPointF> once = {{0, 0}, {0.02, 0.03}, {0.03, 0.04}, {0.04, 0.06}, {0.05, 0.07}};
    EXPECT_EQ(points(lab->window<RateGraphWindow>()->measuredPoints), once);
    EXPECT_EQ(lab->window<RateGraphWindow>()->measuredConcentration, 0.02);  // row 4 is read last
    openGraph([] {});
    EXPECT_EQ(points(lab->window<RateGraphWindow>()->measuredPoints).size(), 10);
    EXPECT_EQ(points(lab->window<RateGraphWindow>()->measuredPoints).first(), QPointF(0, 0));
    EXPECT_EQ(points(lab->window<RateGraphWindow>()->measuredPoints).last(), QPointF(0.05, 0.07));
    EXPECT_TRUE(points(lab->window<RateGraphWindow>()->referenceSeries).isEmpty());
    EXPECT_TRUE(points(lab->window<RateGraphWindow>()->experimentalSeries).isEmpty());
    EXPECT_TRUE(messages->texts().isEmpty());
}

TEST_F(GraphWindowTest, NextDrawsTheLineToTube4ThenTheReferenceAndGradesOnce) {
    ASSERT_TRUE(session().registerStudent("ХТ-21", "Петрова А.В."));
    lab->window<MainWindow>()->variantChooser->setCurrentIndex(
        2);  // variant 3: V 0.083, C 0.1 in the sample data
    fillTable({"0,04", "0,06", "0,08", "0,1"}, {"0,03", "0,04", "0,05", "0,06"});
    int ticks = 0;
    QStringList messagesWhileGrowing, messagesInside;
    bool referenceBeforeEnd = true;
    QRgb pictureAfter = 0;
    openGraph([&] {
        QTest::mouseClick(lab->window<RateGraphWindow>()->nextLink, Qt::LeftButton);
        referenceBeforeEnd = !points(lab->window<RateGraphWindow>()->referenceSeries).isEmpty();
        EXPECT_FALSE(lab->window<RateGraphWindow>()->nextLink->isVisible());
        EXPECT_TRUE(lab->window<RateGraphWindow>()->backLink->isVisible());
        // The grade waits for the graph: nothing while the student's line grows.
        for (int i = 0; i < 50; ++i) lab->window<RateGraphWindow>()->lineGrowthTimer->fire();
        messagesWhileGrowing = messages->texts();
        EXPECT_TRUE(points(lab->window<RateGraphWindow>()->referenceSeries).isEmpty());
        runDown(lab->window<RateGraphWindow>()->lineGrowthTimer, &ticks);
        ticks += 50;
        messagesInside = messages->messageTexts();
        pictureAfter = lab->window<RateGraphWindow>()->footer->image().pixel(5, 5);
    });
    EXPECT_TRUE(messagesWhileGrowing.isEmpty()) << messagesWhileGrowing.join("\n").toStdString();
    EXPECT_EQ(messagesInside, QStringList{"Оценка за выполнение опыта№1: 4,5 !!!!"});
    EXPECT_FALSE(referenceBeforeEnd);
    EXPECT_EQ(ticks, 51);
    const QList<QPointF> line = points(lab->window<RateGraphWindow>()->experimentalSeries);
    ASSERT_EQ(line.size(), 51);
    EXPECT_EQ(line.first(), QPointF(0, 0));
    EXPECT_EQ(line.last().x(), 0.1);
    EXPECT_EQ(line.last().y(), 0.06);
    EXPECT_TRUE(std::is_sorted(line.begin(), line.end(),
                               [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); }));
    EXPECT_EQ(points(lab->window<RateGraphWindow>()->referenceSeries),
              (QList<QPointF>{{0, 0}, {0.1, 0.083}}));
    // The picture of the finished graph (the sample tree's 7.jpg is a pale cyan).
    EXPECT_GT(qBlue(pictureAfter), qRed(pictureAfter) + 20);
    EXPECT_EQ(results().score(1, 1), 4.5f);

    // A second visit: no new grade.
    messages->clear();
    openGraph([] {});
    EXPECT_FALSE(lab->window<RateGraphWindow>()->nextLink->isVisible());
    EXPECT_TRUE(messages->texts().isEmpty());
    EXPECT_EQ(points(lab->window<RateGraphWindow>()->measuredPoints).size(), 10);
}

TEST_F(GraphWindowTest, ZeroConcentrationAtTube4DrawsOnlyTheReferenceLine) {
    fillTable({"0,04", "0,06", "0,08", "0"}, {"0,03", "0,04", "0,06", "0,07"});
    openGraph(
        [this] { QTest::mouseClick(lab->window<RateGraphWindow>()->nextLink, Qt::LeftButton); });
    EXPECT_FALSE(lab->window<RateGraphWindow>()->lineGrowthTimer->enabled());
    EXPECT_TRUE(points(lab->window<RateGraphWindow>()->experimentalSeries).isEmpty());
    EXPECT_EQ(points(lab->window<RateGraphWindow>()->referenceSeries).size(), 2);
    // Concentration grade 1, rate grade 5 against variant 1's tube 4 (V 0.081, C 0.1).
    EXPECT_EQ(messages->messageTexts(), QStringList{"Оценка за выполнение опыта№1: 3 !!!!"});
}

TEST_F(GraphWindowTest, WithoutAStudentTheGradeIsShownAndNothingIsWritten) {
    fillTable({"0,04", "0,06", "0,08", "0,1"}, {"0,03", "0,04", "0,06", "0,081"});
    openGraph(
        [this] { QTest::mouseClick(lab->window<RateGraphWindow>()->nextLink, Qt::LeftButton); });
    EXPECT_EQ(messages->messageTexts(), QStringList{"Оценка за выполнение опыта№1: 5 !!!!"});
    EXPECT_TRUE(tree->read("BDStudent.rez").isEmpty());
}

TEST_F(GraphWindowTest, ATableTextThatIsNotANumberIsReportedAndTheWindowStaysShut) {
    fillTable({"0,04", ",", "0,08", "0,1"}, {"0,03", "0,04", "0,06", "0,07"});
    int shown = 0;
    openGraph([&] { ++shown; });
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(messages->errorTexts(),
              QStringList{QStringLiteral(
                  "В столбце \"C` Na2S2O3 моль/л\" для пробирки 2 записано не число.")});
    EXPECT_EQ(points(lab->window<RateGraphWindow>()->measuredPoints).size(),
              2);  // the origin and row 1 stay
}

TEST_F(GraphWindowTest, LinksTurnRedUnderThePointerAndBlackOverThePicture) {
    lab->window<RateGraphWindow>()->backLink->show();
    Q_EMIT lab->window<RateGraphWindow>()->nextLink->mouseMove(3, 3);
    Q_EMIT lab->window<RateGraphWindow>()->backLink->mouseMove(3, 3);
    EXPECT_EQ(lab->window<RateGraphWindow>()->nextLink->fontColor(), 0x0000FFu);
    EXPECT_EQ(lab->window<RateGraphWindow>()->backLink->fontColor(), 0x0000FFu);
    Q_EMIT lab->window<RateGraphWindow>()->footer->mouseMove(100, 10);
    EXPECT_EQ(lab->window<RateGraphWindow>()->nextLink->fontColor(), 0u);
    EXPECT_EQ(lab->window<RateGraphWindow>()->backLink->fontColor(), 0u);
}

TEST_F(GraphWindowTest, AStudentExactlyOnTheBandEdgesIsGradedFive) {
    // Variant 1's tube 4 at V 0,05 and C 0,025: 0,0225 is the concentration's lower edge, 0,07
    // the rate's upper edge.
    QByteArray dannie = sampleDannieTxt();
    dannie.replace("4 0.081 0.1\n", "4 0.05 0.025\n");
    ASSERT_NE(dannie, sampleDannieTxt());
    tree->write("Dannie.txt", dannie);
    loadReferenceData(lab->referenceData(), *lab);
    ASSERT_TRUE(messages->texts().isEmpty());
    session().registerStudent(QStringLiteral("КРЛ-99-1"), QStringLiteral("Ларцев О.Е."));
    fillTable({"0,009", "0,0135", "0,018", "0,0225"}, {"0,03", "0,04", "0,06", "0,07"});
    openGraph(
        [this] { QTest::mouseClick(lab->window<RateGraphWindow>()->nextLink, Qt::LeftButton); });
    EXPECT_EQ(messages->messageTexts(), QStringList{"Оценка за выполнение опыта№1: 5 !!!!"});
    const QByteArray file = tree->read("BDStudent.rez");
    ASSERT_EQ(file.size(), StudentBlockSize);
    EXPECT_EQ(qFromLittleEndian<float>(file.constData() + 44), 5.0f);
}

// The grade box stands beside the window, or below the chart where the screen has no room
// around it, never over the graph it grades; wherever the window stands on the screen.
TEST_F(GraphWindowTest, TheGradeBoxLeavesTheChartInView) {
    fillTable({"0,04", "0,06", "0,08", "0,1"}, {"0,03", "0,04", "0,06", "0,081"});
    RateGraphWindow* graph = lab->window<RateGraphWindow>();
    const QRect area = graph->screen()->availableGeometry();
    int checked = 0;
    openGraph([&] {
        for (const QPoint& at : {graph->pos(), area.topLeft(), QPoint(area.right() - 560, 0),
                                 QPoint(area.center().x() - 277, area.bottom() - 520),
                                 // no room above or below for the larger box
                                 QPoint(area.center().x() - 277, (area.height() - 486) / 2)}) {
            graph->move(at);
            const QRect chart(graph->chartView->mapToGlobal(QPoint(0, 0)),
                              graph->chartView->size());
            for (const QSize box : {QSize(260, 110), QSize(420, 150)}) {
                const QRect placed(graph->boxPosition(box), box);
                EXPECT_FALSE(placed.intersects(chart))
                    << "window at " << at.x() << "," << at.y() << ", box " << box.width() << "x"
                    << box.height() << " at " << placed.x() << "," << placed.y();
                EXPECT_TRUE(area.contains(placed)) << placed.x() << "," << placed.y();
                ++checked;
            }
        }
    });
    EXPECT_EQ(checked, 10);
}

// «Назад» while the line still grows completes it at once: the grade is given, not lost.
TEST_F(GraphWindowTest, LeavingWhileTheLineGrowsCompletesItAndGrades) {
    ASSERT_TRUE(session().registerStudent("ХТ-21", "Петрова А.В."));
    fillTable({"0,04", "0,06", "0,08", "0,1"}, {"0,03", "0,04", "0,06", "0,081"});
    openGraph([&] {
        QTest::mouseClick(lab->window<RateGraphWindow>()->nextLink, Qt::LeftButton);
        lab->window<RateGraphWindow>()->lineGrowthTimer->fire();
        EXPECT_TRUE(messages->texts().isEmpty());
    });
    EXPECT_FALSE(lab->window<RateGraphWindow>()->lineGrowthTimer->enabled());
    EXPECT_EQ(points(lab->window<RateGraphWindow>()->experimentalSeries).last(),
              QPointF(0.1, 0.081));
    EXPECT_EQ(points(lab->window<RateGraphWindow>()->referenceSeries).size(), 2);
    EXPECT_EQ(messages->messageTexts(), QStringList{"Оценка за выполнение опыта№1: 5 !!!!"});
    EXPECT_EQ(results().score(1, 1), 5.f);
}
