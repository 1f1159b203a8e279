#include "tests/module/standin_sibling.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace druvo_test {

Standin& Standin::instance() {
    static Standin standin;
    return standin;
}

Standin::Standin() {
    std::string error;
    module_ = druvo_host::StandinModule::load(DRUVO_STANDIN_PATH, &error);
    if (!module_) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::abort();
    }
}

bool ModuleTest::pluginDisconnected() {
    const int connects = Standin::instance().calls().connect;
    PluginModule::instance().connectExport()();
    if (Standin::instance().calls().connect == connects) return false;
    PluginModule::instance().disconnectExport()();
    return true;
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
