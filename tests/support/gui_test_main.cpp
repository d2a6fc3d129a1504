// The main of the window-side test programs: one QApplication for the whole run. Listing
// the tests (done at build time, without a display) must not create it.

#include <gtest/gtest.h>

#include <QApplication>

#include "app/accessibility.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    app::InstallAccessibility();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    return RUN_ALL_TESTS();
}
