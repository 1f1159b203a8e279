// Bus directory operations: defaults, comparison and the editor's idle refresh.
// UI thread: the effect's construction and the editor's idle.
#pragma once

#include <cstdint>

#include "link/bus_records.h"

namespace MX::link {

// Entry i: index i, "Output Bus <i+1>", 2 channels; count 16.
void fillDefaultDirectory(MoltraxBusDirectory& directory) noexcept;
// Counts equal and, below the count, names (up to NUL, at most 64 bytes) and
// channel counts equal. Counts above 16 compare 16 entries.
bool directoriesEqual(const MoltraxBusDirectory& a, const MoltraxBusDirectory& b) noexcept;
// Copies the instrument's directory into `table` when the module is loaded and
// offers one, as a record access on `slot` (link/record_access.h): nothing is
// copied once the load that gave the directory has ended. Returns true when
// the copied directory was not equal to the table.
bool refreshDirectory(MoltraxBusDirectory& table, std::int32_t slot) noexcept;

}  // namespace MX::link
