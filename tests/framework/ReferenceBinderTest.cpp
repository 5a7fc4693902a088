#include "ReferenceBinder.h"

#include <gtest/gtest.h>
#include <vector>

TEST(ReferenceBinder, ReferenceMadeBeforeTheObjectBindsWhenItIsPublished)
{
    ReferenceBinder binder;
    std::vector<int> bound;
    binder.refer("DMarsipstaf", [&] { bound.push_back(1); });
    binder.refer("DMarsipstaf", [&] { bound.push_back(2); });
    binder.refer("Other", [&] { bound.push_back(9); });
    EXPECT_TRUE(bound.empty());
    EXPECT_EQ(binder.pending("DMarsipstaf"), 2u);
    binder.publish("DMarsipstaf");
    EXPECT_EQ(bound, (std::vector<int>{1, 2}));
    EXPECT_EQ(binder.pending("DMarsipstaf"), 0u);
    EXPECT_EQ(binder.pending("Other"), 1u);
}

TEST(ReferenceBinder, ReferenceMadeAfterTheObjectBindsAtOnce)
{
    ReferenceBinder binder;
    binder.publish("DMarsipstaf");
    int bound = 0;
    binder.refer("DMarsipstaf", [&] { ++bound; });
    EXPECT_EQ(bound, 1);
    binder.publish("DMarsipstaf");  // publishing again binds nothing twice
    EXPECT_EQ(bound, 1);
}
