// Instance numbers and the process-wide count of live effects.
#include "tests/plugin/druvo_fixture.h"

namespace {

using Lifecycle = DruvoTest;

AEffect* create() { return MX::createDruvo(fake_host::callback); }

void close(AEffect* e) { EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f), 1); }

MX::Druvo& effectOf(AEffect* e) { return *static_cast<MX::Druvo*>(e->object); }

TEST_F(Lifecycle, InstanceNumbersFollowTheCounter) {
    ASSERT_EQ(MX::Druvo::instanceCount(), 0);
    AEffect* first = create();
    AEffect* second = create();
    EXPECT_EQ(effectOf(first).instanceNumber(), 1);
    EXPECT_EQ(effectOf(second).instanceNumber(), 2);
    EXPECT_EQ(MX::Druvo::instanceCount(), 2);

    // Numbers are reused: with 1 closed, the next effect is number 2 again.
    close(first);
    AEffect* third = create();
    EXPECT_EQ(effectOf(third).instanceNumber(), 2);
    close(second);
    close(third);
    EXPECT_EQ(MX::Druvo::instanceCount(), 0);
}

}  // namespace
