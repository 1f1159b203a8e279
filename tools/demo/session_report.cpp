// The table printed after playing: what each mixer channel selected, what the
// stand-in instrument's bus records say about the claim, and the levels that
// reached the WAV files.
#include <cmath>
#include <cstdio>
#include <string>

#include "tools/demo/demo_session.h"
#include "tools/demo/test_signal.h"

namespace druvo_demo {

namespace {

const char* howSelectedText(HowSelected how) {
    switch (how) {
        case HowSelected::Nothing:
            return "-";
        case HowSelected::ProgramChange:
            return "program change";
        case HowSelected::Automation:
            return "automation";
        case HowSelected::TextEntry:
            return "text entry";
    }
    return "?";
}

// The effect's state is shown only in its editor; from outside, the bus
// record's owner mark tells whether this channel holds the bus.
std::string connectionText(const MixerChannel& channel, int selection, const MoltraxBusRecord* record) {
    char text[96];
    if (selection == 0) {
        std::snprintf(text, sizeof text, "off: input passes through");
    } else if (record == nullptr) {
        std::snprintf(text, sizeof text, "no such bus: input passes through");
    } else if (record->owner == channel.instanceNumber) {
        if (record->activeChannels == record->maxChannels)
            std::snprintf(text, sizeof text, "delivering all %d channels", record->activeChannels);
        else
            std::snprintf(text, sizeof text, "delivering %d of %d channels", record->activeChannels,
                          record->maxChannels);
    } else if (record->owner != 0) {
        std::snprintf(text, sizeof text, "waiting: bus held by track %d", record->owner);
    } else {
        std::snprintf(text, sizeof text, "waiting: bus not claimed");
    }
    return text;
}

std::string channelCounts(const MixerChannel& channel, const MoltraxBusRecord* record) {
    if (record == nullptr || record->owner != channel.instanceNumber) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%d/%d of %d", record->requestedChannels, record->activeChannels,
                  record->maxChannels);
    return text;
}

std::string peaks(const MixerChannel& channel) {
    std::string text;
    for (int c = 0; c < channel.plan->outputChannels; ++c) {
        char level[16];
        if (channel.peak[c] > 0.0f)
            std::snprintf(level, sizeof level, "%6.1f",
                          20.0 * std::log10(static_cast<double>(channel.peak[c])));
        else
            std::snprintf(level, sizeof level, "%6s", "-inf");
        text += level;
    }
    return text;
}

}  // namespace

void DemoSession::printReport() const {
    std::printf("\n%-2s %-10s %-15s %-17s %-18s %-11s %-31s %s\n", "#", "Track", "Selected by", "Program",
                "Output", "Req/act", "Connection", "Peak dBFS per channel");
    for (const auto& channel : channels_) {
        const int selection = static_cast<int>(channel->insert->program());
        const MoltraxBusRecord* record = selection >= 1 && selection <= MOLTRAX_BUS_COUNT
                                             ? standin_->control().records[selection - 1]
                                             : nullptr;
        std::printf(
            "%-2d %-10s %-15s %-17s %-18s %-11s %-31s %s\n", channel->instanceNumber, channel->plan->name,
            howSelectedText(channel->plan->how), channel->insert->text(effGetProgramName).c_str(),
            channel->insert->text(effGetProductString).c_str(), channelCounts(*channel, record).c_str(),
            connectionText(*channel, selection, record).c_str(), peaks(*channel).c_str());
    }
    const MoltraxStandinCalls& calls = standin_->calls();
    std::printf("\nThe stand-in instrument rendered %d blocks and was asked for bus records %d times.\n",
                calls.render, calls.getBusRecord);
    std::printf("WAV files (32-bit float, %d Hz):\n", kSampleRate);
    for (const auto& channel : channels_) {
        std::printf("  %s  (%d channels, %u frames)\n", channel->wavPath.c_str(), channel->wav.channels(),
                    channel->wav.framesWritten());
    }
}

}  // namespace druvo_demo
