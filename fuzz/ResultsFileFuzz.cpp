// Fuzz target: loading the results file, whatever its bytes, then saving it again. The load
// must never read outside a slot, and a save after it must write whole 300-byte blocks.
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

#include "lab/ProgramDir.h"
#include "students/StudentStore.h"
#include "toolkit/MessageBoxes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static MessageRecorder recorder;
    // One folder for the whole run, removed with its files when the process exits.
    static const QTemporaryDir tempDir(QDir::tempPath() +
                                       QStringLiteral("/reaktikum-results-fuzz-XXXXXX"));
    if (!tempDir.isValid()) return 0;
    const QString dir = tempDir.path();
    setProgramDirForTests(dir);
    QFile file(dir + QStringLiteral("/BDStudent.rez"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();

    resetStudentTable();
    loadStudents();
    if (studentCount > 0) {
        for (int s = 1; s <= studentCount; ++s) (void)studentGroup(s), (void)studentSurname(s);
        recordScore(1, 4.5);
    }
    saveStudents();
    if (QFile(dir + QStringLiteral("/BDStudent.rez")).size() % 300 != 0) std::abort();
    recorder.clear();
    return 0;
}
