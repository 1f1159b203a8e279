// Speaker-arrangement helpers of AudioEffectX. Arrangements are plain C blocks
// (calloc/free): their size depends on the channel count, and a failed
// allocation answers false instead of throwing into the host.
#include <cstdlib>
#include <cstring>

#include "plugin/sdk/audioeffectx.h"

namespace {

constexpr std::size_t kHeadBytes = offsetof(VstSpeakerArrangement, speakers);

std::size_t arrangementBytes(VstInt32 channels) noexcept {
    return kHeadBytes + sizeof(VstSpeakerProperties) * static_cast<std::size_t>(channels);
}

}  // namespace

VstSpeakerProperties* AudioEffectX::speakerAt(VstSpeakerArrangement* arrangement, VstInt32 i) noexcept {
    auto* bytes = reinterpret_cast<unsigned char*>(arrangement);
    return reinterpret_cast<VstSpeakerProperties*>(bytes + arrangementBytes(i));
}

const VstSpeakerProperties* AudioEffectX::speakerAt(const VstSpeakerArrangement* arrangement,
                                                    VstInt32 i) noexcept {
    return speakerAt(const_cast<VstSpeakerArrangement*>(arrangement), i);
}

bool AudioEffectX::allocateArrangement(VstSpeakerArrangement** place, VstInt32 channels) noexcept {
    if (!place || channels < 0 || channels > kMaxArrangementChannels) return false;
    void* block = std::calloc(1, arrangementBytes(channels));
    if (!block) return false;
    deallocateArrangement(place);
    *place = static_cast<VstSpeakerArrangement*>(block);
    (*place)->numChannels = channels;
    return true;
}

bool AudioEffectX::deallocateArrangement(VstSpeakerArrangement** place) noexcept {
    if (!place) return false;
    std::free(*place);
    *place = nullptr;
    return true;
}

bool AudioEffectX::copySpeaker(VstSpeakerProperties* to, const VstSpeakerProperties* from) noexcept {
    if (!to || !from) return false;
    const std::size_t nameLength = strnlen(from->name, sizeof to->name - 1);
    std::memcpy(to->name, from->name, nameLength);
    to->name[nameLength] = '\0';
    to->name[sizeof to->name - 1] = '\0';
    to->type = from->type;
    to->azimuth = from->azimuth;
    to->elevation = from->elevation;
    to->radius = from->radius;
    to->reserved = from->reserved;
    std::memcpy(to->future, from->future, sizeof to->future);
    return true;
}

bool AudioEffectX::matchArrangement(VstSpeakerArrangement** place,
                                    const VstSpeakerArrangement* from) noexcept {
    if (!place || !from) return false;
    deallocateArrangement(place);
    if (!allocateArrangement(place, from->numChannels)) return false;
    (*place)->type = from->type;
    for (VstInt32 i = 0; i < from->numChannels; ++i)
        if (!copySpeaker(speakerAt(*place, i), speakerAt(from, i))) return false;
    return true;
}
