#include "plugin/sdk/audioeffect.h"

#include <cstring>
#include <limits>

#include "plugin/sdk/aeffeditor.h"
#include "plugin/sdk/dispatch_arguments.h"

using dispatch_arguments::answer;

namespace {

constexpr VstInt32 kNoEffectId = 0x4E6F4566;       // 'NoEf'
constexpr VstIntPtr kIdentifyAnswer = 0x4E764566;  // 'NvEf'

AudioEffect* effectOf(AEffect* e) noexcept { return e ? static_cast<AudioEffect*>(e->object) : nullptr; }

// Runs `call` on the record's effect; an exception ends here, never in the host.
template <typename Call>
void runGuarded(AEffect* e, Call&& call) noexcept {
    AudioEffect* effect = effectOf(e);
    if (!effect) return;
    try {
        call(*effect);
    } catch (...) {
    }
}

}  // namespace

AudioEffect::AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams) noexcept
    : audioMaster(audioMaster),
      editor(nullptr),
      sampleRate(44100.0f),
      blockSize(1024),
      numPrograms(numPrograms),
      numParams(numParams),
      curProgram(0) {
    std::memset(&cEffect, 0, sizeof cEffect);
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchEntry;
    cEffect.process = processEntry;
    cEffect.setParameter = setParameterEntry;
    cEffect.getParameter = getParameterEntry;
    cEffect.numPrograms = numPrograms;
    cEffect.numParams = numParams;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.flags = effFlagsCanReplacing;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = kNoEffectId;
    cEffect.version = 1;
    cEffect.processReplacing = processReplacingEntry;
    cEffect.processDoubleReplacing = processDoubleReplacingEntry;
}

AudioEffect::~AudioEffect() { delete editor; }

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    switch (opcode) {
        case effOpen:
            open();
            return 0;
        case effClose:
            close();
            return 0;
        case effSetProgram:
            // Signed comparison: negative numbers reach setProgram, which decides.
            // Values beyond 32 bits are never narrowed into range.
            if (value < numPrograms && value >= std::numeric_limits<VstInt32>::min())
                setProgram(static_cast<VstInt32>(value));
            return 0;
        case effGetProgram:
            return getProgram();
        case effSetProgramName:
            setProgramName(static_cast<char*>(ptr));
            return 0;
        case effGetProgramName:
            getProgramName(static_cast<char*>(ptr));
            return 0;
        case effGetParamLabel:
            getParameterLabel(index, static_cast<char*>(ptr));
            return 0;
        case effGetParamDisplay:
            getParameterDisplay(index, static_cast<char*>(ptr));
            return 0;
        case effGetParamName:
            getParameterName(index, static_cast<char*>(ptr));
            return 0;
        case effGetVu:
            return dispatch_arguments::truncateToInt32(getVu() * 32767.0);
        case effSetSampleRate:
            setSampleRate(opt);
            return 0;
        case effSetBlockSize:
            setBlockSize(static_cast<VstInt32>(value));
            return 0;
        case effMainsChanged:
            value ? resume() : suspend();
            return 0;
        case effEditGetRect:
            return editor ? answer(editor->getRect(static_cast<ERect**>(ptr))) : 0;
        case effEditOpen:
            return editor ? answer(editor->open(ptr)) : 0;
        case effEditClose:
            if (editor) editor->close();
            return 0;
        case effEditIdle:
            if (editor) editor->idle();
            return 0;
        case effIdentify:
            return kIdentifyAnswer;
        case effGetChunk:
            return getChunk(static_cast<void**>(ptr), index != 0);
        case effSetChunk:
            return setChunk(ptr, static_cast<VstInt32>(value), index != 0);
        default:
            return 0;
    }
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value) {
    setParameter(index, value);
    if (audioMaster) audioMaster(&cEffect, audioMasterAutomate, index, 0, nullptr, value);
}

void AudioEffect::setEditor(AEffEditor* newEditor) noexcept {
    editor = newEditor;
    setFlag(effFlagsHasEditor, newEditor != nullptr);
}

void AudioEffect::setFlag(VstInt32 flag, bool state) noexcept {
    if (state)
        cEffect.flags |= flag;
    else
        cEffect.flags &= ~flag;
}

VstIntPtr AudioEffect::hostVersion(audioMasterCallback audioMaster) noexcept {
    return audioMaster ? audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) : 0;
}

void AudioEffect::masterIdle() {
    if (audioMaster) audioMaster(&cEffect, audioMasterIdle, 0, 0, nullptr, 0.0f);
}

bool AudioEffect::beginEdit(VstInt32 index) {
    return audioMaster && audioMaster(&cEffect, audioMasterBeginEdit, index, 0, nullptr, 0.0f) != 0;
}

bool AudioEffect::endEdit(VstInt32 index) {
    return audioMaster && audioMaster(&cEffect, audioMasterEndEdit, index, 0, nullptr, 0.0f) != 0;
}

// ---- Entries of the interface record --------------------------------------------

VstIntPtr VSTCALLBACK AudioEffect::dispatchEntry(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                                 void* ptr, float opt) {
    AudioEffect* effect = effectOf(e);
    if (!effect) return 0;
    VstIntPtr result = 0;
    try {
        result = effect->dispatcher(opcode, index, value, ptr, opt);
    } catch (...) {
        result = 0;
    }
    if (opcode == effClose) {
        // Destruction may call the host (an open edit ends with the editor);
        // a host that calls back from there finds no effect, not half of one.
        e->object = nullptr;
        delete effect;
        return 1;
    }
    return result;
}

void VSTCALLBACK AudioEffect::processEntry(AEffect* e, float** inputs, float** outputs,
                                           VstInt32 sampleFrames) {
    runGuarded(e, [&](AudioEffect& effect) { effect.process(inputs, outputs, sampleFrames); });
}

void VSTCALLBACK AudioEffect::processReplacingEntry(AEffect* e, float** inputs, float** outputs,
                                                    VstInt32 sampleFrames) {
    runGuarded(e, [&](AudioEffect& effect) { effect.processReplacing(inputs, outputs, sampleFrames); });
}

void VSTCALLBACK AudioEffect::processDoubleReplacingEntry(AEffect* e, double** inputs, double** outputs,
                                                          VstInt32 sampleFrames) {
    runGuarded(e, [&](AudioEffect& effect) { effect.processDoubleReplacing(inputs, outputs, sampleFrames); });
}

void VSTCALLBACK AudioEffect::setParameterEntry(AEffect* e, VstInt32 index, float value) {
    runGuarded(e, [&](AudioEffect& effect) { effect.setParameter(index, value); });
}

float VSTCALLBACK AudioEffect::getParameterEntry(AEffect* e, VstInt32 index) {
    float value = 0.0f;
    runGuarded(e, [&](AudioEffect& effect) { value = effect.getParameter(index); });
    return value;
}
