// Builds and closes effects from a plug-in file given by path, so a script
// can watch what the plug-in reports while it is loaded under another name.
// Usage: file_name_probe <plug-in file> <effects> [host version answer]
#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"
#include "plugin/vst/aeffect.h"

namespace {

VstIntPtr gVersion = 2400;

VstIntPtr VSTCALLBACK host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? gVersion : 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <plug-in file> <effects> [host version]\n", argv[0]);
        return 2;
    }
    const int effects = std::atoi(argv[2]);
    if (argc > 3) gVersion = std::atoi(argv[3]);
    MX::platform::ModuleHandle module = MX::platform::loadModule(argv[1]);
    if (module == nullptr) {
        std::fprintf(stderr, "cannot load %s\n", argv[1]);
        return 1;
    }
    using VstMain = AEffect*(VSTCALLBACK*)(audioMasterCallback);
    auto entry = reinterpret_cast<VstMain>(MX::platform::findEntry(module, "main"));
    if (entry == nullptr) return 1;
    int built = 0;
    for (int i = 0; i < effects; ++i) {
        AEffect* effect = entry(&host);
        if (effect == nullptr) continue;
        ++built;
        if (effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f) != 1) return 1;
    }
    std::printf("effects built: %d\n", built);
    MX::platform::freeModule(module);
    return 0;
}
