// VST 2.x layer of the effect base: answers the dispatcher opcodes 25 to 79,
// hands everything else to AudioEffect, and manages speaker arrangements.
// Each operation runs on the thread the host calls it from: mostly the UI thread, process
// calls and often setParameter on the audio thread.
#pragma once

#include "plugin/sdk/audioeffect.h"

class AudioEffectX : public AudioEffect {
public:
    // Channel counts an arrangement may have; the bound keeps sizes far from overflow.
    static constexpr VstInt32 kMaxArrangementChannels = 4096;

    AudioEffectX(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams) noexcept;

    // Opcodes 25 to 79 here; every other opcode, negative ones included, goes to
    // AudioEffect. UI thread.
    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) override;

    virtual bool canParameterBeAutomated(VstInt32 /*index*/) { return true; }
    virtual bool string2parameter(VstInt32 /*index*/, char* /*text*/) { return false; }
    virtual VstInt32 getNumCategories() { return 1; }
    virtual bool getProgramNameIndexed(VstInt32 /*category*/, VstInt32 /*index*/, char* /*text*/) {
        return false;
    }
    virtual bool setSpeakerArrangement(VstSpeakerArrangement* /*input*/, VstSpeakerArrangement* /*output*/) {
        return false;
    }
    virtual bool getSpeakerArrangement(VstSpeakerArrangement** /*input*/,
                                       VstSpeakerArrangement** /*output*/) {
        return false;
    }
    virtual void setBlockSizeAndSampleRate(VstInt32 newBlockSize, float newSampleRate) {
        blockSize = newBlockSize;
        sampleRate = newSampleRate;
    }
    virtual bool setBypass(bool /*onOff*/) { return false; }
    virtual bool getEffectName(char* /*name*/) { return false; }
    virtual bool getVendorString(char* /*text*/) { return false; }
    virtual bool getProductString(char* /*text*/) { return false; }
    virtual VstInt32 getVendorVersion() { return 0; }
    virtual VstIntPtr canDo(char* /*text*/) { return 0; }
    virtual VstPlugCategory getPlugCategory();
    virtual bool keysRequired() { return false; }
    virtual VstInt32 getVstVersion() { return 2400; }
    // Vendor messages: the host's display scale (PreSonus's extension) goes to
    // the editor, answered 1 when taken; every other message answers 0.
    virtual VstIntPtr vendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt);
    // Asks the host to resize the editor's window (audioMasterSizeWindow); true when it did.
    bool sizeWindow(VstInt32 width, VstInt32 height);

    // Speaker arrangements: an 8-byte head and one VstSpeakerProperties per channel.
    // Frees what `place` holds and stores a zero-filled arrangement for `channels`.
    // False, leaving the place untouched, for a count outside 0..kMaxArrangementChannels
    // or a failed allocation.
    static bool allocateArrangement(VstSpeakerArrangement** place, VstInt32 channels) noexcept;
    // Frees the arrangement in the place, if any, and nulls the place.
    static bool deallocateArrangement(VstSpeakerArrangement** place) noexcept;
    static bool copySpeaker(VstSpeakerProperties* to, const VstSpeakerProperties* from) noexcept;
    // Replaces the place's arrangement with a copy of `from`.
    static bool matchArrangement(VstSpeakerArrangement** place, const VstSpeakerArrangement* from) noexcept;
    // Speaker i of an arrangement allocated for its real count (which may exceed
    // the eight the declared array holds).
    static VstSpeakerProperties* speakerAt(VstSpeakerArrangement* arrangement, VstInt32 i) noexcept;
    static const VstSpeakerProperties* speakerAt(const VstSpeakerArrangement* arrangement,
                                                 VstInt32 i) noexcept;
};
