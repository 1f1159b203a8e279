// Builds effects against the fake host, with the error box captured (the test
// program's file name is not the plug-in's) and an in-process instrument
// stand-in whose bus records and directory the test controls.
// The test's thread, as both the host's UI and audio thread.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "link/sibling_module.h"
#include "plugin/druvo.h"
#include "tests/plugin/fake_host.h"
#include "tests/support/fake_sibling.h"
#include "tools/host/silent_block.h"

class DruvoTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake_host::reset();
        fake::reset();
    }
    void TearDown() override {
        effects_.clear();
        MX::link::disconnectSibling();
        fake::reset();
    }

    // The sibling as loaded: records and directory from `fake`, no render entry.
    static void connectSibling() { fake::install(fake::getBusRecord, nullptr, fake::getDirectory); }

    MX::Druvo& makeEffect() {
        effects_.push_back(std::make_unique<MX::Druvo>(fake_host::callback, editorFactory_));
        return *effects_.back();
    }

    // An enabled, free record for bus n (1..16).
    MoltraxBusRecord& offerBus(int bus, int maxChannels = 6) {
        records_.push_back(fake::makeRecord(static_cast<uint8_t>(maxChannels)));
        fake::records[bus - 1] = records_.back().get();
        return *records_.back();
    }

    static void runBlock(MX::Druvo& effect) { druvo_host::runSilentBlock(effect.getAeffect()); }

    static VstIntPtr dispatch(MX::Druvo& effect, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                              void* ptr = nullptr, float opt = 0.0f) {
        AEffect* e = effect.getAeffect();
        return e->dispatcher(e, opcode, index, value, ptr, opt);
    }

    fake_host::ErrorBoxCapture boxes_;
    MX::Druvo::EditorFactory editorFactory_ = nullptr;  // effects without an editor

private:
    std::vector<std::unique_ptr<MoltraxBusRecord>> records_;
    std::vector<std::unique_ptr<MX::Druvo>> effects_;
};
