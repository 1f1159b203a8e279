#include "runtime/vector_primitives.h"

#include <cstring>

namespace MX::runtime {

void copyFloats(float* dst, const float* src, std::int32_t count) noexcept {
    if (dst == nullptr || src == nullptr || count <= 0 || dst == src) return;
    // memmove keeps in-place hosts safe.
    std::memmove(dst, src, static_cast<std::size_t>(count) * sizeof(float));
}

void zeroFloats(float* dst, std::int32_t count) noexcept {
    if (dst == nullptr || count <= 0) return;
    // All-zero bytes are 0.0f in IEEE 754.
    std::memset(dst, 0, static_cast<std::size_t>(count) * sizeof(float));
}

}  // namespace MX::runtime
