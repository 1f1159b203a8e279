// This library's own module: the loaded file that holds our code (the
// plug-in, or a program that links this library), found with dladdr.
#include <dlfcn.h>

#include <cstdio>

#include "platform/platform.h"

namespace MX::platform {

namespace {
// Any object of this library's own data: its address tells dladdr which
// loaded file holds it.
char gAnchor;
}  // namespace

bool ownModulePath(char* buffer, std::size_t size) noexcept {
    if (buffer == nullptr || size == 0) return false;
    buffer[0] = '\0';
    Dl_info info{};
    if (dladdr(&gAnchor, &info) == 0 || info.dli_fname == nullptr || info.dli_fname[0] == '\0') {
        return false;
    }
    std::snprintf(buffer, size, "%s", info.dli_fname);
    return true;
}

void* libraryInstance() noexcept {
    Dl_info info{};
    if (dladdr(&gAnchor, &info) == 0) return nullptr;
    return info.dli_fbase;
}

}  // namespace MX::platform
