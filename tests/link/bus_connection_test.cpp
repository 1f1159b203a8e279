#include "link/bus_connection.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "tests/support/fake_sibling.h"

using namespace MX::link;
using State = ConnectionState;

namespace {

constexpr int kFrames = 64;

class BusConnectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake::install();
        for (int b = 0; b < 4; ++b) {
            owned[b] = fake::makeRecord(6);
            fake::records[b] = owned[b].get();
        }
        for (int c = 0; c < 6; ++c) {
            in[c].assign(kFrames, 1.0f + c);
            out[c].assign(kFrames, -1.0f);
            inputs[c] = in[c].data();
            outputs[c] = out[c].data();
        }
        inChannels = outChannels = 6;
    }
    void TearDown() override {
        disconnectSibling();
        fake::records = {};
    }
    void run(BusConnection& connection, int selection, int frames = kFrames) {
        if (connection.selection() != selection) connection.select(selection);
        connection.process(inputs, outputs, frames, inChannels, outChannels);
    }
    MoltraxBusRecord& bus(int index) { return *owned[index]; }

    std::unique_ptr<MoltraxBusRecord> owned[4];
    std::vector<float> in[6], out[6];
    float* inputs[6];
    float* outputs[6];
    int inChannels = 6, outChannels = 6;
};

}  // namespace

TEST_F(BusConnectionTest, WithoutSiblingPassesInputsThroughUpToTheOutputCount) {
    disconnectSibling();
    BusConnection connection(1);
    outChannels = 4;
    inChannels = 2;
    run(connection, 1);
    EXPECT_EQ(out[1][kFrames - 1], 2.0f);
    EXPECT_EQ(out[3][0], 0.0f) << "no input: silent";
    EXPECT_EQ(out[4][0], -1.0f) << "beyond the output count";
    EXPECT_EQ(connection.connectionState(), State::kNoRecord);

    out[0][0] = -1.0f;
    outChannels = -3;
    run(connection, 1);
    EXPECT_EQ(out[0][0], -1.0f) << "negative count counts as 0";
}

TEST_F(BusConnectionTest, ClaimsSelectedBusRendersAndDeliversActiveChannels) {
    BusConnection connection(3);
    outChannels = 3;
    run(connection, 3);
    EXPECT_EQ(fake::lastBusIndex, 2);
    EXPECT_EQ(connection.claimedRecord(), &bus(2));
    EXPECT_EQ(bus(2).owner, 3);
    EXPECT_EQ(bus(2).requestedChannels, 2);
    EXPECT_EQ(fake::lastRenderFrames, kFrames);
    EXPECT_EQ(connection.connectionState(), State::kSomeChannels);
    EXPECT_EQ(out[1][0], fake::sampleOf(2, 1));
    EXPECT_EQ(out[2][0], 3.0f) << "above activeChannels: pass-through";
    EXPECT_EQ(out[3][0], -1.0f);
    EXPECT_EQ(bus(2).ready, 0);

    bus(1).maxChannels = 2;
    BusConnection stereoBus(4);
    outChannels = 6;
    run(stereoBus, 2);
    EXPECT_EQ(stereoBus.connectionState(), State::kAllChannels);
    EXPECT_EQ(out[1][0], fake::sampleOf(1, 1));
    EXPECT_EQ(out[2][0], 3.0f);
}

TEST_F(BusConnectionTest, ShortAndEmptyBlocksCopyOnlyWhatIsThere) {
    BusConnection connection(1);
    fake::renderDelivers = false;
    run(connection, 1);
    EXPECT_EQ(out[0][0], 1.0f) << "nothing rendered: pass-through stays";

    bus(0).buffers[0][9] = 0.25f;
    bus(0).validFrames = 10;
    bus(0).ready = 1;
    run(connection, 1);
    EXPECT_EQ(out[0][9], 0.25f);
    EXPECT_EQ(out[0][10], 1.0f);

    fake::renderDelivers = true;
    out[0][0] = -1.0f;
    run(connection, 1, 0);
    EXPECT_EQ(fake::lastRenderFrames, 0);
    EXPECT_EQ(bus(0).ready, 0) << "waiting block consumed";
    EXPECT_EQ(out[0][0], -1.0f);
}

TEST_F(BusConnectionTest, RefusedOrMissingBusesAreRetriedEveryBlock) {
    BusConnection connection(2);
    fake::records[0] = nullptr;
    run(connection, 1);
    run(connection, 1);
    EXPECT_EQ(fake::lookups, 2);
    EXPECT_EQ(connection.connectionState(), State::kNoRecord);

    bus(1).enabled = 0;
    run(connection, 2);
    EXPECT_EQ(connection.connectionState(), State::kNotDelivering);
    bus(1).enabled = 1;
    bus(1).owner = 9;
    run(connection, 2);
    EXPECT_EQ(connection.connectionState(), State::kNotDelivering);
    EXPECT_EQ(fake::lookups, 4);
    EXPECT_EQ(bus(1).refCount, 0);

    BusConnection unmarkable(256);
    run(unmarkable, 3);
    EXPECT_EQ(bus(2).owner, 0);
    EXPECT_EQ(unmarkable.connectionState(), State::kNotDelivering);

    BusConnection idle(5);
    for (int selection : {0, 17, -1, INT_MIN}) run(idle, selection);
    EXPECT_EQ(fake::lookups, 5) << "no lookup outside buses 1..16";
    EXPECT_EQ(idle.connectionState(), State::kNotDelivering) << "loaded, no bus delivering";
}

TEST_F(BusConnectionTest, SecondInstanceWaitsUntilTheFirstReleases) {
    BusConnection first(1), second(2);
    run(first, 1);
    run(second, 1);
    EXPECT_EQ(second.connectionState(), State::kNotDelivering);
    EXPECT_EQ(bus(0).owner, 1);
    // A second copy of the plug-in in the process numbers its own effects:
    // its instance 1 finds a mark equal to its number that is not its own.
    BusConnection otherCopy(1);
    run(otherCopy, 1);
    EXPECT_EQ(otherCopy.connectionState(), State::kNotDelivering);
    EXPECT_EQ(bus(0).refCount, 1);

    run(first, 0);
    EXPECT_EQ(first.connectionState(), State::kAllChannels) << "keeps its last state when off";
    run(second, 1);
    EXPECT_EQ(bus(0).owner, 2);
    EXPECT_EQ(bus(0).refCount, 1);
    EXPECT_EQ(second.connectionState(), State::kAllChannels);
}

TEST_F(BusConnectionTest, HeldRecordStaysClaimedWhenDisabledOrTaken) {
    BusConnection connection(1);
    run(connection, 1);
    outChannels = 2;
    bus(0).enabled = 0;
    run(connection, 1);
    bus(0).enabled = 1;
    bus(0).owner = 5;
    run(connection, 1);
    EXPECT_EQ(fake::lookups, 1);
    EXPECT_EQ(out[0][0], 1.0f);
    EXPECT_EQ(bus(0).requestedChannels, 6) << "applies at the next claim";
    EXPECT_EQ(connection.claimedRecord(), &bus(0));

    connection.releaseAtDestruction();
    EXPECT_EQ(bus(0).owner, 5);
    EXPECT_EQ(bus(0).refCount, 1);
    EXPECT_EQ(connection.claimedRecord(), nullptr);
}

TEST_F(BusConnectionTest, UnloadedModuleRecordsAreForgottenUntouched) {
    BusConnection connection(1);
    run(connection, 1);
    disconnectSibling();
    run(connection, 1);
    EXPECT_EQ(connection.connectionState(), State::kNoRecord);
    EXPECT_EQ(bus(0).owner, 1) << "outside the live table: not released at the unload";

    fake::install();
    run(connection, 2);
    bus(1).ready = 1;
    disconnectSibling();  // unload and load again between two blocks
    fake::records[1] = &bus(3);
    fake::install();
    run(connection, 2);
    EXPECT_EQ(bus(1).ready, 1);
    EXPECT_EQ(connection.claimedRecord(), &bus(3));

    disconnectSibling();
    fake::install();
    connection.select(3);
    EXPECT_EQ(bus(3).owner, 1);
    EXPECT_EQ(bus(3).refCount, 1);
}

TEST_F(BusConnectionTest, MissingBuffersAndRenderEntryAreSkipped) {
    fake::install(fake::getBusRecord, nullptr);
    BusConnection connection(1);
    outputs[1] = nullptr;
    connection.select(1);
    connection.process(nullptr, outputs, kFrames, inChannels, outChannels);
    EXPECT_EQ(out[0][0], 0.0f);
    EXPECT_EQ(fake::renders, 0);

    bus(0).validFrames = kFrames;
    bus(0).ready = 1;
    bus(0).buffers[0][0] = 0.75f;
    run(connection, 1);
    EXPECT_EQ(out[0][0], 0.75f);
    bus(0).ready = 1;
    connection.process(inputs, nullptr, kFrames, inChannels, outChannels);
    EXPECT_EQ(bus(0).ready, 0);
}
