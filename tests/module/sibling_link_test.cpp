// The link to the stand-in Moltrax: loading with the first effect and
// unloading with the last, instance numbers, and the claim and release of
// shared bus records as the sibling sees them.
#include <string>
#include <vector>

#include "tests/module/standin_sibling.h"

namespace druvo_test {
namespace {

using SiblingLink = ModuleTest;

void runBlock(PluginInstance& instance, int frames = 32) {
    AudioBlock block(frames);
    instance.processReplacing(block);
}

TEST_F(SiblingLink, FirstEffectConnectsAndLastDisconnects) {
    const MoltraxStandinCalls& calls = standin().calls();
    auto a = makeInstance();
    EXPECT_EQ(calls.connect, 1);
    auto b = makeInstance();
    EXPECT_EQ(calls.connect, 1);
    a->close();
    EXPECT_EQ(calls.disconnect, 0);
    b->close();
    EXPECT_EQ(calls.disconnect, 1);
    auto c = makeInstance();
    EXPECT_EQ(calls.connect, 2);
    c->close();
    EXPECT_EQ(calls.disconnect, 2);
}

TEST_F(SiblingLink, ExportsForwardToTheSibling) {
    const PluginModule& module = PluginModule::instance();
    ASSERT_NE(module.connectExport(), nullptr);
    ASSERT_NE(module.disconnectExport(), nullptr);
    standin().control().connectResult = 7;
    EXPECT_EQ(module.connectExport()(), 7);
    EXPECT_EQ(module.connectExport()(), 1) << "already connected";
    EXPECT_EQ(standin().calls().connect, 1);
    EXPECT_EQ(module.disconnectExport()(), 1);
    EXPECT_EQ(module.disconnectExport()(), 1) << "already disconnected";
    EXPECT_EQ(standin().calls().disconnect, 1);
}

TEST_F(SiblingLink, EffectsBuiltWhileConnectedDoNotConnectAgain) {
    const PluginModule& module = PluginModule::instance();
    standin().control().connectResult = 0;
    EXPECT_EQ(module.connectExport()(), 0);
    auto instance = makeInstance();
    EXPECT_EQ(standin().calls().connect, 1);
    instance->close();
    EXPECT_EQ(standin().calls().disconnect, 1);
}

TEST_F(SiblingLink, InstanceNumbersAreTheLowestNoLiveEffectHolds) {
    auto a = makeInstanceOnBus(1);
    auto b = makeInstanceOnBus(2);
    auto c = makeInstanceOnBus(3);
    EXPECT_EQ(record(0).owner, 1);
    EXPECT_EQ(record(1).owner, 2);
    EXPECT_EQ(record(2).owner, 3);
    b->close();
    EXPECT_EQ(record(1).owner, 0);
    EXPECT_EQ(record(1).refCount, 0);
    // Two effects are alive, but 3 is taken: the new one gets the free 2.
    auto d = makeInstanceOnBus(4);
    EXPECT_EQ(record(3).owner, 2);
    // Closing the other effect keeps its neighbour's claim.
    c->close();
    EXPECT_EQ(record(2).owner, 0);
    EXPECT_EQ(record(3).owner, 2);
    EXPECT_EQ(record(3).refCount, 1);
    a->close();
    d->close();
    auto e = makeInstanceOnBus(5);
    EXPECT_EQ(record(4).owner, 1);
}

TEST_F(SiblingLink, EffectsBeyondTheOwnerMarksNeverClaim) {
    std::vector<std::unique_ptr<PluginInstance>> marked;
    for (int n = 1; n <= 255; ++n) marked.push_back(makeInstance());
    selectAndRun(*marked[254], 3);
    EXPECT_EQ(record(2).owner, 255);
    auto unmarked = makeInstanceOnBus(1);
    EXPECT_EQ(record(0).owner, 0);
    EXPECT_EQ(record(0).refCount, 0);
    marked[6]->close();
    auto seventh = makeInstanceOnBus(1);
    EXPECT_EQ(record(0).owner, 7);
    EXPECT_EQ(record(0).refCount, 1);
}

TEST_F(SiblingLink, ClaimWritesTheRecord) {
    auto instance = makeInstance();
    instance->selectBus(3);
    EXPECT_EQ(standin().calls().getBusRecord, 0) << "claims happen on the audio path";
    runBlock(*instance);
    EXPECT_EQ(standin().calls().lastBusIndex, 2);
    const MoltraxBusRecord& r = record(2);
    EXPECT_EQ(r.owner, 1);
    EXPECT_EQ(r.refCount, 1);
    EXPECT_EQ(r.requestedChannels, 6);
    EXPECT_EQ(r.activeChannels, 6);
    EXPECT_EQ(r.ready, 0);
    for (int bus = 0; bus < MOLTRAX_BUS_COUNT; ++bus) {
        if (bus != 2) {
            EXPECT_EQ(record(bus).owner, 0) << bus;
        }
    }
    // Claimed: no more lookups.
    const int lookups = standin().calls().getBusRecord;
    runBlock(*instance);
    runBlock(*instance);
    EXPECT_EQ(standin().calls().getBusRecord, lookups);
}

TEST_F(SiblingLink, ClaimAsksForTheOutputConfiguration) {
    const struct {
        VstInt32 outputChannels;
        int maxChannels;
        int requested;
        int active;
    } cases[] = {{6, 2, 6, 2}, {2, 6, 2, 2}, {3, 6, 2, 2}, {5, 6, 4, 4},
                 {1, 6, 1, 1}, {8, 6, 6, 6}, {0, 6, 0, 0}};
    int bus = 0;
    for (const auto& c : cases) {
        auto instance = makeInstance();
        instance->setChannels(6, c.outputChannels);
        record(bus).maxChannels = static_cast<uint8_t>(c.maxChannels);
        selectAndRun(*instance, bus + 1);
        EXPECT_EQ(record(bus).requestedChannels, c.requested) << c.outputChannels << " outputs";
        EXPECT_EQ(record(bus).activeChannels, c.active) << c.outputChannels << " outputs";
        ++bus;
    }
}

TEST_F(SiblingLink, ChangingTheSelectionReleases) {
    auto instance = makeInstanceOnBus(3);
    ASSERT_EQ(record(2).refCount, 1);
    EXPECT_EQ(instance->dispatch(effSetProgram, 0, 5), 0);
    EXPECT_EQ(record(2).refCount, 0);
    EXPECT_EQ(record(2).owner, 0);
    EXPECT_EQ(record(4).owner, 0) << "the new bus is claimed at the next block";
    runBlock(*instance);
    EXPECT_EQ(record(4).owner, 1);
    EXPECT_EQ(record(4).refCount, 1);

    // A value naming the same bus again, as an automation ramp writes one
    // every cycle, keeps the claim: no release, no new lookup.
    const int lookups = standin().calls().getBusRecord;
    for (float value : {0.3125f, 0.3130f, 0.3180f}) {
        instance->setParameter(value);
        runBlock(*instance);
        EXPECT_EQ(record(4).refCount, 1);
    }
    EXPECT_EQ(standin().calls().getBusRecord, lookups);

    instance->selectBus(0);
    EXPECT_EQ(record(4).refCount, 0);
    runBlock(*instance);
    EXPECT_EQ(standin().calls().getBusRecord, lookups) << "no lookup with no bus selected";
}

TEST_F(SiblingLink, TypedTextPlaysTheTypedBus) {
    auto instance = makeInstanceOnBus(3);
    char text[] = "5";
    EXPECT_EQ(instance->dispatch(effString2Parameter, 0, 0, text), 1);
    EXPECT_EQ(instance->program(), 5);
    runBlock(*instance);
    EXPECT_EQ(record(2).owner, 0);
    EXPECT_EQ(record(2).refCount, 0);
    EXPECT_EQ(record(4).owner, 1);
}

TEST_F(SiblingLink, DisabledOrOwnedRecordsAreLeftAlone) {
    auto instance = makeInstance();
    record(0).enabled = 0;
    record(1).owner = 77;
    instance->selectBus(1);
    runBlock(*instance);
    runBlock(*instance);
    EXPECT_EQ(record(0).owner, 0);
    EXPECT_EQ(record(0).refCount, 0);
    EXPECT_EQ(record(0).requestedChannels, 0);
    EXPECT_EQ(standin().calls().getBusRecord, 2) << "a refused claim is tried on every block";
    record(0).enabled = 1;
    runBlock(*instance);
    EXPECT_EQ(record(0).owner, 1);

    instance->selectBus(2);
    runBlock(*instance);
    EXPECT_EQ(record(1).owner, 77);
    EXPECT_EQ(record(1).refCount, 0);
    EXPECT_EQ(record(1).requestedChannels, 0);
}

TEST_F(SiblingLink, SecondEffectOnABusWaitsForTheFirst) {
    auto first = makeInstanceOnBus(6);
    auto second = makeInstanceOnBus(6);
    EXPECT_EQ(record(5).owner, 1);
    EXPECT_EQ(record(5).refCount, 1);
    const int lookups = standin().calls().getBusRecord;
    runBlock(*second);
    EXPECT_EQ(standin().calls().getBusRecord, lookups + 1);
    first->close();
    runBlock(*second);
    EXPECT_EQ(record(5).owner, 2);
    EXPECT_EQ(record(5).refCount, 1);
}

TEST_F(SiblingLink, DestructionReleasesOnlyItsOwnEnabledRecord) {
    auto keeper = makeInstance();  // keeps the sibling loaded throughout
    auto a = makeInstanceOnBus(1);
    auto b = makeInstanceOnBus(2);
    record(0).owner = 99;  // taken over by someone else
    record(1).enabled = 0;
    a->close();
    b->close();
    EXPECT_EQ(record(0).owner, 99);
    EXPECT_EQ(record(0).refCount, 1);
    EXPECT_EQ(record(1).owner, 3);
    EXPECT_EQ(record(1).refCount, 1);
}

// The instrument reset the owner and another effect claimed the bus: the
// first effect's move elsewhere leaves the new owner's claim delivering.
TEST_F(SiblingLink, SelectionChangeReleasesOnlyItsOwnMark) {
    auto first = makeInstanceOnBus(1);
    auto second = makeInstanceOnBus(1);
    record(0).owner = 0;
    record(0).refCount = 0;
    runBlock(*second);
    ASSERT_EQ(record(0).owner, 2);
    first->selectBus(2);
    runBlock(*first);
    EXPECT_EQ(record(0).owner, 2);
    EXPECT_EQ(record(0).refCount, 1);
}

// The instrument's reconnect run from inside the plug-in's record lookup, as
// another thread may run it in the middle of a claim.
void MOLTRAX_CDECL reconnectInsideLookup(int32_t) {
    Standin::instance().control().onBusLookup = nullptr;
    PluginModule::instance().disconnectExport()();
    PluginModule::instance().connectExport()();
}

void MOLTRAX_CDECL unloadInsideLookup(int32_t) {
    Standin::instance().control().onBusLookup = nullptr;
    PluginModule::instance().disconnectExport()();
}

// The instrument removed during a block: it tells us, then frees bus 1's
// record (moved; the copy keeps our mark), as its contract prescribes.
void MOLTRAX_CDECL leaveInsideRender(int32_t) {
    Standin::instance().control().onRender = nullptr;
    PluginModule::instance().disconnectExport()();
    Standin::instance().control().replaceRecord(0, 1);
}

PluginInstance* gSwitched;
void MOLTRAX_CDECL switchToBus3InsideLookup(int32_t) {
    Standin::instance().control().onBusLookup = nullptr;
    gSwitched->selectBus(3);
}

// The sibling may free or move its records and then call our disconnect: it
// touches no record, and the effect takes a moved record that still carries
// its mark back at the next block, counted once.
TEST_F(SiblingLink, DisconnectTouchesNoRecord) {
    const PluginModule& module = PluginModule::instance();
    auto freed = makeInstanceOnBus(1);
    auto moved = makeInstanceOnBus(2);
    MoltraxBusRecord* const old = &record(1);
    standin().control().replaceRecord(0, 0);  // any touch is a use after free (linux-asan)
    standin().control().replaceRecord(1, 2);  // moved; the old copy is kept to be read
    old->ready = 1;
    EXPECT_EQ(module.disconnectExport()(), 1);
    EXPECT_EQ(old->owner, 2);
    EXPECT_EQ(old->refCount, 1);
    EXPECT_EQ(module.connectExport()(), 1);
    runBlock(*freed);
    runBlock(*moved);
    EXPECT_EQ(old->ready, 1);
    EXPECT_EQ(record(1).owner, 2);
    EXPECT_EQ(record(1).refCount, 1);
    moved->close();
    EXPECT_EQ(record(1).owner, 0);
    EXPECT_EQ(record(1).refCount, 0);
}

// The sibling may call our two exports while the host keeps it loaded, in
// any interleaving with blocks: nothing touches the record while the sibling
// is away, the effect still selecting its bus delivers it again once it is
// back, and closing it leaves no mark of ours.
TEST_F(SiblingLink, ReconnectStrandsNoClaim) {
    const PluginModule& module = PluginModule::instance();
    const char* const ways[] = {"no block between",
                                "a block while away",
                                "reconnect inside the claim",
                                "closed before any block",
                                "other bus selected while away",
                                "unloaded inside the claim",
                                "unloaded inside the stale mark's lookup",
                                "left inside the render"};
    for (const char* way : ways) {
        SCOPED_TRACE(way);
        const std::string name = way;
        standin().reset();
        auto instance = makeInstanceOnBus(1);
        ASSERT_EQ(record(0).owner, 1);
        const bool otherBus = name == "other bus selected while away" || name.starts_with("unloaded");
        if (name == "reconnect inside the claim") {
            standin().control().onBusLookup = reconnectInsideLookup;
            selectAndRun(*instance, 1);
        } else if (name == "unloaded inside the claim") {
            instance->selectBus(2);
            standin().control().onBusLookup = unloadInsideLookup;
            runBlock(*instance);
            EXPECT_EQ(record(1).owner, 0) << "a record of an ended load is not claimed";
            EXPECT_EQ(module.connectExport()(), 1);
        } else if (name == "left inside the render") {
            standin().control().onRender = leaveInsideRender;
            fillBus(record(0), 32);
            record(0).ready = 0;
            AudioBlock block(32);
            instance->processReplacing(block);
            for (int c = 0; c < kChannels; ++c) EXPECT_EQ(block.outputChannel(c), block.inputChannel(c));
            EXPECT_EQ(module.connectExport()(), 1);
        } else {
            EXPECT_EQ(module.disconnectExport()(), 1);
            EXPECT_EQ(record(0).owner, 1) << "untouched by the disconnect";
            if (name == "a block while away") {
                fillBus(record(0), 32);
                const int lookups = standin().calls().getBusRecord;
                AudioBlock block(32);
                instance->processReplacing(block);
                for (int c = 0; c < kChannels; ++c) EXPECT_EQ(block.outputChannel(c), block.inputChannel(c));
                EXPECT_EQ(record(0).ready, 1);
                EXPECT_EQ(standin().calls().getBusRecord, lookups);
            }
            if (otherBus) instance->selectBus(2);
            EXPECT_EQ(module.connectExport()(), 1);
            if (name == "unloaded inside the stale mark's lookup") {
                standin().control().onBusLookup = unloadInsideLookup;
                runBlock(*instance);
                EXPECT_EQ(record(0).owner, 1) << "released only through the loaded module";
                EXPECT_EQ(module.connectExport()(), 1);
            }
        }
        if (name == "closed before any block") {
            instance->close();
        } else if (otherBus) {
            runBlock(*instance);
            EXPECT_EQ(record(0).owner, 0);
            EXPECT_EQ(record(0).refCount, 0);
            EXPECT_EQ(record(1).owner, 1);
            instance->close();
            EXPECT_EQ(record(1).owner, 0);
        } else {
            runBlock(*instance);
            EXPECT_EQ(record(0).owner, 1);
            EXPECT_EQ(record(0).refCount, 1);
            fillBus(record(0), 32);
            AudioBlock block(32);
            instance->processReplacing(block);
            EXPECT_EQ(block.output(5, 31), busSample(5, 31));
            instance->close();
        }
        EXPECT_EQ(record(0).owner, 0);
        EXPECT_EQ(record(0).refCount, 0);
    }
}

// A selection change that lands inside the block's claim: the claim of the
// old bus is given back and the next block claims the new one.
TEST_F(SiblingLink, SelectionChangedInsideTheClaimPlaysTheNewBus) {
    auto holder = makeInstanceOnBus(2);
    auto instance = makeInstanceOnBus(2);
    gSwitched = instance.get();
    holder->selectBus(0);  // a hand-over: bus 2 is free, and instance moves on
    standin().control().onBusLookup = switchToBus3InsideLookup;
    runBlock(*instance);
    runBlock(*instance);
    EXPECT_EQ(record(1).owner, 0);
    EXPECT_EQ(record(1).refCount, 0);
    EXPECT_EQ(record(2).owner, 2);
    holder->close();
    instance->close();
}

TEST_F(SiblingLink, EffectClosedWhileTheSiblingIsAwayLeavesItAlone) {
    auto keeper = makeInstanceOnBus(2);
    auto instance = makeInstanceOnBus(1);
    EXPECT_EQ(PluginModule::instance().disconnectExport()(), 1);
    record(0).owner = 2;  // as the sibling may hand out its records anew
    record(0).refCount = 1;
    instance->close();
    keeper->close();
    EXPECT_EQ(record(0).owner, 2);
    EXPECT_EQ(record(0).refCount, 1);
    EXPECT_EQ(record(1).owner, 1) << "closed while the sibling was away";
    EXPECT_EQ(standin().calls().disconnect, 1);
}

TEST_F(SiblingLink, MissingRecordIsAskedForAgain) {
    auto instance = makeInstance();
    standin().control().recordsNull = 1;
    instance->selectBus(9);
    runBlock(*instance);
    runBlock(*instance);
    EXPECT_EQ(standin().calls().getBusRecord, 2);
    EXPECT_EQ(standin().calls().lastBusIndex, 8);
    standin().control().recordsNull = 0;
    runBlock(*instance);
    EXPECT_EQ(record(8).owner, 1);
}

}  // namespace
}  // namespace druvo_test
