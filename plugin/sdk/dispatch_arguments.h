// Conversions the dispatchers apply to a request's arguments.
// Any thread (pure functions).
#pragma once

#include <cmath>

#include "plugin/vst/aeffect.h"

namespace dispatch_arguments {

// Truncation toward zero; 0 for NaN, infinities and values outside 32 bits,
// whose plain conversion is undefined.
inline VstInt32 truncateToInt32(double value) noexcept {
    if (!std::isfinite(value) || value <= -2147483649.0 || value >= 2147483648.0) return 0;
    return static_cast<VstInt32>(value);
}

inline VstIntPtr answer(bool result) noexcept { return result ? 1 : 0; }

}  // namespace dispatch_arguments
