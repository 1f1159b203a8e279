// Float vector copy and zero for the audio path, on the C library's memmove
// and memset, which already use the widest vector unit the processor offers.
// Any thread; the calls allocate nothing and take no lock.
#pragma once

#include <cstdint>

namespace MX::runtime {

// Copies `count` floats; nothing for count <= 0 or a null pointer. The two
// ranges may overlap (hosts process in place).
void copyFloats(float* dst, const float* src, std::int32_t count) noexcept;

// Writes 0.0f to `count` floats; nothing for count <= 0 or a null pointer.
void zeroFloats(float* dst, std::int32_t count) noexcept;

}  // namespace MX::runtime
