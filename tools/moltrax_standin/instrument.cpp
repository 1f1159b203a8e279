// The stand-in's VST 2.4 instrument: the cycle logic that renders each host
// cycle once (see instrument.h) and the minimal effect glue around it. The
// first open instance owns the clock and the buses; later ones output silence.
// Dispatcher: host UI thread; process and render requests: host audio threads.
#include "tools/moltrax_standin/instrument.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "plugin/vst/aeffect.h"
#include "tools/moltrax_standin/moltrax_standin.h"

extern "C" MoltraxStandinControl* standinControl(void) __asm__(
#if defined(_WIN32) && !defined(_WIN64)
    "_"
#endif
    "MoltraxStandinControl");

namespace {

constexpr VstInt32 kPrograms = 2;
const char* const kProgramNames[kPrograms] = {"Position Code", "Buses Only"};

struct Instrument {
    AEffect effect;
    VstInt32 program;
};

// Clock and fill state, guarded by gLock.
struct Clock {
    int64_t blockStart;
    int32_t blockFrames;
    uint32_t serial;   // block number, 0 before the first
    bool processSeen;  // the instrument's process call has taken this block
    bool running;      // process calls come: from the first one after open or resume to suspend
    bool refused[MOLTRAX_BUS_COUNT];   // asked before the instrument ran, in this cycle
    bool deferred[MOLTRAX_BUS_COUNT];  // refused, then passed over: due at the next cycle
    double processTime;                // seconds, when the instrument's process call last came
    double sampleRate;
    uint32_t filledSerial[MOLTRAX_BUS_COUNT];
    uint8_t filledOwner[MOLTRAX_BUS_COUNT];
    int64_t processCalls, requests, cyclesByProcess, cyclesByRequest, served, idle;
    const void* threads[8];  // distinct host threads seen calling in
    int32_t threadCount;
};

Instrument* gActive;
Clock gClock;
char gLock;

double seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void lock() {
    while (__atomic_test_and_set(&gLock, __ATOMIC_ACQUIRE)) {
    }
}
void unlock() { __atomic_clear(&gLock, __ATOMIC_RELEASE); }

// Under the lock: notes the calling thread by the address of a thread-local.
void noteThread() {
    static thread_local char marker;
    for (int32_t i = 0; i < gClock.threadCount; ++i)
        if (gClock.threads[i] == &marker) return;
    if (gClock.threadCount < 8) gClock.threads[gClock.threadCount++] = &marker;
}

uint8_t readyOf(MoltraxBusRecord* record) { return __atomic_load_n(&record->ready, __ATOMIC_ACQUIRE); }

MoltraxBusRecord* claimedRecord(int32_t bus) {
    MoltraxBusRecord* record = standinControl()->records[bus];
    return record != nullptr && record->enabled != 0 && record->owner != 0 ? record : nullptr;
}

// Writes the current block into one bus and hands it to its claimant.
void fill(int32_t bus, MoltraxBusRecord* record) {
    const int32_t frames = gClock.blockFrames;
    const int32_t channels =
        record->maxChannels < MOLTRAX_BUS_CHANNELS ? record->maxChannels : MOLTRAX_BUS_CHANNELS;
    for (int32_t c = 0; c < channels; ++c) {
        const int32_t tag = moltraxStandinBusTag(bus, c);
        for (int32_t k = 0; k < frames; ++k)
            record->buffers[c][k] = moltraxStandinCode(gClock.blockStart + k, tag);
    }
    record->validFrames = frames;
    gClock.refused[bus] = gClock.deferred[bus] = false;
    gClock.filledSerial[bus] = gClock.serial;
    gClock.filledOwner[bus] = record->owner;
    __atomic_store_n(&record->ready, 1, __ATOMIC_RELEASE);
}

bool holdsCurrentBlock(int32_t bus, MoltraxBusRecord* record) {
    return gClock.filledSerial[bus] == gClock.serial && gClock.filledOwner[bus] == record->owner;
}

// A claimed bus that has read its last block and lacks the current one.
MoltraxBusRecord* waitingRecord(int32_t bus) {
    MoltraxBusRecord* record = claimedRecord(bus);
    return record != nullptr && readyOf(record) == 0 && !holdsCurrentBlock(bus, record) ? record : nullptr;
}

// Fills the waiting buses; a bus refused earlier in this cycle was read
// already, and filling it now would hand it this block one cycle late.
void fillWaitingBuses() {
    for (int32_t bus = 0; bus < MOLTRAX_BUS_COUNT; ++bus) {
        MoltraxBusRecord* record = waitingRecord(bus);
        if (record != nullptr && !gClock.refused[bus]) fill(bus, record);
    }
}

void startCycle(int32_t frames) {
    gClock.blockStart += gClock.blockFrames;
    gClock.blockFrames = frames < 0 ? 0 : (frames > MOLTRAX_BUS_FRAMES ? MOLTRAX_BUS_FRAMES : frames);
    ++gClock.serial;
    fillWaitingBuses();
}

// A bus claimed since the current block was filled, still waiting for it.
bool someClaimWaiting() {
    for (int32_t bus = 0; bus < MOLTRAX_BUS_COUNT; ++bus)
        if (waitingRecord(bus) != nullptr && !gClock.deferred[bus]) return true;
    return false;
}

bool currentBlockUnread() {
    for (int32_t bus = 0; bus < MOLTRAX_BUS_COUNT; ++bus) {
        MoltraxBusRecord* record = claimedRecord(bus);
        if (record != nullptr && readyOf(record) != 0 && holdsCurrentBlock(bus, record)) return true;
    }
    return false;
}

// The instrument's own process call: its block's first clock position.
int64_t processBlock(int32_t frames) {
    lock();
    ++gClock.processCalls;
    noteThread();
    if (!gClock.running || gClock.processSeen || gClock.blockFrames != frames) {
        ++gClock.cyclesByProcess;
        startCycle(frames);
    }
    for (int32_t bus = 0; bus < MOLTRAX_BUS_COUNT; ++bus) {
        gClock.deferred[bus] = gClock.deferred[bus] || gClock.refused[bus];
        gClock.refused[bus] = false;
    }
    gClock.running = true;
    gClock.processSeen = true;
    gClock.processTime = seconds();
    const int64_t start = gClock.blockStart;
    unlock();
    return start;
}

void renderRequest(int32_t frames) {
    lock();
    ++gClock.requests;
    noteThread();
    // Every bus has read the block the process call took: a new cycle, unless
    // a bus claimed since waits and the process call came less than half a
    // block ago (then it is this cycle's late claim).
    const double halfBlock =
        0.5 * gClock.blockFrames / (gClock.sampleRate > 0.0 ? gClock.sampleRate : 44100.0);
    const bool lateClaim = someClaimWaiting() && seconds() - gClock.processTime < halfBlock;
    if (!gClock.running) {
        // Not yet processing (just opened or resumed): nothing to align with.
        ++gClock.idle;
        for (int32_t bus = 0; bus < MOLTRAX_BUS_COUNT; ++bus)
            if (waitingRecord(bus) != nullptr) gClock.refused[bus] = true;
    } else if (!gClock.processSeen || currentBlockUnread() || lateClaim) {
        ++gClock.served;
        fillWaitingBuses();
    } else {
        ++gClock.cyclesByRequest;
        startCycle(frames);
        gClock.processSeen = false;
    }
    unlock();
}

void setDirectory(bool open) {
    MoltraxStandinControl* control = standinControl();
    for (int32_t bus = 0; bus < MOLTRAX_BUS_COUNT; ++bus) {
        control->directory->entries[bus].channelCount = moltraxStandinBusChannels(bus);
        if (control->records[bus] != nullptr)
            control->records[bus]->maxChannels = (uint8_t)moltraxStandinBusChannels(bus);
    }
    control->directory->count = open ? MOLTRAX_BUS_COUNT : 0;
}

// Appends one line to $MOLTRAX_STANDIN_REPORT, where a test reads it.
void report(const char* line) {
    const char* path = std::getenv("MOLTRAX_STANDIN_REPORT");
    if (path == nullptr) return;
    if (FILE* file = std::fopen(path, "a")) {
        std::fputs(line, file);
        std::fclose(file);
    }
}

void reportClock() {
    char line[256];
    std::snprintf(
        line, sizeof line,
        "instrument\tprocess %lld\trequests %lld\tcycles %lld+%lld\tserved %lld\trefused %lld\tthreads %d\n",
        (long long)gClock.processCalls, (long long)gClock.requests, (long long)gClock.cyclesByProcess,
        (long long)gClock.cyclesByRequest, (long long)gClock.served, (long long)gClock.idle,
        (int)gClock.threadCount);
    report(line);
}

void process(AEffect* effect, float** outputs, VstInt32 frames, bool add) {
    Instrument* self = static_cast<Instrument*>(effect->object);
    const bool owner = self == __atomic_load_n(&gActive, __ATOMIC_ACQUIRE);
    const int64_t start = owner ? processBlock(frames) : 0;
    for (int32_t c = 0; c < 2; ++c) {
        const int32_t tag = MOLTRAX_STANDIN_MAIN_TAG + c;
        for (int32_t k = 0; k < frames; ++k) {
            const float value = owner && self->program == 0 ? moltraxStandinCode(start + k, tag) : 0.0f;
            outputs[c][k] = add ? outputs[c][k] + value : value;
        }
    }
}

void VSTCALLBACK processReplacing(AEffect* effect, float**, float** outputs, VstInt32 frames) {
    process(effect, outputs, frames, false);
}
void VSTCALLBACK processAdding(AEffect* effect, float**, float** outputs, VstInt32 frames) {
    process(effect, outputs, frames, true);
}
void VSTCALLBACK setParameter(AEffect*, VstInt32, float) {}
float VSTCALLBACK getParameter(AEffect*, VstInt32) { return 0.0f; }

void copyText(void* ptr, const char* text, std::size_t bytes) {
    if (ptr != nullptr) std::snprintf(static_cast<char*>(ptr), bytes, "%s", text);
}

VstIntPtr VSTCALLBACK dispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt) {
    Instrument* self = static_cast<Instrument*>(effect->object);
    switch (opcode) {
        case effOpen: {
            Instrument* none = nullptr;
            if (__atomic_compare_exchange_n(&gActive, &none, self, false, __ATOMIC_ACQ_REL, __ATOMIC_ACQUIRE))
                setDirectory(true);
            return 0;
        }
        case effSetSampleRate:
            if (__atomic_load_n(&gActive, __ATOMIC_ACQUIRE) == self) gClock.sampleRate = opt;
            return 0;
        case effMainsChanged:
            // Suspended, or resumed after missing cycles: requests wait for the
            // next process call, which starts a new cycle.
            if (__atomic_load_n(&gActive, __ATOMIC_ACQUIRE) == self) {
                lock();
                gClock.running = false;
                unlock();
            }
            return 0;
        case effClose:
            if (__atomic_load_n(&gActive, __ATOMIC_ACQUIRE) == self) {
                // Buses stay enabled, so their claimants can still release them;
                // they just get no more blocks.
                setDirectory(false);
                __atomic_store_n(&gActive, nullptr, __ATOMIC_RELEASE);
                lock();
                gClock.running = false;
                reportClock();
                unlock();
            }
            std::free(self);
            return 1;
        case effSetProgram:
            if (value >= 0 && value < kPrograms) self->program = (VstInt32)value;
            return 0;
        case effGetProgram:
            return self->program;
        case effGetProgramName:
            copyText(ptr, kProgramNames[self->program], kVstMaxProgNameLen + 1);
            return 0;
        case effGetProgramNameIndexed:
            if (index < 0 || index >= kPrograms) return 0;
            copyText(ptr, kProgramNames[index], kVstMaxProgNameLen + 1);
            return 1;
        case effGetEffectName:
            copyText(ptr, "Moltrax Stand-in", kVstMaxEffectNameLen + 1);
            return 1;
        case effGetProductString:
            copyText(ptr, "Moltrax Stand-in", kVstMaxProductStrLen + 1);
            return 1;
        case effGetVendorString:
            copyText(ptr, "Druvo tests", kVstMaxVendorStrLen + 1);
            return 1;
        case effGetPlugCategory:
            return kPlugCategSynth;
        case effGetVstVersion:
            return 2400;
        default:
            return 0;
    }
}

}  // namespace

extern "C" int32_t standinInstrumentRender(int32_t sampleFrames) {
    if (__atomic_load_n(&gActive, __ATOMIC_ACQUIRE) == nullptr) return 0;
    renderRequest(sampleFrames);
    return 1;
}

extern "C" void standinInstrumentUnload(void) {
    int32_t claimed = 0;
    char line[128];
    for (int32_t bus = 0; bus < MOLTRAX_BUS_COUNT; ++bus) {
        const MoltraxBusRecord* record = standinControl()->records[bus];
        if (record == nullptr || (record->owner == 0 && record->refCount == 0)) continue;
        ++claimed;
        std::snprintf(line, sizeof line, "claimed\tbus %d owner %d refCount %d\n", (int)bus + 1,
                      record->owner, record->refCount);
        report(line);
    }
    std::snprintf(line, sizeof line, "unload\tclaimed %d\n", (int)claimed);
    report(line);
}

extern "C" [[gnu::visibility("default")]] AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback host) {
    if (host == nullptr) return nullptr;
    Instrument* self = static_cast<Instrument*>(std::calloc(1, sizeof(Instrument)));
    if (self == nullptr) return nullptr;
    AEffect& e = self->effect;
    e.magic = kEffectMagic;
    e.dispatcher = dispatcher;
    e.process = processAdding;
    e.processReplacing = processReplacing;
    e.setParameter = setParameter;
    e.getParameter = getParameter;
    e.numPrograms = kPrograms;
    e.numInputs = 0;
    e.numOutputs = 2;
    e.flags = effFlagsCanReplacing | effFlagsIsSynth;
    e.object = self;
    e.uniqueID = 0x4D785374;  // 'MxSt'
    e.version = 1;
    return &e;
}

#ifndef _WIN32
// The Linux entry name; C++ cannot name a function main, the label can.
extern "C" [[gnu::visibility("default")]] AEffect* standinMainEntry(audioMasterCallback host) __asm__("main");
AEffect* standinMainEntry(audioMasterCallback host) { return VSTPluginMain(host); }
#endif
