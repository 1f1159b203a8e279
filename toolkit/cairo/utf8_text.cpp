#include "toolkit/cairo/utf8_text.h"

#include <cstdint>
#include <cstring>

namespace MX::toolkit {

namespace {

// Cairo's own test: a scalar value that is no surrogate and no noncharacter.
bool acceptable(std::uint32_t c) {
    return c < 0x110000 && (c & 0xFFFFF800u) != 0xD800 && (c < 0xFDD0 || c > 0xFDEF) &&
           (c & 0xFFFE) != 0xFFFE;
}

// Length of the valid character at `s` (at most `left` bytes), or 0.
std::size_t characterLength(const unsigned char* s, std::size_t left) {
    const unsigned char lead = s[0];
    std::size_t length;
    std::uint32_t c;
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        c = lead & 0x07;
    } else {
        return 0;
    }
    if (length > left) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((s[i] & 0xC0) != 0x80) return 0;
        c = c << 6 | (s[i] & 0x3F);
    }
    constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    return c >= kSmallest[length] && acceptable(c) ? length : 0;
}

}  // namespace

std::string validUtf8(const char* text) {
    if (!text) return {};
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    const std::size_t size = std::strlen(text);
    std::string out;
    out.reserve(size);
    for (std::size_t i = 0; i < size;) {
        if (const std::size_t length = characterLength(s + i, size - i)) {
            out.append(text + i, length);
            i += length;
        } else {
            out += static_cast<char>(0xC0 | s[i] >> 6);
            out += static_cast<char>(0x80 | (s[i] & 0x3F));
            ++i;
        }
    }
    return out;
}

}  // namespace MX::toolkit
