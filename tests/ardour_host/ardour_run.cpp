// Ardour runs for the host tests (ardour_run.h). A crash is placed by the
// core file the shell's `ulimit -c` lets the kernel write into the work
// folder (a core_pattern that pipes cores elsewhere leaves none) and gdb's
// backtrace of the thread that took the signal.
#include "tests/ardour_host/ardour_run.h"

#include <sys/wait.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace druvo_test {

namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The signal that ended the session, directly or as the shell's 128 + n; 0 if none.
int crashSignal(int status) {
    int signal = 0;
    if (WIFSIGNALED(status)) signal = WTERMSIG(status);
    if (WIFEXITED(status) && WEXITSTATUS(status) > 128) signal = WEXITSTATUS(status) - 128;
    const bool crash =
        signal == SIGSEGV || signal == SIGBUS || signal == SIGILL || signal == SIGFPE || signal == SIGABRT;
    return crash ? signal : 0;
}

std::vector<fs::path> coreFiles(const fs::path& work) {
    std::vector<fs::path> cores;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(work, ignored)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file(ignored) && (name == "core" || name.rfind("core.", 0) == 0))
            cores.push_back(entry.path());
    }
    return cores;
}

// The frames of the crashing thread from the first core in `work`, or "" when
// there is no core or no gdb. Cores are removed: they are hundreds of MB.
std::string crashingThread(const fs::path& work, const fs::path& saveAs) {
    const std::vector<fs::path> cores = coreFiles(work);
    std::string frames;
    if (!cores.empty() && std::string(DRUVO_GDB) != "") {
        const std::string command = std::string("'") + DRUVO_GDB + "' -batch -nx -ex bt '" +
                                    ARDOUR_SESSION_BINARY + "' '" + cores.front().string() + "' > '" +
                                    saveAs.string() + "' 2>&1";
        std::system(command.c_str());
        std::istringstream lines(readAll(saveAs));
        // gdb shows the top frame once as it loads the core, then the whole stack.
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("#0 ", 0) == 0) frames.clear();
            if (line.rfind("#", 0) == 0) frames += line + "\n";
        }
    }
    std::error_code ignored;
    for (const fs::path& core : cores) fs::remove(core, ignored);
    return frames;
}

// Frames in Druvo's module or the stand-in's, by file or by Druvo's namespace.
bool passesThroughOurCode(const std::string& frames) {
    return frames.find("druvo.so") != std::string::npos || frames.find("Moltrax.so") != std::string::npos ||
           frames.find("MX::") != std::string::npos;
}

}  // namespace

int runInPrivateHome(const fs::path& work, const std::string& command, const fs::path& log) {
    const std::string home = (work / "home").string();
    const std::string line = "ulimit -c unlimited 2>/dev/null; cd '" + work.string() + "' && env HOME='" +
                             home + "' XDG_CONFIG_HOME='" + home + "/.config' XDG_CACHE_HOME='" + home +
                             "/.cache' XDG_DATA_HOME='" + home + "/.local/share' " + command + " > '" +
                             log.string() + "' 2>&1";
    return std::system(line.c_str());
}

ArdourRun runArdourSession(const fs::path& work, const std::string& command, const fs::path& log,
                           const std::vector<fs::path>& outputs) {
    ArdourRun run;
    std::error_code ignored;
    while (run.attempts < kArdourAttempts) {
        ++run.attempts;
        for (const fs::path& output : outputs) fs::remove_all(output, ignored);
        for (const fs::path& core : coreFiles(work)) fs::remove(core, ignored);
        run.status = runInPrivateHome(work, command, log);
        const int signal = crashSignal(run.status);
        if (signal == 0) break;
        // Keep the crashed attempt's log and backtrace next to the last one's.
        const std::string stem = log.stem().string() + "-crash" + std::to_string(run.attempts);
        fs::copy_file(log, log.parent_path() / (stem + ".log"), fs::copy_options::overwrite_existing,
                      ignored);
        const std::string frames = crashingThread(work, log.parent_path() / (stem + "-gdb.txt"));
        std::ostringstream paragraph;
        paragraph << "ardour7-lua ended by signal " << signal << " (attempt " << run.attempts << " of "
                  << kArdourAttempts << "; log " << stem << ".log)\n";
        if (frames.empty()) {
            paragraph << "no backtrace (no core file or no gdb): cannot tell Ardour's crash from Druvo's\n";
        } else {
            paragraph << "crashing thread:\n" << frames;
            if (passesThroughOurCode(frames)) {
                run.report += paragraph.str() + "in Druvo's or the stand-in's code: not run again\n";
                break;
            }
            paragraph << "not in Druvo's or the stand-in's code: Ardour's own crash\n";
        }
        run.report += paragraph.str();
    }
    return run;
}

}  // namespace druvo_test
