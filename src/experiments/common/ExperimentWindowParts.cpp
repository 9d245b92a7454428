#include "experiments/common/ExperimentWindowParts.h"

#include <QPushButton>

#include "shell/Program.h"
#include "toolkit/Fonts.h"
#include "toolkit/LabWindow.h"

QPushButton* makeButton(QWidget* parent, const QString& text, bool arialBold) {
    auto* button = new QPushButton(text, parent);
    if (arialBold) button->setFont(labFont(QStringLiteral("Arial"), 13, true));
    return button;
}

void returnToMainWindow(LabWindow* window) {
    showMainWindow();
    window->closeForm();
}
