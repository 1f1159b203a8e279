/* Records shared with the Moltrax instrument: one shared bus record per output
   bus, the bus name entry and the bus directory. Plain C layout with fixed-width
   types, so the instrument's own developers can include this header as it stands.
   Multi-byte fields are little-endian. Only `entry` is pointer-sized: it moves the
   fields after it by four bytes on 64-bit builds. The instrument's threads and
   the effects' audio and UI threads share the records; fields are read and
   written one at a time, relaxed. */
#ifndef DRUVO_LINK_BUS_RECORDS_H
#define DRUVO_LINK_BUS_RECORDS_H

#include <stddef.h>
#include <stdint.h>

#define MOLTRAX_BUS_COUNT 16
#define MOLTRAX_BUS_CHANNELS 6
#define MOLTRAX_BUS_FRAMES 16384
#define MOLTRAX_BUS_NAME_BYTES 64

#ifdef __cplusplus
extern "C" {
#endif

typedef struct MoltraxBusNameEntry {
    int32_t index;                     /* position of the bus, from 0 */
    char name[MOLTRAX_BUS_NAME_BYTES]; /* NUL-terminated */
    int32_t channelCount;              /* 0 to 6 */
} MoltraxBusNameEntry;

typedef struct MoltraxBusDirectory {
    MoltraxBusNameEntry entries[MOLTRAX_BUS_COUNT];
    int32_t count; /* valid entries at the start of `entries`, 0 to 16 */
} MoltraxBusDirectory;

typedef struct MoltraxBusRecord {
    float buffers[MOLTRAX_BUS_CHANNELS][MOLTRAX_BUS_FRAMES];
    MoltraxBusNameEntry* entry; /* written by the instrument; may be null */
    int32_t validFrames;        /* valid samples at the start of each buffer */
    uint8_t maxChannels;        /* channels the bus carries */
    uint8_t requestedChannels;  /* channels the claiming instance asks for */
    uint8_t activeChannels;     /* min(maxChannels, requestedChannels) */
    uint8_t owner;              /* instance number of the claimant, low 8 bits; 0 = free */
    uint8_t ready;              /* non-zero: the buffers hold a block not yet copied */
    uint8_t refCount;           /* +1 per claim, -1 per release */
    uint8_t enabled;            /* non-zero: the bus may be claimed and read */
} MoltraxBusRecord;

#ifdef __cplusplus
}
#define MOLTRAX_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define MOLTRAX_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

#define MOLTRAX_PTR_PICK(off32, off64) (sizeof(void*) == 4 ? (off32) : (off64))

MOLTRAX_STATIC_ASSERT(sizeof(void*) == 4 || sizeof(void*) == 8, "32- or 64-bit pointers");
MOLTRAX_STATIC_ASSERT(offsetof(MoltraxBusNameEntry, index) == 0, "index");
MOLTRAX_STATIC_ASSERT(offsetof(MoltraxBusNameEntry, name) == 4, "name");
MOLTRAX_STATIC_ASSERT(offsetof(MoltraxBusNameEntry, channelCount) == 68, "channelCount");
MOLTRAX_STATIC_ASSERT(sizeof(MoltraxBusNameEntry) == 72, "bus name entry size");
MOLTRAX_STATIC_ASSERT(offsetof(MoltraxBusDirectory, entries) == 0, "entries");
MOLTRAX_STATIC_ASSERT(offsetof(MoltraxBusDirectory, count) == 1152, "count");
MOLTRAX_STATIC_ASSERT(sizeof(MoltraxBusDirectory) == 1156, "bus directory size");

MOLTRAX_STATIC_ASSERT(offsetof(MoltraxBusRecord, buffers) == 0x00000, "buffers");
MOLTRAX_STATIC_ASSERT(sizeof(((MoltraxBusRecord*)0)->buffers) == 6 * 65536, "buffers size");
MOLTRAX_STATIC_ASSERT(offsetof(MoltraxBusRecord, entry) == 0x60000, "entry");
MOLTRAX_STATIC_ASSERT(offsetof(MoltraxBusRecord, validFrames) == MOLTRAX_PTR_PICK(0x60004, 0x60008),
                      "validFrames");
MOLTRAX_STATIC_ASSERT(offsetof(MoltraxBusRecord, maxChannels) == MOLTRAX_PTR_PICK(0x60008, 0x6000C),
                      "maxChannels");
MOLTRAX_STATIC_ASSERT(offsetof(MoltraxBusRecord, requestedChannels) == MOLTRAX_PTR_PICK(0x60009, 0x6000D),
                      "requestedChannels");
MOLTRAX_STATIC_ASSERT(offsetof(MoltraxBusRecord, activeChannels) == MOLTRAX_PTR_PICK(0x6000A, 0x6000E),
                      "activeChannels");
MOLTRAX_STATIC_ASSERT(offsetof(MoltraxBusRecord, owner) == MOLTRAX_PTR_PICK(0x6000B, 0x6000F), "owner");
MOLTRAX_STATIC_ASSERT(offsetof(MoltraxBusRecord, ready) == MOLTRAX_PTR_PICK(0x6000C, 0x60010), "ready");
MOLTRAX_STATIC_ASSERT(offsetof(MoltraxBusRecord, refCount) == MOLTRAX_PTR_PICK(0x6000D, 0x60011), "refCount");
MOLTRAX_STATIC_ASSERT(offsetof(MoltraxBusRecord, enabled) == MOLTRAX_PTR_PICK(0x6000E, 0x60012), "enabled");
MOLTRAX_STATIC_ASSERT(sizeof(MoltraxBusRecord) >= MOLTRAX_PTR_PICK(0x6000F, 0x60013), "record size");

/* Entry points of the instrument, C calling convention. Windows exports them as
   "MoltraxConnect", "MoltraxDisconnect" and ordinals 4, 5, 6; Linux by the names
   given in the comments. */
#if defined(_WIN32) && !defined(_WIN64)
#define MOLTRAX_CDECL __cdecl
#else
#define MOLTRAX_CDECL
#endif
typedef int32_t(MOLTRAX_CDECL* MoltraxConnectFn)(void);
typedef void(MOLTRAX_CDECL* MoltraxDisconnectFn)(void);
typedef MoltraxBusRecord*(MOLTRAX_CDECL* MoltraxGetBusRecordFn)(
    int32_t busIndex);                                                       /* 4: MoltraxGetBusRecord */
typedef void(MOLTRAX_CDECL* MoltraxRenderFn)(int32_t sampleFrames);          /* 5: MoltraxRender */
typedef MoltraxBusDirectory*(MOLTRAX_CDECL* MoltraxGetBusDirectoryFn)(void); /* 6: MoltraxGetBusDirectory */

#define MOLTRAX_ORDINAL_GET_BUS_RECORD 4
#define MOLTRAX_ORDINAL_RENDER 5
#define MOLTRAX_ORDINAL_GET_BUS_DIRECTORY 6

#endif
