// One live effect per input, driven by a hostile host: any opcode, index,
// value and float through the dispatcher, with text and structure pointers
// into bounded host buffers; parameter calls; audio blocks; the instrument
// disconnecting, reconnecting and rewriting its records in between. effClose
// ends the input: the harness closes the effect, once.
#include <cstring>

#include "editor/druvo_editor.h"
#include "tests/fuzz/fuzz_session.h"

namespace {

// Text or a pointer slot, as the opcode reads it.
struct alignas(16) TextBuffer {
    unsigned char bytes[512];
};
TextBuffer gText;
// Speaker arrangements, for the two opcodes whose value and ptr point to one (or to a slot).
fuzz_session::ArrangementBuffer gArrangements[2];

// Null, or `buffer` zeroed and its start filled from the input, ending in a
// NUL (the text a host passes).
template <std::size_t N>
void* hostPointer(FuzzedDataProvider& in, unsigned char (&buffer)[N]) {
    if (!in.ConsumeBool()) return nullptr;
    std::memset(buffer, 0, N);
    in.ConsumeData(buffer, in.ConsumeIntegralInRange<std::size_t>(0, N - 1));
    return buffer;
}

bool arrangementRequest(VstInt32 opcode) {
    return opcode == effSetSpeakerArrangement || opcode == effGetSpeakerArrangement;
}

// Returns false once the host asked to close.
bool dispatch(AEffect* effect, FuzzedDataProvider& in) {
    const VstInt32 opcode = in.ConsumeIntegral<std::int8_t>();
    if (opcode == effClose) return false;
    const VstInt32 index = in.ConsumeIntegral<VstInt32>();
    VstIntPtr value = in.ConsumeIntegral<VstIntPtr>();
    void* ptr;
    if (arrangementRequest(opcode)) {
        value = reinterpret_cast<VstIntPtr>(hostPointer(in, gArrangements[0].bytes));
        ptr = hostPointer(in, gArrangements[1].bytes);
    } else {
        ptr = hostPointer(in, gText.bytes);
    }
    effect->dispatcher(effect, opcode, index, value, ptr, fuzz_session::consumeFloat(in));
    return true;
}

fuzz_session::HostAudio* gAudio;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // No X server in the loop: the editor takes its path without a display.
    unsetenv("DISPLAY");
    fuzz_session::setUpProcess();
    gAudio = new fuzz_session::HostAudio;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    fuzz_session::resetSibling(fake::render);
    fake::renderDelivers = false;  // the records' samples stay as they are

    AEffect* effect = MX::createDruvo(fake_host::callback, MX::createDruvoEditor);
    if (effect == nullptr) return 0;
    bool open = true;
    while (open && in.remaining_bytes() > 0) {
        switch (in.ConsumeIntegralInRange(0, 7)) {
            case 0:
            case 1:
            case 2:
                open = dispatch(effect, in);
                break;
            case 3:
                effect->setParameter(effect, in.ConsumeIntegral<VstInt32>(), fuzz_session::consumeFloat(in));
                break;
            case 4:
                effect->getParameter(effect, in.ConsumeIntegral<VstInt32>());
                break;
            case 5:
                gAudio->run(effect, in.ConsumeIntegralInRange(-2, 512), in.ConsumeBool());
                break;
            case 6:
                // The instrument calls our exports, in either order, as often as it likes.
                if (in.ConsumeBool())
                    MX::link::disconnectSibling();
                else
                    fake::install(fake::getBusRecord, fake::render, fake::getDirectory);
                fake::renderDelivers = false;
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
