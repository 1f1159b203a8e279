// The plug-in in a process without Moltrax: effects are built, keep their
// selection and pass their audio through.
#include <gtest/gtest.h>

#include "tests/module/plugin_host.h"

namespace druvo_test {
namespace {

TEST(SiblingAbsent, ConnectExportReportsTheMissingSibling) {
    const PluginModule& module = PluginModule::instance();
    ASSERT_NE(module.connectExport(), nullptr);
    EXPECT_EQ(module.connectExport()(), 0);
    EXPECT_EQ(module.connectExport()(), 0) << "tried again, still missing";
    EXPECT_EQ(module.disconnectExport()(), 1);
}

TEST(SiblingAbsent, EffectsPassAudioThroughWithABusSelected) {
    auto first = PluginInstance::create();
    auto second = PluginInstance::create();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    first->selectBus(1);
    second->dispatch(effSetProgram, 0, 16);
    EXPECT_EQ(first->program(), 1);
    EXPECT_EQ(second->text(effGetProgramName), "Moltrax Bus 16");
    for (PluginInstance* instance : {first.get(), second.get()}) {
        for (int round = 0; round < 3; ++round) {
            AudioBlock block(128);
            instance->processReplacing(block);
            for (int c = 0; c < kChannels; ++c) EXPECT_EQ(block.outputChannel(c), block.inputChannel(c));
        }
    }
}

TEST(SiblingAbsent, EffectsComeAndGo) {
    for (int round = 0; round < 3; ++round) {
        auto instance = PluginInstance::create();
        ASSERT_NE(instance, nullptr);
        instance->selectBus(round + 1);
        AudioBlock block(16);
        instance->processAccumulating(block);
        EXPECT_EQ(instance->close(), 1);
    }
}

}  // namespace
}  // namespace druvo_test
