// The demo's session: six mixer channels, each with a Druvo instance as its
// insert, and the way the user or the host picked each one's bus.
// The demo's thread.
#pragma once

#include <array>

namespace druvo_demo {

enum class HowSelected {
    Nothing,        // the insert was never assigned: off, pass-through
    ProgramChange,  // the host recalls a program (effSetProgram)
    Automation,     // an automation lane writes the parameter on the audio thread
    TextEntry,      // the user types a number into the host's parameter field
};

struct TrackPlan {
    const char* name;
    HowSelected how;
    int bus;             // 0 = off, 1..16
    int outputChannels;  // the channel's speaker arrangement: 2 or 6
};

// Track 5 asks for the bus track 1 already holds: it waits and passes through.
inline constexpr std::array<TrackPlan, 6> kSessionPlan = {{
    {"Strings", HowSelected::ProgramChange, 1, 6},
    {"Drums", HowSelected::Automation, 3, 2},
    {"Keys", HowSelected::TextEntry, 5, 6},
    {"Vocal FX", HowSelected::Nothing, 0, 6},
    {"Strings 2", HowSelected::ProgramChange, 1, 6},
    {"Pads", HowSelected::Automation, 12, 6},
}};

}  // namespace druvo_demo
