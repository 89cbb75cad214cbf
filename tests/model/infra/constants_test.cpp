#include "model/infra/constants.h"

#include <gtest/gtest.h>

TEST(ConstantTables, namesAndCodesRoundTrip)
{
    EXPECT_EQ(questionTypeName(6), QStringLiteral("EnglishComposition"));
    EXPECT_EQ(questionTypeCode(QStringLiteral("SingleChoice")), 0);
    for (int code = 0; code < questionTypeCount; ++code)
        EXPECT_EQ(questionTypeCode(questionTypeName(code)), code);
    EXPECT_EQ(orientationName(0), QStringLiteral("horizontal"));
    EXPECT_EQ(orientationCode(QStringLiteral("vertical")), 1);

    // Unknown names and codes do not reach into the tables.
    EXPECT_EQ(questionTypeCode(QStringLiteral("Essay")), -1);
    EXPECT_EQ(questionTypeCode(QString()), -1);
    EXPECT_TRUE(questionTypeName(-1).isEmpty());
    EXPECT_TRUE(questionTypeName(7).isEmpty());
    EXPECT_TRUE(orientationName(2).isEmpty()); // unset orientation has no name
    EXPECT_EQ(orientationCode(QStringLiteral("diagonal")), -1);
}

TEST(ConstantTables, chineseNumeralsAndTheirFallback)
{
    EXPECT_EQ(chineseNumeral(0), QStringLiteral("零"));
    EXPECT_EQ(chineseNumeral(10), QStringLiteral("十"));
    EXPECT_EQ(chineseNumeral(20), QStringLiteral("二十"));
    for (int n = 11; n <= 19; ++n)
        EXPECT_EQ(chineseNumeral(n), QStringLiteral("十") + chineseNumeral(n - 10)) << n;

    // Beyond the table the number is written in digits.
    EXPECT_EQ(chineseNumeral(21), QStringLiteral("21"));
    EXPECT_EQ(chineseNumeral(-1), QStringLiteral("-1"));
}
