// The instrument's side of the contract, played by the stand-in Moltrax that
// the plug-in loads through its own loader path: up to three effects on the
// host's side (built, closed, blocks of any length, parameter and program
// changes, editor open, idle and close) interleaved with what the instrument
// may do: free its records or move them to a new address and then call our
// MoltraxDisconnect (moving while keeping the old copy may go untold), call
// our MoltraxConnect and MoltraxDisconnect from outside or from inside a
// record lookup or a render request, change an effect's selection from inside
// them, flip the records' control bytes, and answer lookups with null or
// another bus's record. After each input, with the instrument back to plain
// answers, every effect must deliver the record of the bus it selected or
// pass its input through, and each record's refCount must equal the effects
// holding it; a block whose render request told us the instrument left must
// pass its input through. One thread: libFuzzer's.
#include <cstdlib>

#include "editor/druvo_editor.h"
#include "tests/fuzz/fuzz_session.h"
#include "tools/moltrax_standin/moltrax_standin.h"

namespace {

constexpr int kMaxEffects = 3;
constexpr int kCheckFrames = 64;

MoltraxStandinControl* gControl;
MoltraxStandinResetFn gReset;
fuzz_session::HostAudio* gAudio;
AEffect* gEffects[kMaxEffects];
// What the next record lookup or render request does before it answers (0: nothing).
int gLookupAction;
int gRenderAction;
float gHookValue;
// The instrument told us it left during the block now running.
bool gLeftDuringBlock;
// What makes the end checks inapplicable: lookups answered with another bus's
// record or an untold move (no bus identity), and enabled, owner or refCount
// bytes written by someone other than the plug-in, or a mark left by an
// effect closed while the instrument was away (no count to compare).
bool gBusesTampered;
bool gCountsTampered;

MX::Druvo& druvoOf(AEffect* effect) {
    return *static_cast<MX::Druvo*>(static_cast<AudioEffect*>(effect->object));
}

// The instrument lets go of buses `first` to `last` (mode 0 frees their
// records, 1 moves them) and tells us, as it must before we may run again.
void replaceAndTell(int first, int last, int mode) {
    for (int bus = first; bus <= last; ++bus) gControl->replaceRecord(bus, mode);
    MX::link::disconnectSibling();
}

// Tells us first, then frees or moves every record: from inside a block, the
// order the contract prescribes when the instrument is removed.
void tellAndReplace(int mode) {
    MX::link::disconnectSibling();
    gLeftDuringBlock = true;
    for (int bus = 0; bus < MOLTRAX_BUS_COUNT; ++bus) gControl->replaceRecord(bus, mode);
}

// A selection change from inside the instrument's call, on one of the effects.
void selectFromInside(int action) {
    AEffect* effect = gEffects[action % kMaxEffects];
    if (effect != nullptr) effect->setParameter(effect, 0, gHookValue);
}

void MOLTRAX_CDECL onBusLookup(std::int32_t busIndex) {
    const int action = gLookupAction;
    gLookupAction = 0;
    switch (action) {
        case 1:
            MX::link::disconnectSibling();
            break;
        case 2:
            MX::link::disconnectSibling();
            MX::link::connectSibling();
            break;
        case 3:
            if (busIndex >= 0 && busIndex < MOLTRAX_BUS_COUNT) replaceAndTell(busIndex, busIndex, 1);
            MX::link::connectSibling();
            break;
        default:
            if (action >= 4) selectFromInside(action);
            break;
    }
}

void MOLTRAX_CDECL onRender(std::int32_t) {
    const int action = gRenderAction;
    gRenderAction = 0;
    if (action == 1 || action == 2) {
        tellAndReplace(action - 1);
    } else if (action >= 3) {
        selectFromInside(action);
    }
}

// Any value in one control byte, or in validFrames (field 3).
void flipRecordField(FuzzedDataProvider& in) {
    using R = MoltraxBusRecord;
    static constexpr std::uint8_t R::*kBytes[] = {&R::enabled, &R::owner, &R::ready, &R::maxChannels,
                                                  &R::refCount};
    R* r = gControl->records[in.ConsumeIntegralInRange(0, MOLTRAX_BUS_COUNT - 1)];
    if (r == nullptr) return;
    const int field = in.ConsumeIntegralInRange(0, 5);
    if (field == 0 || field == 1 || field == 5) gCountsTampered = true;  // enabled, owner, refCount
    if (field == 3)
        r->validFrames = in.ConsumeIntegral<std::int32_t>();
    else
        r->*kBytes[field < 3 ? field : field - 1] = in.ConsumeIntegral<std::uint8_t>();
}

void siblingEvent(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 7)) {
        case 0: {
            // One bus, or all of them as when the instrument's instance goes away.
            const int bus = in.ConsumeIntegralInRange(-1, MOLTRAX_BUS_COUNT - 1);
            const int mode = in.ConsumeIntegralInRange(0, 1);
            if (bus < 0)
                replaceAndTell(0, MOLTRAX_BUS_COUNT - 1, mode);
            else
                replaceAndTell(bus, bus, mode);
            break;
        }
        case 1:
            gControl->replaceRecord(in.ConsumeIntegralInRange(0, MOLTRAX_BUS_COUNT - 1), 2);
            gBusesTampered = gCountsTampered = true;
            break;
        case 2:
            if (in.ConsumeBool())
                MX::link::connectSibling();
            else
                MX::link::disconnectSibling();
            break;
        case 3:
            gLookupAction = in.ConsumeIntegralInRange(1, 3 + kMaxEffects);
            gHookValue = fuzz_session::consumeFloat(in);
            break;
        case 4:
            gControl->recordsNull = in.ConsumeBool();
            gControl->lookupShift = in.ConsumeIntegralInRange(0, MOLTRAX_BUS_COUNT - 1);
            if (gControl->lookupShift != 0) gBusesTampered = gCountsTampered = true;
            break;
        case 5:
            gControl->directoryNull = in.ConsumeBool();
            gControl->renderMode = in.ConsumeBool();
            break;
        case 6:
            gRenderAction = in.ConsumeIntegralInRange(1, 2 + kMaxEffects);
            gHookValue = fuzz_session::consumeFloat(in);
            break;
        default:
            flipRecordField(in);
            break;
    }
}

bool passedThrough(const AEffect* effect, int frames) {
    for (int c = 0; c < effect->numOutputs; ++c)
        for (int k = 0; k < frames; ++k)
            if (gAudio->output(c)[k] != gAudio->input(c)[k]) return false;
    return true;
}

void runBlock(AEffect* effect, int frames, bool replacing) {
    gLeftDuringBlock = false;
    gAudio->run(effect, frames, replacing);
    // Nothing of the instrument is delivered once it has told us it left.
    if (gLeftDuringBlock && !passedThrough(effect, frames)) std::abort();
}

void hostEvent(FuzzedDataProvider& in) {
    AEffect*& effect = gEffects[in.ConsumeIntegralInRange(0, kMaxEffects - 1)];
    if (effect == nullptr) {
        effect = MX::createDruvo(fake_host::callback, MX::createDruvoEditor);
        return;
    }
    switch (in.ConsumeIntegralInRange(0, 5)) {
        case 0:
            if (!MX::link::siblingLoaded()) gCountsTampered = true;  // its mark stays behind
            effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
            effect = nullptr;
            break;
        case 1:
            effect->setParameter(effect, 0, fuzz_session::consumeFloat(in));
            break;
        case 2:
            effect->dispatcher(effect, effSetProgram, 0, in.ConsumeIntegralInRange(-1, 17), nullptr, 0.0f);
            break;
        case 3:
            // Editor without a display: open, idle or close, in any order.
            effect->dispatcher(effect,
                               in.PickValueInArray({effEditOpen, effEditIdle, effEditIdle, effEditClose}), 0,
                               0, nullptr, 0.0f);
            break;
        default: {
            // Mostly short blocks, which keep runs fast; any length now and then.
            const int longest =
                in.ConsumeIntegralInRange(0, 15) != 0 ? 256 : fuzz_session::HostAudio::kMaxFrames;
            runBlock(effect, in.ConsumeIntegralInRange(-1, longest), in.ConsumeBool());
        }
    }
}

// The instrument back to plain answers and rendering every claimed bus; two
// blocks settle what the input left, then each effect's block is checked.
void checkWhatMustHold() {
    gControl->onBusLookup = nullptr;
    gControl->onRender = nullptr;
    gControl->recordsNull = 0;
    gControl->lookupShift = 0;
    gControl->renderMode = 1;
    MX::link::connectSibling();
    for (int pass = 0; pass < 2; ++pass)
        for (AEffect* effect : gEffects)
            if (effect != nullptr) runBlock(effect, kCheckFrames, true);

    int holders[MOLTRAX_BUS_COUNT] = {};
    for (AEffect* effect : gEffects) {
        if (effect == nullptr) continue;
        MX::Druvo& druvo = druvoOf(effect);
        const MoltraxBusRecord* held = druvo.claimedRecord();
        for (int b = 0; b < MOLTRAX_BUS_COUNT; ++b)
            holders[b] += held != nullptr && held == gControl->records[b];
        runBlock(effect, kCheckFrames, true);
        if (passedThrough(effect, kCheckFrames)) continue;
        // Delivered: from the record it holds, which is the selected bus's.
        const int selection = druvo.busSelection();
        if (held == nullptr || held->buffers[0][0] != gAudio->output(0)[0]) std::abort();
        if (!gBusesTampered &&
            (selection < 1 || selection > MOLTRAX_BUS_COUNT || held != gControl->records[selection - 1])) {
            std::abort();
        }
    }
    if (gCountsTampered) return;
    for (int b = 0; b < MOLTRAX_BUS_COUNT; ++b) {
        const MoltraxBusRecord* r = gControl->records[b];
        if (r != nullptr && r->refCount != holders[b]) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    unsetenv("DISPLAY");
    fuzz_session::setUpProcess();
    gAudio = new fuzz_session::HostAudio;
    // Loaded by path and kept, as a DAW holding the instrument: the plug-in's
    // load by bare name then finds this copy.
    MX::platform::ModuleHandle standin = MX::platform::loadModule(DRUVO_STANDIN_PATH);
    auto control =
        reinterpret_cast<MoltraxStandinControlFn>(MX::platform::findEntry(standin, "MoltraxStandinControl"));
    gReset = reinterpret_cast<MoltraxStandinResetFn>(MX::platform::findEntry(standin, "MoltraxStandinReset"));
    if (control == nullptr || gReset == nullptr) std::abort();
    gControl = control();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    gReset();
    fake_host::reset();
    gControl->onBusLookup = onBusLookup;
    gControl->onRender = onRender;
    gLookupAction = gRenderAction = 0;
    gBusesTampered = gCountsTampered = false;
    while (in.remaining_bytes() > 0) {
        if (in.ConsumeBool())
            hostEvent(in);
        else
            siblingEvent(in);
    }
    checkWhatMustHold();
    for (AEffect*& effect : gEffects) {
        if (effect != nullptr) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
        effect = nullptr;
    }
    MX::link::disconnectSibling();
    fake_host::calls.clear();
    return 0;
}
