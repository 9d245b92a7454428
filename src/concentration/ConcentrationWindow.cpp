#include "concentration/ConcentrationWindow.h"

#include "movie/MoviePlayer.h"
#include "shell/Loaders.h"
#include "toolkit/Controls.h"

TForm4::TForm4(QWidget* parent)
    : LabWindow(QStringLiteral("Опыт1 Влияние концентрации на скорость реакции"), QSize(715, 505), Border::None, parent) {
    Image1 = new Picture(this);
    Image1->setGeometry(0, 0, 715, 505);
    Flash1 = new MoviePlayer(this);
    Flash1->setGeometry(5, 64, 705, 350);
    FormCreate();
}

void TForm4::FormCreate() {
    LoadPicture(Image1, QStringLiteral("\\BackGround\\Opit.jpg"));
}

void TForm4::prepareRun() {}
