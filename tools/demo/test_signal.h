// The signal the demo host feeds into every instance's inputs: a sine per
// input channel, at frequencies and a level far from the stand-in's bus tones,
// so a listener (or a test) can tell pass-through from a delivered bus.
// Any thread (pure functions).
#pragma once

#include <cmath>

namespace druvo_demo {

inline constexpr int kSampleRate = 44100;
inline constexpr int kBlockFrames = 512;

inline double inputToneHz(int channel) { return 1000.0 + 100.0 * channel; }
inline constexpr double kInputToneAmplitude = 0.1;

// Sample `frame` (counted from the start of playback) of input channel `channel`.
inline float inputSample(int channel, long frame) {
    constexpr double kTwoPi = 6.283185307179586476925286766559;
    const double cycles = inputToneHz(channel) * static_cast<double>(frame) / kSampleRate;
    return static_cast<float>(kInputToneAmplitude * std::sin(kTwoPi * (cycles - std::floor(cycles))));
}

}  // namespace druvo_demo
