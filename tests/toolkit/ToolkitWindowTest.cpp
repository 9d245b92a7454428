#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest/QTest>

#include "TestSupport.h"
#include "toolkit/LabWindow.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/RadioGroup.h"

namespace {
class CountingWindow : public LabWindow {
public:
    explicit CountingWindow(Border border = Border::None)
        : LabWindow(QStringLiteral("w"), QSize(200, 100), border) {}
    int activations = 0;
    std::function<void()> onActivate;

protected:
    void onActivated() override {
        ++activations;
        if (onActivate) onActivate();
    }
};

class ToolkitWindowTest : public ::testing::Test {
protected:
    void SetUp() override { LabWindow::resetActivation(); }
    void TearDown() override {
        LabWindow::setModalHook(nullptr);
        LabWindow::resetActivation();
        LabWindow::resetTermination();
    }
};
}  // namespace

TEST_F(ToolkitWindowTest, WindowsAreCreatedHiddenWithTheirFixedClientSize) {
    CountingWindow w;
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.size(), QSize(200, 100));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
    CountingWindow tool(LabWindow::Border::ToolNoButtons);
    EXPECT_FALSE(tool.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST_F(ToolkitWindowTest, ActivationRunsOnlyWhenComingFromAnotherWindow) {
    CountingWindow main;
    CountingWindow experiment;
    main.showAndActivate();
    EXPECT_EQ(main.activations, 1);
    main.showAndActivate();  // already the active window: nothing new
    EXPECT_EQ(main.activations, 1);

    experiment.showAndActivate();
    main.hide();
    EXPECT_EQ(experiment.activations, 1);
    main.showAndActivate();  // back from the experiment window
    experiment.hide();
    EXPECT_EQ(main.activations, 2);
}

TEST_F(ToolkitWindowTest, ClosingAModalWindowOrMessageBoxDoesNotReactivateItsOwner) {
    CountingWindow main;
    CountingWindow modal(LabWindow::Border::Tool);
    main.showAndActivate();
    ASSERT_EQ(main.activations, 1);

    int modalShownVisible = 0;
    LabWindow::setModalHook([&](LabWindow& w) {
        if (w.isVisible()) ++modalShownVisible;
        showMessageBox(QStringLiteral("inside"));
        w.done();
    });
    MessageRecorder recorder;
    modal.exec();
    EXPECT_EQ(modalShownVisible, 1);
    EXPECT_FALSE(modal.isVisible());
    EXPECT_EQ(modal.activations, 1);
    EXPECT_EQ(LabWindow::activeWindow(), &main);
    // The focus coming back from the modal window is no fresh activation.
    QApplication::processEvents();
    EXPECT_EQ(main.activations, 1);

    // A modal window shown a second time activates again: it comes from its owner.
    modal.exec();
    EXPECT_EQ(modal.activations, 2);
    EXPECT_EQ(recorder.messageTexts(), QStringList({"inside", "inside"}));
}

TEST_F(ToolkitWindowTest, TimersKeepFiringInsideAModalLoop) {
    CountingWindow modal(LabWindow::Border::Tool);
    int ticks = 0;
    QTimer timer;
    timer.setInterval(1);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (++ticks == 3) modal.done();
    });
    LabWindow::setModalHook([&](LabWindow&) { timer.start(); });
    modal.exec();
    EXPECT_GE(ticks, 3);
}

TEST_F(ToolkitWindowTest, EndingTheProgramCancelsModalLoopsAtOnce) {
    CountingWindow outer(LabWindow::Border::Tool);
    CountingWindow inner(LabWindow::Border::Tool);
    bool innerReturned = false;
    LabWindow::setModalHook([&](LabWindow& w) {
        if (&w == &outer) {
            inner.exec();
            innerReturned = true;
        } else {
            LabWindow::terminateModalLoops();
        }
    });
    outer.exec();
    EXPECT_TRUE(innerReturned);
    EXPECT_FALSE(outer.isVisible());
    // Once ending, a new modal window returns without running.
    bool hookRan = false;
    LabWindow::setModalHook([&](LabWindow&) { hookRan = true; });
    inner.exec();
    QApplication::processEvents();
    EXPECT_FALSE(hookRan);
}

TEST_F(ToolkitWindowTest, LinkLabelClickNeedsPressAndReleaseOverIt) {
    CountingWindow w;
    auto* link = new LinkLabel(QStringLiteral("Далее"), &w);
    link->setGeometry(10, 10, 60, 20);
    w.showAndActivate();
    int clicks = 0;
    QObject::connect(link, &LinkLabel::clicked, [&] { ++clicks; });
    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
    QTest::mousePress(link, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(100, 5));  // released elsewhere
    EXPECT_EQ(clicks, 1);
}

TEST_F(ToolkitWindowTest, RadioGroupReportsOnlyAChangedChoice) {
    RadioGroup group(QStringLiteral("g"));
    group.resize(120, 60);
    group.setItems({"-->", "<--"});
    int clicks = 0;
    QObject::connect(&group, &RadioGroup::clicked, [&] { ++clicks; });
    group.setItemIndex(1);
    group.setItemIndex(1);
    group.button(1)->click();
    EXPECT_EQ(clicks, 1);
    group.button(0)->click();
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(group.itemIndex(), 0);
}

// A message box's button reads «ОК» in Cyrillic letters, as the laboratory's own buttons do,
// not the desktop's Latin "OK", and carries no theme icon.
TEST_F(ToolkitWindowTest, StyledMessageBoxSaysOkAsTheLaboratoryDoes) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Реактикум"), QStringLiteral("Вы правы!!!"),
                    QMessageBox::Ok);
    styleMessageBox(box);
    QAbstractButton* ok = box.button(QMessageBox::Ok);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("\u041E\u041A"));  // О and К of the Cyrillic alphabet
    EXPECT_TRUE(ok->icon().isNull());
    EXPECT_EQ(box.buttons().size(), 1);
}
