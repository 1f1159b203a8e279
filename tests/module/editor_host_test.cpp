// The editor window driven through the dispatcher, as a host does: size,
// idle, close, keys and knob mode before opening and with a window, and idle
// calls that find no window after closing. Each idle of an open window asks the
// sibling for its bus directory; nothing of it reaches the host.
#include "tests/module/standin_sibling.h"

namespace druvo_test {
namespace {

using EditorHost = ModuleTest;

TEST_F(EditorHost, WindowOpensIdlesAndClosesThroughTheDispatcher) {
    auto instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    ERect* rect = nullptr;
    ASSERT_EQ(instance->dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 59);
    EXPECT_EQ(rect->right, 317);
    const int lookups = standin().calls().getDirectory;
    EXPECT_EQ(instance->dispatch(effEditIdle), 0);
    EXPECT_EQ(instance->dispatch(effEditClose), 0);
    EXPECT_EQ(standin().calls().getDirectory, lookups) << "no window, no refresh";
    // No key is used and every knob mode is taken, with a window or without.
    auto expectKeysAndKnobMode = [&](VstIntPtr mode) {
        EXPECT_EQ(instance->dispatch(effEditKeyDown, 65, 0, nullptr, 0.0f), 0);
        EXPECT_EQ(instance->dispatch(effEditKeyUp, 65, 0, nullptr, 0.0f), 0);
        EXPECT_EQ(instance->dispatch(effSetEditKnobMode, 0, mode), 1);
        EXPECT_EQ(instance->dispatch(effSetEditKnobMode, 0, 0), 1);
    };
    expectKeysAndKnobMode(2);

    EXPECT_EQ(instance->dispatch(effEditOpen), 1);
    expectKeysAndKnobMode(1);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(instance->dispatch(effEditIdle), 0);
    EXPECT_EQ(standin().calls().getDirectory, lookups + 3);
    ASSERT_EQ(instance->dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->right, 317);

    EXPECT_EQ(instance->dispatch(effEditClose), 0);
    EXPECT_EQ(instance->dispatch(effEditIdle), 0);
    EXPECT_EQ(instance->dispatch(effEditClose), 0);
    EXPECT_EQ(standin().calls().getDirectory, lookups + 3);
    EXPECT_EQ(HostLog::calls().size(), 1u) << "only the version question at creation";
}

TEST_F(EditorHost, WindowFollowsALinkedBusAndCanBeLeftOpenAtClose) {
    auto instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    instance->selectBus(4);
    AudioBlock block(64);
    instance->processReplacing(block);
    EXPECT_EQ(instance->dispatch(effEditOpen), 1);
    EXPECT_EQ(instance->dispatch(effEditIdle), 0);
    instance->selectBus(0);
    instance->processReplacing(block);
    EXPECT_EQ(instance->dispatch(effEditIdle), 0);
    // Open again without a close, then close the effect with its window still open.
    EXPECT_EQ(instance->dispatch(effEditOpen), 1);
    EXPECT_EQ(instance->dispatch(effEditIdle), 0);
    EXPECT_EQ(instance->close(), 1);
    for (const HostCall& call : HostLog::calls()) EXPECT_NE(call.opcode, audioMasterAutomate);
}

}  // namespace
}  // namespace druvo_test
