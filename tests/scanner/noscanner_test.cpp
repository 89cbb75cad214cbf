// Run as a process of its own with SANE_CONFIG_DIR naming
// tests/scanner/sane-empty, a configuration without any backend.

#include "tests/scanner/scanrun.h"
#include "tests/support/testsupport.h"

#include "scanner/eiscan.h"
#include "scanner/saneconnection.h"

#include <gtest/gtest.h>

TEST(NoScanner, listsNothingAndNoScanStarts)
{
    if (!qEnvironmentVariable("SANE_CONFIG_DIR").endsWith(QStringLiteral("sane-empty")))
        GTEST_SKIP() << "runs with SANE_CONFIG_DIR=tests/scanner/sane-empty";

    testsupport::ScratchDir folder;
    EIScan* scanner = EIScan::instance();
    scanner->setImageDir(folder.path());
    QList<SaneConnection::Source> sources;
    EXPECT_TRUE(scanner->getSourceList(sources));
    EXPECT_TRUE(sources.isEmpty());

    const scanrun::Outcome outcome = scanrun::scan("Noname frontend-tester (test:0)", 100);
    EXPECT_FALSE(outcome.started);
    EXPECT_TRUE(outcome.completions.isEmpty());
    EXPECT_FALSE(scanner->isInitialised());

    // Straight on the connection, with no scanner chosen, the first one is
    // taken, and there is none.
    ASSERT_TRUE(SaneConnection::init(nullptr, nullptr));
    EXPECT_FALSE(SaneConnection::startScan(false, SaneConnection::PaperA4, 1, SaneConnection::PixelGray));
    SaneConnection::closeAll();
}
