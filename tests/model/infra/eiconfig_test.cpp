#include "model/infra/eiconfig.h"

#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

TEST(EIConfig, missingFileOrKeyReadsFalse)
{
    testsupport::ScratchDir dir;
    EIConfig settings;
    settings.init(dir.file("config.ini"));
    EXPECT_FALSE(settings.value(configGroupAlgorithm, configKeyCheckCorner).toBool());
    EXPECT_EQ(settings.value(configGroupAlgorithm, QStringLiteral("other")).toInt(), 0);
    EXPECT_EQ(settings.value(configGroupAlgorithm, configKeyCheckCorner).toString(), QString());
}

TEST(EIConfig, readsTheIniSectionAndKey)
{
    testsupport::ScratchDir dir;
    const QString path = dir.file("config.ini");
    ASSERT_TRUE(testsupport::writeFile(path, "[ALGORITHM]\nis_check_corner=true\n"));
    EIConfig settings;
    settings.init(path);
    EXPECT_TRUE(settings.value(QStringLiteral("ALGORITHM"), QStringLiteral("is_check_corner")).toBool());
}

TEST(EIConfig, writtenValueSurvivesTheSettingsObject)
{
    testsupport::ScratchDir dir;
    const QString path = dir.file("config.ini");
    ASSERT_TRUE(testsupport::writeFile(path, "[ALGORITHM]\nis_check_corner=true\n"));
    {
        EIConfig settings;
        settings.init(path);
        settings.setValue(configGroupAlgorithm, configKeyCheckCorner, false);
    }
    EXPECT_TRUE(testsupport::readFile(path).contains("is_check_corner=false"));

    EIConfig reread;
    reread.init(path);
    EXPECT_FALSE(reread.value(configGroupAlgorithm, configKeyCheckCorner).toBool());
}

TEST(EIConfig, unusedStoreReadsEmpty)
{
    EIConfig settings; // never given a file
    EXPECT_FALSE(settings.value(configGroupAlgorithm, configKeyCheckCorner).toBool());
    settings.setValue(configGroupAlgorithm, configKeyCheckCorner, true); // ignored, no crash
}
