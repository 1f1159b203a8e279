// The effect: one output of the Moltrax instrument. It holds the bus
// selection, the link to the selected instrument bus, its two speaker
// arrangements and its copy of the instrument's bus directory, and it owns its
// editor, built by the factory the module entry passes in (the effect knows only
// the editor base). Built by the library's entry point, deleted by the host's
// close request.
// UI thread unless an operation says otherwise; the audio path on the audio thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "link/bus_connection.h"
#include "link/bus_records.h"
#include "plugin/sdk/audioeffectx.h"

namespace MX {

class Druvo : public AudioEffectX {
public:
    static constexpr VstInt32 kNumPrograms = 17;
    static constexpr VstInt32 kNumParameters = 1;
    static constexpr VstInt32 kNumChannels = 6;
    static constexpr VstInt32 kUniqueId = 0x56535462;  // 'VSTb'
    static constexpr std::int32_t kMaxSelection = 16;

    // Builds the effect's editor, which registers itself with the effect; on a
    // failed allocation the effect works without a window. UI thread.
    using EditorFactory = void (*)(Druvo& effect) noexcept;

    // UI thread; never two at once on different threads. Without a factory the
    // effect has no editor.
    explicit Druvo(audioMasterCallback audioMaster, EditorFactory makeEditor = nullptr);
    ~Druvo() override;

    void suspend() override {}
    void resume() override {}

    // Audio thread: pass-through, then the selected bus over the outputs.
    void process(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;

    // Parameter and programs: two views of the bus selection. setParameter may
    // come on the audio thread; the rest on the UI thread.
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    VstInt32 getProgram() override;
    void setProgram(VstInt32 program) override;
    void getProgramName(char* name) override;
    void getParameterLabel(VstInt32 index, char* label) override;
    void getParameterDisplay(VstInt32 index, char* text) override;
    void getParameterName(VstInt32 index, char* text) override;
    bool string2parameter(VstInt32 index, char* text) override;
    bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;

    // Arrangements and names. UI thread, while the effect is suspended.
    bool setSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output) override;
    bool getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output) override;
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;

    // State the editor shows (read on the UI thread while other threads write it).
    std::int32_t busSelection() const noexcept { return connection_.selection(); }
    link::ConnectionState connectionState() const noexcept { return connection_.connectionState(); }
    const VstSpeakerArrangement* outputArrangement() const noexcept { return outputArrangement_; }
    const VstSpeakerArrangement* inputArrangement() const noexcept { return inputArrangement_; }
    // The editor's copy of the instrument's bus directory, and its refresh
    // from the instrument (true when it changed).
    MoltraxBusDirectory& outputBusTable() noexcept { return outputBusTable_; }
    bool refreshOutputBusTable() noexcept { return connection_.refreshDirectory(outputBusTable_); }
    MoltraxBusRecord* claimedRecord() const noexcept { return connection_.claimedRecord(); }

private:
    static void registerInstance() noexcept;

    link::BusConnection connection_;
    VstSpeakerArrangement* outputArrangement_ = nullptr;
    VstSpeakerArrangement* inputArrangement_ = nullptr;
    MoltraxBusDirectory outputBusTable_{};
};

// The entry point's work: asks the host for its version, builds an effect with
// its editor factory and returns its interface record; null when the host
// answers 0 or building fails.
AEffect* createDruvo(audioMasterCallback audioMaster, Druvo::EditorFactory makeEditor) noexcept;

}  // namespace MX
