#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <numeric>

#include "runtime/vector_primitives.h"

namespace MX::runtime {
namespace {

constexpr float kGuard = -7.0f;

std::array<float, 8> ramp() {
    std::array<float, 8> values{};
    std::iota(values.begin(), values.end(), 1.0f);
    return values;
}

TEST(VectorPrimitives, CopyAndZeroTheirCountOnly) {
    auto src = ramp();
    std::array<float, 8> dst{};
    dst.fill(kGuard);
    copyFloats(dst.data(), src.data(), 5);
    EXPECT_EQ((std::array<float, 8>{1, 2, 3, 4, 5, kGuard, kGuard, kGuard}), dst);
    zeroFloats(dst.data() + 1, 3);
    EXPECT_EQ((std::array<float, 8>{1, 0, 0, 0, 5, kGuard, kGuard, kGuard}), dst);
}

TEST(VectorPrimitives, ZeroOrNegativeCountsAndNullPointersWriteNothing) {
    auto src = ramp();
    std::array<float, 8> dst{};
    dst.fill(kGuard);
    for (std::int32_t count : {0, -1, INT32_MIN}) {
        copyFloats(dst.data(), src.data(), count);
        zeroFloats(dst.data(), count);
    }
    copyFloats(nullptr, src.data(), 8);
    copyFloats(dst.data(), nullptr, 8);
    zeroFloats(nullptr, 8);
    for (float value : dst) EXPECT_EQ(value, kGuard);
}

TEST(VectorPrimitives, CopyInPlaceAndOverlappingKeepsTheSource) {
    auto values = ramp();
    copyFloats(values.data(), values.data(), 8);
    EXPECT_EQ(ramp(), values);
    copyFloats(values.data() + 2, values.data(), 6);
    EXPECT_EQ((std::array<float, 8>{1, 2, 1, 2, 3, 4, 5, 6}), values);
}

}  // namespace
}  // namespace MX::runtime
