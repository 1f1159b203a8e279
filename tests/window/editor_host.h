// The plug-in as a host has it for an editor test: the stand-in Moltrax
// loaded first, then the built plug-in file by path, and one effect playing
// bus 3 into six outputs, so its editor shows the bus menu, a steady green
// light and the Surround channel picture. Shared by the X11 and Win32 tests.
// The test's thread, as the host's UI thread.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tools/host/plugin_host.h"

namespace window_test {

class EditorHost {
public:
    // Loads both files (once per process) and makes the effect; ok() tells.
    EditorHost();
    ~EditorHost();
    EditorHost(const EditorHost&) = delete;
    EditorHost& operator=(const EditorHost&) = delete;

    bool ok() const { return effect_ != nullptr; }
    const std::string& error() const { return error_; }
    druvo_host::PluginInstance& effect() { return *effect_; }

    // One audio block, as the host's audio thread would play it.
    void play();
    // Unlinked: bus 4, whose record the sibling does not give, so the
    // connection state falls to 0 and the editor hides the bus menu. Linked:
    // bus 3 delivering again. Takes effect with the block this plays.
    void setLinked(bool linked);
    // effEditOpen with the host's native window; its answer.
    long openEditor(void* parent);
    void idle();  // effEditIdle
    void closeEditor();

    // The host calls an edit of the bus menu makes, as "begin 0",
    // "automate 0 0.3125", "end 0", since the last clear.
    static std::vector<std::string> editCalls();
    static void clearCalls();
    // Runs `action` inside the host callback of the next audioMasterEndEdit,
    // as a host that reacts to the end of an edit there.
    static void onNextEndEdit(std::function<void()> action);

private:
    std::unique_ptr<druvo_host::PluginInstance> effect_;
    std::string error_;
};

// Picture rows of the channel display and the light for the effect above.
inline constexpr int kSurroundPictureRow = 4 * 59;
inline constexpr int kGreenLightRow = 0;

}  // namespace window_test
