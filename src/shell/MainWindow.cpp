#include "shell/MainWindow.h"

#include <QCloseEvent>
#include <QComboBox>

#include "movie/MoviePlayer.h"
#include "shell/Forms.h"
#include "shell/Helpers.h"
#include "shell/LabState.h"
#include "shell/Loaders.h"
#include "shell/Program.h"
#include "students/RegistrationWindow.h"
#include "toolkit/Colors.h"
#include "toolkit/Controls.h"

TForm1::TForm1(QWidget* parent)
    : LabWindow(QStringLiteral("Реактикум"), QSize(715, 506), Border::None, parent) {
    Image1 = new Picture(this);
    Image1->setGeometry(0, 0, 715, 506);
    Flash1 = new MoviePlayer(this);
    Flash1->setGeometry(119, 96, 585, 361);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setGeometry(202, 266, 145, 21);
    StaticText1 = new StaticText(this);
    StaticText1->setGeometry(429, 269, 26, 20);
    StaticText2 = new StaticText(this);
    StaticText2->setGeometry(566, 269, 26, 20);
    FormCreate();
}

void TForm1::FormCreate() {
    LabState.LinkColors.Idle = 0x999999;
    LabState.LinkColors.Selected = LabColors::Black;
    WaitOneSecond();
    LabState.SelectedExperiment = 1;
    LoadMovie(Flash1, QStringLiteral("\\Movie\\1.swf"));
    LoadPicture(Image1, QStringLiteral("\\BackGround\\Ground.jpg"));
    LabState.RegistrationShown = false;
    LabState.VariantNumber = 1;
}

void TForm1::FormActivate() {
    if (LabState.RegistrationShown) return;
    if (Form11) Form11->showModalForm();
    LabState.RegistrationShown = true;
}

void TForm1::closeEvent(QCloseEvent* event) {
    event->accept();
    requestMainWindowClose();
}
