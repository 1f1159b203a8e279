// Effects with their real editor, against the recording host callback, a
// stand-in sibling whose bus records and directory the test controls, a
// clock the test sets, and a frame backend the test chooses (recording by
// default).
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "editor/druvo_anim.h"
#include "editor/druvo_editor.h"
#include "editor/druvo_menu.h"
#include "editor/editor_clock.h"
#include "link/bus_directory.h"
#include "link/sibling_module.h"
#include "link/sibling_module_testing.h"
#include "plugin/druvo.h"
#include "tests/plugin/fake_host.h"
#include "tests/toolkit/recording_backend.h"

namespace editor_test {

inline std::array<MoltraxBusRecord*, MOLTRAX_BUS_COUNT> records{};
inline MoltraxBusDirectory directory{};
inline bool offerDirectory = false;
inline long clockNow = 0;

inline MoltraxBusRecord* MOLTRAX_CDECL busRecord(int32_t busIndex) {
    return busIndex >= 0 && busIndex < MOLTRAX_BUS_COUNT ? records[busIndex] : nullptr;
}

inline MoltraxBusDirectory* MOLTRAX_CDECL busDirectory() {
    return offerDirectory ? &directory : nullptr;
}

inline long testClock() noexcept { return clockNow; }

// Entries named and sized as given, count = their number unless set.
inline void setDirectory(std::vector<std::pair<const char*, int>> buses, int count = -1) {
    std::memset(&directory, 0, sizeof directory);
    for (std::size_t i = 0; i < buses.size() && i < MOLTRAX_BUS_COUNT; ++i) {
        directory.entries[i].index = static_cast<int32_t>(i);
        std::snprintf(directory.entries[i].name, sizeof directory.entries[i].name, "%s", buses[i].first);
        directory.entries[i].channelCount = buses[i].second;
    }
    directory.count = count >= 0 ? count : static_cast<int>(buses.size());
    offerDirectory = true;
}

class EditorTest : public ::testing::Test {
protected:
    EditorTest() {
        fake_host::reset();
        records.fill(nullptr);
        offerDirectory = false;
        clockNow = 0;
        previousClock_ = MX::editor::setBlinkClock(testClock);
        MX::toolkit::setDefaultBackend(&recording);
    }
    ~EditorTest() override {
        effects_.clear();
        MX::link::disconnectSibling();
        MX::toolkit::setDefaultBackend(nullptr);
        MX::editor::setBlinkClock(previousClock_);
    }

    // The sibling as loaded, with this fixture's records and directory.
    static void connectSibling() { MX::link::testing::installSiblingEntries(busRecord, nullptr, busDirectory); }

    MX::Druvo& makeEffect() {
        effects_.push_back(std::make_unique<MX::Druvo>(fake_host::callback));
        return *effects_.back();
    }
    static MX::DruvoEditor& editorOf(MX::Druvo& effect) {
        return *static_cast<MX::DruvoEditor*>(effect.getEditor());
    }
    static MX::toolkit::CFrame& frameOf(MX::Druvo& effect) { return *editorOf(effect).getCFrame(); }

    // An enabled, free record for bus n (1..16).
    MoltraxBusRecord& offerBus(int bus, int maxChannels = 6) {
        records_.push_back(std::make_unique<MoltraxBusRecord>());
        MoltraxBusRecord& record = *records_.back();
        record.enabled = 1;
        record.maxChannels = static_cast<uint8_t>(maxChannels);
        records[bus - 1] = &record;
        return record;
    }

    // One block through the audio path, which sets the connection state.
    static void runBlock(MX::Druvo& effect) {
        static float buffers[12][64];
        float* inputs[6];
        float* outputs[6];
        for (int i = 0; i < 6; ++i) {
            inputs[i] = buffers[i];
            outputs[i] = buffers[6 + i];
        }
        effect.processReplacing(inputs, outputs, 64);
    }

    // An effect whose audio path has reached `state` (0, 1, 2 or 3).
    MX::Druvo& effectInState(int state) {
        MX::Druvo& effect = makeEffect();
        driveTo(effect, state);
        return effect;
    }
    // State 0: bus 3, which has no record; 1: bus 2, held by another
    // instance; 2: bus 1 (six channels) under a stereo output; 3: bus 1 under
    // a six-channel output.
    void driveTo(MX::Druvo& effect, int state) {
        connectSibling();
        if (records[0] == nullptr) offerBus(1);
        if (records[1] == nullptr) offerBus(2).owner = 200;
        setOutputChannels(effect, state == 2 ? 2 : 6);
        const int bus = state == 0 ? 3 : (state == 1 ? 2 : 1);
        effect.setParameter(0, static_cast<float>(bus) * 0.0625f);
        runBlock(effect);
        ASSERT_EQ(effect.connectionState(), state);
    }
    static bool setOutputChannels(MX::Druvo& effect, int channels) {
        VstSpeakerArrangement input{};
        input.numChannels = 6;
        VstSpeakerArrangement output{};
        output.numChannels = channels;
        return effect.setSpeakerArrangement(&input, &output);
    }

    static VstIntPtr dispatch(MX::Druvo& effect, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                              void* ptr = nullptr, float opt = 0.0f) {
        AEffect* e = effect.getAeffect();
        return e->dispatcher(e, opcode, index, value, ptr, opt);
    }
    static void open(MX::Druvo& effect) { ASSERT_EQ(dispatch(effect, effEditOpen), 1); }
    static void idle(MX::Druvo& effect) { dispatch(effect, effEditIdle); }

    MX::toolkit::testing::RecordingBackend recording;
    fake_host::ErrorBoxCapture boxes_;

private:
    std::vector<std::unique_ptr<MoltraxBusRecord>> records_;
    std::vector<std::unique_ptr<MX::Druvo>> effects_;
    MX::editor::ClockSource previousClock_ = nullptr;
};

}  // namespace editor_test
