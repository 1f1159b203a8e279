// Runs Ardour's tools headless with a private HOME. A session run that Ardour
// ends with a crash signal is started again, up to kArdourAttempts in all,
// unless the crashing thread's backtrace passes through druvo.so or the
// stand-in: that crash may be Druvo's and fails the run. Without a core file
// or gdb the crash cannot be placed; it is then run again, and said so.
// The test's thread.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace druvo_test {

constexpr int kArdourAttempts = 3;

// Runs `command` in `work` with Ardour's private folders in its environment;
// its output goes to `log`. Returns the wait status of the shell.
int runInPrivateHome(const std::filesystem::path& work, const std::string& command,
                     const std::filesystem::path& log);

struct ArdourRun {
    int status = 0;      // wait status of the last attempt
    int attempts = 0;    // attempts made
    std::string report;  // one paragraph per crashed attempt, for the test log
};

// `outputs` (files and folders the session writes) are removed before each attempt.
ArdourRun runArdourSession(const std::filesystem::path& work, const std::string& command,
                           const std::filesystem::path& log,
                           const std::vector<std::filesystem::path>& outputs);

}  // namespace druvo_test
