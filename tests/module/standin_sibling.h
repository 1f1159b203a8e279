// The stand-in Moltrax, loaded by path before any effect exists, as a DAW
// that has the instrument open would have it. The plug-in's own load by bare
// name then finds this copy, and it stays loaded when the plug-in frees it,
// so its records and call counters can be read across connects.
// The test's thread.
#pragma once

#include <gtest/gtest.h>

#include "tests/module/plugin_host.h"
#include "tools/host/standin_module.h"

namespace druvo_test {

class Standin {
public:
    static Standin& instance();
    MoltraxStandinControl& control() const { return module_->control(); }
    MoltraxBusRecord& record(int busIndex) const { return module_->record(busIndex); }
    const MoltraxStandinCalls& calls() const { return module_->calls(); }
    void reset() const { module_->reset(); }

private:
    Standin();
    std::unique_ptr<druvo_host::StandinModule> module_;
};

// Selects `selection` and runs one block: the effect claims that bus if its record is free.
inline void selectAndRun(PluginInstance& instance, int selection) {
    instance.selectBus(selection);
    AudioBlock block(32);
    instance.processReplacing(block);
}

// Every test starts with a fresh stand-in, an empty host log and no effect
// alive, so the plug-in's instance counter is back at 0. A test that leaves
// an effect alive fails once at its end; the tests after it are skipped, as
// every instance number they would see is shifted.
class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (effectLeftAlive_) GTEST_SKIP() << "an earlier test left an effect alive";
        Standin::instance().reset();
        HostLog::clear();
        HostLog::setVersionAnswer(2400);
    }
    void TearDown() override {
        if (IsSkipped() || pluginDisconnected()) return;
        effectLeftAlive_ = true;
        ADD_FAILURE() << "an effect is still alive after the test (the plug-in stayed connected)";
    }
    static Standin& standin() { return Standin::instance(); }
    static MoltraxBusRecord& record(int busIndex) { return Standin::instance().record(busIndex); }
    static std::unique_ptr<PluginInstance> makeInstance() {
        auto instance = PluginInstance::create();
        EXPECT_NE(instance, nullptr);
        return instance;
    }
    static std::unique_ptr<PluginInstance> makeInstanceOnBus(int selection) {
        auto instance = makeInstance();
        if (instance) selectAndRun(*instance, selection);
        return instance;
    }

private:
    // With no effect alive the plug-in is disconnected: our connect export
    // then reaches the stand-in's, and the disconnect export undoes it.
    static bool pluginDisconnected();
    inline static bool effectLeftAlive_ = false;
};

// Fills a bus with a block the plug-in has not seen: channel c, sample k
// holds -(c + 1) - k / 65536, distinct from every input sample.
void fillBus(MoltraxBusRecord& record, int validFrames);
float busSample(int channel, int frame);

}  // namespace druvo_test
