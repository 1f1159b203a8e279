// The plug-in in a process without Moltrax: effects are built, keep their
// selection and pass their audio through. Run again with the stand-in on the
// loader's search path (DRUVO_STANDIN_ON_SEARCH_PATH set), loaded by nobody
// but the plug-in: its own load and unload are then what the process sees.
#include <gtest/gtest.h>

#include <cstdlib>

#ifndef _WIN32
#include <dlfcn.h>
#endif

#include "tests/module/plugin_host.h"

namespace druvo_test {
namespace {

bool onSearchPath() { return std::getenv("DRUVO_STANDIN_ON_SEARCH_PATH") != nullptr; }

TEST(SiblingAbsent, ConnectExportReportsTheMissingSibling) {
    if (onSearchPath()) GTEST_SKIP() << "the stand-in is on the search path";
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

#ifndef _WIN32
// Linux only: the second run, with the stand-in on the search path, is not
// set up for Windows.
bool siblingInProcess() {
    void* module = dlopen("Moltrax.so", RTLD_NOW | RTLD_NOLOAD);
    if (module != nullptr) dlclose(module);
    return module != nullptr;
}

TEST(SiblingLoadedByThePlugin, LastEffectUnloadsIt) {
    if (!onSearchPath()) GTEST_SKIP() << "no stand-in on the search path";
    ASSERT_FALSE(siblingInProcess());
    auto first = PluginInstance::create();
    auto second = PluginInstance::create();
    EXPECT_TRUE(siblingInProcess());
    first->close();
    EXPECT_TRUE(siblingInProcess());
    second->close();
    EXPECT_FALSE(siblingInProcess());
    const PluginModule& module = PluginModule::instance();
    EXPECT_EQ(module.connectExport()(), 1);
    EXPECT_TRUE(siblingInProcess());
    EXPECT_EQ(module.disconnectExport()(), 1);
    EXPECT_FALSE(siblingInProcess());
}
#endif

}  // namespace
}  // namespace druvo_test
