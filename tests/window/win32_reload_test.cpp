// A host that unloads the plug-in DLL and loads it again in the same process
// (as hosts do when a project is closed and reopened) gets a working editor
// window: the window class went with the last window and is made anew.
#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <filesystem>
#include <string>

#include "tests/toolkit/native_window.h"
#include "tools/host/built_files.h"
#include "tools/host/plugin_host.h"
#include "tools/host/standin_module.h"

using namespace druvo_host;

namespace {

bool frameClassRegistered(MX::platform::ModuleHandle module) {
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    return GetClassInfoExA(static_cast<HINSTANCE>(module), "DruvoFrameWindow", &info) != 0;
}

}  // namespace

TEST(Win32ReloadTest, EditorOpensAfterTheDllWasUnloadedAndLoadedAgain) {
    std::string error;
    static auto standin = StandinModule::load(builtStandinPath(), &error);
    ASSERT_NE(standin, nullptr) << error;
    const std::string pluginFile = std::filesystem::path(builtPluginPath()).filename().string();
    window_test::NativeWindows desktop;
    void* parent = desktop.createParent(317, 59);
    ASSERT_NE(parent, nullptr);

    for (int round = 0; round < 3; ++round) {
        auto module = PluginModule::load(builtPluginPath(), &error);
        ASSERT_NE(module, nullptr) << error;
        auto effect = PluginInstance::create(module->main());
        ASSERT_NE(effect, nullptr);
        ASSERT_EQ(effect->dispatch(effEditOpen, 0, 0, parent), 1);
        EXPECT_TRUE(frameClassRegistered(module->handle())) << "round " << round;
        effect->dispatch(effEditIdle);
        desktop.sync();
        ASSERT_EQ(desktop.children(parent).size(), 1u) << "round " << round;
        effect->dispatch(effEditClose);
        EXPECT_FALSE(frameClassRegistered(module->handle())) << "round " << round;
        EXPECT_TRUE(desktop.children(parent).empty());
        effect->close();
        effect.reset();
        module.reset();
        ASSERT_EQ(GetModuleHandleA(pluginFile.c_str()), nullptr) << "unloaded for real";
    }
}
