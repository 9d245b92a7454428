// assetgen: draws the program's pictures and movies and writes the whole asset tree.
//
//   assetgen OUTPUT_DIR                 write the tree (files whose bytes are unchanged stay)
//   assetgen --preview DIR [FILTER [FRAME...]]
//                                       paint frames of every movie (or those whose path
//                                       contains FILTER) to PNG files for looking at them
//   assetgen --icons DIR NAME           write the program's icon as DIR/hicolor/.../NAME

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "AssetTree.h"
#include "Icon.h"

namespace {
int preview(const QString& dir, const QString& filter, const QList<int>& wanted) {
    QDir().mkpath(dir);
    for (const assets::MovieAsset& m : assets::movieAssets()) {
        if (!filter.isEmpty() && !m.path.contains(filter)) continue;
        const Scene scene = m.make();
        const int last = scene.frameCount() - 1;
        QList<int> picks = {0, last / 4, last / 2, last * 3 / 4, last};
        if (!wanted.isEmpty()) picks = wanted;
        QString base = m.path;
        base.replace('/', '_').chop(4);
        for (int f : picks)
            if (f <= last)
                scene.preview(f).save(dir + '/' + base +
                                      QStringLiteral("_f%1.png").arg(f, 4, 10, QChar('0')));
        std::printf("%s: %d frames\n", qPrintable(m.path), scene.frameCount());
    }
    for (const assets::FileAsset& p : assets::pictureAssets()) {
        QString name = p.path;
        name.replace('/', '_');
        QFile f(dir + '/' + name);
        if (f.open(QIODevice::WriteOnly)) f.write(p.bytes());
    }
    return 0;
}
}  // namespace

int main(int argc, char** argv) {
    // Drawing text needs a GUI application, never a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 3 && args[1] == QLatin1String("--preview")) {
        QList<int> frames;
        for (qsizetype i = 4; i < args.size(); ++i) frames << args[i].toInt();
        return preview(args[2], args.size() > 3 ? args[3] : QString(), frames);
    }
    if (args.size() == 4 && args[1] == QLatin1String("--icons")) {
        QString error;
        if (icon::writeIconTheme(args[2], args[3], &error)) return 0;
        std::fprintf(stderr, "assetgen: %s\n", qPrintable(error));
        return 1;
    }
    if (args.size() != 2) {
        std::fprintf(
            stderr,
            "usage: assetgen OUTPUT_DIR | --preview DIR [FILTER [FRAME...]] | --icons DIR NAME\n");
        return 2;
    }
    QString error;
    if (!assets::writeAssetTree(args[1], &error)) {
        std::fprintf(stderr, "assetgen: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
