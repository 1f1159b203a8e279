// Modules through the Windows loader: by name and by export ordinal.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/platform.h"

namespace MX::platform {

const char kModuleSuffix[] = ".dll";
const char kPathSeparator = '\\';

ModuleHandle loadModule(const char* fileName) noexcept {
    if (fileName == nullptr || fileName[0] == '\0') return nullptr;
    return LoadLibraryA(fileName);
}

void freeModule(ModuleHandle module) noexcept {
    if (module != nullptr) FreeLibrary(static_cast<HMODULE>(module));
}

void* findEntry(ModuleHandle module, const char* name) noexcept {
    // GetProcAddress reads a "name" below 0x10000 as an ordinal; names here
    // are real strings, so empty ones are refused rather than guessed at.
    if (module == nullptr || name == nullptr || name[0] == '\0') return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

void* findEntryByOrdinal(ModuleHandle module, int ordinal, const char* /*linuxName*/) noexcept {
    // MAKEINTRESOURCEA keeps 16 bits: out-of-range ordinals would alias others.
    if (module == nullptr || ordinal < 1 || ordinal > 0xFFFF) return nullptr;
    return reinterpret_cast<void*>(
        GetProcAddress(static_cast<HMODULE>(module), MAKEINTRESOURCEA(static_cast<WORD>(ordinal))));
}

}  // namespace MX::platform
