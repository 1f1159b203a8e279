// Finds a library that another plug-in of the host provides, by bare file
// name, in the host's DLL search folders (those it added included) but never
// in the current directory, where anyone could have planted a file of that
// name. Nothing here changes the process's search settings.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstring>
#include <cwchar>
#include <memory>
#include <new>

#include "platform/platform.h"

namespace MX::platform {

namespace {

constexpr DWORD kPathCapacity = 1024;

bool isBareFileName(const char* fileName) noexcept {
    return fileName != nullptr && fileName[0] != '\0' && std::strpbrk(fileName, "\\/:") == nullptr;
}

// Only absolute folders: a relative one ("." or "bin") would lead back into
// the current directory.
bool isAbsoluteFolder(const char* folder, std::size_t length) noexcept {
    if (length >= 3 && folder[1] == ':' && (folder[2] == '\\' || folder[2] == '/')) return true;
    return length >= 2 && folder[0] == '\\' && folder[1] == '\\';
}

// Loads folder\fileName when that file exists; null otherwise.
HMODULE loadFrom(const char* folder, std::size_t length, const char* fileName) noexcept {
    if (length >= 2 && folder[0] == '"' && folder[length - 1] == '"') {
        ++folder;
        length -= 2;
    }
    if (!isAbsoluteFolder(folder, length)) return nullptr;
    char path[kPathCapacity];
    const bool separated = folder[length - 1] == '\\' || folder[length - 1] == '/';
    const std::size_t nameLength = std::strlen(fileName);
    if (length + 1 + nameLength >= sizeof path) return nullptr;
    std::memcpy(path, folder, length);
    std::size_t at = length;
    if (!separated) path[at++] = '\\';
    std::memcpy(path + at, fileName, nameLength + 1);

    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return nullptr;
    }
    // The library's own dependencies are then looked for beside it first.
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE loadFromFolder(const char* folder, DWORD length, const char* fileName) noexcept {
    return length > 0 && length < kPathCapacity ? loadFrom(folder, length, fileName) : nullptr;
}

HMODULE loadFromProgramFolder(const char* fileName) noexcept {
    char program[kPathCapacity];
    const DWORD length = GetModuleFileNameA(nullptr, program, kPathCapacity);
    if (length == 0 || length >= kPathCapacity) return nullptr;
    const char* separator = std::strrchr(program, '\\');
    if (separator == nullptr) return nullptr;
    return loadFrom(program, static_cast<std::size_t>(separator - program), fileName);
}

HMODULE loadFromPath(const char* fileName) noexcept {
    const DWORD size = GetEnvironmentVariableA("PATH", nullptr, 0);
    if (size == 0) return nullptr;
    std::unique_ptr<char[]> path(new (std::nothrow) char[size]);
    if (!path) return nullptr;
    const DWORD length = GetEnvironmentVariableA("PATH", path.get(), size);
    if (length == 0 || length >= size) return nullptr;
    for (const char* entry = path.get(); *entry != '\0';) {
        const char* end = std::strchr(entry, ';');
        const std::size_t entryLength =
            end != nullptr ? static_cast<std::size_t>(end - entry) : std::strlen(entry);
        if (HMODULE module = loadFrom(entry, entryLength, fileName)) return module;
        entry += entryLength;
        if (*entry == ';') ++entry;
    }
    return nullptr;
}

// Loaders since Windows 8 (and Windows 7 with its loader update) take the
// LOAD_LIBRARY_SEARCH_* flags; kernel32 then exports AddDllDirectory.
bool hasSearchFlags() noexcept {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel != nullptr && GetProcAddress(kernel, "AddDllDirectory") != nullptr;
}

// True when `list` (folders separated by ';') holds `folder`, with or without
// a trailing separator, compared without case.
bool listHoldsFolder(const wchar_t* list, const wchar_t* folder, std::size_t length) noexcept {
    for (const wchar_t* entry = list; *entry != L'\0';) {
        const wchar_t* end = std::wcschr(entry, L';');
        std::size_t entryLength = end != nullptr ? static_cast<std::size_t>(end - entry) : std::wcslen(entry);
        if (entryLength > 0 && (entry[entryLength - 1] == L'\\' || entry[entryLength - 1] == L'/'))
            --entryLength;
        if (entryLength == length && _wcsnicmp(entry, folder, length) == 0) return true;
        entry += entryLength;
        while (*entry == L'\\' || *entry == L'/' || *entry == L';') ++entry;
    }
    return false;
}

// Whether the host's own search for a bare name (LoadLibraryA's) goes on to
// the Windows folder and PATH: not when the host set its default folders
// (SetDefaultDllDirectories). The loader's own list of the folders its
// default search takes (ntdll's LdrGetDllPath, which LoadLibrary itself asks)
// tells, without mapping any file: a probe load of the library would leave it
// registered for a moment, unprepared, for any other thread loading it. A
// loader without that list counts as restricted.
bool hostSearchGoesOn() noexcept {
    using GetDllPath = LONG(WINAPI*)(const wchar_t*, ULONG, wchar_t**, wchar_t**);
    using ReleasePath = void(WINAPI*)(wchar_t*);
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (ntdll == nullptr) return false;
    auto getDllPath =
        reinterpret_cast<GetDllPath>(reinterpret_cast<void*>(GetProcAddress(ntdll, "LdrGetDllPath")));
    auto releasePath =
        reinterpret_cast<ReleasePath>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlReleasePath")));
    wchar_t windows[kPathCapacity];
    const UINT length = GetWindowsDirectoryW(windows, kPathCapacity);
    if (getDllPath == nullptr || releasePath == nullptr || length == 0 || length >= kPathCapacity)
        return false;
    wchar_t* list = nullptr;
    wchar_t* unused = nullptr;
    if (getDllPath(L"Moltrax.dll", 0, &list, &unused) < 0 || list == nullptr) return false;
    const bool goesOn = listHoldsFolder(list, windows, length);
    releasePath(list);
    return goesOn;
}

}  // namespace

ModuleHandle loadSharedLibrary(const char* fileName) noexcept {
    if (!isBareFileName(fileName)) return nullptr;
    // The copy the host has loaded, with a reference of our own.
    HMODULE module = nullptr;
    if (GetModuleHandleExA(0, fileName, &module)) return module;

    char folder[kPathCapacity];
    if (hasSearchFlags()) {
        // The program's folder, the folders the host added (SetDllDirectory,
        // AddDllDirectory) and System32, searched by the loader itself.
        module = LoadLibraryExA(fileName, nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
        if (module != nullptr) return module;
        // The Windows folder and PATH only where the host's own search goes
        // there: a host that set its default folders (SetDefaultDllDirectories)
        // never does.
        if (!hostSearchGoesOn()) return nullptr;
    } else {
        // No default folders to honour: the classic order, less the current directory.
        module = loadFromProgramFolder(fileName);
        if (module == nullptr) {
            module = loadFromFolder(folder, GetDllDirectoryA(kPathCapacity, folder), fileName);
        }
        if (module == nullptr) {
            module = loadFromFolder(folder, GetSystemDirectoryA(folder, kPathCapacity), fileName);
        }
        if (module != nullptr) return module;
    }
    module = loadFromFolder(folder, GetWindowsDirectoryA(folder, kPathCapacity), fileName);
    return module != nullptr ? module : loadFromPath(fileName);
}

}  // namespace MX::platform
