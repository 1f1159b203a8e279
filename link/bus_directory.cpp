#include "link/bus_directory.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "link/record_access.h"
#include "link/sibling_module.h"

namespace MX::link {

namespace {

bool entriesEqual(const MoltraxBusNameEntry& a, const MoltraxBusNameEntry& b) noexcept {
    return std::strncmp(a.name, b.name, MOLTRAX_BUS_NAME_BYTES) == 0 && a.channelCount == b.channelCount;
}

}  // namespace

void fillDefaultDirectory(MoltraxBusDirectory& directory) noexcept {
    std::memset(&directory, 0, sizeof directory);
    for (std::int32_t i = 0; i < MOLTRAX_BUS_COUNT; ++i) {
        MoltraxBusNameEntry& entry = directory.entries[i];
        entry.index = i;
        std::snprintf(entry.name, sizeof entry.name, "Output Bus %d", static_cast<int>(i + 1));
        entry.channelCount = 2;
    }
    directory.count = MOLTRAX_BUS_COUNT;
}

bool directoriesEqual(const MoltraxBusDirectory& a, const MoltraxBusDirectory& b) noexcept {
    if (a.count != b.count) return false;
    const std::int32_t count = std::clamp<std::int32_t>(a.count, 0, MOLTRAX_BUS_COUNT);
    for (std::int32_t i = 0; i < count; ++i) {
        if (!entriesEqual(a.entries[i], b.entries[i])) return false;
    }
    return true;
}

bool refreshDirectory(MoltraxBusDirectory& table, std::int32_t slot) noexcept {
    const std::uint32_t generation = siblingGeneration();
    const MoltraxGetBusDirectoryFn lookup = busDirectoryLookup();
    if (lookup == nullptr) return false;
    const MoltraxBusDirectory* directory = lookup();
    if (directory == nullptr) return false;
    // Take one snapshot, so the table holds exactly what was compared even if
    // the instrument rewrites its directory meanwhile.
    MoltraxBusDirectory snapshot;
    {
        const RecordAccess access(slot, generation);
        if (!access) return false;
        std::memcpy(&snapshot, directory, sizeof snapshot);
    }
    const bool changed = !directoriesEqual(snapshot, table);
    std::memcpy(&table, &snapshot, sizeof table);
    return changed;
}

}  // namespace MX::link
