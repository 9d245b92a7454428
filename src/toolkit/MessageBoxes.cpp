#include "toolkit/MessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QIcon>
#include <QMessageBox>

#include "toolkit/Fonts.h"

namespace {
MessageRecorder* currentRecorder = nullptr;

// The boxes wear the laboratory's colours (the light blue-grey ground, dark blue-grey ink, the
// blue of headings on the buttons) instead of the desktop's grey, so a message reads as part
// of the laboratory.
QString boxStyle(const QString& type) {
    return QStringLiteral(
               "%1 { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #F7FAFD,"
               " stop:1 #E3ECF5); }"
               "%1 QLabel { color: #1F2D3D; }"
               "%1 QPushButton { color: #FFFFFF; background: #1F5FA8; border: 1px solid #174A85;"
               " border-radius: 4px; padding: 4px 18px; min-width: 64px; }"
               "%1 QPushButton:hover { background: #2A6DBA; }"
               "%1 QPushButton:pressed { background: #174A85; }"
               "%1 QPushButton:disabled { background: #8FA6BF; border-color: #7A93AD; }"
               "%1 QPushButton:focus { border: 2px solid #A84A0C; }")
        .arg(type);
}

void runBox(QMessageBox::Icon icon, const QString& caption, const QString& text) {
    QMessageBox box(icon, caption, text, QMessageBox::Ok, QApplication::activeWindow());
    styleMessageBox(box);
    box.exec();
}
}  // namespace

void styleMessageBox(QMessageBox& box) {
    box.setStyleSheet(boxStyle(QStringLiteral("QMessageBox")));
    box.setFont(labFont(QStringLiteral("Arial"), 14));
    // The desktop theme's glyphs on the buttons would sit oddly on the coloured buttons.
    for (QAbstractButton* button : box.buttons()) button->setIcon(QIcon());
    // The button reads as the laboratory's own buttons do: «ОК» in Cyrillic letters.
    if (QAbstractButton* ok = box.button(QMessageBox::Ok)) ok->setText(QStringLiteral("ОК"));
}

void styleDialog(QDialog& dialog) {
    dialog.setStyleSheet(boxStyle(QStringLiteral("QDialog")));
    dialog.setFont(labFont(QStringLiteral("Arial"), 14));
}

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
