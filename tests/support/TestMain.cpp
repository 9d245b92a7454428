#include <gtest/gtest.h>

#include <QApplication>

#include "toolkit/Fonts.h"
#include "toolkit/MessageBoxes.h"

// Tests run offscreen; a message box that a test forgot to expect is recorded, never shown,
// so no test can hang on a modal box.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFontSubstitutions();
    MessageRecorder fallback;
    return RUN_ALL_TESTS();
}
