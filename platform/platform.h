// OS services used by the plug-in. One implementation per OS under
// platform/<os>/, chosen by CMake; nothing outside platform/ and the toolkit's
// backends touches OS headers. Every function is noexcept and safe to call with
// null or empty arguments.
// Any thread unless a function says otherwise.
#pragma once

#include <cstddef>
#include <cstdint>

namespace MX::platform {

using ModuleHandle = void*;

// ".dll" on Windows, ".so" on Linux.
extern const char kModuleSuffix[];
// Separator before the file name in a module path: '\\' on Windows, '/' on Linux.
extern const char kPathSeparator;

// Loads a module by file name; null on failure. Loader calls: never on the audio thread.
ModuleHandle loadModule(const char* fileName) noexcept;
// Loads a library that the host may already have loaded for another plug-in,
// by bare file name: the loaded copy when there is one (with a reference of
// our own), otherwise on Windows the first found in the program's folder, the
// folders the host added for DLL loading, the system folder and then, unless
// the host restricted its DLL search to its default folders, the Windows
// folder and the absolute PATH folders; never in the current directory, and
// the process's search settings are left as they are. On Linux through the
// dynamic loader's search, which has no current directory in it. Null on
// failure or for a name with a path.
ModuleHandle loadSharedLibrary(const char* fileName) noexcept;
void freeModule(ModuleHandle module) noexcept;
// Entry by exported name; null when missing.
void* findEntry(ModuleHandle module, const char* name) noexcept;
// Entry by export ordinal on Windows; Linux has no ordinals and looks up
// `linuxName` instead. Null when missing.
void* findEntryByOrdinal(ModuleHandle module, int ordinal, const char* linuxName) noexcept;

// Full path of the module that holds this library's code, NUL-terminated and
// truncated to `size`. False (and an empty string) when it cannot be found.
bool ownModulePath(char* buffer, std::size_t size) noexcept;

// The library's own instance handle (HINSTANCE on Windows; the dladdr base on Linux).
void* libraryInstance() noexcept;

// System-modal error box; on Linux the text goes to standard error. Blocks
// until dismissed. Tests install a handler so nothing blocks or touches the desktop.
using ErrorBoxHandler = void (*)(const char* text, const char* caption, unsigned style);
void showErrorBox(const char* text, const char* caption, unsigned style) noexcept;
// Null restores the OS box. Returns the previous handler.
ErrorBoxHandler setErrorBoxHandler(ErrorBoxHandler handler) noexcept;

inline constexpr unsigned kErrorBoxStyle = 0x1010;  // MB_SYSTEMMODAL | MB_ICONERROR

std::uint32_t tickCount() noexcept;  // GetTickCount; monotonic ms on Linux
void sleepMilliseconds(std::uint32_t ms) noexcept;
// Removes and dispatches one pending paint message of the thread, if any.
void deliverPendingPaint() noexcept;
void oleInitialize() noexcept;  // no-op where there is no COM
void oleUninitialize() noexcept;
// Milliseconds since the process started (the C clock on Windows; a monotonic
// clock on Linux, where clock() counts CPU time).
long clockMilliseconds() noexcept;

}  // namespace MX::platform
