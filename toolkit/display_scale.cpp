#include "toolkit/display_scale.h"

#include <cmath>

namespace MX::toolkit {

double quantizeScale(double raw) noexcept {
    if (!(raw > kMinScale)) return kMinScale;
    if (raw >= kMaxScale) return kMaxScale;
    return std::round(raw * 4.0) / 4.0;
}

CCoord toDevice(CCoord value, double scale) noexcept {
    return static_cast<CCoord>(std::lround(value * scale));
}

CRect toDevice(const CRect& rect, double scale) noexcept {
    return CRect(toDevice(rect.left, scale), toDevice(rect.top, scale), toDevice(rect.right, scale),
                 toDevice(rect.bottom, scale));
}

CCoord fromDevice(CCoord value, double scale) noexcept {
    return static_cast<CCoord>(std::floor(value / scale));
}

CRect fromDevice(const CRect& rect, double scale) noexcept {
    return CRect(fromDevice(rect.left, scale), fromDevice(rect.top, scale),
                 static_cast<CCoord>(std::ceil(rect.right / scale)),
                 static_cast<CCoord>(std::ceil(rect.bottom / scale)));
}

}  // namespace MX::toolkit
