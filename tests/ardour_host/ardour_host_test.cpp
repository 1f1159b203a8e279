// Druvo in Ardour 7, a host we did not write, headless: Ardour's VST scanner
// indexes a private copy of druvo.so, then record_session.lua records three
// chains fed by the same sines (no plug-in, Druvo with no bus, Druvo on bus 1
// of the stand-in Moltrax in tone mode) and the takes are compared here.
// Ardour's HOME and XDG folders are private to the build folder.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tests/demo/tone_fit.h"
#include "tests/demo/wav_reader.h"
#include "tools/moltrax_standin/instrument.h"
#include "tools/moltrax_standin/moltrax_standin.h"

namespace druvo_test {
namespace {

namespace fs = std::filesystem;

constexpr int kSampleRate = 48000;
constexpr long kMinimumFrames = 2 * kSampleRate - 4096;

std::string readText(const fs::path& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A session run that Ardour ends with a crash signal is started again, up to
// kArdourAttempts in all, unless the crashing thread's backtrace passes through
// druvo.so or the stand-in: that crash may be Druvo's and fails the run.
// Without a core file (the shell's `ulimit -c` lets the kernel write one into
// the work folder; a core_pattern that pipes cores elsewhere leaves none) or
// gdb the crash cannot be placed; it is then run again, and said so.
constexpr int kArdourAttempts = 3;

struct ArdourRun {
    int status = 0;      // wait status of the last attempt
    int attempts = 0;    // attempts made
    std::string report;  // one paragraph per crashed attempt, for the test log
};

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
        std::istringstream lines(readText(saveAs));
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

// Runs `command` in `work` with Ardour's private folders in its environment;
// its output goes to `log`. Returns the wait status of the shell.
int runInPrivateHome(const fs::path& work, const std::string& command, const fs::path& log) {
    const std::string home = (work / "home").string();
    const std::string line = "ulimit -c unlimited 2>/dev/null; cd '" + work.string() + "' && env HOME='" +
                             home + "' XDG_CONFIG_HOME='" + home + "/.config' XDG_CACHE_HOME='" + home +
                             "/.cache' XDG_DATA_HOME='" + home + "/.local/share' " + command + " > '" +
                             log.string() + "' 2>&1";
    return std::system(line.c_str());
}

// `outputs` (files and folders the session writes) are removed before each attempt.
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

// Where a take begins on the timeline, from a session script's report; -1 if not reported.
long takeStart(const std::string& report, const std::string& track) {
    const std::string line = "take\t" + track + "-take\t";
    const std::size_t at = report.find(line);
    return at == std::string::npos ? -1 : std::atol(report.c_str() + at + line.size());
}

// Copies a plug-in into work/plugins and has Ardour's scanner index it there.
fs::path installPlugin(const fs::path& work, const fs::path& source, int* scannerStatus) {
    const fs::path plugin = work / "plugins" / source.filename();
    fs::copy_file(source, plugin);
    // Ardour trusts a cache only if it is newer than the file, in whole
    // seconds: date the copy back instead of waiting.
    fs::last_write_time(plugin, fs::file_time_type::clock::now() - std::chrono::seconds(5));
    *scannerStatus = runInPrivateHome(work,
                                      "env LD_LIBRARY_PATH='" + std::string(ARDOUR_LIBRARY_DIR) + "' '" +
                                          ARDOUR_VST_SCANNER + "' '" + plugin.string() + "'",
                                      work / ("scan-" + source.stem().string() + ".log"));
    return plugin;
}

class ArdourHost : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        work_ = DRUVO_ARDOUR_WORK_DIR;
        std::error_code ignored;
        fs::remove_all(work_, ignored);
        fs::create_directories(work_ / "plugins");
        fs::create_directories(work_ / "home");
        const fs::path plugin = installPlugin(work_, DRUVO_PLUGIN_PATH, &scannerStatus_);
        for (const auto& entry : fs::recursive_directory_iterator(work_ / "home", ignored)) {
            if (entry.path().extension() == ".v2i") cache_ = readText(entry.path());
        }
        session_ = runArdourSession(
            work_,
            "DRUVO_SESSION_PIECES='" + std::string(DRUVO_SESSION_PIECES) + "' LXVST_PATH='" +
                (work_ / "plugins").string() + "' LD_LIBRARY_PATH='" + DRUVO_STANDIN_DIR +
                "' MOLTRAX_STANDIN_TONES=" + std::to_string(kSampleRate) + " DRUVO_SESSION='" +
                (work_ / "session").string() + "' DRUVO_REPORT='" + (work_ / "report.txt").string() + "' '" +
                ARDOUR_LUA + "' '" + DRUVO_SESSION_SCRIPT + "'",
            work_ / "session.log", {work_ / "session", work_ / "report.txt"});
        std::printf("%s", session_.report.c_str());
        report_ = readText(work_ / "report.txt");
    }

    static std::string sessionLog() {
        return session_.report + "ardour7-lua wait status " + std::to_string(session_.status) + ":\n" +
               readText(work_ / "session.log");
    }

    // The mono take of a recorder channel ("L" or "R") of one chain.
    static WavData take(const std::string& chain, const std::string& side) {
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(work_ / "session", ignored)) {
            const std::string name = entry.path().filename().string();
            if (name.find("_" + chain + "-take") != std::string::npos &&
                name.find("%" + side + ".wav") != std::string::npos)
                return readFloatWav(entry.path().string());
        }
        WavData missing;
        missing.error = "no take of " + chain + " " + side + "; " + sessionLog();
        return missing;
    }

    static inline fs::path work_;
    static inline int scannerStatus_ = 0;
    static inline ArdourRun session_;
    static inline std::string cache_, report_;
};

TEST_F(ArdourHost, ScannerIndexesSixInputsAndSixOutputs) {
    ASSERT_NE(cache_, "") << "no scanner cache; status " << scannerStatus_ << ":\n"
                          << readText(work_ / "scan-druvo.log");
    EXPECT_NE(cache_.find("n_inputs=\"6\""), std::string::npos) << cache_;
    EXPECT_NE(cache_.find("n_outputs=\"6\""), std::string::npos) << cache_;
}

TEST_F(ArdourHost, HostSeesTheParameterAndSeventeenPrograms) {
    std::string expected = "parameters\t1\nparameter\tBus Selection\nprogram\t0 -  <Not Connected>\n";
    for (int bus = 1; bus <= 16; ++bus)
        expected += "program\t" + std::to_string(bus) + " - Moltrax Bus " + std::to_string(bus) + "\n";
    EXPECT_EQ(report_.substr(0, report_.find("take\t")), expected) << sessionLog();
    EXPECT_TRUE(report_.ends_with("recorded\n")) << sessionLog();
    EXPECT_EQ(session_.status, 0) << "the session ended unclean; " << sessionLog();
}

TEST_F(ArdourHost, WithoutABusTheInputPassesUnchanged) {
    // The takes are compared where they overlap on the timeline.
    const long offset = takeStart(report_, "pass") - takeStart(report_, "reference");
    ASSERT_GE(takeStart(report_, "pass"), 0) << report_;
    ASSERT_GE(takeStart(report_, "reference"), 0) << report_;
    for (const std::string side : {"L", "R"}) {
        SCOPED_TRACE(side);
        const WavData reference = take("reference", side), pass = take("pass", side);
        ASSERT_EQ(reference.error, "");
        ASSERT_EQ(pass.error, "");
        const long first = std::max(0L, -offset), last = std::min(pass.frames(), reference.frames() - offset);
        ASSERT_GE(last - first, kMinimumFrames)
            << "takes overlap; pass starts " << offset << " samples later";
        double energy = 0;
        long differing = 0;
        for (long n = first; n < last; ++n) {
            const float expected = reference.samples[0][n + offset];
            energy += expected * expected;
            if (pass.samples[0][n] != expected) ++differing;
        }
        EXPECT_GT(energy, 1.0) << "the reference take is silent";
        EXPECT_EQ(differing, 0) << "samples differing from the reference take";
    }
}

TEST_F(ArdourHost, BusOneDeliversTheStandInsTones) {
    for (int channel = 0; channel < 2; ++channel) {
        SCOPED_TRACE(channel);
        const WavData wav = take("bus", channel == 0 ? "L" : "R");
        ASSERT_EQ(wav.error, "");
        ASSERT_GE(wav.frames(), kMinimumFrames);
        // The take may open with silence before the first processed block.
        long first = 0;
        while (first < wav.frames() && wav.samples[0][first] == 0.0f) ++first;
        ASSERT_LT(first, wav.frames() - kSampleRate) << "the take is silent";
        const ToneFit fit =
            fitTone(wav.samples[0], moltraxStandinToneHz(0, channel), kSampleRate, first, wav.frames());
        // Float samples of a double-precision sine; a gap or phase jump leaves far more.
        EXPECT_NEAR(fit.amplitude, moltraxStandinToneAmplitude(channel), 1e-4);
        EXPECT_LT(fit.residualRms, 1e-4);
    }
}

// The stand-in as an instrument track in Ardour, five Druvo tracks on its
// buses, at three block sizes (instrument_session.lua). Every sample carries a
// position code (instrument.h): which bus channel, which clock sample.
struct Code {
    bool valid;
    long position;
    int tag;
};

Code decode(float value) {
    const double n = static_cast<double>(value) * 8388608.0;
    const long whole = std::lround(n);
    if (whole <= 0 || n != static_cast<double>(whole)) return {false, 0, 0};
    return {true, whole >> 7, static_cast<int>(whole & 127)};
}

struct DruvoTrack {
    const char* name;
    int channels, bus, runs;  // runs: spans of bus audio the turns leave on it
};
// Turns: recording, d4 lets go, the instrument goes and comes back, d1 and d2 go.
constexpr DruvoTrack kTracks[] = {
    {"d1", 2, 1, 2}, {"d2", 6, 3, 2}, {"d3", 6, 2, 2}, {"d4", 2, 4, 1}, {"d5", 2, 4, 2}};
constexpr int kBlocks[] = {64, 256, 1024};

class ArdourInstrumentSession : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        work_ = fs::path(DRUVO_ARDOUR_WORK_DIR).concat("-instrument");
        std::error_code ignored;
        fs::remove_all(work_, ignored);
        fs::create_directories(work_ / "plugins");
        fs::create_directories(work_ / "home");
        int status = 0;
        installPlugin(work_, DRUVO_PLUGIN_PATH, &status);
        // The file name that Druvo loads: the loader then finds Ardour's copy by its SONAME.
        installPlugin(work_, fs::path(DRUVO_STANDIN_DIR) / "Moltrax.so", &status);
        for (std::size_t b = 0; b < std::size(kBlocks); ++b) {
            const int block = kBlocks[b];
            const fs::path dir = work_ / std::to_string(block);
            const fs::path report = dir.string() + "-report.txt", standin = dir.string() + "-standin.txt";
            const auto started = std::chrono::steady_clock::now();
            runs_[b] = runArdourSession(work_,
                                        "DRUVO_SESSION_PIECES='" + std::string(DRUVO_SESSION_PIECES) +
                                            "' LXVST_PATH='" + (work_ / "plugins").string() +
                                            "' DRUVO_BLOCK=" + std::to_string(block) + " DRUVO_SESSION='" +
                                            dir.string() + "' DRUVO_REPORT='" + report.string() +
                                            "' MOLTRAX_STANDIN_REPORT='" + standin.string() + "' '" +
                                            ARDOUR_LUA + "' '" + DRUVO_INSTRUMENT_SCRIPT + "'",
                                        dir.string() + ".log", {dir, report, standin});
            std::printf("%sblock %d: session ran %.1f s, ardour7-lua wait status %d\n%s",
                        runs_[b].report.c_str(), block,
                        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(),
                        runs_[b].status, readText(standin).c_str());
            // Ardour's own complaints, for the test log.
            std::istringstream lines(log(block));
            for (std::string line; std::getline(lines, line);)
                if (line.find("rror") != std::string::npos || line.find("ailed") != std::string::npos)
                    std::printf("ardour: %s\n", line.c_str());
        }
    }

    static std::string log(int block) { return readText(work_ / (std::to_string(block) + ".log")); }

    static long takeStart(int block, const std::string& track) {
        return druvo_test::takeStart(readText(work_ / (std::to_string(block) + "-report.txt")), track);
    }

    static WavData take(int block, const std::string& track, int channels, int channel) {
        const std::string side = channels == 2 ? (channel == 0 ? "L" : "R") : std::to_string(97 + channel);
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(work_ / std::to_string(block), ignored)) {
            const std::string name = entry.path().filename().string();
            if (name.find("_" + track + "-take") != std::string::npos &&
                name.find("%" + side + ".wav") != std::string::npos)
                return readFloatWav(entry.path().string());
        }
        WavData missing;
        missing.error = "no take of " + track + " " + side + "; log:\n" + log(block);
        return missing;
    }

    static inline fs::path work_;
    static inline ArdourRun runs_[std::size(kBlocks)];
};

TEST_F(ArdourInstrumentSession, EveryBusStaysAlignedWithTheInstrumentThroughEveryTurn) {
    for (const int block : kBlocks) {
        SCOPED_TRACE("block " + std::to_string(block));
        const WavData synth = take(block, "moltrax", 2, 0);
        ASSERT_EQ(synth.error, "");
        // The instrument's clock per take sample. As Ardour removes the
        // instrument, its track may pass a stale block (the previous one again,
        // which the stand-in never plays twice): samples off the run's count
        // are no clock.
        std::vector<Code> clock(synth.frames(), Code{false, 0, 0});
        int synthRuns = 0, staleBlocks = 0;
        long comeback = -1;  // where the instrument's output starts again
        long expected = -1;  // the next clock position within a run of the instrument's output
        for (long n = 0; n < synth.frames(); ++n) {
            const Code code = decode(synth.samples[0][n]);
            if (synth.samples[0][n] == 0.0f) {
                expected = -1;
            } else if (expected < 0) {
                if (code.valid) {
                    if (++synthRuns == 2) comeback = n;
                    clock[n] = code;
                    expected = (code.position + 1) % 65536;
                }
            } else {
                if (code.valid && code.position == expected) clock[n] = code;
                if (code.valid && code.position != expected && clock[n - 1].valid) ++staleBlocks;
                expected = (expected + 1) % 65536;
            }
        }
        EXPECT_EQ(synthRuns, 2) << "the instrument sounds, goes, comes back";
        // As the instrument returns, a bus read before its first process call
        // may run one block late until the host's order changes, then skip a
        // block (the stand-in's resume case in instrument.h); only then.
        // The stand-in's cycle guess can also put the buses one block ahead
        // of its own output (a request taken for the next cycle, instrument.h)
        // until it gives each bus nothing for one cycle, after which the
        // count goes on with nothing lost; only that way.
        long worstSkew = 0, losses = 0, returnSkew = 0, returnLosses = 0, staleAtRemoval = 0,
             aheadChannels = 0;
        for (const DruvoTrack& track : kTracks) {
            for (int channel = 0; channel < track.channels; ++channel) {
                SCOPED_TRACE(std::string(track.name) + " channel " + std::to_string(channel));
                const WavData wav = take(block, track.name, track.channels, channel);
                ASSERT_EQ(wav.error, "");
                const long offset = takeStart(block, track.name) - takeStart(block, "moltrax");
                ASSERT_GE(takeStart(block, track.name), 0)
                    << readText(work_ / (std::to_string(block) + "-report.txt"));
                const bool delivered = channel < moltraxStandinBusChannels(track.bus - 1);
                long wrongTag = 0, unaligned = 0, runs = 0, breaks = 0, returnUnaligned = 0, returnBreaks = 0;
                long ahead = 0, pauses = 0;
                // Removing d1 and d2, Ardour may skip their plug-in for a cycle
                // and run it once more: it then copies the block filled
                // meanwhile, one late. Such a last lone block is left out.
                long end = wav.frames();
                while (end > 0 && !decode(wav.samples[0][end - 1]).valid) --end;
                long lastRun = end;
                while (lastRun > 0 && decode(wav.samples[0][lastRun - 1]).valid) --lastRun;
                if (track.name[1] <= '2' && end - lastRun <= block && lastRun > 0) {
                    ++staleAtRemoval;
                    end = lastRun;
                }
                Code last{false, 0, 0};
                for (long n = 0; n < end; ++n) {
                    const Code code = decode(wav.samples[0][n]);
                    if (!code.valid && last.valid) {
                        // A lone silent block after which the count goes on.
                        long resume = n;
                        while (resume < end && !decode(wav.samples[0][resume]).valid) ++resume;
                        if (resume - n == block && resume < end &&
                            decode(wav.samples[0][resume]).position == (last.position + 1) % 65536) {
                            ++pauses;
                            n = resume - 1;
                            continue;
                        }
                    }
                    if (code.valid && code.tag != moltraxStandinBusTag(track.bus - 1, channel)) ++wrongTag;
                    if (code.valid && !last.valid) ++runs;
                    const long at = n + offset;
                    const bool atReturn = comeback >= 0 && at >= comeback;
                    // A dropped or repeated sample breaks the count within a run.
                    if (code.valid && last.valid && code.position != (last.position + 1) % 65536)
                        ++(atReturn ? returnBreaks : breaks);
                    // Where the instrument's output has no code (it is being
                    // removed or added) there is nothing to compare with.
                    const Code synthCode = at >= 0 && at < synth.frames() ? clock[at] : Code{false, 0, 0};
                    const long skew = (code.position - synthCode.position + 98304) % 65536 - 32768;
                    const bool lateOnce = atReturn && skew == -block && returnBreaks == 0;
                    if (code.valid && synthCode.valid && skew == block && !atReturn && pauses == 0) {
                        ++ahead;
                    } else if (code.valid && synthCode.valid && skew != 0) {
                        ++(lateOnce ? returnUnaligned : unaligned);
                        long& worst = lateOnce ? returnSkew : worstSkew;
                        if (std::labs(skew) > std::labs(worst)) worst = skew;
                    }
                    last = code;
                }
                losses += breaks;
                returnLosses += returnBreaks;
                if (pauses == 0) unaligned += ahead;  // ahead, never caught up
                if (ahead > 0 && pauses > 0) ++aheadChannels;
                EXPECT_LE(pauses, ahead > 0 ? 1 : 0) << "silent blocks within a run";
                EXPECT_LE(returnBreaks, returnUnaligned > 0 ? 1 : 0)
                    << "blocks skipped as the instrument returns";
                EXPECT_EQ(wrongTag, 0) << "samples of another bus or channel";
                EXPECT_EQ(runs, delivered ? track.runs : 0) << "spans of bus audio";
                EXPECT_EQ(unaligned, 0) << "samples off the instrument's clock";
                EXPECT_EQ(breaks, 0) << "dropped or repeated samples";
            }
        }
        std::printf(
            "block %d: worst skew %ld samples, losses %ld; as the instrument returns: worst skew %ld, "
            "losses %ld; stale blocks from Ardour: instrument %d, removed Druvo channels %ld; channels a "
            "block "
            "ahead until one silent block: %ld\n",
            block, worstSkew, losses, returnSkew, returnLosses, staleBlocks, staleAtRemoval, aheadChannels);
    }
}

TEST_F(ArdourInstrumentSession, TeardownInAnyOrderEndsCleanWithNothingClaimed) {
    for (std::size_t b = 0; b < std::size(kBlocks); ++b) {
        const int block = kBlocks[b];
        SCOPED_TRACE("block " + std::to_string(block));
        const std::string prefix = (work_ / std::to_string(block)).string();
        const ArdourRun& run = runs_[b];
        EXPECT_EQ(run.status, 0) << "the session ended unclean; " << run.report << log(block);
        EXPECT_NE(readText(prefix + "-report.txt").find("recorded\n"), std::string::npos) << log(block);
        const std::string standin = readText(prefix + "-standin.txt");
        // Both instrument instances closed, then the module unloaded with no claim left.
        long closes = 0;
        for (std::size_t at = standin.find("instrument\t"); at != std::string::npos;
             at = standin.find("instrument\t", at + 1))
            ++closes;
        EXPECT_EQ(closes, 2) << standin;
        // The host's processing threads both called the instrument or asked it to render.
        const std::size_t threads = standin.rfind("threads ");
        ASSERT_NE(threads, std::string::npos) << standin;
        EXPECT_GE(std::atoi(standin.c_str() + threads + 8), 2) << standin;
        EXPECT_NE(standin.find("unload\tclaimed 0\n"), std::string::npos) << standin;
    }
}

}  // namespace
}  // namespace druvo_test
