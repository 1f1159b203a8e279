/* Stand-in for the Moltrax instrument: sixteen heap bus records and a bus
   directory in its own memory, the instrument's five entries, and a control
   record through which tests steer it and read what it was asked. Records
   are allocated when the library loads and freed when it unloads. */
#include "tools/moltrax_standin/moltrax_standin.h"
#include "tools/moltrax_standin/instrument.h"

#include <math.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#ifndef _WIN32
#include <dlfcn.h>
#endif

#define STANDIN_DEFAULT_CHANNELS 6
#define STANDIN_DEFAULT_RATE 44100.0

static const double kTwoPi = 6.283185307179586476925286766559;

static MoltraxBusRecord* gOwnedRecords[MOLTRAX_BUS_COUNT];
static MoltraxBusDirectory gDirectory;
static MoltraxStandinControl gControl;
/* Tone phase in radians per bus and channel, kept between render calls. */
static double gPhase[MOLTRAX_BUS_COUNT][MOLTRAX_BUS_CHANNELS];

static void fillDirectory(void) {
    memset(&gDirectory, 0, sizeof gDirectory);
    for (int32_t i = 0; i < MOLTRAX_BUS_COUNT; ++i) {
        gDirectory.entries[i].index = i;
        snprintf(gDirectory.entries[i].name, sizeof gDirectory.entries[i].name, "Moltrax Out %d",
                 (int)(i + 1));
        gDirectory.entries[i].channelCount = STANDIN_DEFAULT_CHANNELS;
    }
    gDirectory.count = MOLTRAX_BUS_COUNT;
}

static void resetRecord(int32_t bus) {
    MoltraxBusRecord* record = gOwnedRecords[bus];
    if (record == NULL) return;
    memset(record, 0, sizeof *record);
    record->entry = &gDirectory.entries[bus];
    record->maxChannels = STANDIN_DEFAULT_CHANNELS;
    record->enabled = 1;
}

/* The instrument's own guard between its render and lookups (audio thread)
   and the replacement of its records (any thread): we keep our side safe through
   our disconnect, the instrument keeps its own. Never held while a hook runs. */
static atomic_flag gRecordsBusy = ATOMIC_FLAG_INIT;
static void lockRecords(void) {
    while (atomic_flag_test_and_set_explicit(&gRecordsBusy, memory_order_acquire)) {
    }
}
static void unlockRecords(void) { atomic_flag_clear_explicit(&gRecordsBusy, memory_order_release); }

/* Records moved away with mode 2 of replaceRecord, freed at the next reset. */
static MoltraxBusRecord* gKeptRecords[MOLTRAX_BUS_COUNT * 4];
static int32_t gKeptCount;

static void freeKeptRecords(void) {
    for (int32_t i = 0; i < gKeptCount; ++i) free(gKeptRecords[i]);
    gKeptCount = 0;
}

static void MOLTRAX_CDECL replaceRecord(int32_t bus, int32_t mode) {
    if (bus < 0 || bus >= MOLTRAX_BUS_COUNT) return;
    lockRecords();
    MoltraxBusRecord* old = gOwnedRecords[bus];
    MoltraxBusRecord* moved = NULL;
    if (mode != 0) {
        moved = (MoltraxBusRecord*)calloc(1, sizeof(MoltraxBusRecord));
        if (moved != NULL && old != NULL) memcpy(moved, old, sizeof *moved);
    }
    if (mode == 2 && old != NULL && gKeptCount < MOLTRAX_BUS_COUNT * 4) {
        gKeptRecords[gKeptCount++] = old;
    } else {
        free(old);
    }
    gOwnedRecords[bus] = moved;
    if (moved != NULL && moved->entry == NULL) resetRecord(bus);
    gControl.records[bus] = moved;
    unlockRecords();
}

static void resetAll(void) {
    freeKeptRecords();
    for (int32_t bus = 0; bus < MOLTRAX_BUS_COUNT; ++bus) {
        if (gOwnedRecords[bus] == NULL)
            gOwnedRecords[bus] = (MoltraxBusRecord*)calloc(1, sizeof(MoltraxBusRecord));
    }
    fillDirectory();
    memset(&gControl, 0, sizeof gControl);
    memset(gPhase, 0, sizeof gPhase);
    for (int32_t bus = 0; bus < MOLTRAX_BUS_COUNT; ++bus) {
        resetRecord(bus);
        gControl.records[bus] = gOwnedRecords[bus];
    }
    gControl.directory = &gDirectory;
    gControl.connectResult = 1;
    gControl.sampleRate = STANDIN_DEFAULT_RATE;
    gControl.replaceRecord = replaceRecord;
}

/* MOLTRAX_STANDIN_CONNECT_AT_LOAD=<plug-in file>: at load, the stand-in calls
   that loaded plug-in's MoltraxConnect export, as an instrument announcing
   itself would, even while the plug-in is inside its own load of it. */
static void connectPluginAtLoad(void) {
#ifndef _WIN32
    const char* plugin = getenv("MOLTRAX_STANDIN_CONNECT_AT_LOAD");
    void* module = plugin != NULL ? dlopen(plugin, RTLD_NOW | RTLD_NOLOAD) : NULL;
    if (module == NULL) return;
    int32_t (*connect)(void) = (int32_t(*)(void))dlsym(module, "MoltraxConnect");
    if (connect != NULL) connect();
    dlclose(module);
#endif
}

__attribute__((constructor)) static void standinLoad(void) {
    resetAll();
    connectPluginAtLoad();
    /* A host we cannot steer (a real DAW) gets tone mode from the environment:
       MOLTRAX_STANDIN_TONES names the sample rate the tones are rendered for. */
    const char* tones = getenv("MOLTRAX_STANDIN_TONES");
    if (tones != NULL && atof(tones) > 0.0) {
        gControl.renderMode = 1;
        gControl.sampleRate = atof(tones);
    }
}

__attribute__((destructor)) static void standinUnload(void) {
    standinInstrumentUnload();
    freeKeptRecords();
    for (int32_t bus = 0; bus < MOLTRAX_BUS_COUNT; ++bus) {
        free(gOwnedRecords[bus]);
        gOwnedRecords[bus] = NULL;
        gControl.records[bus] = NULL;
    }
}

/* Writes `frames` samples of the bus channel's tone, continuing its phase. */
static void renderTone(float* out, int32_t frames, int32_t bus, int32_t channel, double rate) {
    const double step = kTwoPi * moltraxStandinToneHz(bus, channel) / rate;
    const double amplitude = moltraxStandinToneAmplitude(channel);
    const double phase = gPhase[bus][channel];
    for (int32_t k = 0; k < frames; ++k) out[k] = (float)(amplitude * sin(phase + step * k));
    gPhase[bus][channel] = fmod(phase + step * frames, kTwoPi);
}

static void renderClaimedBuses(int32_t sampleFrames) {
    const int32_t frames =
        sampleFrames <= 0 ? 0 : (sampleFrames > MOLTRAX_BUS_FRAMES ? MOLTRAX_BUS_FRAMES : sampleFrames);
    /* A rate a test broke (0, negative, NaN) would fill the buffers with NaN. */
    const double rate = gControl.sampleRate > 0.0 ? gControl.sampleRate : STANDIN_DEFAULT_RATE;
    for (int32_t bus = 0; bus < MOLTRAX_BUS_COUNT; ++bus) {
        MoltraxBusRecord* record = gControl.records[bus];
        if (record == NULL || record->owner == 0 || record->enabled == 0) continue;
        const int32_t channels =
            record->maxChannels < MOLTRAX_BUS_CHANNELS ? record->maxChannels : MOLTRAX_BUS_CHANNELS;
        for (int32_t c = 0; c < channels; ++c) renderTone(record->buffers[c], frames, bus, c, rate);
        record->validFrames = frames;
        record->ready = 1;
    }
}

int32_t MOLTRAX_CDECL MoltraxConnect(void) {
    ++gControl.calls.connect;
    return gControl.connectResult;
}

void MOLTRAX_CDECL MoltraxDisconnect(void) { ++gControl.calls.disconnect; }

MoltraxBusRecord* MOLTRAX_CDECL MoltraxGetBusRecord(int32_t busIndex) {
    ++gControl.calls.getBusRecord;
    gControl.calls.lastBusIndex = busIndex;
    if (gControl.onBusLookup != NULL) gControl.onBusLookup(busIndex);
    if (gControl.recordsNull || busIndex < 0 || busIndex >= MOLTRAX_BUS_COUNT) return NULL;
    const int32_t shift = gControl.lookupShift % MOLTRAX_BUS_COUNT;
    lockRecords();
    MoltraxBusRecord* record = gControl.records[(busIndex + shift + MOLTRAX_BUS_COUNT) % MOLTRAX_BUS_COUNT];
    unlockRecords();
    return record;
}

void MOLTRAX_CDECL MoltraxRender(int32_t sampleFrames) {
    ++gControl.calls.render;
    gControl.calls.lastRenderFrames = sampleFrames;
    if (gControl.onRender != NULL) gControl.onRender(sampleFrames);
    if (standinInstrumentRender(sampleFrames)) return;
    if (gControl.renderMode != 1) return;
    lockRecords();
    renderClaimedBuses(sampleFrames);
    unlockRecords();
}

MoltraxBusDirectory* MOLTRAX_CDECL MoltraxGetBusDirectory(void) {
    ++gControl.calls.getDirectory;
    return gControl.directoryNull ? NULL : gControl.directory;
}

/* The export shares its name with the control record's type, which C cannot
   give a function too: the function gets another C name and the export name
   as its assembler name (with the target's label prefix, "_" on 32-bit
   Windows). */
#define STANDIN_STRINGIFY2(x) #x
#define STANDIN_STRINGIFY(x) STANDIN_STRINGIFY2(x)
MoltraxStandinControl* MOLTRAX_CDECL
standinControl(void) __asm__(STANDIN_STRINGIFY(__USER_LABEL_PREFIX__) "MoltraxStandinControl");
MoltraxStandinControl* MOLTRAX_CDECL standinControl(void) { return &gControl; }

void MOLTRAX_CDECL MoltraxStandinReset(void) { resetAll(); }
