// Builds and closes effects from plug-in files given by path, so a script can
// watch what the plug-in reports while it is loaded under other file names.
// Usage: file_name_probe <host version answer> <effects per file> <plug-in file>...
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
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <host version> <effects per file> <plug-in file>...\n", argv[0]);
        return 2;
    }
    gVersion = std::atoi(argv[1]);
    const int effects = std::atoi(argv[2]);
    using VstMain = AEffect*(VSTCALLBACK*)(audioMasterCallback);
    int built = 0;
    for (int f = 3; f < argc; ++f) {
        MX::platform::ModuleHandle module = MX::platform::loadModule(argv[f]);
        auto entry = reinterpret_cast<VstMain>(MX::platform::findEntry(module, "main"));
        if (entry == nullptr) {
            std::fprintf(stderr, "cannot load main from %s\n", argv[f]);
            return 1;
        }
        for (int i = 0; i < effects; ++i) {
            AEffect* effect = entry(&host);
            if (effect == nullptr) continue;
            ++built;
            if (effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f) != 1) return 1;
        }
        MX::platform::freeModule(module);
    }
    std::printf("effects built: %d\n", built);
    return 0;
}
