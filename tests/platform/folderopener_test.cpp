#include "platform/folderopener.h"

#include <QStringList>

#include <gtest/gtest.h>

TEST(FolderOpener, explorerGetsTheFolderWithBackslashesAndATrailingOne)
{
    // Two blanks after "explorer": the folder is prefixed by one before the
    // separators are turned.
    EXPECT_EQ(platform::explorerCommandLine(QStringLiteral("D:/T/卡1")), QStringLiteral("explorer  D:\\T\\卡1\\"));
    EXPECT_EQ(platform::explorerCommandLine(QStringLiteral("D:/my cards/卡1_(未完成)")),
              QStringLiteral("explorer  D:\\my cards\\卡1_(未完成)\\"));
}

TEST(FolderOpener, aReplacementIsHandedTheFolderAndAnswersForIt)
{
    QStringList opened;
    platform::setFolderOpener([&](const QString& folder) {
        opened.append(folder);
        return false;
    });
    EXPECT_FALSE(platform::openFolder(QStringLiteral("/tmp/卡1")));
    EXPECT_EQ(opened, QStringList({QStringLiteral("/tmp/卡1")}));

    // The desktop's own opener is not called here: it would open a window.
    platform::setFolderOpener({});
}
