// assetgen: draws the program's pictures and movies and writes the whole asset tree.
//
//   assetgen OUTPUT_DIR                 write the tree (files whose bytes are unchanged stay)
//   assetgen --preview DIR [FILTER [FRAME...]]
//                                       paint frames of every movie (or those whose path
//                                       contains FILTER) to PNG files for looking at them
//   assetgen --icons DIR NAME           write the program's icon as DIR/hicolor/.../NAME

#include <QCommandLineParser>
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

int usage() {
    std::fprintf(
        stderr,
        "usage: assetgen OUTPUT_DIR | --preview DIR [FILTER [FRAME...]] | --icons DIR NAME\n");
    return 2;
}
}  // namespace

int main(int argc, char** argv) {
    // Drawing text needs a GUI application, never a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption previewOption(
        QStringLiteral("preview"),
        QStringLiteral("Paint frames of every movie (or those whose path contains FILTER) to PNG "
                       "files in DIR."),
        QStringLiteral("DIR"));
    const QCommandLineOption iconsOption(
        QStringLiteral("icons"),
        QStringLiteral("Write the program's icon as DIR/hicolor/.../NAME."), QStringLiteral("DIR"));
    parser.addOptions({previewOption, iconsOption});
    parser.addPositionalArgument(QStringLiteral("OUTPUT_DIR"),
                                 QStringLiteral("Write the asset tree here."));
    if (!parser.parse(app.arguments())) return usage();
    const QStringList args = parser.positionalArguments();
    const bool previewing = parser.isSet(previewOption), icons = parser.isSet(iconsOption);
    if (previewing && !icons) {
        QList<int> frames;
        for (qsizetype i = 1; i < args.size(); ++i) frames << args[i].toInt();
        return preview(parser.value(previewOption), args.value(0), frames);
    }
    if (icons && !previewing && args.size() == 1) {
        QString error;
        if (icon::writeIconTheme(parser.value(iconsOption), args[0], &error)) return 0;
        std::fprintf(stderr, "assetgen: %s\n", qPrintable(error));
        return 1;
    }
    if (previewing || icons || args.size() != 1) return usage();
    QString error;
    if (!assets::writeAssetTree(args[0], &error)) {
        std::fprintf(stderr, "assetgen: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
