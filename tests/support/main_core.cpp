#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    TestEnvironment::ClearPortMappings();
    TestEnvironment::FreshSettingsFolder();
    TestEnvironment::IsolateDevices();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
