#include <gtest/gtest.h>

#include "PointerInput.h"
#include "TestSupport.h"
#include "movie/MoviePlayer.h"
#include "shell/AboutWindow.h"
#include "shell/Forms.h"
#include "shell/LabState.h"
#include "shell/MainWindow.h"
#include "toolkit/Colors.h"
#include "toolkit/Controls.h"

namespace {
class AboutWindowTest : public LabTest {
protected:
    void SetUp() override {
        LabTest::SetUp();
        createWindows();
        LabState.RegistrationShown = true;
        Form1->showForm();
    }
};
}  // namespace

TEST_F(AboutWindowTest, OkIsGreyBlackUnderThePointerGreyOverThePictureAndClosesTheWindow) {
    QList<uint> colours;
    bool modal = false;
    LabWindow::setModalHook([&](LabWindow& w) {
        if (&w != Form3) return;
        modal = Form3->isShownModally();
        colours << Form3->Label9->fontColor();
        pointer::move(Form3->Label9, {5, 5});
        colours << Form3->Label9->fontColor();
        pointer::move(Form3->Flash1, {50, 50});  // the movie does not reset it
        colours << Form3->Label9->fontColor();
        pointer::move(Form3->Image1, {100, 60});
        colours << Form3->Label9->fontColor();
        pointer::click(Form3->Label9, {5, 5});
    });
    pointer::click(Form1->Label16);
    EXPECT_TRUE(modal);
    EXPECT_EQ(colours, (QList<uint>{0x808080, 0x000000, 0x000000, 0x808080}));
    EXPECT_FALSE(Form3->isVisible());
    EXPECT_EQ(LabWindow::activeForm(), static_cast<LabWindow*>(Form1));
    EXPECT_EQ(Form3->Label9->text(), QStringLiteral("ОК"));
}

TEST_F(AboutWindowTest, ShowsTheCreditsOverTheGradientBesideTheLoopingMovie) {
    EXPECT_EQ(Form3->windowTitle(), QStringLiteral("О программе"));
    EXPECT_EQ(Form3->size(), QSize(360, 151));
    EXPECT_EQ(Form3->border(), LabWindow::Border::Tool);
    EXPECT_TRUE(Form3->Flash1->movie().endsWith(QStringLiteral("/BackGround/About.swf")));
    EXPECT_TRUE(Form3->Flash1->isPlaying());
    EXPECT_TRUE(Form3->Flash1->loop());

    QStringList credits;
    for (LinkLabel* l : {Form3->Label3, Form3->Label1, Form3->Label8, Form3->Label2, Form3->Label6,
                         Form3->Label4, Form3->Label5, Form3->Label7})
        credits << l->text();
    const QString all = credits.join('\n');
    EXPECT_TRUE(all.contains(QStringLiteral("Реактикум")));
    EXPECT_TRUE(all.contains(QStringLiteral("Виртуальная лаборатория по химии")));
    EXPECT_TRUE(all.contains(QStringLiteral("2026")));
}

TEST_F(AboutWindowTest, OpensTheSameWayTwiceAndTheTitleBarCloseReturnsToTheMainWindow) {
    int opened = 0;
    QString movie;
    LabWindow::setModalHook([&](LabWindow& w) {
        if (&w != Form3) return;
        ++opened;
        movie = Form3->Flash1->movie();
        Form3->close();
    });
    pointer::click(Form1->Label16);
    pointer::click(Form1->Label16);
    EXPECT_EQ(opened, 2);
    EXPECT_TRUE(movie.endsWith(QStringLiteral("/BackGround/About.swf")));
    EXPECT_FALSE(Form3->isVisible());
    EXPECT_TRUE(Form1->isVisible());
}
