#include "experiments/concentration/ReferenceDataReport.h"

#include "lab/ProgramDir.h"
#include "lab/ReferenceData.h"
#include "shell/Loaders.h"
#include "shell/Navigation.h"
#include "toolkit/MessageBoxes.h"

QString incompleteReferenceDataMessage(const QString& fullPath) {
    return QStringLiteral("Файл ") + fullPath +
           QStringLiteral(" содержит неполные данные. Выполнение программы будет остановлено!!!");
}

void loadReferenceData(ReferenceData& data, Navigation& navigation) {
    const QString path = assetPath(QStringLiteral("\\Dannie.txt"));
    const ReferenceData::Load load = data.load(path);
    if (!load.opened) {
        showErrorBox(cannotOpenFileMessage(path));
        navigation.endProgram();
        return;
    }
    if (load.malformed) {
        qWarning("Dannie.txt: %s", qUtf8Printable(load.malformed->describe()));
        showErrorBox(QStringLiteral("Invalid numeric input"));
    }
    if (!load.complete) {
        showErrorBox(incompleteReferenceDataMessage(path));
        navigation.endProgram();
    }
}
