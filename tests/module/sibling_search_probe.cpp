// Sets up the host's DLL search as a host may, then builds one effect from the
// plug-in, so a script can see which of several planted Moltrax copies the
// plug-in bound to and which one the host's own LoadLibraryA("Moltrax.dll") finds.
// Usage: sibling_search_probe <plug-in file> [option]... <copy>...
//   --preload <file>            loads that copy first, as a host with Moltrax open would;
//   --system <file>             plants that file as Moltrax in the system folder for this run;
//   --dll-directory <folder>    SetDllDirectoryA(folder);
//   --add-dll-directory <folder> AddDllDirectory(folder) with the default folders plus added ones;
//   --restrict                  SetDefaultDllDirectories(application folder | System32).
// Prints "effect <built>", then "<copy> connects <n>" for each copy: the
// connect calls that copy received (the plug-in's copy has 1, the others 0),
// then "host loads <file>" (or "host loads none") once the effect is closed.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/platform.h"
#include "plugin/vst/aeffect.h"
#include "tools/moltrax_standin/moltrax_standin.h"

namespace {

VstIntPtr VSTCALLBACK host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

int connectsOf(const std::string& copy) {
    MX::platform::ModuleHandle module = MX::platform::loadModule(copy.c_str());
    auto control =
        reinterpret_cast<MoltraxStandinControlFn>(MX::platform::findEntry(module, "MoltraxStandinControl"));
    const int connects = control != nullptr ? control()->calls.connect : -1;
    MX::platform::freeModule(module);
    return connects;
}

bool addDllDirectory(const char* folder) {
    wchar_t wide[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, folder, -1, wide, MAX_PATH) == 0) return false;
    return AddDllDirectory(wide) != nullptr && SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <plug-in file> [option]... <copy>...\n", argv[0]);
        return 2;
    }
    std::vector<std::string> copies;
    std::filesystem::path planted;
    for (int a = 2; a < argc; ++a) {
        if (std::strcmp(argv[a], "--preload") == 0 && a + 1 < argc) {
            if (MX::platform::loadModule(argv[++a]) == nullptr) return 1;
            copies.emplace_back(argv[a]);
        } else if (std::strcmp(argv[a], "--system") == 0 && a + 1 < argc) {
            const char* root = std::getenv("SystemRoot");
            if (root == nullptr) return 1;
            planted = std::filesystem::path(root) / "system32" / "Moltrax.dll";
            std::error_code error;
            if (!std::filesystem::copy_file(argv[++a], planted, error)) return 1;
            copies.push_back(planted.string());
        } else if (std::strcmp(argv[a], "--dll-directory") == 0 && a + 1 < argc) {
            if (!SetDllDirectoryA(argv[++a])) return 1;
        } else if (std::strcmp(argv[a], "--add-dll-directory") == 0 && a + 1 < argc) {
            if (!addDllDirectory(argv[++a])) return 1;
        } else if (std::strcmp(argv[a], "--restrict") == 0) {
            if (!SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_APPLICATION_DIR |
                                          LOAD_LIBRARY_SEARCH_SYSTEM32)) {
                return 1;
            }
        } else {
            copies.emplace_back(argv[a]);
        }
    }

    using VstMain = AEffect*(VSTCALLBACK*)(audioMasterCallback);
    MX::platform::ModuleHandle plugin = MX::platform::loadModule(argv[1]);
    auto entry = reinterpret_cast<VstMain>(MX::platform::findEntry(plugin, "main"));
    if (entry == nullptr) return 1;
    AEffect* effect = entry(&host);
    std::printf("effect %d\n", effect != nullptr ? 1 : 0);
    for (const std::string& copy : copies) std::printf("%s connects %d\n", copy.c_str(), connectsOf(copy));
    if (effect != nullptr) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    MX::platform::freeModule(plugin);

    char found[MAX_PATH] = "none";
    if (HMODULE module = LoadLibraryA("Moltrax.dll")) {
        if (GetModuleFileNameA(module, found, MAX_PATH) == 0) std::snprintf(found, sizeof found, "?");
        FreeLibrary(module);
    }
    std::printf("host loads %s\n", found);
    if (!planted.empty()) {
        std::error_code error;
        std::filesystem::remove(planted, error);
    }
    return 0;
}
