#include "shell/SplashWindow.h"

#include "shell/Loaders.h"
#include "toolkit/Controls.h"

TForm2::TForm2(QWidget* parent)
    : LabWindow(QStringLiteral("Заставка"), QSize(488, 288), Border::None, parent) {
    Image1 = new Picture(this);
    Image1->setGeometry(0, 0, 488, 288);
    FormCreate();
}

void TForm2::FormCreate() {
    LoadPicture(Image1, QStringLiteral("\\BackGround\\ZGround.jpg"));
}
