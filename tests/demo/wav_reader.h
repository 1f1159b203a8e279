// Reads back the demo's WAV files: 32-bit float, plain (format 3) or
// WAVE_FORMAT_EXTENSIBLE with the float subtype.
// The test's thread.
#pragma once

#include <string>
#include <vector>

namespace druvo_test {

struct WavData {
    int channels = 0;
    int sampleRate = 0;
    std::vector<std::vector<float>> samples;  // one vector per channel
    std::string error;                        // empty when the file was read
    long frames() const { return samples.empty() ? 0 : static_cast<long>(samples[0].size()); }
};

WavData readFloatWav(const std::string& path);

}  // namespace druvo_test
