#include "link/channel_configuration.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using namespace MX::link;

TEST(ChannelConfiguration, CountPicksLargestLayoutItFills) {
    const int expected[] = {0, 1, 2, 2, 4, 4, 6};
    for (int n = 0; n <= 6; ++n) EXPECT_EQ(channelConfigurationFor(n), expected[n]) << n;
    EXPECT_EQ(channelConfigurationFor(8), 6);
    EXPECT_EQ(channelConfigurationFor(INT_MAX), 6);
    EXPECT_EQ(channelConfigurationFor(-1), 0);
    EXPECT_EQ(channelConfigurationFor(INT_MIN), 0);
}

TEST(ChannelConfiguration, NamesOutsideTheTableAreNotAvailable) {
    const char* expected[] = {"n/a", "1.0", "2.0", "n/a", "4.0", "n/a", "5.1"};
    for (int v = 0; v <= 6; ++v) EXPECT_EQ(std::string(channelConfigurationName(v)), expected[v]);
    EXPECT_STREQ(channelConfigurationName(-1), "n/a");
    EXPECT_STREQ(channelConfigurationName(7), "n/a");
    EXPECT_STREQ(channelConfigurationName(channelConfigurationFor(5)), "4.0");
}
