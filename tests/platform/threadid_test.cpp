#include "platform/threadid.h"

#include <gtest/gtest.h>

#include <thread>

TEST(ThreadId, differsBetweenThreadsAndIsStableWithinOne)
{
    const unsigned long mine = platform::currentThreadId();
    EXPECT_NE(mine, 0ul);
    EXPECT_EQ(mine, platform::currentThreadId());

    unsigned long other = 0;
    std::thread([&] { other = platform::currentThreadId(); }).join();
    EXPECT_NE(other, 0ul);
    EXPECT_NE(other, mine);
}
