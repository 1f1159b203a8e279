// Runs the demo program into a fresh folder and listens to what it wrote:
// every delivering track carries its bus's tones from the first block on,
// the track left off and the track that found its bus taken carry their input.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "tests/demo/tone_fit.h"
#include "tests/demo/wav_reader.h"
#include "tools/demo/session_plan.h"
#include "tools/demo/test_signal.h"
#include "tools/moltrax_standin/moltrax_standin.h"

namespace druvo_test {
namespace {

namespace fs = std::filesystem;
using druvo_demo::HowSelected;
using druvo_demo::kBlockFrames;
using druvo_demo::kSampleRate;
using druvo_demo::kSessionPlan;

constexpr double kSeconds = 2.0;
constexpr long kFrames =
    (static_cast<long>(kSeconds * kSampleRate) + kBlockFrames - 1) / kBlockFrames * kBlockFrames;
// Float samples of a double-precision sine: anything above this is a fault.
constexpr double kResidualLimit = 1e-4;

// The first track in the plan that selects a bus holds it; later ones wait.
bool delivers(std::size_t track) {
    const auto& plan = kSessionPlan[track];
    if (plan.how == HowSelected::Nothing || plan.bus == 0) return false;
    for (std::size_t earlier = 0; earlier < track; ++earlier) {
        if (kSessionPlan[earlier].how != HowSelected::Nothing && kSessionPlan[earlier].bus == plan.bus)
            return false;
    }
    return true;
}

class DemoOutput : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = fs::temp_directory_path() / ("druvo-demo-test-" + std::to_string(std::random_device{}()));
        fs::create_directories(folder_);
        std::ostringstream command;
        command << '"' << DRUVO_DEMO_PATH << "\" --seconds " << kSeconds << " --out \"" << folder_.string()
                << "\" > \"" << (folder_ / "stdout.txt").string() << "\" 2>&1";
        // The files are what is checked; the exit status alone proves nothing.
        (void)std::system(command.str().c_str());
        std::ifstream log(folder_ / "stdout.txt");
        stdout_.assign(std::istreambuf_iterator<char>(log), {});
    }
    static void TearDownTestSuite() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    static WavData track(std::size_t index) {
        for (const auto& entry : fs::directory_iterator(folder_)) {
            char prefix[8];
            std::snprintf(prefix, sizeof prefix, "%02zu-", index + 1);
            const std::string name = entry.path().filename().string();
            if (name.rfind(prefix, 0) == 0 && entry.path().extension() == ".wav")
                return readFloatWav(entry.path().string());
        }
        WavData missing;
        missing.error = "no WAV file for track " + std::to_string(index + 1) + "; demo said:\n" + stdout_;
        return missing;
    }

    static inline fs::path folder_;
    static inline std::string stdout_;
};

TEST_F(DemoOutput, EveryTrackHasAFileShapedLikeItsOutput) {
    for (std::size_t t = 0; t < kSessionPlan.size(); ++t) {
        SCOPED_TRACE(kSessionPlan[t].name);
        const WavData wav = track(t);
        ASSERT_EQ(wav.error, "");
        EXPECT_EQ(wav.channels, kSessionPlan[t].outputChannels);
        EXPECT_EQ(wav.sampleRate, kSampleRate);
        EXPECT_EQ(wav.frames(), kFrames);
    }
}

TEST_F(DemoOutput, HoldersOfABusCarryItsTonesFromTheFirstBlock) {
    for (std::size_t t = 0; t < kSessionPlan.size(); ++t) {
        if (!delivers(t)) continue;
        const WavData wav = track(t);
        ASSERT_EQ(wav.error, "");
        const int bus = kSessionPlan[t].bus - 1;
        for (int c = 0; c < wav.channels; ++c) {
            SCOPED_TRACE(std::string(kSessionPlan[t].name) + " channel " + std::to_string(c));
            const double hz = moltraxStandinToneHz(bus, c);
            const double amplitude = moltraxStandinToneAmplitude(c);
            // The stand-in renders every claimed bus at each request, so on the
            // first block, where each new claim asks for a render, a bus moves
            // on by more than one block: fit that block on its own.
            const ToneFit first = fitTone(wav.samples[c], hz, kSampleRate, 0, kBlockFrames);
            EXPECT_NEAR(first.amplitude, amplitude, 1e-3);
            EXPECT_LT(first.residualRms, kResidualLimit);
            const ToneFit rest = fitTone(wav.samples[c], hz, kSampleRate, kBlockFrames, wav.frames());
            EXPECT_NEAR(rest.amplitude, amplitude, 1e-4);
            EXPECT_LT(rest.residualRms, kResidualLimit);
        }
    }
}

TEST_F(DemoOutput, TracksWithoutABusCarryTheirInput) {
    int checked = 0;
    for (std::size_t t = 0; t < kSessionPlan.size(); ++t) {
        if (delivers(t)) continue;
        ++checked;
        const WavData wav = track(t);
        ASSERT_EQ(wav.error, "");
        for (int c = 0; c < wav.channels; ++c) {
            SCOPED_TRACE(std::string(kSessionPlan[t].name) + " channel " + std::to_string(c));
            const ToneFit fit =
                fitTone(wav.samples[c], druvo_demo::inputToneHz(c), kSampleRate, 0, wav.frames());
            EXPECT_NEAR(fit.amplitude, druvo_demo::kInputToneAmplitude, 1e-4);
            EXPECT_LT(fit.residualRms, kResidualLimit);
        }
    }
    EXPECT_EQ(checked, 2) << "the session has one track left off and one that finds its bus taken";
}

TEST_F(DemoOutput, TableTellsWhoDeliversAndWhoWaits) {
    EXPECT_NE(stdout_.find("delivering 2 of 6 channels"), std::string::npos) << stdout_;
    EXPECT_NE(stdout_.find("waiting: bus held by track 1"), std::string::npos) << stdout_;
    EXPECT_NE(stdout_.find("off: input passes through"), std::string::npos) << stdout_;
}

}  // namespace
}  // namespace druvo_test
