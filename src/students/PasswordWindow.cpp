#include "students/PasswordWindow.h"

#include "toolkit/Colors.h"

TForm12::TForm12(QWidget* parent)
    : LabWindow(QStringLiteral("Введите пароль"), QSize(183, 74), Border::Tool, parent) {
    FormCreate();
}

void TForm12::FormCreate() {
    setBackgroundColor(delphiColor(LabColors::GoldenYellow));
}
