// Counts heap and dynamic-loader calls made while an audio call is under way.
// The test executable itself defines malloc, calloc, realloc, free, the
// aligned allocators, the global operator new/delete and dlopen, dlsym,
// dlclose, dladdr, and exports them, so the plug-in loaded into it binds to
// these definitions. Counting happens only inside an AudioCallScope.
// Any thread; counts only on the thread inside an AudioCallScope.
#pragma once

#include <atomic>

namespace druvo_test {

struct AudioCallCounts {
    long allocations = 0;  // malloc, calloc, realloc, aligned allocators, operator new
    long frees = 0;        // free, operator delete
    long loaderCalls = 0;  // dlopen, dlsym, dlclose, dladdr
};

namespace detail {
extern std::atomic<bool> watching;
extern std::atomic<long> allocations;
extern std::atomic<long> frees;
extern std::atomic<long> loaderCalls;
// Set once an interposed entry has been reached at all, watching or not.
extern std::atomic<bool> allocatorReached;
extern std::atomic<bool> loaderReached;
}  // namespace detail

// What was counted since the last reset.
inline AudioCallCounts audioCallCounts() {
    return {detail::allocations.load(), detail::frees.load(), detail::loaderCalls.load()};
}
inline void resetAudioCallCounts() {
    detail::allocations.store(0);
    detail::frees.store(0);
    detail::loaderCalls.store(0);
}
// Proof that the counters see the calls of the loaded plug-in at all.
inline bool allocatorInterposed() { return detail::allocatorReached.load(); }
inline bool loaderInterposed() { return detail::loaderReached.load(); }

// Marks the span of one call into the plug-in that a host makes on its audio thread.
class AudioCallScope {
public:
    AudioCallScope() { detail::watching.store(true, std::memory_order_seq_cst); }
    ~AudioCallScope() { detail::watching.store(false, std::memory_order_seq_cst); }
    AudioCallScope(const AudioCallScope&) = delete;
    AudioCallScope& operator=(const AudioCallScope&) = delete;
};

}  // namespace druvo_test
