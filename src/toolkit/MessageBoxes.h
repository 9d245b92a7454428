#pragma once

#include <QString>
#include <QStringList>

class QDialog;
class QMessageBox;

// The one place where the program talks to the user through modal boxes and beeps.
void showErrorBox(const QString& text);    // error icon, one OK button
void showMessageBox(const QString& text);  // no icon, one OK button, caption "Реактикум"
void defaultBeep();                        // the platform's beep for a rejected keystroke
// Dresses a box in the laboratory's colours and button texts (the boxes above use it).
void styleMessageBox(QMessageBox& box);
// The same colours and type for a box of the program's own making.
void styleDialog(QDialog& dialog);

// While a recorder exists, boxes and beeps are recorded instead of shown, and return at once.
class MessageRecorder {
public:
    struct Entry {
        enum Kind { Error, Message } kind;
        QString text;
    };

    MessageRecorder();
    // Whether boxes are being recorded now: a box built elsewhere records its text instead.
    static bool isRecording();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    const QList<Entry>& entries() const { return entries_; }
    QStringList texts() const;
    QStringList errorTexts() const;
    QStringList messageTexts() const;
    int beeps() const { return beeps_; }
    void clear();

private:
    friend void showErrorBox(const QString&);
    friend void showMessageBox(const QString&);
    friend void defaultBeep();
    QList<Entry> entries_;
    int beeps_ = 0;
    MessageRecorder* previous_ = nullptr;
};
