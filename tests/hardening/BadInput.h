#pragma once

// Ways a file of the program folder can be damaged, and what the laboratory must say about
// each. Shared by the bad-input tests of the asset files and of the results file.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <ostream>
#include <random>
#include <string>

#include "TestSupport.h"
#include "lab/FileAccess.h"
#include "shell/Loaders.h"

enum class Damage { Missing, Empty, Truncated, RandomBytes, OversizedHeader, ReadOnly, Directory };

inline const char* damageName(Damage d) {
    switch (d) {
        case Damage::Missing:
            return "Missing";
        case Damage::Empty:
            return "Empty";
        case Damage::Truncated:
            return "Truncated";
        case Damage::RandomBytes:
            return "RandomBytes";
        case Damage::OversizedHeader:
            return "OversizedHeader";
        case Damage::ReadOnly:
            return "ReadOnly";
        case Damage::Directory:
            return "Directory";
    }
    return "?";
}

inline void PrintTo(Damage d, std::ostream* os) {
    *os << damageName(d);
}

constexpr Damage allDamages[] = {Damage::Missing,     Damage::Empty,           Damage::Truncated,
                                 Damage::RandomBytes, Damage::OversizedHeader, Damage::ReadOnly,
                                 Damage::Directory};

// The same bytes on every run: a failure can be replayed.
inline QByteArray randomBytes(int size, unsigned seed) {
    std::mt19937 gen(seed);
    QByteArray out(size, '\0');
    for (char& c : out) c = char(gen() & 0xFF);
    return out;
}

// A seed that names the file: every file gets its own bytes, the same on every run.
inline unsigned seedOf(const QString& name) {
    unsigned h = 2166136261u;
    for (QChar c : name) h = (h ^ c.unicode()) * 16777619u;
    return h;
}

// A JPEG whose frame header claims 60000 × 60000 pixels.
inline QByteArray withHugeJpegSize(QByteArray jpeg) {
    for (int i = 2; i + 8 < jpeg.size(); ++i) {
        const auto marker = static_cast<unsigned char>(jpeg[i + 1]);
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF && marker >= 0xC0 && marker <= 0xC2) {
            for (int k : {i + 5, i + 7}) {  // height, then width, big-endian
                jpeg[k] = char(0xEA);
                jpeg[k + 1] = char(0x60);
            }
            return jpeg;
        }
    }
    ADD_FAILURE() << "no frame header in the picture";
    return jpeg;
}

// A movie whose header claims a length far over any real movie's.
inline QByteArray withHugeSwfLength(QByteArray swf) {
    if (swf.size() < 8) {
        ADD_FAILURE() << "movie shorter than its header";
        return swf;
    }
    swf[4] = char(0xF0);
    swf[5] = char(0xFF);
    swf[6] = char(0xFF);
    swf[7] = char(0x7F);
    return swf;
}

// What the program reads when a file is read-only for everyone: nobody may write it.
inline void makeReadOnly(const QString& path) {
    ASSERT_TRUE(
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    ASSERT_FALSE(probeReadWrite(path));
}

inline void putDirectoryInPlace(const TempAssetTree& tree, const QString& relative) {
    tree.remove(relative);
    ASSERT_TRUE(QDir().mkpath(tree.path(relative)));
}

// Every file below the folder with its bytes, for "nothing else was touched" checks.
inline QStringList folderListing(const QString& dir) {
    QStringList out;
    QDir d(dir);
    for (const QFileInfo& info :
         d.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name)) {
        if (info.isDir()) {
            out << info.fileName() + "/";
            for (const QString& inner : folderListing(info.filePath()))
                out << info.fileName() + "/" + inner;
        } else {
            out << info.fileName();
        }
    }
    return out;
}
