// Interposed heap entries: count while watching, then hand the call to the C
// library's own allocator (glibc's __libc_* entries, which never come back here).
#include <cstddef>
#include <cstdlib>
#include <new>

#include "tests/realtime/call_counters.h"

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* block);
}

namespace druvo_test {

namespace detail {
std::atomic<bool> watching{false};
std::atomic<long> allocations{0};
std::atomic<long> frees{0};
std::atomic<bool> allocatorReached{false};
}  // namespace detail

namespace {

void countAllocation() {
    detail::allocatorReached.store(true, std::memory_order_relaxed);
    if (detail::watching.load(std::memory_order_relaxed))
        detail::allocations.fetch_add(1, std::memory_order_relaxed);
}

void countFree(void* block) {
    if (block != nullptr && detail::watching.load(std::memory_order_relaxed))
        detail::frees.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace
}  // namespace druvo_test

using druvo_test::countAllocation;
using druvo_test::countFree;

extern "C" {

__attribute__((visibility("default"))) void* malloc(std::size_t size) {
    countAllocation();
    return __libc_malloc(size);
}

__attribute__((visibility("default"))) void* calloc(std::size_t count, std::size_t size) {
    countAllocation();
    return __libc_calloc(count, size);
}

__attribute__((visibility("default"))) void* realloc(void* block, std::size_t size) {
    countAllocation();
    return __libc_realloc(block, size);
}

__attribute__((visibility("default"))) void free(void* block) {
    countFree(block);
    __libc_free(block);
}

__attribute__((visibility("default"))) void* memalign(std::size_t alignment, std::size_t size) {
    countAllocation();
    return __libc_memalign(alignment, size);
}

__attribute__((visibility("default"))) void* aligned_alloc(std::size_t alignment, std::size_t size) {
    countAllocation();
    return __libc_memalign(alignment, size);
}

__attribute__((visibility("default"))) int posix_memalign(void** place, std::size_t alignment,
                                                          std::size_t size) {
    countAllocation();
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0) return 22;  // EINVAL
    void* block = __libc_memalign(alignment, size);
    if (block == nullptr) return 12;  // ENOMEM
    *place = block;
    return 0;
}

}  // extern "C"

// The global operators reach the counted entries above.
void* operator new(std::size_t size) {
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    if (void* block = aligned_alloc(static_cast<std::size_t>(alignment), size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size, std::align_val_t alignment) { return operator new(size, alignment); }
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return aligned_alloc(static_cast<std::size_t>(alignment), size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return aligned_alloc(static_cast<std::size_t>(alignment), size == 0 ? 1 : size);
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete(void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept { std::free(block); }
