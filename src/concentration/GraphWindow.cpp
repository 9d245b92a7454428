#include "concentration/GraphWindow.h"


TForm8::TForm8(QWidget* parent)
    : LabWindow(QStringLiteral("График"), QSize(555, 486), Border::Tool, parent) {
    FormCreate();
}

void TForm8::FormCreate() {
}
