#include "plugin/druvo.h"

#include <new>

#include "link/bus_directory.h"
#include "link/sibling_module.h"
#include "plugin/module_name_check.h"

namespace MX {

namespace {

// Live effects: the first loads the sibling module, the last unloads it.
std::atomic<std::int32_t> instanceCounter{0};

}  // namespace

// The counter counts the new effect. Its instance number is not the count: the
// bus link takes the lowest number that no live effect holds.
void Druvo::registerInstance() noexcept { instanceCounter.fetch_add(1, std::memory_order_relaxed); }

Druvo::Druvo(audioMasterCallback audioMaster, EditorFactory makeEditor)
    : AudioEffectX(audioMaster, kNumPrograms, kNumParameters) {
    link::fillDefaultDirectory(outputBusTable_);
    registerInstance();
    link::connectSibling();
    setUniqueID(kUniqueId);
    checkOwnModuleFileName();

    setNumInputs(kNumChannels);
    setNumOutputs(kNumChannels);
    // A failed allocation leaves the arrangement absent: the audio path then
    // writes nothing and the product string reads n/a.
    if (allocateArrangement(&inputArrangement_, kNumChannels)) inputArrangement_->type = kSpeakerArr51;
    if (allocateArrangement(&outputArrangement_, kNumChannels)) outputArrangement_->type = kSpeakerArr51;

    hasVu();
    canMono();
    canProcessReplacing();

    if (makeEditor != nullptr) makeEditor(*this);
}

Druvo::~Druvo() {
    connection_.releaseAtDestruction();
    if (instanceCounter.fetch_sub(1, std::memory_order_relaxed) == 1) link::disconnectSibling();
    deallocateArrangement(&inputArrangement_);
    deallocateArrangement(&outputArrangement_);
}

void Druvo::process(float** inputs, float** outputs, VstInt32 sampleFrames) {
    if (outputArrangement_ == nullptr) return;  // its allocation failed: nothing is written
    const VstInt32 inputChannels = inputArrangement_ != nullptr ? inputArrangement_->numChannels : 0;
    connection_.process(inputs, outputs, sampleFrames, inputChannels, outputArrangement_->numChannels);
}

void Druvo::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
    process(inputs, outputs, sampleFrames);
}

AEffect* createDruvo(audioMasterCallback audioMaster, Druvo::EditorFactory makeEditor) noexcept {
    try {
        if (!AudioEffect::hostVersion(audioMaster)) return nullptr;
        Druvo* effect = new (std::nothrow) Druvo(audioMaster, makeEditor);
        return effect ? effect->getAeffect() : nullptr;
    } catch (...) {
        return nullptr;
    }
}

}  // namespace MX
