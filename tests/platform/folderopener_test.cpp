#include "platform/folderopener.h"

#include <QStringList>

#include <gtest/gtest.h>

TEST(FolderOpener, explorerGetsTwoBlanksAndBackslashesAndAReplacementGetsTheFolder)
{
    EXPECT_EQ(platform::explorerCommandLine(QStringLiteral("D:/my cards/卡1")),
              QStringLiteral("explorer  D:\\my cards\\卡1\\"));

    QStringList opened;
    platform::setFolderOpener([&](const QString& folder) {
        opened.append(folder);
        return false;
    });
    EXPECT_FALSE(platform::openFolder(QStringLiteral("/tmp/卡1")));
    platform::setFolderOpener({});
    EXPECT_EQ(opened, QStringList({QStringLiteral("/tmp/卡1")}));
}
