// One test main for suites that need the Qt application object; it also
// installs the Qt platform of the component layer.
#include <gtest/gtest.h>

#include "qt/QtPlatform.h"

#include <QApplication>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    yorde::qt::InstallQtPlatform();
    ::testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    yorde::qt::UninstallQtPlatform();
    return result;
}
