// Stand-in for the Moltrax instrument, for tests and the demo. Exports the
// instrument's five entries plus MoltraxStandinControl, which hands tests the
// records, the directory and counters of every call received. Loaded with
// MOLTRAX_STANDIN_TONES=<sample rate> in the environment, it starts in tone mode.
// The same module is a VST 2.4 instrument too (instrument.h). Entries are
// called on the host's UI and audio threads, like the instrument's.
#ifndef DRUVO_MOLTRAX_STANDIN_H
#define DRUVO_MOLTRAX_STANDIN_H

#include <stdint.h>

#include "link/bus_records.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct MoltraxStandinCalls {
    int32_t connect;
    int32_t disconnect;
    int32_t getBusRecord; /* ordinal 4 */
    int32_t render;       /* ordinal 5 */
    int32_t getDirectory; /* ordinal 6 */
    int32_t lastBusIndex; /* argument of the last ordinal-4 call */
    int32_t lastRenderFrames;
} MoltraxStandinCalls;

typedef struct MoltraxStandinControl {
    MoltraxBusRecord* records[MOLTRAX_BUS_COUNT]; /* heap records, enabled, maxChannels 6 */
    MoltraxBusDirectory* directory;               /* 16 named buses */
    MoltraxStandinCalls calls;
    int32_t connectResult; /* what MoltraxConnect returns; 1 at load */
    int32_t recordsNull;   /* non-zero: ordinal 4 returns null */
    int32_t directoryNull; /* non-zero: ordinal 6 returns null */
    int32_t renderMode; /* 0: render only counts; 1: fill the bus with its tone, set validFrames and ready */
    double sampleRate;  /* for the tones; 44100 at load */
    /* Hooks for tests that play the instrument's side of the contract; all
       cleared by MoltraxStandinReset. */
    /* Called at the start of every ordinal-4 lookup with its argument, before
       the record is chosen: runs the test's code inside the plug-in's claim. */
    void(MOLTRAX_CDECL* onBusLookup)(int32_t busIndex);
    /* Ordinal 4 for bus b returns bus (b + lookupShift) mod 16's record. */
    int32_t lookupShift;
    /* Set by the stand-in. Mode 0 frees bus `bus`'s record (lookups then
       return null); mode 1 moves it to a new heap address and frees the old
       one; mode 2 moves it and keeps the old one until the next reset. */
    void(MOLTRAX_CDECL* replaceRecord)(int32_t bus, int32_t mode);
    /* Called at the start of every ordinal-5 render request with its
       argument: runs the test's code inside the plug-in's block, as an
       instrument that leaves (tells us, then frees) while a block renders. */
    void(MOLTRAX_CDECL* onRender)(int32_t sampleFrames);
} MoltraxStandinControl;

/* Exported by name on every OS. Resets nothing; tests reset with MoltraxStandinReset. */
typedef MoltraxStandinControl*(MOLTRAX_CDECL* MoltraxStandinControlFn)(void);
typedef void(MOLTRAX_CDECL* MoltraxStandinResetFn)(void);

/* Render mode 1 fills bus b (0..15), channel c (0..5) with a sine of this
   frequency and amplitude, phase continuous per bus and channel. */
static inline double moltraxStandinToneHz(int32_t bus, int32_t channel) {
    return 110.0 * (bus + 1) + 10.0 * channel;
}
static inline double moltraxStandinToneAmplitude(int32_t channel) { return 0.25 + 0.05 * channel; }

#ifdef __cplusplus
}
#endif

#endif
