#include "tests/demo/wav_reader.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

namespace druvo_test {

namespace {

std::uint32_t u32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t u16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

WavData failure(const std::string& why) {
    WavData data;
    data.error = why;
    return data;
}

}  // namespace

WavData readFloatWav(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return failure("cannot open " + path);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return failure("not a RIFF/WAVE file");
    if (u32(bytes.data() + 4) != bytes.size() - 8) return failure("RIFF size does not match the file");

    WavData data;
    bool haveFormat = false;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const unsigned char* chunk = bytes.data() + at;
        const std::uint32_t size = u32(chunk + 4);
        if (size > bytes.size() - at - 8) return failure("chunk runs past the end");
        const unsigned char* body = chunk + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16) return failure("short fmt chunk");
            std::uint16_t format = u16(body);
            if (format == 0xFFFE && size >= 40) format = u16(body + 24);  // the subtype's tag
            if (format != 3 || u16(body + 14) != 32) return failure("not 32-bit float");
            data.channels = u16(body + 2);
            data.sampleRate = static_cast<int>(u32(body + 4));
            haveFormat = data.channels > 0;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) return failure("data before fmt");
            const std::size_t frames = size / (4u * static_cast<unsigned>(data.channels));
            data.samples.assign(static_cast<std::size_t>(data.channels), std::vector<float>(frames));
            for (std::size_t k = 0; k < frames; ++k) {
                for (int c = 0; c < data.channels; ++c) {
                    std::memcpy(&data.samples[c][k], body + 4 * (k * data.channels + c), 4);
                }
            }
            return data;
        }
        at += 8 + size + (size & 1);
    }
    return failure("no data chunk");
}

}  // namespace druvo_test
