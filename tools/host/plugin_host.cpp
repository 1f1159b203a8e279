#include "tools/host/plugin_host.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace druvo_host {

namespace {

std::vector<HostCall> gCalls;
VstIntPtr gVersionAnswer = 2400;

// Arrangement types and speaker types of the VST 2.4 interface.
constexpr VstInt32 kArrangementUserDefined = -2;
constexpr VstInt32 kArrangementMono = 0;
constexpr VstInt32 kArrangementStereo = 1;
constexpr VstInt32 kArrangementQuad = 11;
constexpr VstInt32 kSpeakerTypes51[6] = {1, 2, 3, 4, 5, 6};  // L R C Lfe Ls Rs
constexpr const char* kSpeakerNames51[6] = {"L", "R", "C", "Lfe", "Ls", "Rs"};

VstInt32 arrangementType(VstInt32 channels) {
    switch (channels) {
        case 1:
            return kArrangementMono;
        case 2:
            return kArrangementStereo;
        case 4:
            return kArrangementQuad;
        case 6:
            return kSpeakerArr51;
        default:
            return kArrangementUserDefined;
    }
}

}  // namespace

VstIntPtr VSTCALLBACK HostLog::callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                        void* ptr, float opt) {
    gCalls.push_back({effect, opcode, index, value, ptr, opt});
    return opcode == audioMasterVersion ? gVersionAnswer : 0;
}

const std::vector<HostCall>& HostLog::calls() { return gCalls; }
void HostLog::clear() { gCalls.clear(); }
void HostLog::setVersionAnswer(VstIntPtr answer) { gVersionAnswer = answer; }

std::unique_ptr<PluginModule> PluginModule::load(const std::string& path, std::string* error) {
    MX::platform::ModuleHandle handle = MX::platform::loadModule(path.c_str());
    if (handle == nullptr) {
        if (error) *error = "cannot load the plug-in " + path;
        return nullptr;
    }
    auto main = reinterpret_cast<VstMainFn>(MX::platform::findEntry(handle, "main"));
    if (main == nullptr) {
        if (error) *error = "the plug-in " + path + " exports no main";
        MX::platform::freeModule(handle);
        return nullptr;
    }
    return std::unique_ptr<PluginModule>(new PluginModule(handle, main));
}

PluginModule::~PluginModule() { MX::platform::freeModule(handle_); }

std::unique_ptr<PluginInstance> PluginInstance::create(VstMainFn main, audioMasterCallback host) {
    AEffect* effect = main != nullptr ? main(host) : nullptr;
    if (effect == nullptr) return nullptr;
    return std::unique_ptr<PluginInstance>(new PluginInstance(effect));
}

PluginInstance::~PluginInstance() {
    if (effect_ != nullptr) close();
}

VstIntPtr PluginInstance::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

std::string PluginInstance::text(VstInt32 opcode, VstInt32 index, VstIntPtr* result) {
    char buffer[kTextBufferSize];
    std::memset(buffer, kTextMarker, sizeof buffer);
    const VstIntPtr answer = dispatch(opcode, index, 0, buffer);
    if (result != nullptr) *result = answer;
    const void* end = std::memchr(buffer, '\0', sizeof buffer);
    const std::size_t length =
        end ? static_cast<std::size_t>(static_cast<const char*>(end) - buffer) : sizeof buffer;
    return std::string(buffer, length);
}

void PluginInstance::prepare(float sampleRate, VstInt32 blockSize) {
    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    dispatch(effSetBlockSize, 0, blockSize);
    dispatch(effMainsChanged, 0, 1);
}

bool PluginInstance::setChannels(VstInt32 inputChannels, VstInt32 outputChannels) {
    VstSpeakerArrangement input = makeArrangement(inputChannels);
    VstSpeakerArrangement output = makeArrangement(outputChannels);
    // The host switches the effect off while it changes the arrangement.
    dispatch(effMainsChanged, 0, 0);
    const VstIntPtr accepted =
        dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), &output);
    dispatch(effMainsChanged, 0, 1);
    return accepted != 0;
}

bool PluginInstance::enterText(const char* text, VstInt32 index) {
    char buffer[kTextBufferSize];
    std::snprintf(buffer, sizeof buffer, "%s", text != nullptr ? text : "");
    return dispatch(effString2Parameter, index, 0, buffer) != 0;
}

VstIntPtr PluginInstance::close() {
    const VstIntPtr result = dispatch(effClose);
    effect_ = nullptr;
    return result;
}

VstSpeakerArrangement makeArrangement(VstInt32 channels) {
    VstSpeakerArrangement arrangement{};
    const VstInt32 count = std::clamp<VstInt32>(channels, 0, 8);
    arrangement.type = arrangementType(count);
    arrangement.numChannels = count;
    for (VstInt32 i = 0; i < count; ++i) {
        VstSpeakerProperties& speaker = arrangement.speakers[i];
        if (count == 6) {
            speaker.type = kSpeakerTypes51[i];
            std::snprintf(speaker.name, sizeof speaker.name, "%s", kSpeakerNames51[i]);
        } else {
            speaker.type = count == 1 ? 0 : (i % 2) + 1;  // M, or alternating L/R
            std::snprintf(speaker.name, sizeof speaker.name, "%d", static_cast<int>(i + 1));
        }
    }
    return arrangement;
}

}  // namespace druvo_host
