#include "runtime/vector_primitives.h"

#include <atomic>
#include <cstring>

namespace MX::runtime {

namespace {

using CopyVariant = void (*)(float*, const float*, std::size_t) noexcept;
using ZeroVariant = void (*)(float*, std::size_t) noexcept;

// The C library's memmove/memset already use the widest vector unit the
// processor offers, and memmove keeps in-place hosts safe.
void copyWithLibc(float* dst, const float* src, std::size_t count) noexcept {
    std::memmove(dst, src, count * sizeof(float));
}

// All-zero bytes are 0.0f in IEEE 754.
void zeroWithLibc(float* dst, std::size_t count) noexcept { std::memset(dst, 0, count * sizeof(float)); }

// Atomic because effects are built on the UI thread while other instances'
// audio threads call through these pointers.
std::atomic<CopyVariant> gCopy{copyWithLibc};
std::atomic<ZeroVariant> gZero{zeroWithLibc};
std::atomic<bool> gChosen{false};

}  // namespace

void initVectorPrimitives() noexcept {
    if (gChosen.exchange(true, std::memory_order_acq_rel)) return;
    // The C library's routines already pick their vector unit at load; a
    // hand-written variant belongs here only once a benchmark shows it faster.
    gCopy.store(copyWithLibc, std::memory_order_relaxed);
    gZero.store(zeroWithLibc, std::memory_order_relaxed);
}

void copyFloats(float* dst, const float* src, std::int32_t count) noexcept {
    if (dst == nullptr || src == nullptr || count <= 0 || dst == src) return;
    gCopy.load(std::memory_order_relaxed)(dst, src, static_cast<std::size_t>(count));
}

void zeroFloats(float* dst, std::int32_t count) noexcept {
    if (dst == nullptr || count <= 0) return;
    gZero.load(std::memory_order_relaxed)(dst, static_cast<std::size_t>(count));
}

}  // namespace MX::runtime
