// A host callback that records every call, and an error box that records
// instead of showing. Shared by the plug-in unit tests.
// The test's thread.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"
#include "plugin/vst/aeffect.h"
#include "tools/host/host_call.h"

namespace fake_host {

using Call = druvo_host::HostCall;

inline std::vector<Call> calls;
inline VstIntPtr versionAnswer = 2400;
inline VstIntPtr editAnswer = 1;
// Runs inside the callback for audioMasterIdle, as a host that idles its editor there.
inline void (*onIdle)() = nullptr;

inline VstIntPtr VSTCALLBACK callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                      void* ptr, float opt) {
    calls.push_back({effect, opcode, index, value, ptr, opt});
    switch (opcode) {
        case audioMasterVersion:
            return versionAnswer;
        case audioMasterBeginEdit:
        case audioMasterEndEdit:
            return editAnswer;
        case audioMasterIdle:
            if (onIdle) onIdle();
            return 0;
        default:
            return 0;
    }
}

inline void reset() {
    calls.clear();
    versionAnswer = 2400;
    editAnswer = 1;
    onIdle = nullptr;
}

inline int count(VstInt32 opcode) {
    int n = 0;
    for (const Call& call : calls) n += call.opcode == opcode;
    return n;
}

struct Box {
    std::string text;
    std::string caption;
    unsigned style;
};

inline std::vector<Box> boxes;

inline void recordBox(const char* text, const char* caption, unsigned style) {
    boxes.push_back({text ? text : "", caption ? caption : "", style});
}

// Installs the recording box for the lifetime of the object.
class ErrorBoxCapture {
public:
    ErrorBoxCapture() : previous_(MX::platform::setErrorBoxHandler(recordBox)) { boxes.clear(); }
    ~ErrorBoxCapture() { MX::platform::setErrorBoxHandler(previous_); }
    ErrorBoxCapture(const ErrorBoxCapture&) = delete;
    ErrorBoxCapture& operator=(const ErrorBoxCapture&) = delete;

private:
    MX::platform::ErrorBoxHandler previous_;
};

}  // namespace fake_host
