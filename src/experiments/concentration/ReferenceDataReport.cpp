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

QString malformedReferenceNumberMessage(const QString& fullPath,
                                        const ReferenceNumberError& error) {
    const QString where =
        QStringLiteral("В файле ") + fullPath + QStringLiteral(" в строке %1 ").arg(error.line);
    return where + (error.kind == ReferenceNumberError::Kind::OutOfRange
                        ? QStringLiteral("записано слишком большое число: «%1».")
                        : QStringLiteral("вместо числа записано «%1»."))
                       .arg(error.text);
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
        showErrorBox(malformedReferenceNumberMessage(path, *load.malformed));
    }
    if (!load.complete) {
        showErrorBox(incompleteReferenceDataMessage(path));
        navigation.endProgram();
    }
}
