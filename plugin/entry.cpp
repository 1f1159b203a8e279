// The library's exports besides `main`: the instrument's connect and
// disconnect, under the same names as the instrument's own entries. C calling
// convention; nothing throws out of them.
#include <cstdint>

#include "link/sibling_module.h"

extern "C" {

[[gnu::visibility("default")]] std::int32_t MoltraxConnect() { return MX::link::connectSibling(); }

[[gnu::visibility("default")]] std::int32_t MoltraxDisconnect() { return MX::link::disconnectSibling(); }

}  // extern "C"
