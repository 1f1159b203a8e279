// Test seam: stands in for a loaded Moltrax library without touching the
// loader. Compiled into druvo_link, hidden like every symbol of the plug-in.
// The test's own thread, while no effect processes audio.
#pragma once

#include "link/bus_records.h"

namespace MX::link::testing {

// Marks the module loaded with these entries (any may be null). Replaces a
// previous stand-in; does nothing while a real module is loaded. Undo with
// disconnectSibling(), which then calls no loader and no sibling entry.
void installSiblingEntries(MoltraxGetBusRecordFn busRecord, MoltraxRenderFn render,
                           MoltraxGetBusDirectoryFn busDirectory) noexcept;

}  // namespace MX::link::testing
