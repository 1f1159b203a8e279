// Every thread a session has, at once, for DRUVO_STRESS_SECONDS (1 unless
// set; the linux-tsan preset runs it for 20 under ThreadSanitizer), then the
// instrument closed and re-opened, and selection switches, racing blocks:
//   audio:   blocks through three effects, two of them on the same bus;
//   UI:      bus selection by parameter and program, the editor opened
//            (no parent window), idled and closed;
//   sibling: the instrument rendering on its own thread, flipping the control
//            bytes of the records and calling our MoltraxDisconnect and
//            MoltraxConnect exports.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "link/relaxed_field.h"
#include "tests/module/standin_sibling.h"
#include "tests/support/wait_until.h"

namespace druvo_test {

// The instrument's render on its own thread: plain writes of the samples, as
// Moltrax does. The effects read them on the audio thread without a lock by
// design; tests/module/tsan_suppressions.txt names this function.
[[gnu::noinline]] void siblingWritesBusSamples(MoltraxBusRecord& record, float value) {
    for (auto& channel : record.buffers)
        for (int k = 0; k < 64; ++k) channel[k] = value;
}

namespace {

using MX::link::storeRelaxed;
using Clock = std::chrono::steady_clock;

Clock::duration stressDuration() {
    const char* seconds = std::getenv("DRUVO_STRESS_SECONDS");
    return std::chrono::seconds(seconds != nullptr ? std::atoi(seconds) : 1);
}

// One pass of the instrument over buses 1 to 3: a fresh block on each, and
// on every eighth pass one control byte flipped and a disconnect and connect.
void siblingPass(Standin& standin, int pass) {
    for (int bus = 0; bus < 3; ++bus) {
        MoltraxBusRecord& record = standin.record(bus);
        siblingWritesBusSamples(record, static_cast<float>(pass % 100) * 0.01f);
        storeRelaxed<std::int32_t>(record.validFrames, 64);
        storeRelaxed<std::uint8_t>(record.ready, 1);
    }
    if (pass % 8 != 0) return;
    MoltraxBusRecord& record = standin.record((pass / 8) % 3);
    switch ((pass / 24) % 4) {
        case 0:
            storeRelaxed<std::uint8_t>(record.enabled, pass % 16 != 0);
            break;
        case 1:
            storeRelaxed<std::uint8_t>(record.owner, 0);
            break;
        case 2:
            storeRelaxed<std::uint8_t>(record.maxChannels, static_cast<std::uint8_t>(2 + pass % 5));
            break;
        default:
            PluginModule::instance().disconnectExport()();
            PluginModule::instance().connectExport()();
    }
}

int stressRounds() {
    const char* rounds = std::getenv("DRUVO_STRESS_ROUNDS");
    return rounds != nullptr ? std::atoi(rounds) : 500;
}

// A thread that runs `pass` over and over until stopped (at the latest when
// it goes), counting the passes begun.
class Looping {
public:
    template <class Pass>
    explicit Looping(Pass pass)
        : thread_([this, pass]() mutable {
              while (!stop_.load()) {
                  passes_.fetch_add(1);
                  pass();
              }
          }) {}
    ~Looping() { stop(); }
    void stop() {
        stop_.store(true);
        if (thread_.joinable()) thread_.join();
    }
    long passes() const { return passes_.load(); }

private:
    std::atomic<bool> stop_{false};
    std::atomic<long> passes_{0};
    std::thread thread_;  // last: starts once the counters exist
};

using ThreadStress = ModuleTest;

TEST_F(ThreadStress, AudioUiAndSiblingThreadsAtOnce) {
    std::unique_ptr<PluginInstance> instances[3];
    for (auto& instance : instances) {
        instance = makeInstance();
        ASSERT_NE(instance, nullptr);
        instance->prepare(44100.0f, 64);
    }
    for (int i = 0; i < 3; ++i) selectAndRun(*instances[i], i == 0 ? 1 : 2);

    AudioBlock block(64);
    Looping audio([&] {
        for (auto& instance : instances) instance->processReplacing(block);
    });
    Looping sibling([&, pass = 0]() mutable {
        siblingPass(standin(), pass++);
        std::this_thread::yield();
    });

    long uiPasses = 0;
    const Clock::time_point end = Clock::now() + stressDuration();
    while (Clock::now() < end) {
        PluginInstance& instance = *instances[uiPasses % 3];
        instance.selectBus(static_cast<int>(uiPasses % 4));
        instance.dispatch(effSetProgram, 0, (uiPasses + 1) % 4);
        instance.dispatch(effEditOpen);
        for (int i = 0; i < 3; ++i) instance.dispatch(effEditIdle);
        instance.dispatch(effEditClose);
        ++uiPasses;
    }
    audio.stop();
    sibling.stop();
    for (auto& instance : instances) instance.reset();

    EXPECT_GT(audio.passes(), 0);
    EXPECT_GT(sibling.passes(), 0);
    EXPECT_GT(uiPasses, 0);
}

// Two effects on one bus while the instrument, on another thread, closes and
// re-opens over and over: it tells us it leaves, frees the bus record (moved to
// a new address, our marks copied) and connects again, with no hook timing
// it. Nothing of a freed record may be touched (linux-asan, linux-tsan); a
// claim the audio thread makes meanwhile must not leave the bus delivered by
// nobody; closing the effects leaves no mark. DRUVO_STRESS_ROUNDS rounds (500)
// of four re-opens each, under blocks of 64 to 2048 frames.
TEST_F(ThreadStress, ReconnectsRacingClaimsStrandNoBus) {
    const int rounds = stressRounds();
    standin().control().renderMode = 1;  // a delivering effect's render request fills the bus
    auto first = makeInstanceOnBus(1);
    auto second = makeInstanceOnBus(1);
    ASSERT_TRUE(first && second);

    std::atomic<long> deliveries{0};
    Looping audio([&, frames = 64]() mutable {
        AudioBlock block(frames);
        frames = frames >= 2048 ? 64 : frames * 2;
        for (PluginInstance* instance : {first.get(), second.get()}) {
            instance->processReplacing(block);
            if (block.outputChannel(0) != block.inputChannel(0)) deliveries.fetch_add(1);
        }
    });
    const PluginModule& module = PluginModule::instance();
    int stranded = 0;
    for (int round = 0; round < rounds; ++round) {
        for (int reopen = 0; reopen < 4; ++reopen) {
            module.disconnectExport()();
            standin().control().replaceRecord(0, 1);
            module.connectExport()();
        }
        const long blocksThen = audio.passes();
        const long deliveriesThen = deliveries.load();
        // A bus nobody delivers through 50 passes after the reconnect is stranded.
        test_support::waitUntil(
            [&] { return deliveries.load() > deliveriesThen || audio.passes() > blocksThen + 50; });
        if (deliveries.load() > deliveriesThen) continue;
        ++stranded;
        storeRelaxed<std::uint8_t>(record(0).owner, 0);  // free it for the next round
    }
    audio.stop();
    std::printf("stranded rounds: %d of %d\n", stranded, rounds);
    EXPECT_EQ(stranded, 0);
    first->close();
    second->close();
    EXPECT_EQ(record(0).owner, 0);
    EXPECT_EQ(record(0).refCount, 0);
}

// One effect's selection switched over four buses while its blocks run on
// the audio thread: once two blocks have begun after a switch, the effect
// holds the bus selected and no other (its mark is in that record only).
TEST_F(ThreadStress, SelectionSwitchesPlayTheNewBus) {
    auto instance = makeInstanceOnBus(1);
    ASSERT_NE(instance, nullptr);
    AudioBlock block(32);
    Looping audio([&] { instance->processReplacing(block); });
    const int switches = stressRounds() * 4;
    int oldBusKept = 0;
    for (int n = 1; n <= switches; ++n) {
        const int bus = n % 4;
        instance->selectBus(bus + 1);
        const long then = audio.passes();
        ASSERT_TRUE(test_support::waitUntil([&] { return audio.passes() > then + 2; }));
        bool wrong = record(bus).owner != 1;
        for (int other = 0; other < 4; ++other) wrong |= other != bus && record(other).owner == 1;
        oldBusKept += wrong;
    }
    audio.stop();
    std::printf("switches that kept the old bus: %d of %d\n", oldBusKept, switches);
    EXPECT_EQ(oldBusKept, 0);
    instance->close();
}

}  // namespace
}  // namespace druvo_test
