#include "editor_host.h"

#include <cstdio>
#include <utility>

#include "tools/host/built_files.h"
#include "tools/host/standin_module.h"

namespace window_test {

using druvo_host::HostLog;
using druvo_host::PluginInstance;
using druvo_host::PluginModule;
using druvo_host::StandinModule;

namespace {

constexpr int kBlockFrames = 64;
constexpr int kChannels = 6;

// Kept for the process, as a host keeps a plug-in library while it may come back.
StandinModule* loadedStandin(std::string& error) {
    static std::unique_ptr<StandinModule> standin =
        StandinModule::load(druvo_host::builtStandinPath(), &error);
    return standin.get();
}

std::function<void()> endEditAction;

VstIntPtr VSTCALLBACK hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                   void* ptr, float opt) {
    const VstIntPtr answer = HostLog::callback(effect, opcode, index, value, ptr, opt);
    if (opcode == audioMasterEndEdit && endEditAction) std::exchange(endEditAction, {})();
    return answer;
}

PluginModule* loadedPlugin(std::string& error) {
    static std::unique_ptr<PluginModule> plugin =
        loadedStandin(error) ? PluginModule::load(druvo_host::builtPluginPath(), &error) : nullptr;
    return plugin.get();
}

}  // namespace

EditorHost::EditorHost() {
    PluginModule* plugin = loadedPlugin(error_);
    if (!plugin) return;
    effect_ = PluginInstance::create(plugin->main(), &hostCallback);
    if (!effect_) {
        error_ = "main returned no effect";
        return;
    }
    loadedStandin(error_)->control().recordsNull = 0;
    effect_->prepare(44100.0f, kBlockFrames);
    effect_->setChannels(kChannels, kChannels);
    effect_->selectBus(3);
    play();
    play();
    clearCalls();
}

EditorHost::~EditorHost() {
    endEditAction = nullptr;
    effect_.reset();  // closes the effect unless a test closed it
}

void EditorHost::play() {
    std::vector<std::vector<float>> buffers(2 * kChannels, std::vector<float>(kBlockFrames, 0.0f));
    std::vector<float*> pointers;
    for (auto& buffer : buffers) pointers.push_back(buffer.data());
    effect_->processReplacing(pointers.data(), pointers.data() + kChannels, kBlockFrames);
}

void EditorHost::setLinked(bool linked) {
    std::string error;
    loadedStandin(error)->control().recordsNull = linked ? 0 : 1;
    effect_->selectBus(linked ? 3 : 4);
    play();
}

long EditorHost::openEditor(void* parent) {
    return static_cast<long>(effect_->dispatch(effEditOpen, 0, 0, parent));
}

void EditorHost::idle() { effect_->dispatch(effEditIdle); }

void EditorHost::closeEditor() { effect_->dispatch(effEditClose); }

std::vector<std::string> EditorHost::editCalls() {
    std::vector<std::string> calls;
    char text[64];
    for (const druvo_host::HostCall& call : HostLog::calls()) {
        if (call.opcode == audioMasterBeginEdit) {
            std::snprintf(text, sizeof text, "begin %d", call.index);
        } else if (call.opcode == audioMasterEndEdit) {
            std::snprintf(text, sizeof text, "end %d", call.index);
        } else if (call.opcode == audioMasterAutomate) {
            std::snprintf(text, sizeof text, "automate %d %g", call.index, static_cast<double>(call.opt));
        } else {
            continue;
        }
        calls.emplace_back(text);
    }
    return calls;
}

void EditorHost::clearCalls() { HostLog::clear(); }

void EditorHost::onNextEndEdit(std::function<void()> action) { endEditAction = std::move(action); }

}  // namespace window_test
