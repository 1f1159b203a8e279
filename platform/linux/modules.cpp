// Shared objects through the dynamic loader. Linux has no export ordinals, so
// ordinal lookups use the entry's Linux name.
#include <dlfcn.h>

#include <cstring>

#include "platform/platform.h"

namespace MX::platform {

const char kModuleSuffix[] = ".so";
const char kPathSeparator = '/';

ModuleHandle loadModule(const char* fileName) noexcept {
    // dlopen(nullptr) would hand back the main program.
    if (fileName == nullptr || fileName[0] == '\0') return nullptr;
    // Local binding keeps the sibling's symbols, which share names with our
    // own exports, out of the global scope.
    return dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
}

ModuleHandle loadSharedLibrary(const char* fileName) noexcept {
    if (fileName == nullptr || std::strchr(fileName, '/') != nullptr) return nullptr;
    return loadModule(fileName);
}

void freeModule(ModuleHandle module) noexcept {
    if (module != nullptr) dlclose(module);
}

void* findEntry(ModuleHandle module, const char* name) noexcept {
    if (module == nullptr || name == nullptr || name[0] == '\0') return nullptr;
    return dlsym(module, name);
}

void* findEntryByOrdinal(ModuleHandle module, int ordinal, const char* linuxName) noexcept {
    // Same range as a Windows ordinal, so both builds refuse the same input.
    if (ordinal < 1 || ordinal > 0xFFFF) return nullptr;
    return findEntry(module, linuxName);
}

}  // namespace MX::platform
