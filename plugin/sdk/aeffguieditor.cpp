#include "plugin/sdk/aeffguieditor.h"

#include "platform/platform.h"
#include "plugin/sdk/audioeffect.h"

namespace {

VstInt32 knobMode = 0;

constexpr std::uint32_t kIdleWaitMs = 4;
constexpr std::uint32_t kIdleSlackMs = 50;
constexpr std::uint32_t kIdleIntervalMs = 100;

}  // namespace

AEffGUIEditor::AEffGUIEditor(AudioEffect* effect) noexcept : AEffEditor(effect) {
    if (effect) effect->setEditor(this);
    lastIdleTime = MX::platform::tickCount();
    MX::platform::oleInitialize();
}

AEffGUIEditor::~AEffGUIEditor() { MX::platform::oleUninitialize(); }

bool AEffGUIEditor::getRect(ERect** place) {
    if (!place) return false;
    *place = &rect;
    return true;
}

void AEffGUIEditor::idle() {
    if (!inIdle && frame) frame->idle();
}

bool AEffGUIEditor::setKnobMode(VstInt32 mode) {
    knobMode = mode;
    return true;
}

VstInt32 AEffGUIEditor::getKnobMode() const { return knobMode; }

void AEffGUIEditor::doIdleStuff() {
    std::uint32_t now = MX::platform::tickCount();
    if (now < lastIdleTime) {
        MX::platform::sleepMilliseconds(kIdleWaitMs);
        now += kIdleWaitMs;
        if (now < lastIdleTime - kIdleSlackMs) return;
    }
    idle();
    MX::platform::deliverPendingPaint();
    lastIdleTime = now + kIdleIntervalMs;
    inIdle = true;
    if (effect) effect->masterIdle();
    inIdle = false;
}

void AEffGUIEditor::beginEdit(VstInt32 index) {
    if (effect) effect->beginEdit(index);
}

void AEffGUIEditor::endEdit(VstInt32 index) {
    if (effect) effect->endEdit(index);
}
