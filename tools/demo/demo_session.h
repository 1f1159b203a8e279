// The demo host's session: loads the stand-in instrument and the plug-in,
// inserts one effect per planned mixer channel, selects the buses, plays
// a few seconds of audio through processReplacing and writes each channel's
// output to a WAV file.
// The demo's thread, as both the host's UI and audio thread.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/demo/session_plan.h"
#include "tools/demo/wav_writer.h"
#include "tools/host/plugin_host.h"
#include "tools/host/standin_module.h"

namespace druvo_demo {

struct DemoOptions {
    std::string pluginPath;
    std::string standinPath;
    std::string outputDir;
    double seconds = 3.0;
};

// The effect's audio pins: six inputs and six outputs, whatever the arrangement.
inline constexpr int kPins = 6;

// One mixer channel: its insert, its buffers and what it played.
struct MixerChannel {
    const TrackPlan* plan = nullptr;
    int instanceNumber = 0;  // the owner mark the effect writes into a claimed record
    std::unique_ptr<druvo_host::PluginInstance> insert;
    std::vector<float> outputs[kPins];
    float* outputPointers[kPins] = {};
    WavWriter wav;
    std::string wavPath;
    float peak[kPins] = {};
};

class DemoSession {
public:
    explicit DemoSession(DemoOptions options) : options_(std::move(options)) {}
    // Loads both modules and inserts the effects; false (with a message on
    // standard error) when something is missing.
    bool setUp();
    // Plays the whole session, printing progress; false when a file could not be written.
    bool play();
    // The table of channels, buses, connection states and levels.
    void printReport() const;
    // Closes every effect, as a host does when the session closes.
    void close();

private:
    void selectBeforePlaying(MixerChannel& channel);
    void processBlock(long block);

    DemoOptions options_;
    std::unique_ptr<druvo_host::StandinModule> standin_;
    std::unique_ptr<druvo_host::PluginModule> plugin_;
    std::vector<std::unique_ptr<MixerChannel>> channels_;
    std::vector<float> inputs_[kPins];
    float* inputPointers_[kPins] = {};
};

}  // namespace druvo_demo
