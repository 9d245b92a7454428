#include "app/SplashWindow.h"

#include "shell/Loaders.h"
#include "toolkit/Picture.h"

SplashWindow::SplashWindow(QWidget* parent)
    : LabWindow(QStringLiteral("Заставка"), QSize(488, 288), Border::None, parent) {
    picture_ = new Picture(this);
    picture_->setGeometry(0, 0, 488, 288);
    loadContents();
}

void SplashWindow::loadContents() {
    loadPicture(picture_, QStringLiteral("\\BackGround\\ZGround.jpg"));
}
