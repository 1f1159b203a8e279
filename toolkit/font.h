// Font descriptions: a family name, a pixel size and style bits.
// UI thread.
#pragma once

namespace MX::toolkit {

enum CTxtFace { kNormalFace = 0, kBoldFace = 1 << 1, kItalicFace = 1 << 2 };

class CFontDesc {
public:
    static constexpr int kNameBytes = 64;

    constexpr CFontDesc(const char* name = "", int size = 0, int style = kNormalFace)
        : size_(size), style_(style) {
        setName(name);
    }

    constexpr const char* getName() const { return name_; }
    constexpr int getSize() const { return size_; }
    constexpr int getStyle() const { return style_; }

    // Names longer than kNameBytes - 1 are cut.
    constexpr void setName(const char* name) {
        int i = 0;
        for (; name && name[i] != '\0' && i < kNameBytes - 1; ++i) name_[i] = name[i];
        for (; i < kNameBytes; ++i) name_[i] = '\0';
    }
    constexpr void setSize(int size) { size_ = size; }
    constexpr void setStyle(int style) { style_ = style; }

private:
    char name_[kNameBytes] = {};
    int size_;
    int style_;
};

// The toolkit's normal font: "Arial" at 12 pixels (Liberation Sans through fontconfig on Linux).
inline constexpr CFontDesc kNormalFont{"Arial", 12, kNormalFace};

enum CHoriTxtAlign { kLeftText = 0, kCenterText, kRightText };

}  // namespace MX::toolkit
