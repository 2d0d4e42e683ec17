// GoogleTest entry point of the window's suites: an offscreen QApplication with the window's
// style, palette and icons.

#include "ui/style/Palette.h"
#include "ui/style/Symbols.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    tallybrook::Palette::applyTo(app);
    tallybrook::Symbols::installIconTheme();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
