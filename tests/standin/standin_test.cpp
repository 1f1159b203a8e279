// The stand-in instrument as the plug-in and the module tests see it: loaded
// by path, entries by name and by ordinal.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>

#include "platform/platform.h"
#include "tools/moltrax_standin/moltrax_standin.h"

namespace {

using MX::platform::findEntry;
using MX::platform::findEntryByOrdinal;

class Standin : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        module = MX::platform::loadModule(DRUVO_STANDIN_PATH);
        ASSERT_NE(module, nullptr) << DRUVO_STANDIN_PATH;
        control = reinterpret_cast<MoltraxStandinControlFn>(findEntry(module, "MoltraxStandinControl"));
        reset = reinterpret_cast<MoltraxStandinResetFn>(findEntry(module, "MoltraxStandinReset"));
        connect = reinterpret_cast<MoltraxConnectFn>(findEntry(module, "MoltraxConnect"));
        disconnect = reinterpret_cast<MoltraxDisconnectFn>(findEntry(module, "MoltraxDisconnect"));
        getRecord = reinterpret_cast<MoltraxGetBusRecordFn>(
            findEntryByOrdinal(module, MOLTRAX_ORDINAL_GET_BUS_RECORD, "MoltraxGetBusRecord"));
        render = reinterpret_cast<MoltraxRenderFn>(
            findEntryByOrdinal(module, MOLTRAX_ORDINAL_RENDER, "MoltraxRender"));
        getDirectory = reinterpret_cast<MoltraxGetBusDirectoryFn>(
            findEntryByOrdinal(module, MOLTRAX_ORDINAL_GET_BUS_DIRECTORY, "MoltraxGetBusDirectory"));
    }
    static void TearDownTestSuite() { MX::platform::freeModule(module); }

    void SetUp() override {
        ASSERT_TRUE(control && reset && connect && disconnect && getRecord && render && getDirectory);
        reset();
        state = control();
    }

    // Sample k of bus/channel's tone, counted from the first render after reset.
    static float tone(int bus, int channel, int k) {
        const double step = 2.0 * std::numbers::pi * moltraxStandinToneHz(bus, channel) / 44100.0;
        return static_cast<float>(moltraxStandinToneAmplitude(channel) * std::sin(step * k));
    }

    static inline MX::platform::ModuleHandle module = nullptr;
    static inline MoltraxStandinControlFn control = nullptr;
    static inline MoltraxStandinResetFn reset = nullptr;
    static inline MoltraxConnectFn connect = nullptr;
    static inline MoltraxDisconnectFn disconnect = nullptr;
    static inline MoltraxGetBusRecordFn getRecord = nullptr;
    static inline MoltraxRenderFn render = nullptr;
    static inline MoltraxGetBusDirectoryFn getDirectory = nullptr;
    MoltraxStandinControl* state = nullptr;
};

TEST_F(Standin, LoadStateHasSixteenEnabledBusesAndTheirDirectory) {
    ASSERT_NE(state->directory, nullptr);
    EXPECT_EQ(state->directory->count, 16);
    EXPECT_STREQ(state->directory->entries[0].name, "Moltrax Out 1");
    EXPECT_STREQ(state->directory->entries[15].name, "Moltrax Out 16");
    for (int bus = 0; bus < MOLTRAX_BUS_COUNT; ++bus) {
        MoltraxBusRecord* record = getRecord(bus);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record, state->records[bus]);
        EXPECT_EQ(record->enabled, 1);
        EXPECT_EQ(record->maxChannels, 6);
        EXPECT_EQ(record->owner, 0);
        EXPECT_EQ(record->entry, &state->directory->entries[bus]);
        EXPECT_EQ(state->directory->entries[bus].index, bus);
    }
    EXPECT_EQ(state->connectResult, 1);
    EXPECT_EQ(state->renderMode, 0);
    EXPECT_EQ(state->sampleRate, 44100.0);
}

TEST_F(Standin, CountsCallsAndObeysItsSwitches) {
    state->connectResult = 0;
    EXPECT_EQ(connect(), 0);
    disconnect();
    EXPECT_EQ(getRecord(-1), nullptr);
    EXPECT_EQ(getRecord(16), nullptr);
    state->recordsNull = 1;
    EXPECT_EQ(getRecord(0), nullptr);
    state->directoryNull = 1;
    EXPECT_EQ(getDirectory(), nullptr);
    state->records[0]->owner = 1;
    render(99);  // render mode 0 only counts
    EXPECT_EQ(state->records[0]->ready, 0);
    EXPECT_EQ(state->calls.connect, 1);
    EXPECT_EQ(state->calls.disconnect, 1);
    EXPECT_EQ(state->calls.getBusRecord, 3);
    EXPECT_EQ(state->calls.lastBusIndex, 0);
    EXPECT_EQ(state->calls.getDirectory, 1);
    EXPECT_EQ(state->calls.render, 1);
    EXPECT_EQ(state->calls.lastRenderFrames, 99);
}

TEST_F(Standin, RenderFillsClaimedEnabledBusesWithPhaseContinuousTones) {
    state->renderMode = 1;
    MoltraxBusRecord* claimed = state->records[2];
    MoltraxBusRecord* unclaimed = state->records[3];
    MoltraxBusRecord* disabled = state->records[4];
    claimed->owner = 1;
    claimed->maxChannels = 2;
    disabled->owner = 2;
    disabled->enabled = 0;

    render(64);
    EXPECT_EQ(claimed->validFrames, 64);
    EXPECT_EQ(claimed->ready, 1);
    for (int k : {0, 1, 17, 63}) {
        EXPECT_NEAR(claimed->buffers[0][k], tone(2, 0, k), 1e-6) << k;
        EXPECT_NEAR(claimed->buffers[1][k], tone(2, 1, k), 1e-6) << k;
    }
    EXPECT_EQ(claimed->buffers[2][1], 0.0f);   // beyond maxChannels
    EXPECT_EQ(claimed->buffers[0][64], 0.0f);  // beyond the block
    for (MoltraxBusRecord* untouched : {unclaimed, disabled}) {
        EXPECT_EQ(untouched->ready, 0);
        EXPECT_EQ(untouched->validFrames, 0);
        EXPECT_EQ(untouched->buffers[0][1], 0.0f);
    }

    claimed->ready = 0;
    render(32);
    EXPECT_EQ(claimed->validFrames, 32);
    EXPECT_NEAR(claimed->buffers[0][0], tone(2, 0, 64), 1e-5);
    EXPECT_NEAR(claimed->buffers[1][31], tone(2, 1, 95), 1e-5);
}

TEST_F(Standin, RenderClampsTheFrameCount) {
    state->renderMode = 1;
    MoltraxBusRecord* record = state->records[15];
    record->owner = 7;
    record->maxChannels = 200;  // more than the record holds: six are written
    render(MOLTRAX_BUS_FRAMES + 100);
    EXPECT_EQ(record->validFrames, MOLTRAX_BUS_FRAMES);
    EXPECT_NEAR(record->buffers[5][MOLTRAX_BUS_FRAMES - 1], tone(15, 5, MOLTRAX_BUS_FRAMES - 1), 1e-4);

    record->ready = 0;
    render(-5);
    EXPECT_EQ(record->validFrames, 0);
    EXPECT_EQ(record->ready, 1);  // an empty block is still a block
}

TEST_F(Standin, ResetRestoresTheLoadState) {
    state->renderMode = 1;
    state->records[0]->owner = 1;
    render(10);
    std::snprintf(state->directory->entries[0].name, MOLTRAX_BUS_NAME_BYTES, "Renamed");
    state->directory->count = 3;
    state->records[0]->enabled = 0;
    state->records[1] = nullptr;
    state->recordsNull = 1;

    reset();
    EXPECT_EQ(state->renderMode, 0);
    EXPECT_EQ(state->recordsNull, 0);
    EXPECT_EQ(state->calls.render, 0);
    EXPECT_EQ(state->directory->count, 16);
    EXPECT_STREQ(state->directory->entries[0].name, "Moltrax Out 1");
    ASSERT_NE(state->records[1], nullptr);
    EXPECT_EQ(state->records[0]->enabled, 1);
    EXPECT_EQ(state->records[0]->buffers[0][5], 0.0f);

    // The tones start again from phase 0.
    state->renderMode = 1;
    state->records[0]->owner = 1;
    render(4);
    EXPECT_NEAR(state->records[0]->buffers[0][3], tone(0, 0, 3), 1e-6);
}

}  // namespace
