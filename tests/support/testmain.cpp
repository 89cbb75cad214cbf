// One entry for every suite: the application object on the offscreen
// platform (unless the environment asks for another), then GoogleTest.

#include "platform/brokenpipe.h"
#include "tests/support/startupallocations.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

int main(int argc, char** argv)
{
    // As the program does: the scanner tests drop network connections.
    platform::ignoreBrokenPipes();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    std::unique_ptr<QApplication> app;
    {
        const testsupport::StartupAllocations qtStartup;
        app = std::make_unique<QApplication>(argc, argv);
    }
    return RUN_ALL_TESTS();
}
