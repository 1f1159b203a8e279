// How far an effect's link to its instrument bus has got, as the audio thread
// last saw it; the editor reads it on the UI thread. The values are fixed:
// hosts and tests observe them.
#pragma once

#include <cstdint>

namespace MX::link {

enum class ConnectionState : std::int32_t {
    kNoRecord = 0,       // the sibling is not loaded, or has no record for the bus
    kNotDelivering = 1,  // the sibling is loaded, but no bus delivers to this effect
    kSomeChannels = 2,   // the bus delivers fewer channels than it carries
    kAllChannels = 3,    // the bus delivers all of its channels
};

}  // namespace MX::link
