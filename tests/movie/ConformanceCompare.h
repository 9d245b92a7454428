#pragma once

// The comparison metric of the SWF conformance cases (tests/data/swf-conformance/README.md): a
// pixel matches when each of R, G, B is within 10 of the reference; foreground pixels are those
// where the reference or the rendering differs from the background by more than 10.

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <cstdlib>
#include <ostream>

struct ConformanceCase {
    QString name;
    QString dir;
    double minMatch = 97;
    double minFgMatch = -1;  // none
    QRgb background = 0xFFFFFFFF;
    bool stretch = false;
    int frames = 1;
};

struct Match {
    double match = 0;
    double fgMatch = 100;
    bool sameSize = false;
    QImage diff;
};

inline QString conformanceDir() {
    return QStringLiteral(LAB_TEST_DATA_DIR "/swf-conformance");
}

inline QList<ConformanceCase> conformanceCases() {
    QList<ConformanceCase> out;
    const QDir root(conformanceDir());
    for (const QString& n : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        QFile f(root.filePath(n + QStringLiteral("/case.txt")));
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) continue;
        ConformanceCase c;
        c.name = n;
        c.dir = root.filePath(n);
        QTextStream ts(&f);
        while (!ts.atEnd()) {
            const QString line = ts.readLine();
            const int colon = line.indexOf(QLatin1Char(':'));
            if (colon < 0) continue;
            const QString key = line.left(colon).trimmed();
            const QString value =
                line.mid(colon + 1).trimmed().section(QStringLiteral("  "), 0, 0).trimmed();
            if (key == QLatin1String("min_match"))
                c.minMatch = value.toDouble();
            else if (key == QLatin1String("min_fg_match"))
                c.minFgMatch = value.toDouble();
            else if (key == QLatin1String("background"))
                c.background = 0xFF000000u | value.toUInt(nullptr, 16);
            else if (key == QLatin1String("status"))
                c.stretch = value.startsWith(QLatin1String("stretch"));
            else if (key == QLatin1String("frames"))
                c.frames = std::max(1, value.section(QLatin1Char(' '), 0, 0).toInt());
        }
        out.append(c);
    }
    return out;
}

inline bool near(QRgb a, QRgb b, int tol = 10) {
    return std::abs(qRed(a) - qRed(b)) <= tol && std::abs(qGreen(a) - qGreen(b)) <= tol &&
           std::abs(qBlue(a) - qBlue(b)) <= tol;
}

inline Match compareToReference(const QImage& renderedIn, const QImage& expectedIn,
                                QRgb background) {
    Match m;
    const QImage r = renderedIn.convertToFormat(QImage::Format_RGB32);
    const QImage e = expectedIn.convertToFormat(QImage::Format_RGB32);
    m.sameSize = r.size() == e.size();
    if (!m.sameSize) return m;
    m.diff = QImage(r.size(), QImage::Format_RGB32);
    qint64 all = 0, ok = 0, fg = 0, fgOk = 0;
    for (int y = 0; y < r.height(); ++y) {
        const QRgb* rl = reinterpret_cast<const QRgb*>(r.constScanLine(y));
        const QRgb* el = reinterpret_cast<const QRgb*>(e.constScanLine(y));
        QRgb* dl = reinterpret_cast<QRgb*>(m.diff.scanLine(y));
        for (int x = 0; x < r.width(); ++x) {
            const bool good = near(rl[x], el[x]);
            const bool isFg = !near(el[x], background) || !near(rl[x], background);
            ++all;
            ok += good;
            if (isFg) {
                ++fg;
                fgOk += good;
            }
            dl[x] =
                good ? qRgb(qGray(el[x]) / 3 + 170, qGray(el[x]) / 3 + 170, qGray(el[x]) / 3 + 170)
                     : qRgb(255, 0, 0);
        }
    }
    m.match = all ? 100.0 * double(ok) / double(all) : 0;
    m.fgMatch = fg ? 100.0 * double(fgOk) / double(fg) : 100;
    return m;
}

// Readable test parameters in gtest's messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << s.toStdString();
}
