// Exports what the platform layer reports about the library it is linked into.
#include <cstddef>

#include "platform/platform.h"

extern "C" bool probeOwnModulePath(char* buffer, std::size_t size) {
    return MX::platform::ownModulePath(buffer, size);
}

extern "C" void* probeLibraryInstance() { return MX::platform::libraryInstance(); }
