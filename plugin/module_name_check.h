// Check of the library's own file name. The instrument finds this library by
// name, so a renamed file is warned about with a system-modal box; nothing
// else depends on the check.
// UI thread (the effect's construction).
#pragma once

#include <cstddef>

namespace MX {

// Names the library may carry, compared ignoring ASCII case; null-terminated list.
extern const char* const kAcceptedModuleNames[];

// The part of `path` after the last path separator.
const char* moduleFileName(const char* path) noexcept;
bool moduleFileNameAccepted(const char* fileName) noexcept;

// Shows the warning box, captioned with the file name, when the file name of
// `path` is not accepted. Returns whether it was accepted. Blocks until the
// box is dismissed. UI thread.
bool checkModuleFileName(const char* path) noexcept;
// The same for this library's own file; skipped when that cannot be found.
void checkOwnModuleFileName() noexcept;

}  // namespace MX
