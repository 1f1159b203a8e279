// The warning about a renamed library file, with the box recorded.
#include <cctype>
#include <string>

#include "platform/platform.h"
#include "plugin/module_name_check.h"
#include "tests/plugin/druvo_fixture.h"

namespace {

using MX::platform::kModuleSuffix;
using MX::platform::kPathSeparator;

std::string inFolder(const std::string& fileName) {
    return std::string("folder") + kPathSeparator + "sub" + kPathSeparator + fileName;
}

const std::string kWarning =
    "WARNING: Renaming the Druvo plugin file interferes with Moltrax communication and the "
    "assignable outputs feature.\n\nTo enable these features, please ensure the files are 'Druvo" +
    std::string(kModuleSuffix) + "' and 'Moltrax" + kModuleSuffix + "', respectively.";

class ModuleNameCheck : public DruvoTest {};

TEST_F(ModuleNameCheck, AcceptedNamesPassIgnoringCase) {
    for (const char* const* name = MX::kAcceptedModuleNames; *name; ++name) {
        std::string shouting(*name);
        for (char& c : shouting) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_TRUE(MX::checkModuleFileName(inFolder(*name).c_str()));
        EXPECT_TRUE(MX::checkModuleFileName(inFolder(shouting).c_str()));
        EXPECT_TRUE(MX::checkModuleFileName(*name)) << "a bare file name";
    }
    EXPECT_TRUE(MX::checkModuleFileName(inFolder("Druvo" + std::string(kModuleSuffix)).c_str()));
    EXPECT_TRUE(fake_host::boxes.empty());
}

TEST_F(ModuleNameCheck, AnyOtherNameShowsTheWarningCaptionedWithIt) {
    const std::string renamed = "druvo (2)" + std::string(kModuleSuffix);
    EXPECT_FALSE(MX::checkModuleFileName(inFolder(renamed).c_str()));
    ASSERT_EQ(fake_host::boxes.size(), 1u);
    EXPECT_EQ(fake_host::boxes[0].text, kWarning);
    EXPECT_EQ(fake_host::boxes[0].caption, renamed);
    EXPECT_EQ(fake_host::boxes[0].style, 0x1010u);

    for (const char* other : {"druvo", "druvo.dll.bak", "xdruvo.so", "Moltrax.dll", ""})
        EXPECT_FALSE(MX::checkModuleFileName(inFolder(other).c_str())) << other;
    // The name is what follows the last separator, so a folder ending in an
    // accepted name does not count.
    EXPECT_FALSE(MX::checkModuleFileName((inFolder("druvo.so") + kPathSeparator).c_str()));
}

TEST_F(ModuleNameCheck, LinuxAcceptsDruvoSoOnly) {
    if (std::string(kModuleSuffix) != ".so") GTEST_SKIP() << "Linux names";
    EXPECT_TRUE(MX::moduleFileNameAccepted("druvo.so"));
    EXPECT_FALSE(MX::moduleFileNameAccepted("druvo_x64.so"));
    EXPECT_FALSE(MX::moduleFileNameAccepted("druvo.dll"));
}

TEST_F(ModuleNameCheck, WindowsAcceptsBothDllNames) {
    if (std::string(kModuleSuffix) != ".dll") GTEST_SKIP() << "Windows names";
    EXPECT_TRUE(MX::moduleFileNameAccepted("DRUVO.DLL"));
    EXPECT_TRUE(MX::moduleFileNameAccepted("Druvo_X64.dll"));
    EXPECT_FALSE(MX::moduleFileNameAccepted("druvo.so"));
}

}  // namespace
