// Capacities of the host's text buffers: the interface's limits and a terminator.
// Any thread (constants).
#pragma once

#include <cstddef>

#include "plugin/vst/aeffect.h"

namespace MX::host_text {

inline constexpr std::size_t kParameterTextBytes = kVstMaxParamStrLen + 1;
// "Bus Selection" is written whole although it exceeds kVstMaxParamStrLen:
// hosts give parameter names far larger buffers, and a cut name would read "Bus Sele".
inline constexpr std::size_t kParameterNameBytes = sizeof("Bus Selection");
inline constexpr std::size_t kProgramNameBytes = kVstMaxProgNameLen + 1;
inline constexpr std::size_t kEffectNameBytes = kVstMaxEffectNameLen + 1;
inline constexpr std::size_t kVendorBytes = kVstMaxVendorStrLen + 1;
inline constexpr std::size_t kProductBytes = kVstMaxProductStrLen + 1;

}  // namespace MX::host_text
