#include "experiments/TemperatureWindow.h"

#include "movie/MoviePlayer.h"
#include "shell/Loaders.h"
#include "toolkit/Controls.h"

TForm5::TForm5(QWidget* parent)
    : LabWindow(QStringLiteral("Опыт2 Влияние температуры на скорость реакции"), QSize(715, 505), Border::None, parent) {
    Image1 = new Picture(this);
    Image1->setGeometry(0, 0, 715, 505);
    Flash1 = new MoviePlayer(this);
    Flash1->setGeometry(4, 63, 705, 350);
    FormCreate();
}

void TForm5::FormCreate() {
    LoadPicture(Image1, QStringLiteral("\\BackGround\\Opit.jpg"));
}

void TForm5::prepareRun() {}
