#include "shell/AboutWindow.h"


TForm3::TForm3(QWidget* parent)
    : LabWindow(QStringLiteral("О программе"), QSize(360, 151), Border::Tool, parent) {
    FormCreate();
}

void TForm3::FormCreate() {
}
