// Float vector copy and zero for the audio path. Each call goes through a
// variant picked once by initVectorPrimitives(); until then the C library's
// variants serve, so early calls are safe. Any thread; the calls allocate
// nothing and take no lock.
#pragma once

#include <cstdint>

namespace MX::runtime {

// Picks the variants for this processor. Idempotent; call before audio runs.
void initVectorPrimitives() noexcept;

// Copies `count` floats; nothing for count <= 0 or a null pointer. The two
// ranges may overlap (hosts process in place).
void copyFloats(float* dst, const float* src, std::int32_t count) noexcept;

// Writes 0.0f to `count` floats; nothing for count <= 0 or a null pointer.
void zeroFloats(float* dst, std::int32_t count) noexcept;

}  // namespace MX::runtime
