// The process-wide connection to the Moltrax library: load on the first
// effect, unload with the last. Entries are resolved once per load of the
// module (exports of a loaded module never change), so the audio thread reads
// plain pointers and never calls the loader.
#pragma once

#include <cstdint>

#include "link/bus_records.h"

namespace MX::link {

// Bodies of our exports MoltraxConnect / MoltraxDisconnect. UI thread, or the
// instrument's (also from inside its render call). Connect publishes a module
// once: a connect from inside our own load of the module finds it published
// and gives back its extra reference. Disconnect touches no record: it ends
// the load's generation and waits until no access to a record of that load is
// in progress (link/record_access.h); the instrument may free its records
// once it returns. Connections forget claims of the ended load by its
// generation and settle the marks they left once the module is back.
std::int32_t connectSibling() noexcept;
std::int32_t disconnectSibling() noexcept;

// Any thread. False once disconnect has begun.
bool siblingLoaded() noexcept;
// Changes at every load and unload of the module. A record or entry taken from
// the module is only valid while this value stays the one seen when it was taken.
std::uint32_t siblingGeneration() noexcept;

// Entries of the loaded module; null when the module is not loaded or lacks
// the entry (a missing entry counts as a null result). Any thread.
MoltraxGetBusRecordFn busRecordLookup() noexcept;        // ordinal 4
MoltraxRenderFn renderRequest() noexcept;                // ordinal 5
MoltraxGetBusDirectoryFn busDirectoryLookup() noexcept;  // ordinal 6

}  // namespace MX::link
