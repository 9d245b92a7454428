// Fuzz target: loading the results file, whatever its bytes, then saving it again. The load
// must never read outside a slot, and a save after it must write whole 300-byte blocks.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

#include "lab/ResultsFile.h"
#include "lab/Session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    // One folder for the whole run, removed with its files when the process exits.
    static const QTemporaryDir tempDir(QDir::tempPath() +
                                       QStringLiteral("/reaktikum-results-fuzz-XXXXXX"));
    if (!tempDir.isValid()) return 0;
    const QString path = tempDir.path() + QStringLiteral("/BDStudent.rez");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();

    Session session(nullptr, path);
    ResultsFile& results = session.results();
    results.load();
    for (int s = 1; s <= results.count(); ++s) (void)results.group(s), (void)results.surname(s);
    if (results.count() > 0) {
        session.registerStudent(QStringLiteral("КРЛ-1"), QStringLiteral("Фаззер"));
        session.recordGrade(1, 4.5);
    }
    results.save();
    if (QFile(path).size() % 300 != 0) std::abort();
    return 0;
}
