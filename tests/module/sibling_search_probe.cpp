// Loads the plug-in by path and connects it to Moltrax through its export, so
// a script can see which of several planted Moltrax copies it bound to.
// Usage: sibling_search_probe <plug-in file> [--preload <file>] [--system <file>] <copy>...
//   --preload  loads that copy first, as a host with Moltrax open would;
//   --system   plants that file as Moltrax in the system folder for this run.
// Prints "connect <result>", then "<copy> connects <n>" for each copy: the
// connect calls that copy received (the plug-in's copy has 1, the others 0).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/platform.h"
#include "tools/moltrax_standin/moltrax_standin.h"

namespace {

using Export = std::int32_t (*)();

int connectsOf(const std::string& copy) {
    MX::platform::ModuleHandle module = MX::platform::loadModule(copy.c_str());
    auto control =
        reinterpret_cast<MoltraxStandinControlFn>(MX::platform::findEntry(module, "MoltraxStandinControl"));
    const int connects = control != nullptr ? control()->calls.connect : -1;
    MX::platform::freeModule(module);
    return connects;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <plug-in file> [--preload <file>] [--system <file>] <copy>...\n",
                     argv[0]);
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
        } else {
            copies.emplace_back(argv[a]);
        }
    }

    MX::platform::ModuleHandle plugin = MX::platform::loadModule(argv[1]);
    auto connect = reinterpret_cast<Export>(MX::platform::findEntry(plugin, "MoltraxConnect"));
    auto disconnect = reinterpret_cast<Export>(MX::platform::findEntry(plugin, "MoltraxDisconnect"));
    if (connect == nullptr || disconnect == nullptr) return 1;
    std::printf("connect %d\n", static_cast<int>(connect()));
    for (const std::string& copy : copies) std::printf("%s connects %d\n", copy.c_str(), connectsOf(copy));
    disconnect();
    MX::platform::freeModule(plugin);
    if (!planted.empty()) {
        std::error_code error;
        std::filesystem::remove(planted, error);
    }
    return 0;
}
