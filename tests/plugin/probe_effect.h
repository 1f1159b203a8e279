// An AudioEffectX that records which operation each request reached and with
// which arguments, to check the dispatchers' routing and argument decoding.
// The test's thread.
#pragma once

#include <string>
#include <vector>

#include "plugin/sdk/audioeffectx.h"
#include "tests/plugin/fake_host.h"

class ProbeEffect : public AudioEffectX {
public:
    explicit ProbeEffect(audioMasterCallback host = fake_host::callback) : AudioEffectX(host, 17, 1) {}

    std::vector<std::string> reached;
    VstInt32 int1 = 0, int2 = 0;
    const void* ptr1 = nullptr;
    const void* ptr2 = nullptr;
    float real = 0.0f;
    float vu = 0.0f;

    void open() override { note("open"); }
    void close() override { note("close"); }
    void suspend() override { note("suspend"); }
    void resume() override { note("resume"); }
    void setSampleRate(float rate) override { note("setSampleRate", 0, 0, nullptr, nullptr, rate); }
    void setBlockSize(VstInt32 size) override { note("setBlockSize", size); }
    void setParameter(VstInt32 index, float value) override {
        note("setParameter", index, 0, nullptr, nullptr, value);
    }
    void setProgram(VstInt32 program) override { note("setProgram", program); }
    void getProgramName(char* name) override { note("getProgramName", 0, 0, name); }
    void getParameterDisplay(VstInt32 index, char* text) override {
        note("getParameterDisplay", index, 0, text);
    }
    float getVu() override { return vu; }
    bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override {
        note("getProgramNameIndexed", category, index, text);
        return true;
    }
    bool setSpeakerArrangement(VstSpeakerArrangement* in, VstSpeakerArrangement* out) override {
        note("setSpeakerArrangement", 0, 0, in, out);
        return true;
    }
    bool getSpeakerArrangement(VstSpeakerArrangement** in, VstSpeakerArrangement** out) override {
        note("getSpeakerArrangement", 0, 0, in, out);
        return true;
    }
    void setBlockSizeAndSampleRate(VstInt32 size, float rate) override {
        note("setBlockSizeAndSampleRate", size, 0, nullptr, nullptr, rate);
    }
    bool setBypass(bool onOff) override {
        note("setBypass", onOff);
        return false;
    }

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f) {
        return cEffect.dispatcher(&cEffect, opcode, index, value, ptr, opt);
    }
    // The one operation the last requests reached, or how many there were.
    std::string only() const {
        return reached.size() == 1 ? reached[0] : std::to_string(reached.size()) + " calls";
    }

private:
    void note(const char* name, VstInt32 a = 0, VstInt32 b = 0, const void* p = nullptr,
              const void* q = nullptr, float f = 0.0f) {
        reached.emplace_back(name);
        int1 = a;
        int2 = b;
        ptr1 = p;
        ptr2 = q;
        real = f;
    }
};
