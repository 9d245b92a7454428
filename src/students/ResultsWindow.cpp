#include "students/ResultsWindow.h"

#include "toolkit/Colors.h"

TForm10::TForm10(QWidget* parent)
    : LabWindow(QStringLiteral("Результаты"), QSize(541, 458), Border::Tool, parent) {
    FormCreate();
}

void TForm10::FormCreate() {
    setBackgroundColor(delphiColor(LabColors::GoldenYellow));
}
