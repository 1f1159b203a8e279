// The instrument's side of the contract, played by the stand-in Moltrax that
// the plug-in loads through its own loader path: up to three effects on the
// host's side (built, closed, blocks of any length, parameter and program
// changes, editor open, idle and close) interleaved with what the instrument
// may do: free its records or move them to a new address and then call our
// MoltraxDisconnect (moving while keeping the old copy may go untold), call
// our MoltraxConnect and MoltraxDisconnect from outside or from inside a
// record lookup, flip the records' control bytes, and answer lookups with
// null or another bus's record. One thread: libFuzzer's.
#include <cstdlib>

#include "editor/druvo_editor.h"
#include "tests/fuzz/fuzz_session.h"
#include "tools/moltrax_standin/moltrax_standin.h"

namespace {

constexpr int kMaxEffects = 3;

MoltraxStandinControl* gControl;
MoltraxStandinResetFn gReset;
fuzz_session::HostAudio* gAudio;
AEffect* gEffects[kMaxEffects];
// What the next record lookup does before it answers (0: nothing).
int gLookupAction;

// The instrument lets go of buses `first` to `last` (mode 0 frees their
// records, 1 moves them) and tells us, as it must before we may run again.
void replaceAndTell(int first, int last, int mode) {
    for (int bus = first; bus <= last; ++bus) gControl->replaceRecord(bus, mode);
    MX::link::disconnectSibling();
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
            break;
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
    if (field == 3)
        r->validFrames = in.ConsumeIntegral<std::int32_t>();
    else
        r->*kBytes[field < 3 ? field : field - 1] = in.ConsumeIntegral<std::uint8_t>();
}

void siblingEvent(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 6)) {
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
            break;
        case 2:
            if (in.ConsumeBool())
                MX::link::connectSibling();
            else
                MX::link::disconnectSibling();
            break;
        case 3:
            gLookupAction = in.ConsumeIntegralInRange(1, 3);
            break;
        case 4:
            gControl->recordsNull = in.ConsumeBool();
            gControl->lookupShift = in.ConsumeIntegralInRange(0, MOLTRAX_BUS_COUNT - 1);
            break;
        case 5:
            gControl->directoryNull = in.ConsumeBool();
            gControl->renderMode = in.ConsumeBool();
            break;
        default:
            flipRecordField(in);
            break;
    }
}

void hostEvent(FuzzedDataProvider& in) {
    AEffect*& effect = gEffects[in.ConsumeIntegralInRange(0, kMaxEffects - 1)];
    if (effect == nullptr) {
        effect = MX::createDruvo(fake_host::callback, MX::createDruvoEditor);
        return;
    }
    switch (in.ConsumeIntegralInRange(0, 5)) {
        case 0:
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
            const int longest = in.ConsumeBool() ? 256 : fuzz_session::HostAudio::kMaxFrames;
            gAudio->run(effect, in.ConsumeIntegralInRange(-1, longest), in.ConsumeBool());
        }
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
    gLookupAction = 0;
    while (in.remaining_bytes() > 0) {
        if (in.ConsumeBool())
            hostEvent(in);
        else
            siblingEvent(in);
    }
    for (AEffect*& effect : gEffects) {
        if (effect != nullptr) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
        effect = nullptr;
    }
    MX::link::disconnectSibling();
    fake_host::calls.clear();
    return 0;
}
