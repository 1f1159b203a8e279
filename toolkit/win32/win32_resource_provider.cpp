#include "toolkit/win32/win32_resource_provider.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdint>
#include <span>

#include "platform/platform.h"
#include "toolkit/bmp_reader.h"

namespace MX::toolkit {

Win32ResourceProvider::Win32ResourceProvider(void* instance)
    : instance_(instance ? instance : platform::libraryInstance()) {}

bool Win32ResourceProvider::loadBitmap(int id, PixelImage& image) {
    image = PixelImage{};
    if (id <= 0 || id > 0xFFFF) return false;  // not a numeric resource id
    auto module = static_cast<HMODULE>(instance_);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), reinterpret_cast<LPCSTR>(RT_BITMAP));
    if (!found) return false;
    // Resource memory belongs to the module and needs no release.
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = SizeofResource(module, found);
    if (!bytes || size == 0) return false;
    return decodeDib(std::span(static_cast<const std::uint8_t*>(bytes), size), image);
}

}  // namespace MX::toolkit
