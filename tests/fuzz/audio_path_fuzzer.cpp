// The audio path with an instrument whose records and directory are the fuzz
// input: records present or missing, any control bytes, directory entries of
// any bytes, control bytes rewritten inside the render request and between
// blocks, any speaker arrangements, any selection and blocks of any length
// (negative, zero, longer than a bus buffer). Outputs past each block must stay untouched.
#include <cstring>

#include "editor/druvo_editor.h"
#include "tests/fuzz/fuzz_session.h"

namespace {

fuzz_session::HostAudio* gAudio;
fuzz_session::ArrangementBuffer gArrangements[2];
FuzzedDataProvider* gInput;  // the current input, for the render request

// The instrument's render: a fresh block on each claimed bus, or a record
// rewritten under the effect's feet.
void MOLTRAX_CDECL render(std::int32_t frames) {
    if (gInput->ConsumeBool()) {
        for (MoltraxBusRecord* r : fake::records) {
            if (r == nullptr || r->owner == 0) continue;
            r->validFrames = frames;
            r->ready = 1;
        }
    } else {
        fuzz_session::rewriteSiblingByte(*gInput);
    }
}

void setArrangements(AEffect* effect, FuzzedDataProvider& in) {
    VstSpeakerArrangement* input = gArrangements[0].get();
    VstSpeakerArrangement* output = gArrangements[1].get();
    input->type = in.ConsumeIntegralInRange(-2, 40);
    input->numChannels = in.ConsumeIntegralInRange(-1, 10);
    output->type = in.ConsumeIntegralInRange(-2, 40);
    output->numChannels = in.ConsumeIntegralInRange(-1, 10);
    effect->dispatcher(effect, effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(input), output, 0.0f);
}

void setUpRecords(FuzzedDataProvider& in) {
    in.ConsumeData(&fuzz_session::ownedDirectory,
                   in.ConsumeIntegralInRange<std::size_t>(0, sizeof(MoltraxBusDirectory)));
    const auto present = in.ConsumeIntegral<std::uint16_t>();
    for (int b = 0; b < MOLTRAX_BUS_COUNT; ++b) {
        if ((present >> b & 1) == 0) fake::records[b] = nullptr;
        const int entry = in.ConsumeIntegralInRange(-1, MOLTRAX_BUS_COUNT - 1);
        fuzz_session::ownedRecords[b]->entry =
            entry < 0 ? nullptr : &fuzz_session::ownedDirectory.entries[entry];
    }
    if (in.ConsumeBool()) fake::directory = nullptr;
    for (int n = in.ConsumeIntegralInRange(0, 32); n > 0; --n) fuzz_session::rewriteSiblingByte(in);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz_session::setUpProcess();
    gAudio = new fuzz_session::HostAudio;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    gInput = &in;
    fuzz_session::resetSibling(render);
    setUpRecords(in);

    AEffect* effect = MX::createDruvo(fake_host::callback, MX::createDruvoEditor);
    if (effect == nullptr) return 0;
    setArrangements(effect, in);
    effect->setParameter(effect, 0, fuzz_session::consumeFloat(in));
    while (in.remaining_bytes() > 0) {
        const int frames = in.ConsumeIntegralInRange(-1, fuzz_session::HostAudio::kMaxFrames);
        gAudio->run(effect, frames, in.ConsumeBool());
        switch (in.ConsumeIntegralInRange(0, 5)) {
            case 0:
                effect->setParameter(effect, 0, fuzz_session::consumeFloat(in));
                break;
            case 1:
                setArrangements(effect, in);
                break;
            case 2:
                MX::link::disconnectSibling();
                if (in.ConsumeBool()) fake::install(fake::getBusRecord, render, fake::getDirectory);
                break;
            default:
                fuzz_session::rewriteSiblingByte(in);
                break;
        }
    }
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    fake_host::calls.clear();
    return 0;
}
