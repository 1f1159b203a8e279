#include "tools/demo/demo_session.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "tools/demo/test_signal.h"

namespace druvo_demo {

namespace {

constexpr double kProgressStepSeconds = 0.5;

// "01-strings.wav": the track's position and its name in lower case, blanks as dashes.
std::string wavFileName(int position, const char* trackName) {
    char name[96];
    int used = std::snprintf(name, sizeof name, "%02d-", position);
    for (const char* p = trackName; *p != '\0' && used < static_cast<int>(sizeof name) - 5; ++p) {
        const char c = *p;
        name[used++] = c == ' ' ? '-' : (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
    std::snprintf(name + used, sizeof name - static_cast<std::size_t>(used), ".wav");
    return name;
}

void printProgress(long framesDone, long framesTotal) {
    constexpr int kBarWidth = 30;
    const int filled = static_cast<int>(kBarWidth * framesDone / framesTotal);
    char bar[kBarWidth + 1];
    for (int i = 0; i < kBarWidth; ++i) bar[i] = i < filled ? '#' : '.';
    bar[kBarWidth] = '\0';
    std::printf("  playing %5.2f s / %.2f s  [%s]\n", static_cast<double>(framesDone) / kSampleRate,
                static_cast<double>(framesTotal) / kSampleRate, bar);
    std::fflush(stdout);
}

}  // namespace

bool DemoSession::setUp() {
    std::string error;
    // The instrument is already open in the DAW when the first effect is inserted.
    std::printf("Loading the stand-in Moltrax instrument: %s\n", options_.standinPath.c_str());
    standin_ = druvo_host::StandinModule::load(options_.standinPath, &error);
    if (!standin_) {
        std::fprintf(stderr, "druvo_demo: %s\n", error.c_str());
        return false;
    }
    standin_->reset();
    standin_->control().renderMode = 1;
    standin_->control().sampleRate = kSampleRate;

    std::printf("Loading the plug-in: %s\n", options_.pluginPath.c_str());
    plugin_ = druvo_host::PluginModule::load(options_.pluginPath, &error);
    if (!plugin_) {
        std::fprintf(stderr, "druvo_demo: %s\n", error.c_str());
        return false;
    }

    std::error_code ignored;
    std::filesystem::create_directories(options_.outputDir, ignored);

    for (int c = 0; c < kPins; ++c) {
        inputs_[c].assign(kBlockFrames, 0.0f);
        inputPointers_[c] = inputs_[c].data();
    }
    for (const TrackPlan& plan : kSessionPlan) {
        auto channel = std::make_unique<MixerChannel>();
        channel->plan = &plan;
        // No effect lives in this process before the session, and the
        // plug-in numbers its effects 1, 2, ... as they are built.
        channel->instanceNumber = static_cast<int>(channels_.size()) + 1;
        channel->insert = druvo_host::PluginInstance::create(plugin_->main());
        if (!channel->insert) {
            std::fprintf(stderr, "druvo_demo: the plug-in refused to build an effect for %s\n", plan.name);
            return false;
        }
        channel->insert->prepare(static_cast<float>(kSampleRate), kBlockFrames);
        if (!channel->insert->setChannels(plan.outputChannels, plan.outputChannels)) {
            std::fprintf(stderr, "druvo_demo: %s refused a %d-channel arrangement\n", plan.name,
                         plan.outputChannels);
            return false;
        }
        for (int c = 0; c < kPins; ++c) {
            channel->outputs[c].assign(kBlockFrames, 0.0f);
            channel->outputPointers[c] = channel->outputs[c].data();
        }
        channel->wavPath = (std::filesystem::path(options_.outputDir) /
                            wavFileName(static_cast<int>(channels_.size()) + 1, plan.name))
                               .string();
        if (!channel->wav.open(channel->wavPath, plan.outputChannels, kSampleRate)) {
            std::fprintf(stderr, "druvo_demo: cannot write %s\n", channel->wavPath.c_str());
            return false;
        }
        selectBeforePlaying(*channel);
        channels_.push_back(std::move(channel));
    }
    return true;
}

void DemoSession::selectBeforePlaying(MixerChannel& channel) {
    const TrackPlan& plan = *channel.plan;
    std::printf("Track %d %-10s %d-channel output, ", channel.instanceNumber, plan.name, plan.outputChannels);
    switch (plan.how) {
        case HowSelected::Nothing:
            std::printf("left off\n");
            break;
        case HowSelected::ProgramChange:
            std::printf("program change to %d (effSetProgram)\n", plan.bus);
            channel.insert->dispatch(effSetProgram, 0, plan.bus);
            break;
        case HowSelected::TextEntry: {
            char typed[8];
            std::snprintf(typed, sizeof typed, "%d", plan.bus);
            std::printf("typed \"%s\" into the parameter field (effString2Parameter)\n", typed);
            channel.insert->enterText(typed);
            break;
        }
        case HowSelected::Automation:
            std::printf("automation writes %.4f at the first block (setParameter)\n", plan.bus * 0.0625);
            break;
    }
}

bool DemoSession::play() {
    const long totalFrames = std::lround(options_.seconds * kSampleRate);
    const long blocks = (totalFrames + kBlockFrames - 1) / kBlockFrames;
    const long framesTotal = blocks * kBlockFrames;
    const long progressStep = std::lround(kProgressStepSeconds * kSampleRate);
    std::printf("Playing %ld blocks of %d frames at %d Hz\n", blocks, kBlockFrames, kSampleRate);
    long nextProgress = progressStep;
    for (long block = 0; block < blocks; ++block) {
        processBlock(block);
        const long framesDone = (block + 1) * kBlockFrames;
        if (framesDone >= nextProgress || block + 1 == blocks) {
            printProgress(framesDone, framesTotal);
            while (nextProgress <= framesDone) nextProgress += progressStep;
        }
    }
    bool written = true;
    for (const auto& channel : channels_) {
        if (!channel->wav.close()) {
            std::fprintf(stderr, "druvo_demo: writing %s failed\n", channel->wavPath.c_str());
            written = false;
        }
    }
    return written;
}

void DemoSession::processBlock(long block) {
    const long firstFrame = block * kBlockFrames;
    for (int c = 0; c < kPins; ++c) {
        for (int k = 0; k < kBlockFrames; ++k) inputs_[c][k] = inputSample(c, firstFrame + k);
    }
    for (const auto& channel : channels_) {
        const TrackPlan& plan = *channel->plan;
        // Automation arrives on the audio thread, just before the block it applies to.
        if (block == 0 && plan.how == HowSelected::Automation) {
            channel->insert->setParameter(static_cast<float>(plan.bus) * 0.0625f);
        }
        channel->insert->processReplacing(inputPointers_, channel->outputPointers, kBlockFrames);
        channel->wav.append(channel->outputPointers, kBlockFrames);
        for (int c = 0; c < plan.outputChannels; ++c) {
            for (float sample : channel->outputs[c])
                channel->peak[c] = std::fmax(channel->peak[c], std::fabs(sample));
        }
    }
}

void DemoSession::close() {
    for (auto& channel : channels_) channel->insert.reset();
    channels_.clear();
}

}  // namespace druvo_demo
