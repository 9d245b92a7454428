#include "core/ProgramDir.h"

#include <QCoreApplication>

namespace {
QString overrideDir;
}

QString ProgramDir() {
    if (!overrideDir.isEmpty()) return overrideDir;
    return QCoreApplication::applicationDirPath();
}

void setProgramDirForTests(const QString& dir) {
    overrideDir = dir;
    while (overrideDir.endsWith('/') && overrideDir.size() > 1) overrideDir.chop(1);
}

QString assetPath(const QString& relativePath) {
    QString rel = relativePath;
    rel.replace('\\', '/');
    if (!rel.startsWith('/')) rel.prepend('/');
    return ProgramDir() + rel;
}
