// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the drawing-backend tests under a headless Qt GUI layer with the C number format.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <clocale>
#include <cstdlib>

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    std::setlocale(LC_ALL, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
