// Effects with their real editor: the plug-in fixture, plus a clock the test
// sets and a frame backend the test chooses (recording by default).
// The test's thread, as the host's UI thread.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "editor/druvo_editor.h"
#include "editor/druvo_menu.h"
#include "editor/editor_clock.h"
#include "link/bus_directory.h"
#include "tests/plugin/druvo_fixture.h"
#include "tests/toolkit/recording_backend.h"
#include "toolkit/auto_animation.h"

namespace editor_test {

using State = MX::link::ConnectionState;

inline long clockNow = 0;
inline long testClock() noexcept { return clockNow; }

inline MoltraxBusDirectory directory{};

// Offers `directory` to the sibling: entries named and sized as given, count =
// their number unless set.
inline void setDirectory(std::vector<std::pair<const char*, int>> buses, int count = -1) {
    std::memset(&directory, 0, sizeof directory);
    for (std::size_t i = 0; i < buses.size() && i < MOLTRAX_BUS_COUNT; ++i) {
        directory.entries[i].index = static_cast<int32_t>(i);
        std::snprintf(directory.entries[i].name, sizeof directory.entries[i].name, "%s", buses[i].first);
        directory.entries[i].channelCount = buses[i].second;
    }
    directory.count = count >= 0 ? count : static_cast<int>(buses.size());
    fake::directory = &directory;
}

class EditorTest : public DruvoTest {
protected:
    EditorTest() {
        clockNow = 0;
        previousClock_ = MX::editor::setBlinkClock(testClock);
        MX::toolkit::setDefaultBackend(&recording);
        editorFactory_ = MX::createDruvoEditor;
    }
    ~EditorTest() override {
        MX::toolkit::setDefaultBackend(nullptr);
        MX::editor::setBlinkClock(previousClock_);
    }

    static MX::DruvoEditor& editorOf(MX::Druvo& effect) {
        return *static_cast<MX::DruvoEditor*>(effect.getEditor());
    }
    static MX::toolkit::CFrame& frameOf(MX::Druvo& effect) { return *editorOf(effect).getCFrame(); }

    // An effect whose audio path has reached `state`.
    MX::Druvo& effectInState(State state) {
        MX::Druvo& effect = makeEffect();
        driveTo(effect, state);
        return effect;
    }
    // No record: bus 3, which has none; not delivering: bus 2, held by
    // another instance; some channels: bus 1 (six channels) under a stereo
    // output; all channels: bus 1 under a six-channel output.
    void driveTo(MX::Druvo& effect, State state) {
        connectSibling();
        if (fake::records[0] == nullptr) offerBus(1);
        if (fake::records[1] == nullptr) offerBus(2).owner = 200;
        setOutputChannels(effect, state == State::kSomeChannels ? 2 : 6);
        const int bus = state == State::kNoRecord ? 3 : (state == State::kNotDelivering ? 2 : 1);
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

    static void open(MX::Druvo& effect) { ASSERT_EQ(dispatch(effect, effEditOpen), 1); }
    static void idle(MX::Druvo& effect) { dispatch(effect, effEditIdle); }

    MX::toolkit::testing::RecordingBackend recording;

private:
    MX::editor::ClockSource previousClock_ = nullptr;
};

}  // namespace editor_test
