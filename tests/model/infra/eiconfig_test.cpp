#include "model/infra/eiconfig.h"

#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

TEST(EIConfig, missingFileOrKeyReadsFalse)
{
    testsupport::ScratchDir dir;
    EIConfig settings;
    // Before init there is no store: reads are empty, writes go nowhere.
    EXPECT_FALSE(settings.value(configGroupAlgorithm, configKeyCheckCorner).toBool());
    settings.setValue(configGroupAlgorithm, configKeyCheckCorner, true);

    settings.init(dir.file("config.ini"));
    EXPECT_FALSE(settings.value(configGroupAlgorithm, configKeyCheckCorner).toBool());
    EXPECT_EQ(settings.value(configGroupAlgorithm, configKeyCheckCorner).toString(), QString());
    EXPECT_EQ(settings.value(configGroupAlgorithm, QStringLiteral("other")).toInt(), 0);
}

TEST(EIConfig, readsTheIniEntryAndWrittenValueSurvivesTheSettingsObject)
{
    testsupport::ScratchDir dir;
    const QString path = dir.file("config.ini");
    ASSERT_TRUE(testsupport::writeFile(path, "[ALGORITHM]\nis_check_corner=true\n"));
    {
        EIConfig settings;
        settings.init(path);
        EXPECT_TRUE(settings.value(QStringLiteral("ALGORITHM"), QStringLiteral("is_check_corner")).toBool());
        settings.setValue(configGroupAlgorithm, configKeyCheckCorner, false);
    }
    EXPECT_TRUE(testsupport::readFile(path).contains("is_check_corner=false"));

    EIConfig reread;
    reread.init(path);
    EXPECT_FALSE(reread.value(configGroupAlgorithm, configKeyCheckCorner).toBool());
}
