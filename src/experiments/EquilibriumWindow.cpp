#include "experiments/EquilibriumWindow.h"

#include "movie/MoviePlayer.h"
#include "shell/Loaders.h"
#include "toolkit/Controls.h"

TForm7::TForm7(QWidget* parent)
    : LabWindow(QStringLiteral("Опыт 4 Смешение химического равновесия обратимой реакции"), QSize(715, 505), Border::None, parent) {
    Image1 = new Picture(this);
    Image1->setGeometry(0, 0, 715, 505);
    Flash1 = new MoviePlayer(this);
    Flash1->setGeometry(5, 65, 705, 400);
    Flash1->setPlay(false);
    Flash1->setLoop(false);
    FormCreate();
}

void TForm7::FormCreate() {
    LoadPicture(Image1, QStringLiteral("\\BackGround\\Opit.jpg"));
}

void TForm7::prepareRun() {}
