#include "tools/demo/wav_writer.h"

#include <cstring>
#include <limits>

namespace druvo_demo {

namespace {

constexpr std::uint16_t kFormatExtensible = 0xFFFE;
constexpr std::uint16_t kBitsPerSample = 32;
constexpr std::uint32_t kFmtChunkBytes = 40;
constexpr std::uint32_t kHeaderBytes = 12 + (8 + kFmtChunkBytes) + (8 + 4) + 8;
// Position of the fact chunk's frame count and of the data chunk's size.
constexpr long kFactFramesOffset = 12 + 8 + kFmtChunkBytes + 8;
constexpr long kDataSizeOffset = kHeaderBytes - 4;
// KSDATAFORMAT_SUBTYPE_IEEE_FLOAT: the format tag 3 followed by the fixed GUID tail.
constexpr unsigned char kFloatSubtype[16] = {0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                             0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

std::uint32_t speakerMask(int channels) {
    switch (channels) {
        case 1:
            return 0x4;  // front centre
        case 2:
            return 0x3;  // front left, front right
        case 4:
            return 0x33;  // front left/right, back left/right
        case 6:
            return 0x3F;  // 5.1: L R C LFE, back left/right
        default:
            return 0;
    }
}

class ByteBuffer {
public:
    void u16(std::uint16_t v) { put(v, 2); }
    void u32(std::uint32_t v) { put(v, 4); }
    void tag(const char* fourCC) {
        for (int i = 0; i < 4; ++i) bytes_[size_++] = static_cast<unsigned char>(fourCC[i]);
    }
    void raw(const unsigned char* data, std::size_t n) {
        std::memcpy(bytes_ + size_, data, n);
        size_ += n;
    }
    const unsigned char* data() const { return bytes_; }
    std::size_t size() const { return size_; }

private:
    void put(std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) bytes_[size_++] = static_cast<unsigned char>(v >> (8 * i));
    }
    unsigned char bytes_[kHeaderBytes] = {};
    std::size_t size_ = 0;
};

bool writeU32At(std::FILE* file, long offset, std::uint32_t value) {
    unsigned char bytes[4];
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    return std::fseek(file, offset, SEEK_SET) == 0 && std::fwrite(bytes, 1, 4, file) == 4;
}

}  // namespace

WavWriter::~WavWriter() { close(); }

bool WavWriter::open(const std::string& path, int channels, int sampleRate) {
    close();
    if (channels < 1 || channels > 8 || sampleRate <= 0) return false;
    file_ = std::fopen(path.c_str(), "wb");
    if (file_ == nullptr) return false;
    channels_ = channels;
    frames_ = 0;
    failed_ = false;

    const auto blockAlign = static_cast<std::uint16_t>(channels * kBitsPerSample / 8);
    ByteBuffer header;
    header.tag("RIFF");
    header.u32(0);  // filled in by close()
    header.tag("WAVE");
    header.tag("fmt ");
    header.u32(kFmtChunkBytes);
    header.u16(kFormatExtensible);
    header.u16(static_cast<std::uint16_t>(channels));
    header.u32(static_cast<std::uint32_t>(sampleRate));
    header.u32(static_cast<std::uint32_t>(sampleRate) * blockAlign);
    header.u16(blockAlign);
    header.u16(kBitsPerSample);
    header.u16(22);              // size of the extension
    header.u16(kBitsPerSample);  // valid bits per sample
    header.u32(speakerMask(channels));
    header.raw(kFloatSubtype, sizeof kFloatSubtype);
    header.tag("fact");
    header.u32(4);
    header.u32(0);  // frame count, filled in by close()
    header.tag("data");
    header.u32(0);  // filled in by close()
    failed_ = std::fwrite(header.data(), 1, header.size(), file_) != header.size();
    return !failed_;
}

bool WavWriter::append(const float* const* channels, int frames) {
    if (file_ == nullptr || failed_ || channels == nullptr || frames <= 0)
        return file_ != nullptr && !failed_;
    const std::uint64_t frameBytes = static_cast<std::uint64_t>(channels_) * sizeof(float);
    const std::uint64_t dataBytes = (static_cast<std::uint64_t>(frames_) + frames) * frameBytes;
    if (dataBytes + kHeaderBytes - 8 > std::numeric_limits<std::uint32_t>::max()) {
        failed_ = true;
        return false;
    }
    // Samples go out in the machine's byte order: little-endian on every target.
    float frame[8];
    for (int k = 0; k < frames && !failed_; ++k) {
        for (int c = 0; c < channels_; ++c) frame[c] = channels[c] != nullptr ? channels[c][k] : 0.0f;
        failed_ = std::fwrite(frame, sizeof(float), static_cast<std::size_t>(channels_), file_) !=
                  static_cast<std::size_t>(channels_);
    }
    if (!failed_) frames_ += static_cast<std::uint32_t>(frames);
    return !failed_;
}

bool WavWriter::close() {
    if (file_ == nullptr) return !failed_;
    const std::uint32_t dataBytes = frames_ * static_cast<std::uint32_t>(channels_) * sizeof(float);
    bool ok = !failed_ && writeU32At(file_, 4, kHeaderBytes - 8 + dataBytes) &&
              writeU32At(file_, kFactFramesOffset, frames_) && writeU32At(file_, kDataSizeOffset, dataBytes);
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    failed_ = !ok;
    return ok;
}

}  // namespace druvo_demo
