// Druvo in Ardour 7, a host we did not write, headless: Ardour's VST scanner
// indexes a private copy of druvo.so, then record_session.lua records three
// chains fed by the same sines (no plug-in, Druvo with no bus, Druvo on bus 1
// of the stand-in Moltrax in tone mode) and the takes are compared here.
// Ardour's HOME and XDG folders are private to the build folder.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/demo/tone_fit.h"
#include "tests/demo/wav_reader.h"
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

// Runs a shell command with Ardour's private folders in its environment; its
// output goes to `log`. The exit status is returned for the message only: the
// files it writes are what is checked.
int runInPrivateHome(const fs::path& work, const std::string& command, const fs::path& log) {
    const std::string home = (work / "home").string();
    const std::string line = "env HOME='" + home + "' XDG_CONFIG_HOME='" + home +
                             "/.config' XDG_CACHE_HOME='" + home + "/.cache' XDG_DATA_HOME='" + home +
                             "/.local/share' " + command + " > '" + log.string() + "' 2>&1";
    return std::system(line.c_str());
}

class ArdourHost : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        work_ = DRUVO_ARDOUR_WORK_DIR;
        std::error_code ignored;
        fs::remove_all(work_, ignored);
        fs::create_directories(work_ / "plugins");
        fs::create_directories(work_ / "home");
        const fs::path plugin = work_ / "plugins" / "druvo.so";
        fs::copy_file(DRUVO_PLUGIN_PATH, plugin);
        // Ardour trusts a cache only if it is newer than the file, in whole
        // seconds: date the copy back instead of waiting.
        fs::last_write_time(plugin, fs::file_time_type::clock::now() - std::chrono::seconds(5));

        scannerStatus_ = runInPrivateHome(work_,
                                          "env LD_LIBRARY_PATH='" + std::string(ARDOUR_LIBRARY_DIR) + "' '" +
                                              ARDOUR_VST_SCANNER + "' '" + plugin.string() + "'",
                                          work_ / "scanner.log");
        for (const auto& entry : fs::recursive_directory_iterator(work_ / "home", ignored)) {
            if (entry.path().extension() == ".v2i") cache_ = readText(entry.path());
        }
        sessionStatus_ = runInPrivateHome(
            work_,
            "LXVST_PATH='" + (work_ / "plugins").string() + "' LD_LIBRARY_PATH='" + DRUVO_STANDIN_DIR +
                "' MOLTRAX_STANDIN_TONES=" + std::to_string(kSampleRate) + " DRUVO_SESSION='" +
                (work_ / "session").string() + "' DRUVO_REPORT='" + (work_ / "report.txt").string() + "' '" +
                ARDOUR_LUA + "' '" + DRUVO_SESSION_SCRIPT + "'",
            work_ / "session.log");
        report_ = readText(work_ / "report.txt");
    }

    static std::string sessionLog() {
        return "ardour7-lua exit status " + std::to_string(sessionStatus_) + ":\n" +
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
    static inline int scannerStatus_ = 0, sessionStatus_ = 0;
    static inline std::string cache_, report_;
};

TEST_F(ArdourHost, ScannerIndexesSixInputsAndSixOutputs) {
    ASSERT_NE(cache_, "") << "no scanner cache; status " << scannerStatus_ << ":\n"
                          << readText(work_ / "scanner.log");
    EXPECT_NE(cache_.find("n_inputs=\"6\""), std::string::npos) << cache_;
    EXPECT_NE(cache_.find("n_outputs=\"6\""), std::string::npos) << cache_;
}

TEST_F(ArdourHost, HostSeesTheParameterAndSeventeenPrograms) {
    std::string expected = "parameters\t1\nparameter\tBus Selection\nprogram\t0 -  <Not Connected>\n";
    for (int bus = 1; bus <= 16; ++bus)
        expected += "program\t" + std::to_string(bus) + " - Moltrax Bus " + std::to_string(bus) + "\n";
    EXPECT_EQ(report_, expected + "recorded\n") << sessionLog();
}

TEST_F(ArdourHost, WithoutABusTheInputPassesUnchanged) {
    for (const std::string side : {"L", "R"}) {
        SCOPED_TRACE(side);
        const WavData reference = take("reference", side), pass = take("pass", side);
        ASSERT_EQ(reference.error, "");
        ASSERT_EQ(pass.error, "");
        ASSERT_GE(reference.frames(), kMinimumFrames);
        ASSERT_EQ(pass.frames(), reference.frames());
        double energy = 0;
        long differing = 0;
        for (long n = 0; n < reference.frames(); ++n) {
            energy += reference.samples[0][n] * reference.samples[0][n];
            if (pass.samples[0][n] != reference.samples[0][n]) ++differing;
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

}  // namespace
}  // namespace druvo_test
