#include "platform/web/UrlQuery.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(UrlQuery, ReadsTheAddressAsTheCommandLine)
{
    UrlQuery read;
    std::string error;
    ASSERT_TRUE(readUrlQuery("?start=29008&seed=-7&mute=1&size=400x320&every-frame=0&no-wait=1", read, error));
    EXPECT_EQ(read.arguments,
        (std::vector<std::string> { "--start", "29008", "--seed", "-7", "--mute", "--size", "400x320", "--no-wait" }));
    EXPECT_FALSE(read.frameAt);

    ASSERT_TRUE(readUrlQuery("at=41600&size=400%78320&&seed=1+2&no%2Dwait=1", read, error));
    EXPECT_EQ(read.frameAt, 41600u);
    EXPECT_EQ(read.arguments, (std::vector<std::string> { "--size", "400x320", "--seed", "1 2", "--no-wait" }));
    ASSERT_TRUE(readUrlQuery("", read, error));
    EXPECT_TRUE(read.arguments.empty());
}

TEST(UrlQuery, RefusesWhatAPageCannotTakeWithALineSayingWhy)
{
    const struct {
        const char* query;
        const char* said;
    } refused[] = {
        { "mute", "'mute' has no value" },
        { "seed=", "'seed' has no value" },
        { "mute=yes", "'mute' takes 1 or 0; not 'yes'" },
        { "data-dir=/tmp", "'data-dir' means nothing in a browser" },
        { "at=soon", "'at' takes a run time in ms" },
        // What the user typed is shown cut and with its control characters
        // escaped: a NUL would end the message where a C string carries it.
        { "mute=%00%1b[2J", "'mute' takes 1 or 0; not '\\x00\\x1b[2J'" },
    };
    for (const auto& bad : refused) {
        UrlQuery read;
        std::string error;
        EXPECT_FALSE(readUrlQuery(bad.query, read, error)) << bad.query;
        EXPECT_NE(error.find(bad.said), std::string::npos) << bad.query << ": " << error;
    }
    UrlQuery read;
    std::string error;
    EXPECT_FALSE(readUrlQuery("mute=" + std::string(100000, 'y'), read, error));
    EXPECT_EQ(error, "the address's 'mute' takes 1 or 0; not '" + std::string(200, 'y') + "…'");
}
