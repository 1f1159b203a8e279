// An instrument stand-in inside the test process: heap records, a directory,
// call counters, installed through the link layer's test seam. Shared by the
// link, plug-in and editor tests.
// The test's thread.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "link/bus_records.h"
#include "link/sibling_module.h"
#include "link/sibling_module_testing.h"

namespace fake {

inline std::array<MoltraxBusRecord*, MOLTRAX_BUS_COUNT> records{};
inline MoltraxBusDirectory* directory = nullptr;
inline int lookups = 0;
inline int lastBusIndex = -1;
inline std::vector<int> lookedUp;  // every index asked for, in order
inline int renders = 0;
inline int lastRenderFrames = -1;
inline bool renderDelivers = true;  // render fills every buffer with bus+channel tags

inline float sampleOf(int bus, int channel) { return 100.0f * (bus + 1) + channel; }

inline MoltraxBusRecord* MOLTRAX_CDECL getBusRecord(int32_t busIndex) {
    ++lookups;
    lastBusIndex = busIndex;
    lookedUp.push_back(busIndex);
    return busIndex >= 0 && busIndex < MOLTRAX_BUS_COUNT ? records[busIndex] : nullptr;
}

inline void MOLTRAX_CDECL render(int32_t frames) {
    ++renders;
    lastRenderFrames = frames;
    if (!renderDelivers) return;
    for (int b = 0; b < MOLTRAX_BUS_COUNT; ++b) {
        MoltraxBusRecord* r = records[b];
        if (r == nullptr) continue;
        for (int c = 0; c < MOLTRAX_BUS_CHANNELS; ++c)
            for (int i = 0; i < MOLTRAX_BUS_FRAMES; ++i) r->buffers[c][i] = sampleOf(b, c);
        r->validFrames = frames;
        r->ready = 1;
    }
}

inline MoltraxBusDirectory* MOLTRAX_CDECL getDirectory() { return directory; }

// A zeroed record, enabled, carrying `maxChannels`.
inline std::unique_ptr<MoltraxBusRecord> makeRecord(uint8_t maxChannels = 6) {
    auto record = std::make_unique<MoltraxBusRecord>();
    record->enabled = 1;
    record->maxChannels = maxChannels;
    return record;
}

inline void install(MoltraxGetBusRecordFn lookup = getBusRecord, MoltraxRenderFn renderFn = render,
                    MoltraxGetBusDirectoryFn directoryFn = getDirectory) {
    lookups = renders = 0;
    lastBusIndex = lastRenderFrames = -1;
    lookedUp.clear();
    renderDelivers = true;
    MX::link::testing::installSiblingEntries(lookup, renderFn, directoryFn);
}

// No records and no directory, as at the start of a test.
inline void reset() {
    records = {};
    directory = nullptr;
    lookedUp.clear();
}

}  // namespace fake
