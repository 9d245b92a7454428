#include "AssetTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "Chemistry.h"
#include "swf/SwfWriter.h"

namespace assets {

std::vector<MovieAsset> movieAssets() {
    std::vector<MovieAsset> out;
    addIntroMovies(out);
    addConcentrationMovies(out);
    addTemperatureMovies(out);
    addCatalystMovies(out);
    addEquilibriumMovies(out);
    return out;
}

std::vector<FileAsset> allAssets() {
    std::vector<FileAsset> out = pictureAssets();
    for (const MovieAsset& m : movieAssets())
        out.push_back({m.path, [make = m.make] { return swf::writeMovie(make().build()); }});
    out.push_back({QStringLiteral("Dannie.txt"), [] { return chemistry::dannieTxt(); }});
    out.push_back({QStringLiteral("BDStudent.rez"), [] { return QByteArray(); }});
    return out;
}

namespace {
bool writeIfChanged(const QString& path, const QByteArray& bytes, QString* error) {
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.size() == bytes.size() &&
        existing.readAll() == bytes)
        return true;
    existing.close();
    if (!QDir().mkpath(QFileInfo(path).path())) {
        if (error) *error = QStringLiteral("cannot create the folder of ") + path;
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error) *error = QStringLiteral("cannot write ") + path + ": " + file.errorString();
        return false;
    }
    return true;
}
}  // namespace

bool writeAssetTree(const QString& dir, QString* error) {
    for (const FileAsset& a : allAssets()) {
        // The results file belongs to the students once it exists: never overwrite it.
        const QString path = dir + '/' + a.path;
        if (a.path == QLatin1String("BDStudent.rez") && QFileInfo::exists(path)) continue;
        if (!writeIfChanged(path, a.bytes(), error)) return false;
    }
    return true;
}

}  // namespace assets
