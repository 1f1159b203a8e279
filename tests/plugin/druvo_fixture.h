// Builds effects against the fake host, with the error box captured (the test
// program's file name is not the plug-in's) and an instrument stand-in whose
// bus records the test controls.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "link/sibling_module.h"
#include "link/sibling_module_testing.h"
#include "plugin/druvo.h"
#include "tests/plugin/fake_host.h"

namespace fake_sibling {

inline std::array<MoltraxBusRecord*, MOLTRAX_BUS_COUNT> records{};
inline std::vector<int> lookedUp;

inline MoltraxBusRecord* MOLTRAX_CDECL busRecord(int32_t busIndex) {
    lookedUp.push_back(busIndex);
    return busIndex >= 0 && busIndex < MOLTRAX_BUS_COUNT ? records[busIndex] : nullptr;
}

inline void install() {
    records.fill(nullptr);
    lookedUp.clear();
    MX::link::testing::installSiblingEntries(busRecord, nullptr, nullptr);
}

}  // namespace fake_sibling

class DruvoTest : public ::testing::Test {
protected:
    void SetUp() override { fake_host::reset(); }
    void TearDown() override {
        effects_.clear();
        MX::link::disconnectSibling();
    }

    MX::Druvo& makeEffect() {
        effects_.push_back(std::make_unique<MX::Druvo>(fake_host::callback));
        return *effects_.back();
    }

    // An enabled, free record for bus n (1..16), 6 channels.
    MoltraxBusRecord& offerBus(int bus) {
        records_.push_back(std::make_unique<MoltraxBusRecord>());
        MoltraxBusRecord& record = *records_.back();
        record.enabled = 1;
        record.maxChannels = 6;
        fake_sibling::records[bus - 1] = &record;
        return record;
    }

    // One 64-frame block through the replacing entry.
    static void runBlock(MX::Druvo& effect) {
        static float buffers[12][64];
        float* inputs[6];
        float* outputs[6];
        for (int i = 0; i < 6; ++i) {
            inputs[i] = buffers[i];
            outputs[i] = buffers[6 + i];
        }
        AEffect* e = effect.getAeffect();
        e->processReplacing(e, inputs, outputs, 64);
    }

    static VstIntPtr dispatch(MX::Druvo& effect, VstInt32 opcode, VstInt32 index = 0,
                              VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f) {
        AEffect* e = effect.getAeffect();
        return e->dispatcher(e, opcode, index, value, ptr, opt);
    }

    fake_host::ErrorBoxCapture boxes_;

private:
    std::vector<std::unique_ptr<MoltraxBusRecord>> records_;
    std::vector<std::unique_ptr<MX::Druvo>> effects_;
};
