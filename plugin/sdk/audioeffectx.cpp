#include "plugin/sdk/audioeffectx.h"

#include "plugin/sdk/aeffeditor.h"
#include "plugin/sdk/dispatch_arguments.h"

using dispatch_arguments::answer;

namespace {

// The key record handed to the editor: character from the index, virtual key
// from the value's lowest byte, modifiers from the float's.
VstKeyCode keyCodeOf(VstInt32 index, VstIntPtr value, float opt) noexcept {
    VstKeyCode key{};
    key.character = index;
    key.virt = static_cast<unsigned char>(value & 0xFF);
    key.modifier = static_cast<unsigned char>(dispatch_arguments::truncateToInt32(opt) & 0xFF);
    return key;
}

}  // namespace

AudioEffectX::AudioEffectX(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams) noexcept
    : AudioEffect(audioMaster, numPrograms, numParams) {}

VstIntPtr AudioEffectX::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    char* text = static_cast<char*>(ptr);
    switch (opcode) {
        case effCanBeAutomated:
            return answer(canParameterBeAutomated(index));
        case effString2Parameter:
            return answer(string2parameter(index, text));
        case effGetNumProgramCategories:
            return getNumCategories();
        case effGetProgramNameIndexed:
            return answer(getProgramNameIndexed(static_cast<VstInt32>(value), index, text));
        case effConnectInput:
        case effConnectOutput:
            return 1;
        case effGetPlugCategory:
            return getPlugCategory();
        case effSetSpeakerArrangement:
            return answer(setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                                static_cast<VstSpeakerArrangement*>(ptr)));
        case effSetBlockSizeAndSampleRate:
            setBlockSizeAndSampleRate(static_cast<VstInt32>(value), opt);
            return 1;
        case effSetBypass:
            return answer(setBypass(value != 0));
        case effGetEffectName:
            return answer(getEffectName(text));
        case effGetVendorString:
            return answer(getVendorString(text));
        case effGetProductString:
            return answer(getProductString(text));
        case effGetVendorVersion:
            return getVendorVersion();
        case effCanDo:
            return canDo(text);
        case effKeysRequired:
            return answer(!keysRequired());
        case effGetVstVersion:
            return getVstVersion();
        case effVendorSpecific:
            return vendorSpecific(index, value, ptr, opt);
        case effEditKeyDown: {
            VstKeyCode key = keyCodeOf(index, value, opt);
            return editor ? answer(editor->onKeyDown(key)) : 0;
        }
        case effEditKeyUp: {
            VstKeyCode key = keyCodeOf(index, value, opt);
            return editor ? answer(editor->onKeyUp(key)) : 0;
        }
        case effSetEditKnobMode:
            return editor ? answer(editor->setKnobMode(static_cast<VstInt32>(value))) : 0;
        case effGetCurrentMidiProgram:
            return -1;
        case effGetSpeakerArrangement:
            return answer(getSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement**>(value),
                                                static_cast<VstSpeakerArrangement**>(ptr)));
        case effSetTotalSampleToProcess:
            return value;
        default:
            if (opcode >= effProcessEvents && opcode <= effGetNumMidiOutputChannels) return 0;
            return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }
}

VstIntPtr AudioEffectX::vendorSpecific(VstInt32 index, VstIntPtr value, void*, float opt) {
    if (index != kPreSonusVendor || value != kContentScaleMessage || !editor) return 0;
    return answer(editor->setContentScaleFactor(opt));
}

bool AudioEffectX::sizeWindow(VstInt32 width, VstInt32 height) {
    return audioMaster && audioMaster(&cEffect, audioMasterSizeWindow, width, height, nullptr, 0.0f) != 0;
}

VstPlugCategory AudioEffectX::getPlugCategory() {
    return (cEffect.flags & effFlagsIsSynth) ? kPlugCategSynth : kPlugCategUnknown;
}
