// One 64-frame block of silence through an effect's replacing entry, six
// channels in and out: what moves the connection state, since claims happen
// on the audio path.
// The host program's thread, as the host's audio thread.
#pragma once

#include "plugin/vst/aeffect.h"

namespace druvo_host {

inline void runSilentBlock(AEffect* effect) {
    static float buffers[12][64];
    float* inputs[6];
    float* outputs[6];
    for (int i = 0; i < 6; ++i) {
        inputs[i] = buffers[i];
        outputs[i] = buffers[6 + i];
    }
    effect->processReplacing(effect, inputs, outputs, 64);
}

}  // namespace druvo_host
