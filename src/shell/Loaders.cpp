#include "shell/Loaders.h"

#include <errno.h>

#include <QRegularExpression>
#include <cstring>

#include "lab/FileAccess.h"
#include "lab/ProgramDir.h"
#include "lab/ResultsFile.h"
#include "movie/MoviePlayer.h"
#include "shell/Navigation.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/Picture.h"

QString cannotOpenFileMessage(const QString& fullPath) {
    return QStringLiteral("Невозможно открыть файл по адресу: ") + fullPath +
           QStringLiteral(". Выполнение программы будет остановлено!!!");
}

QString saveFailureReason(int error) {
    switch (error) {
        case ENOSPC:
            return QStringLiteral("Недостаточно места на диске");
        case EDQUOT:
            return QStringLiteral("Превышена дисковая квота пользователя");
        case EFBIG:
            return QStringLiteral("Превышен допустимый размер файла");
        case EIO:
            return QStringLiteral("Ошибка ввода-вывода при записи на диск");
        case EROFS:
            return QStringLiteral("Диск доступен только для чтения");
        case EACCES:
        case EPERM:
            return QStringLiteral("Нет прав на запись в файл или папку");
        case 0:
            return QStringLiteral("Запись не удалась");
        default:
            return QStringLiteral("Ошибка записи (%1)")
                .arg(QString::fromLocal8Bit(strerror(error)));
    }
}

QString saveFailedMessage(const QString& fullPath, int error) {
    return QStringLiteral("Не удалось сохранить результаты в файл ") + fullPath +
           QStringLiteral(": ") + saveFailureReason(error) +
           QStringLiteral(
               ". Прежнее содержимое файла не изменено; новые данные остаются в памяти "
               "программы и будут записаны при следующем удачном сохранении.");
}

QString notAFileMessage(const QString& fullPath) {
    return QStringLiteral("По адресу ") + fullPath +
           QStringLiteral(
               " находится не обычный файл (символическая ссылка или устройство): "
               "программа не читает и не записывает его. Выполнение программы будет "
               "остановлено!!!");
}

void reportFailuresOf(ResultsFile& results, Navigation& navigation) {
    results.onFailure = [&navigation](const ResultsFileFailure& failure) {
        switch (failure.kind) {
            case ResultsFileFailure::Kind::CannotSave:
                // The table keeps what the file could not take: the student works on, and the
                // next save that succeeds writes it.
                showErrorBox(saveFailedMessage(failure.path, failure.error));
                return;
            case ResultsFileFailure::Kind::NotAFile:
                showErrorBox(notAFileMessage(failure.path));
                break;
            default:
                showErrorBox(cannotOpenFileMessage(failure.path));
        }
        navigation.endProgram();
    };
}

namespace {
QString missingMovieMessage(const QString& fullPath) {
    return QStringLiteral(
               "Возможно отсутствуют необходимые файлы для дальнейшей работы программы: не "
               "удаётся прочитать файл ") +
           fullPath + QStringLiteral(". Выполнение программы будет остановлено!!!");
}

// What a movie shows, for screen readers: which experiment, which step, which variant.
QString movieDescription(const QString& relativePath) {
    static const QRegularExpression step(QStringLiteral(R"(Opyt(\d)[\\/](\d+)(?:_(\d+))?\.swf$)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = step.match(relativePath);
    if (m.hasMatch()) {
        QString text = QStringLiteral("Опыт %1, шаг %2").arg(m.captured(1), m.captured(2));
        if (m.hasCaptured(3)) text += QStringLiteral(", вариант %1").arg(m.captured(3));
        return text + QStringLiteral(": анимация лабораторной работы");
    }
    if (relativePath.contains(QLatin1String("About"), Qt::CaseInsensitive))
        return QStringLiteral("Анимация окна «О программе»");
    return QStringLiteral("Вступительная анимация: лабораторная посуда и реактивы");
}
}  // namespace

void loadMovie(Navigation& navigation, MoviePlayer* player, const QString& relativePath) {
    if (player) player->setAccessibleDescription(movieDescription(relativePath));
    // An installed program folder is read-only by design: there a movie need only be readable.
    const bool probed = isPortable() ? probeReadWrite(assetPath(relativePath))
                                     : probeReadable(assetPath(relativePath));
    if (!probed) {
        showErrorBox(missingMovieMessage(assetPath(relativePath)));
        navigation.endProgram();
    }
    // The path goes to the player regardless; a file already reported missing is not reported
    // a second time when the player cannot show it either.
    QString error;
    const bool loaded = player && player->setMovie(assetPath(relativePath), &error);
    if (!loaded && probed) {
        showErrorBox(QStringLiteral(
            "Возможно отсутствуют необходимые файлы для дальнейшей работы программы. Выполнение "
            "программы будет остановлено!!!"));
        navigation.endProgram();
    }
}

void loadPicture(Navigation& navigation, Picture* image, const QString& relativePath) {
    const QString path = assetPath(relativePath);
    if (image && image->loadFromFile(path)) return;
    showErrorBox(cannotOpenFileMessage(path));
    navigation.endProgram();
}
