#include "plugin/module_name_check.h"

#include <cstdio>
#include <cstring>

#include "platform/platform.h"

namespace MX {

namespace {

constexpr std::size_t kPathBytes = 1024;

char asciiLower(char c) noexcept { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalIgnoringCase(const char* a, const char* b) noexcept {
    for (; *a && *b; ++a, ++b)
        if (asciiLower(*a) != asciiLower(*b)) return false;
    return *a == *b;
}

}  // namespace

const char* moduleFileName(const char* path) noexcept {
    if (!path) return "";
    const char* separator = std::strrchr(path, platform::kPathSeparator);
    return separator ? separator + 1 : path;
}

bool moduleFileNameAccepted(const char* fileName) noexcept {
    if (!fileName) return false;
    for (const char* const* name = kAcceptedModuleNames; *name; ++name)
        if (equalIgnoringCase(fileName, *name)) return true;
    return false;
}

bool checkModuleFileName(const char* path) noexcept {
    const char* fileName = moduleFileName(path);
    if (moduleFileNameAccepted(fileName)) return true;

    char text[400];
    std::snprintf(text, sizeof text,
                  "WARNING: Renaming the Druvo plugin file interferes with Moltrax communication "
                  "and the assignable outputs feature.\n\nTo enable these features, please ensure "
                  "the files are 'Druvo%s' and 'Moltrax%s', respectively.",
                  platform::kModuleSuffix, platform::kModuleSuffix);
    platform::showErrorBox(text, fileName, platform::kErrorBoxStyle);
    return false;
}

void checkOwnModuleFileName() noexcept {
    char path[kPathBytes];
    if (platform::ownModulePath(path, sizeof path)) checkModuleFileName(path);
}

}  // namespace MX
