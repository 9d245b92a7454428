#include "students/RegistrationWindow.h"

#include "shell/LabState.h"
#include "shell/Program.h"
#include "toolkit/Colors.h"

TForm11::TForm11(QWidget* parent)
    : LabWindow(QStringLiteral("  Регистрация"), QSize(226, 91), Border::ToolNoButtons, parent) {
    FormCreate();
}

void TForm11::FormCreate() {
    setBackgroundColor(delphiColor(LabColors::GoldenYellow));
    if (LabState.StartupFailed) requestMainWindowClose();
}
