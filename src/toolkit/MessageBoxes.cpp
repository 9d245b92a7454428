#include "toolkit/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

namespace {
MessageRecorder* currentRecorder = nullptr;

void runBox(QMessageBox::Icon icon, const QString& caption, const QString& text) {
    QMessageBox box(icon, caption, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}
}  // namespace

MessageRecorder::MessageRecorder() : previous_(currentRecorder) {
    currentRecorder = this;
}

MessageRecorder::~MessageRecorder() {
    currentRecorder = previous_;
}

bool MessageRecorder::isRecording() {
    return currentRecorder != nullptr;
}

QStringList MessageRecorder::texts() const {
    QStringList result;
    for (const Entry& e : entries_) result << e.text;
    return result;
}

QStringList MessageRecorder::errorTexts() const {
    QStringList result;
    for (const Entry& e : entries_)
        if (e.kind == Entry::Error) result << e.text;
    return result;
}

QStringList MessageRecorder::messageTexts() const {
    QStringList result;
    for (const Entry& e : entries_)
        if (e.kind == Entry::Message) result << e.text;
    return result;
}

void MessageRecorder::clear() {
    entries_.clear();
    beeps_ = 0;
}

void showErrorBox(const QString& text) {
    if (currentRecorder) {
        currentRecorder->entries_.append({MessageRecorder::Entry::Error, text});
        return;
    }
    runBox(QMessageBox::Critical, QStringLiteral("Ошибка"), text);
}

void showMessageBox(const QString& text) {
    if (currentRecorder) {
        currentRecorder->entries_.append({MessageRecorder::Entry::Message, text});
        return;
    }
    runBox(QMessageBox::NoIcon, QStringLiteral("Реактикум"), text);
}

void defaultBeep() {
    if (currentRecorder) {
        ++currentRecorder->beeps_;
        return;
    }
    QApplication::beep();
}
