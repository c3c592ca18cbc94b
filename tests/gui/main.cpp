// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the desktop program's widget tests headless, with the program's resources.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quenvar-tests"));
    Q_INIT_RESOURCE(dorvo);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
