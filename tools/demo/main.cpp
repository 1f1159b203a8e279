// druvo_demo: a small host that plays a session of six Druvo instances fed by
// the stand-in Moltrax instrument, and writes one WAV file per instance.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/demo/demo_session.h"
#include "tools/host/built_files.h"

namespace {

void printUsage() {
    std::printf(
        "usage: druvo_demo [--out DIR] [--seconds S] [--plugin FILE] [--standin FILE]\n"
        "  --out DIR       folder for the WAV files (default build/demo-output)\n"
        "  --seconds S     length of the session, 0.1 to 60 (default 3)\n"
        "  --plugin FILE   the plug-in to load (default: the one built with this program)\n"
        "  --standin FILE  the stand-in Moltrax instrument (default: the one built with it)\n");
}

// False on an unknown option or a missing or bad value.
bool parseOptions(int argc, char** argv, druvo_demo::DemoOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const char* option = argv[i];
        if (std::strcmp(option, "--help") == 0 || std::strcmp(option, "-h") == 0) return false;
        if (i + 1 >= argc) return false;
        const char* value = argv[++i];
        if (std::strcmp(option, "--out") == 0) {
            options.outputDir = value;
        } else if (std::strcmp(option, "--plugin") == 0) {
            options.pluginPath = value;
        } else if (std::strcmp(option, "--standin") == 0) {
            options.standinPath = value;
        } else if (std::strcmp(option, "--seconds") == 0) {
            char* end = nullptr;
            options.seconds = std::strtod(value, &end);
            if (end == value || *end != '\0' || !(options.seconds >= 0.1 && options.seconds <= 60.0))
                return false;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    druvo_demo::DemoOptions options;
    options.pluginPath = druvo_host::builtPluginPath();
    options.standinPath = druvo_host::builtStandinPath();
    options.outputDir = "build/demo-output";
    if (!parseOptions(argc, argv, options)) {
        printUsage();
        return 2;
    }
    druvo_demo::DemoSession session(options);
    if (!session.setUp()) return 1;
    const bool written = session.play();
    session.printReport();
    session.close();
    return written ? 0 : 1;
}
