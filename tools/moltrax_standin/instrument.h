/* The stand-in as a VST 2.4 instrument (entry `main` / `VSTPluginMain`): no
   inputs, a stereo main output, two programs, and the sixteen buses rendered
   from one instrument clock while an instance is open. Even buses (bus 1, 3,
   ...) carry 6 channels, odd ones 2. Every sample, on the buses and on the main
   output, is a position code: the clock's sample index and a tag naming the
   bus channel or main output channel, so a recording shows where each sample
   came from and when.

   One render per host cycle. The clock advances once per cycle, at whichever
   comes first of the instrument's process call and a render request; the other
   reuses that block. Cycles are told apart from the calls and the records:
   - a process call after a request rendered ahead takes that block (with the
     same length); any other process call starts a new cycle, as does the first
     one after open or resume;
   - a request before that first process call gets nothing, and the buses it
     found waiting are not filled by that process call (they were read in this
     cycle already) but at the next cycle's start;
   - a request while the block was rendered ahead and its process call has not
     come yet, or while some claimed bus still holds the current block unread,
     belongs to the current cycle: it only fills buses claimed since (no clock
     step);
   - a request after the process call took the block, with every claimed bus
     having read it, starts a new cycle (rendered ahead), unless a bus claimed
     since waits (not one refused above) and the process call came less than
     half a block ago: that is
     a claim late in the process call's cycle, and it gets the current block.
   Where that fails: the last rule's time test misjudges a claim made half a
   block or more after the process call in the same cycle (a preempted host
   thread), which then gets the next block early, then one gap; or a claim made
   in the next cycle before the process call within half a block of it, which
   then runs one block late for as long as its reader keeps running before the
   instrument's process call. A claim racing a fill on another thread can cost
   that bus a block; a host that skips the instrument's process call in a cycle
   without suspending it, while effects still read, puts the instrument a block
   behind them; a bus whose reader stops running (bypassed) keeps its last
   block and is left out of later fills until it is read. After a resume, a
   bus that still holds the clock's last block and asks before the first
   process call is not told from one that has not run yet: that call fills it,
   and it reads one block late for as long as it keeps running before the
   instrument's process call, then skips a block.
   Once a request in the process call's cycle is taken for a new cycle, every
   later cycle whose process call comes first takes the block rendered ahead
   and renders the next: all buses run one block ahead of the main output
   until a cycle's request comes first, which fills nothing (the buses hold
   the current block), so each bus gets one silent block and is aligned again
   with nothing lost (seen under load as a session starts).
   The instrument's entry points and the render request (audio threads of the
   host, possibly in parallel) share one spin lock around the clock and fills. */
#ifndef DRUVO_MOLTRAX_STANDIN_INSTRUMENT_H
#define DRUVO_MOLTRAX_STANDIN_INSTRUMENT_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Called by the render request: non-zero when an open instrument served it. */
int32_t standinInstrumentRender(int32_t sampleFrames);
/* Called as the library unloads: appends the records still claimed to the report. */
void standinInstrumentUnload(void);

/* Channels of bus 0..15 while the instrument is open. */
static inline int32_t moltraxStandinBusChannels(int32_t bus) { return bus % 2 == 0 ? 6 : 2; }

/* Position code: ((position mod 65536) * 128 + tag) / 2^23, exact in a float.
   Bus channels have tags 1..96, the main output 100 and 101. */
#define MOLTRAX_STANDIN_CODE_PERIOD 65536
#define MOLTRAX_STANDIN_MAIN_TAG 100
static inline int32_t moltraxStandinBusTag(int32_t bus, int32_t channel) { return bus * 6 + channel + 1; }
static inline float moltraxStandinCode(int64_t position, int32_t tag) {
    return (float)((double)((position & (MOLTRAX_STANDIN_CODE_PERIOD - 1)) * 128 + tag) / 8388608.0);
}

#ifdef __cplusplus
}
#endif

#endif
