#include "app/SplashWindow.h"

#include "shell/Loaders.h"
#include "toolkit/Picture.h"

SplashWindow::SplashWindow(Navigation& navigation, QWidget* parent)
    : LabWindow(QStringLiteral("Заставка"), QSize(488, 288), Border::None, parent) {
    picture_ = new Picture(this);
    picture_->setGeometry(0, 0, 488, 288);
    loadContents(navigation);
}

void SplashWindow::loadContents(Navigation& navigation) {
    loadPicture(navigation, picture_, QStringLiteral("\\BackGround\\ZGround.jpg"));
}
