#include "TestSupport.h"

#include <QtTest/qtestspontaneevent.h>

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QTest>

#include "app/Laboratory.h"
#include "app/Startup.h"
#include "lab/ProgramDir.h"
#include "shell/Loaders.h"
#include "students/RegistrationWindow.h"
#include "toolkit/FilteredEdit.h"
#include "toolkit/Jpeg.h"
#include "toolkit/LabWindow.h"
#include "toolkit/LinkLabel.h"

namespace {
void putRect(QByteArray& out, int width, int height) {
    // RECT with 16-bit fields: 0, width*20, 0, height*20 twips.
    const int nbits = 16;
    const quint32 values[4] = {0, quint32(width * 20), 0, quint32(height * 20)};
    QList<bool> bits;
    for (int i = 4; i >= 0; --i) bits << bool((nbits >> i) & 1);
    for (quint32 v : values)
        for (int i = nbits - 1; i >= 0; --i) bits << bool((v >> i) & 1);
    while (bits.size() % 8) bits << false;
    for (int i = 0; i < bits.size(); i += 8) {
        int byte = 0;
        for (int j = 0; j < 8; ++j) byte = (byte << 1) | int(bits[i + j]);
        out.append(char(byte));
    }
}
}  // namespace

QByteArray minimalSwf(int width, int height, int frames) {
    QByteArray body;
    putRect(body, width, height);
    body.append(char(0));
    body.append(char(12));  // 12 fps
    body.append(char(frames & 0xFF));
    body.append(char(frames >> 8));
    for (int i = 0; i < frames; ++i) {
        body.append(char(0x40));  // ShowFrame, length 0
        body.append(char(0x00));
    }
    body.append(char(0));  // End
    body.append(char(0));
    QByteArray out("FWS");
    out.append(char(6));
    const quint32 len = quint32(body.size() + 8);
    for (int i = 0; i < 4; ++i) out.append(char((len >> (8 * i)) & 0xFF));
    return out + body;
}

void typeKeys(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        const int key = c.isLetterOrNumber() && c.unicode() < 128 ? c.toUpper().unicode() : 0;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

QByteArray sampleDannieTxt() {
    QByteArray out;
    for (int v = 1; v <= 6; ++v) {
        for (int k = 1; k <= 4; ++k)
            out += QByteArray::number(k) + " " + QByteArray::number(0.02 * k + 0.001 * v) + " " +
                   QByteArray::number(0.02 * (k + 1)) + "\n";
        out += "\n";
    }
    for (int b = 1; b <= 6; ++b) {
        for (int k = 1; k <= 3; ++k) out += "1 2 3 4\n";
        out += "\n";
    }
    return out;
}

TempAssetTree::TempAssetTree() {
    auto jpeg = [](int w, int h, QColor c) {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(c);
        return encodeJpeg(img, 80);
    };
    write("BackGround/ZGround.jpg", jpeg(488, 288, QColor(200, 220, 240)));
    write("BackGround/Ground.jpg", jpeg(715, 506, QColor(235, 240, 245)));
    write("BackGround/Opit.jpg", jpeg(715, 505, QColor(240, 245, 235)));
    write("BackGround/About.swf", minimalSwf(117, 151));
    write("Movie/1.swf", minimalSwf(585, 361));
    for (const char* name : {"1", "2", "3"})
        write(QString("Movie/Opyt1/%1.swf").arg(name), minimalSwf(705, 350));
    for (int step = 4; step <= 7; ++step)
        for (int v = 1; v <= 6; ++v)
            write(QString("Movie/Opyt1/%1_%2.swf").arg(step).arg(v), minimalSwf(705, 350));
    write("Movie/Opyt2/1.swf", minimalSwf(705, 350));
    for (int step = 2; step <= 3; ++step)
        for (int v = 1; v <= 6; ++v)
            write(QString("Movie/Opyt2/%1_%2.swf").arg(step).arg(v), minimalSwf(705, 350));
    write("Movie/Opyt2/4.swf", minimalSwf(705, 350));
    write("Movie/Opyt2/5.swf", minimalSwf(705, 350));
    for (int step = 1; step <= 4; ++step)
        write(QString("Movie/Opyt3/%1.swf").arg(step), minimalSwf(705, 350));
    for (int step = 1; step <= 6; ++step)
        write(QString("Movie/Opyt4/%1.swf").arg(step), minimalSwf(705, 400));
    write("Restextout/6.jpg", jpeg(555, 85, QColor(250, 250, 220)));
    write("Restextout/7.jpg", jpeg(555, 85, QColor(220, 250, 250)));
    write("Dannie.txt", sampleDannieTxt());
    write("BDStudent.rez", QByteArray());
    setProgramDirForTests(dir());
}

TempAssetTree::~TempAssetTree() {
    setProgramDirForTests(QString());
}

QString TempAssetTree::path(const QString& relative) const {
    QString rel = relative;
    rel.replace('\\', '/');
    while (rel.startsWith('/')) rel.remove(0, 1);
    return dir_.path() + "/" + rel;
}

void TempAssetTree::write(const QString& relative, const QByteArray& bytes) const {
    const QString p = path(relative);
    QDir().mkpath(QFileInfo(p).path());
    QFile f(p);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        ADD_FAILURE() << "cannot write " << p.toStdString();
    f.write(bytes);
}

void TempAssetTree::remove(const QString& relative) const {
    QFile::remove(path(relative));
}

QByteArray TempAssetTree::read(const QString& relative) const {
    QFile f(path(relative));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

void LabTest::SetUp() {
    LabWindow::resetTermination();
    LabWindow::resetActivation();
    setLabClock(&clock);
    messages = std::make_unique<MessageRecorder>();
    tree = std::make_unique<TempAssetTree>();
}

void LabTest::createWindows() {
    ownedLab = std::make_unique<Laboratory>();
    lab = ownedLab.get();
}

void LabTest::registerThroughWindow(const QString& group, const QString& surname) {
    RegistrationWindow* registration = lab->window<RegistrationWindow>();
    registration->showAndActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(registration));
    typeKeys(registration->groupEdit, group);
    registration->surnameEdit->setFocus();
    typeKeys(registration->surnameEdit, surname);
    QTest::mouseClick(registration->acceptLink, Qt::LeftButton);
}

void LabTest::setSessionJournal(Journal* journal) {
    sessionJournal_ = journal;
    if (standaloneSession_) standaloneSession_->setJournal(journal);
}

Session& LabTest::session() {
    if (lab) return lab->session();
    if (!standaloneSession_) {
        standaloneSession_ = std::make_unique<Session>(sessionJournal_);
        reportFailuresOf(standaloneSession_->results(), navigation);
    }
    return *standaloneSession_;
}

ResultsFile& LabTest::results() {
    return session().results();
}

bool LabTest::programEnding() const {
    return lab ? lab->isEnding() : navigation.ended || sessionEnded_;
}

int LabTest::runSession() {
    const int code = runLaboratorySession([this](Laboratory& running) { lab = &running; });
    lab = nullptr;
    // The session returns only once the program has ended.
    sessionEnded_ = true;
    return code;
}

void LabTest::TearDown() {
    // Whatever the test did, no box spoke English to the student or teacher.
    if (messages) {
        for (const QString& text : messages->texts())
            EXPECT_TRUE(englishWordsIn(text).isEmpty())
                << "a message box in English: " << text.toStdString();
    }
    LabWindow::setModalHook(nullptr);
    lab = nullptr;
    ownedLab.reset();
    standaloneSession_.reset();
    tree.reset();
    messages.reset();
    setLabClock(nullptr);
    LabWindow::resetTermination();
    LabWindow::resetActivation();
}

QStringList englishWordsIn(const QString& text) {
    static const QRegularExpression pathOrFile(
        QStringLiteral(R"([^\s«»"']*[/\\][^\s«»"']*|\b\w+\.[A-Za-z]{2,4}\b)"));
    static const QRegularExpression word(QStringLiteral("[A-Za-z]*[a-z]{3,}[A-Za-z]*"));
    QString rest = text;
    rest.replace(pathOrFile, QStringLiteral(" "));
    QStringList words;
    // Names of things that are the same in Russian texts.
    static const QStringList names = {QStringLiteral("Linux"), QStringLiteral("Moodle"),
                                      QStringLiteral("PDF")};
    for (auto it = word.globalMatch(rest); it.hasNext();) {
        const QString w = it.next().captured();
        if (!names.contains(w)) words << w;
    }
    return words;
}

void closeByWindowManager(QWidget* window) {
    QCloseEvent event;
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::instance()->notify(window, &event);
    if (event.isAccepted()) window->hide();
    QApplication::processEvents();
}

QString missingMovieMessage(const QString& fullPath) {
    return QStringLiteral(
               "Возможно отсутствуют необходимые файлы для дальнейшей работы программы: "
               "не удаётся прочитать файл ") +
           fullPath + QStringLiteral(". Выполнение программы будет остановлено!!!");
}
const QString missingFilesMessage = QStringLiteral(
    "Возможно отсутствуют необходимые файлы для дальнейшей работы программы. Выполнение программы "
    "будет остановлено!!!");

void startChildTest(QProcess& child, const QProcessEnvironment& env, const QString& filter) {
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_also_run_disabled_tests"),
                 QStringLiteral("--gtest_filter=") + filter});
}
