// A test-only build of the program: it starts as the program does, from the program folder it
// is given, registers one student through the real registration window as a student would and
// ends. The package test runs it against the unpacked package, as the students' own account.
// Usage: InstalledRunProbe --program-folder DIR --group GROUP --surname SURNAME
#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <cstdio>

#include "app/Laboratory.h"
#include "app/Startup.h"
#include "lab/ProgramDir.h"
#include "students/RegistrationWindow.h"
#include "toolkit/FilteredEdit.h"

namespace {
void registerWhenAsked(Laboratory& laboratory, const QString& group, const QString& surname) {
    RegistrationWindow* registration = laboratory.window<RegistrationWindow>();
    auto* watch = new QTimer(registration);
    QObject::connect(watch, &QTimer::timeout, registration, [=, &laboratory] {
        if (!registration->isVisible()) return;
        watch->stop();
        registration->groupEdit->setText(group);
        registration->surnameEdit->setText(surname);
        registration->onAcceptClicked();
        QTimer::singleShot(0, [&laboratory] { laboratory.endProgram(); });
    });
    watch->start(50);
}
}  // namespace

int main(int argc, char** argv) {
    QString folder, group, surname;
    {
        QCoreApplication arguments(argc, argv);
        QCommandLineParser parser;
        parser.addOptions(
            {{QStringLiteral("program-folder"), QStringLiteral("Program folder."),
              QStringLiteral("dir")},
             {QStringLiteral("group"), QStringLiteral("Group."), QStringLiteral("group")},
             {QStringLiteral("surname"), QStringLiteral("Surname."), QStringLiteral("surname")}});
        parser.process(arguments);
        folder = parser.value(QStringLiteral("program-folder"));
        group = parser.value(QStringLiteral("group"));
        surname = parser.value(QStringLiteral("surname"));
    }
    if (folder.isEmpty() || group.isEmpty() || surname.isEmpty()) {
        std::fputs("InstalledRunProbe --program-folder DIR --group GROUP --surname SURNAME\n",
                   stderr);
        return 2;
    }
    setProgramDirForTests(folder);
    return runLaboratory(
        argc, argv, [&](Laboratory& laboratory) { registerWhenAsked(laboratory, group, surname); });
}
