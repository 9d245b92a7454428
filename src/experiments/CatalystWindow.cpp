#include "experiments/CatalystWindow.h"

#include "movie/MoviePlayer.h"
#include "shell/Loaders.h"
#include "toolkit/Controls.h"

TForm6::TForm6(QWidget* parent)
    : LabWindow(QStringLiteral("Опыт3 Влияние катализатора на скорость реакции"), QSize(715, 505), Border::None, parent) {
    Image1 = new Picture(this);
    Image1->setGeometry(0, 0, 715, 505);
    Flash1 = new MoviePlayer(this);
    Flash1->setGeometry(5, 65, 705, 350);
    FormCreate();
}

void TForm6::FormCreate() {
    LoadPicture(Image1, QStringLiteral("\\BackGround\\Opit.jpg"));
}

void TForm6::prepareRun() {}
