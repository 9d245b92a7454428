// A second program holding the program folder's lock, for the lock's test: takes the lock of
// the folder given as its argument, says "locked", and keeps it until its input ends.
#include <QApplication>
#include <cstdio>
#include <iostream>
#include <string>

#include "app/ProgramFolderLock.h"
#include "lab/ProgramDir.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    setProgramDirForTests(QString::fromLocal8Bit(argv[1]));
    ProgramFolderLock lock;
    if (!lock.acquire() || !lock.held()) return 3;
    std::cout << "locked" << std::endl;
    std::string line;
    std::getline(std::cin, line);
    return 0;
}
