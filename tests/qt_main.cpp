// The ui tests need a running toolkit application; tests run offscreen.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/application.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::Application::InstallFontSubstitutes();
    return RUN_ALL_TESTS();
}
