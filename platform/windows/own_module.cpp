// This library's own module: its instance handle, stored by the load
// notification, and its file path. DllMain lives in this file on purpose: a
// DLL entry symbol in a static library is linked only when something pulls
// its object in, and the plug-in's uses of libraryInstance() and
// ownModulePath() do exactly that.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <atomic>
#include <climits>

#include "platform/platform.h"

namespace MX::platform {

namespace {

std::atomic<HINSTANCE> gInstance{nullptr};

// A static object of this library: the allocation base of its memory region
// is the module that holds our code.
char gAnchor;

HMODULE moduleHoldingThisLibrary() noexcept {
    MEMORY_BASIC_INFORMATION info{};
    if (VirtualQuery(&gAnchor, &info, sizeof info) == 0) return nullptr;
    return static_cast<HMODULE>(info.AllocationBase);
}

}  // namespace

bool ownModulePath(char* buffer, std::size_t size) noexcept {
    if (buffer == nullptr || size == 0) return false;
    buffer[0] = '\0';
    HMODULE module = moduleHoldingThisLibrary();
    if (module == nullptr) return false;
    const DWORD capacity = size > UINT_MAX ? UINT_MAX : static_cast<DWORD>(size);
    const DWORD length = GetModuleFileNameA(module, buffer, capacity);
    if (length == 0) {
        buffer[0] = '\0';
        return false;
    }
    // Older systems leave a truncated path unterminated.
    buffer[length < capacity ? length : capacity - 1] = '\0';
    return true;
}

void* libraryInstance() noexcept {
    // Without a load notification (the library linked into a program, as in
    // tests) the module holding our code is the same handle.
    if (HINSTANCE instance = gInstance.load(std::memory_order_acquire)) return instance;
    return moduleHoldingThisLibrary();
}

}  // namespace MX::platform

// Stores the handle on every notification and never refuses the load.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD /*reason*/, LPVOID /*reserved*/) {
    MX::platform::gInstance.store(instance, std::memory_order_release);
    return TRUE;
}
