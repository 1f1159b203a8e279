#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/platform.h"

namespace MX::platform {
namespace {

std::string fileNameOf(const std::string& path) {
    const std::size_t separator = path.rfind(kPathSeparator);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

TEST(OwnModule, PathOfAProgramEndsWithItsFileName) {
    char path[1024];
    ASSERT_TRUE(ownModulePath(path, sizeof path));
    EXPECT_EQ(fileNameOf(path), DRUVO_TEST_FILE_NAME) << path;
    EXPECT_NE(libraryInstance(), nullptr);
}

TEST(OwnModule, PathIsTruncatedToTheBuffer) {
    char full[1024];
    ASSERT_TRUE(ownModulePath(full, sizeof full));
    char small[6];
    std::memset(small, 'x', sizeof small);
    ASSERT_TRUE(ownModulePath(small, 5));
    EXPECT_EQ(std::string(small), std::string(full, 4));
    EXPECT_EQ(small[5], 'x');
}

TEST(OwnModule, NoBufferGivesFalse) {
    char untouched = 'x';
    EXPECT_FALSE(ownModulePath(nullptr, 1024));
    EXPECT_FALSE(ownModulePath(&untouched, 0));
    EXPECT_EQ(untouched, 'x');
}

// Inside a loaded library, the answers are about that library, not the
// program that loaded it.
TEST(OwnModule, LibraryReportsItsOwnFile) {
    ModuleHandle probe = loadModule(DRUVO_PROBE_PATH);
    ASSERT_NE(probe, nullptr) << DRUVO_PROBE_PATH;
    using PathFn = bool (*)(char*, std::size_t);
    using InstanceFn = void* (*)();
    auto probePath = reinterpret_cast<PathFn>(findEntry(probe, "probeOwnModulePath"));
    auto probeInstance = reinterpret_cast<InstanceFn>(findEntry(probe, "probeLibraryInstance"));
    ASSERT_NE(probePath, nullptr);
    ASSERT_NE(probeInstance, nullptr);

    char path[1024];
    ASSERT_TRUE(probePath(path, sizeof path));
    EXPECT_EQ(fileNameOf(path), DRUVO_PROBE_FILE_NAME) << path;
    EXPECT_NE(probeInstance(), nullptr);
    EXPECT_NE(probeInstance(), libraryInstance());
    freeModule(probe);
}

}  // namespace
}  // namespace MX::platform
