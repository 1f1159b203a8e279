// Streams interleaved 32-bit float audio into a WAV file (WAVE_FORMAT_EXTENSIBLE,
// IEEE float, speaker mask for 1, 2, 4 and 6 channels). The sizes in the header
// are written when the file is closed; a file that would pass the format's
// 4 GiB limit stops growing and reports the failure.
// The demo's thread.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace druvo_demo {

class WavWriter {
public:
    WavWriter() = default;
    ~WavWriter();
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    // Creates the file and writes a header for `channels` (1..8) channels.
    bool open(const std::string& path, int channels, int sampleRate);
    // Appends `frames` frames taken from one buffer per channel.
    bool append(const float* const* channels, int frames);
    // Fills in the sizes and closes the file; true when every write succeeded.
    bool close();

    int channels() const { return channels_; }
    std::uint32_t framesWritten() const { return frames_; }

private:
    std::FILE* file_ = nullptr;
    int channels_ = 0;
    std::uint32_t frames_ = 0;
    bool failed_ = false;
};

}  // namespace druvo_demo
