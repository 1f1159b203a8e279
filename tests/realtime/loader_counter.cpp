// Interposed dynamic-loader entries: count while watching, then forward to
// the C library's own entries, found once with dlvsym (which is not
// interposed, so the lookup cannot come back here). Linux only: Windows has
// no symbol interposition, so the same test cannot run under wine.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

#include "tests/realtime/call_counters.h"

namespace druvo_test {

namespace detail {
std::atomic<long> loaderCalls{0};
std::atomic<bool> loaderReached{false};
}  // namespace detail

namespace {

using DlsymFn = void* (*)(void*, const char*);

void countLoaderCall() {
    detail::loaderReached.store(true, std::memory_order_relaxed);
    if (detail::watching.load(std::memory_order_relaxed))
        detail::loaderCalls.fetch_add(1, std::memory_order_relaxed);
}

DlsymFn realDlsym() {
    static const DlsymFn real = [] {
        void* entry = dlvsym(RTLD_NEXT, "dlsym", "GLIBC_2.34");
        if (entry == nullptr) entry = dlvsym(RTLD_NEXT, "dlsym", "GLIBC_2.2.5");
        if (entry == nullptr) {
            std::fprintf(stderr, "cannot find the C library's dlsym\n");
            std::abort();
        }
        return reinterpret_cast<DlsymFn>(entry);
    }();
    return real;
}

template <class Fn>
Fn realEntry(const char* name) {
    void* entry = realDlsym()(RTLD_NEXT, name);
    if (entry == nullptr) {
        std::fprintf(stderr, "cannot find the C library's %s\n", name);
        std::abort();
    }
    return reinterpret_cast<Fn>(entry);
}

}  // namespace
}  // namespace druvo_test

using druvo_test::countLoaderCall;
using druvo_test::realEntry;

extern "C" {

__attribute__((visibility("default"))) void* dlopen(const char* file, int mode) {
    countLoaderCall();
    static const auto real = realEntry<void* (*)(const char*, int)>("dlopen");
    return real(file, mode);
}

__attribute__((visibility("default"))) void* dlsym(void* handle, const char* name) {
    countLoaderCall();
    return druvo_test::realDlsym()(handle, name);
}

__attribute__((visibility("default"))) int dlclose(void* handle) {
    countLoaderCall();
    static const auto real = realEntry<int (*)(void*)>("dlclose");
    return real(handle);
}

__attribute__((visibility("default"))) int dladdr(const void* address, Dl_info* info) {
    countLoaderCall();
    static const auto real = realEntry<int (*)(const void*, Dl_info*)>("dladdr");
    return real(address, info);
}

}  // extern "C"
