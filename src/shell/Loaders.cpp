#include "shell/Loaders.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>

#include "movie/MoviePlayer.h"
#include "shell/LabState.h"
#include "shell/Program.h"
#include "shell/ProgramDir.h"
#include "toolkit/Controls.h"
#include "toolkit/MessageBoxes.h"

namespace {
// The movie must open for reading and writing, as the player of the original demanded:
// a missing, read-only or unreachable file fails; an empty file passes.
bool probeReadWrite(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    return ::close(fd) == 0;
}
}  // namespace

QString cannotOpenFileMessage(const QString& fullPath) {
    return QStringLiteral("Невозможно открыть файл по адресу: ") + fullPath +
           QStringLiteral(". Выполнение программы будет остановлено!!!");
}

void LoadMovie(MoviePlayer* player, const QString& relativePath) {
    if (!probeReadWrite(assetPath(relativePath))) {
        showErrorBox(QStringLiteral(
            "Возможно отсутствуют необходимые файлы для дальнейшей работы программы, либо не "
            "установлена компанента Flash Player 6 AX. Выполнение программы будет "
            "остановлено!!!"));
        LabState.StartupFailed = true;
        requestMainWindowClose();
    }
    QString error;
    if (!player || !player->setMovie(assetPath(relativePath), &error)) {
        showErrorBox(QStringLiteral(
            "Возможно отсутствуют необходимые файлы для дальнейшей работы программы. Выполнение "
            "программы будет остановлено!!!"));
        requestMainWindowClose();
    }
}

void LoadPicture(Picture* image, const QString& relativePath) {
    const QString path = assetPath(relativePath);
    if (image && image->loadFromFile(path)) return;
    showErrorBox(cannotOpenFileMessage(path));
    LabState.StartupFailed = true;
    requestMainWindowClose();
}
