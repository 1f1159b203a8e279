#include <gtest/gtest.h>

#include "platform/platform.h"

namespace MX::platform {
namespace {

// Without a handler the Linux box is one line on standard error.
TEST(SystemErrorBox, WritesCaptionAndTextToStandardError) {
    ErrorBoxHandler previous = setErrorBoxHandler(nullptr);
    ::testing::internal::CaptureStderr();
    showErrorBox("WARNING: renamed", "druvo (2).so", kErrorBoxStyle);
    showErrorBox(nullptr, nullptr, kErrorBoxStyle);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "druvo (2).so: WARNING: renamed\n: \n");
    setErrorBoxHandler(previous);
}

}  // namespace
}  // namespace MX::platform
