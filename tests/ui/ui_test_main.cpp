#include <gtest/gtest.h>

#include <QApplication>
#include <iostream>

#include "ui/german_qt.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("AES-Marnoq");
    marnoq::ui::loadGermanQtTexts(app, marnoq::ui::systemTranslationFolder(), std::cerr);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
