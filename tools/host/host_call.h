// One call an effect made to its host, as the recording host callbacks keep it.
// The calling host thread: UI or audio as the call is.
#pragma once

#include "plugin/vst/aeffect.h"

namespace druvo_host {

struct HostCall {
    AEffect* effect;
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    void* ptr;
    float opt;
};

}  // namespace druvo_host
