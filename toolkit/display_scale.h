// Display scale: device pixels per frame pixel. Views keep their coordinates
// at scale 1; the draw context and the platform frames multiply. Plain values:
// any thread.
#pragma once

#include "toolkit/geometry.h"

namespace MX::toolkit {

inline constexpr double kMinScale = 1.0;
inline constexpr double kMaxScale = 2.0;
// Resource ids of the double-size bitmaps: the 1x id plus this.
inline constexpr int kDoubleSizeIdOffset = 1000;
inline constexpr double kDefaultDpi = 96.0;

// `raw` to quarter steps from 1 to 2: above 2 is 2; below 1, or not a number, is 1.
double quantizeScale(double raw) noexcept;
// An edge, a size or a point from frame pixels to device pixels, rounded to
// the nearest (so scaled neighbours still meet).
CCoord toDevice(CCoord value, double scale) noexcept;
CRect toDevice(const CRect& rect, double scale) noexcept;
// The frame pixel that device pixel `value` lies in.
CCoord fromDevice(CCoord value, double scale) noexcept;
// The frame pixels that device rectangle `rect` touches.
CRect fromDevice(const CRect& rect, double scale) noexcept;

}  // namespace MX::toolkit
