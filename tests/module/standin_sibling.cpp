#include "tests/module/standin_sibling.h"

#include <cstdio>
#include <cstdlib>

namespace druvo_test {

Standin& Standin::instance() {
    static Standin standin;
    return standin;
}

Standin::Standin() {
    MX::platform::ModuleHandle module = MX::platform::loadModule(DRUVO_STANDIN_PATH);
    if (module == nullptr) {
        std::fprintf(stderr, "cannot load the stand-in %s\n", DRUVO_STANDIN_PATH);
        std::abort();
    }
    auto control = reinterpret_cast<MoltraxStandinControlFn>(MX::platform::findEntry(module, "MoltraxStandinControl"));
    reset_ = reinterpret_cast<MoltraxStandinResetFn>(MX::platform::findEntry(module, "MoltraxStandinReset"));
    if (control == nullptr || reset_ == nullptr) {
        std::fprintf(stderr, "the stand-in lacks its control entries\n");
        std::abort();
    }
    control_ = control();
}

float busSample(int channel, int frame) {
    return -static_cast<float>(channel + 1) - static_cast<float>(frame) / 65536.0f;
}

void fillBus(MoltraxBusRecord& record, int validFrames) {
    for (int c = 0; c < MOLTRAX_BUS_CHANNELS; ++c) {
        for (int k = 0; k < MOLTRAX_BUS_FRAMES; ++k) record.buffers[c][k] = busSample(c, k);
    }
    record.validFrames = validFrames;
    record.ready = 1;
}

}  // namespace druvo_test
