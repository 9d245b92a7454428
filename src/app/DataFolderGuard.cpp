#include "app/DataFolderGuard.h"

#include "lab/ProgramDir.h"
#include "toolkit/MessageBoxes.h"

QString dataFolderRefusalMessage(const QString& folder, DataFolderProblem problem) {
    QString why;
    switch (problem) {
        case DataFolderProblem::OwnedByAnotherUser:
            why = QStringLiteral("она принадлежит другому пользователю");
            break;
        case DataFolderProblem::WritableByGroup:
            why = QStringLiteral("в неё могут записывать другие пользователи её группы");
            break;
        case DataFolderProblem::WritableByOthers:
            why = QStringLiteral("в неё могут записывать все пользователи компьютера");
            break;
        default:
            why = QStringLiteral("она недоступна");
    }
    return QStringLiteral("Папка данных ") + folder +
           QStringLiteral(" не подходит для хранения оценок: ") + why +
           QStringLiteral(
               ". Посторонние могли бы изменить или подменить в ней файл результатов и журнал. "
               "Закройте запись в папку для других пользователей (например, "
               "chmod 700) или укажите другую папку в reaktikum.ini. Оценки "
               "нескольких пользователей собирает сервер журнала класса. Выполнение "
               "программы будет остановлено!!!");
}

bool acceptDataFolder() {
    const DataFolderProblem problem = currentDataFolderProblem();
    // A folder that could not be made is told by the results file's own message when it is
    // used, as before.
    if (problem == DataFolderProblem::None || problem == DataFolderProblem::Missing) return true;
    showErrorBox(dataFolderRefusalMessage(dataFolder(), problem));
    return false;
}
