// VST 2.4 binary interface: the interface record, the callback types and the
// opcodes this plug-in answers or sends. Written from the published interface;
// every size and offset is checked below for 32- and 64-bit pointers.
// Any thread (types and constants).
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define VSTCALLBACK __cdecl
#else
#define VSTCALLBACK
#endif

using VstInt16 = std::int16_t;
using VstInt32 = std::int32_t;
using VstIntPtr = std::intptr_t;

struct AEffect;

using audioMasterCallback = VstIntPtr(VSTCALLBACK*)(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                                    VstIntPtr value, void* ptr, float opt);
using AEffectDispatcherProc = VstIntPtr(VSTCALLBACK*)(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                                      VstIntPtr value, void* ptr, float opt);
using AEffectProcessProc = void(VSTCALLBACK*)(AEffect* effect, float** inputs, float** outputs,
                                              VstInt32 sampleFrames);
using AEffectProcessDoubleProc = void(VSTCALLBACK*)(AEffect* effect, double** inputs, double** outputs,
                                                    VstInt32 sampleFrames);
using AEffectSetParameterProc = void(VSTCALLBACK*)(AEffect* effect, VstInt32 index, float parameter);
using AEffectGetParameterProc = float(VSTCALLBACK*)(AEffect* effect, VstInt32 index);

inline constexpr VstInt32 kEffectMagic = 0x56737450;  // 'VstP'

struct AEffect {
    VstInt32 magic;
    AEffectDispatcherProc dispatcher;
    AEffectProcessProc process;  // accumulating process, kept for old hosts
    AEffectSetParameterProc setParameter;
    AEffectGetParameterProc getParameter;
    VstInt32 numPrograms;
    VstInt32 numParams;
    VstInt32 numInputs;
    VstInt32 numOutputs;
    VstInt32 flags;
    VstIntPtr resvd1;
    VstIntPtr resvd2;
    VstInt32 initialDelay;
    VstInt32 realQualities;
    VstInt32 offQualities;
    float ioRatio;
    void* object;
    void* user;
    VstInt32 uniqueID;
    VstInt32 version;
    AEffectProcessProc processReplacing;
    AEffectProcessDoubleProc processDoubleReplacing;
    char future[56];
};

enum VstAEffectFlags : VstInt32 {
    effFlagsHasEditor = 1 << 0,
    effFlagsHasClip = 1 << 1,
    effFlagsHasVu = 1 << 2,
    effFlagsCanMono = 1 << 3,
    effFlagsCanReplacing = 1 << 4,
    effFlagsProgramChunks = 1 << 5,
    effFlagsIsSynth = 1 << 8,
    effFlagsNoSoundInStop = 1 << 9,
    effFlagsExtIsAsync = 1 << 10,
    effFlagsExtHasBuffer = 1 << 11,
    effFlagsCanDoubleReplacing = 1 << 12,
};

// Dispatcher opcodes, 0 to 79.
enum AEffectOpcodes : VstInt32 {
    effOpen = 0,
    effClose,
    effSetProgram,
    effGetProgram,
    effSetProgramName,
    effGetProgramName,
    effGetParamLabel,
    effGetParamDisplay,
    effGetParamName,
    effGetVu,
    effSetSampleRate,
    effSetBlockSize,
    effMainsChanged,
    effEditGetRect,
    effEditOpen,
    effEditClose,
    effEditDraw,
    effEditMouse,
    effEditKey,
    effEditIdle,
    effEditTop,
    effEditSleep,
    effIdentify,
    effGetChunk,
    effSetChunk,
    effProcessEvents,
    effCanBeAutomated,
    effString2Parameter,
    effGetNumProgramCategories,
    effGetProgramNameIndexed,
    effCopyProgram,
    effConnectInput,
    effConnectOutput,
    effGetInputProperties,
    effGetOutputProperties,
    effGetPlugCategory,
    effGetCurrentPosition,
    effGetDestinationBuffer,
    effOfflineNotify,
    effOfflinePrepare,
    effOfflineRun,
    effProcessVarIo,
    effSetSpeakerArrangement,
    effSetBlockSizeAndSampleRate,
    effSetBypass,
    effGetEffectName,
    effGetErrorText,
    effGetVendorString,
    effGetProductString,
    effGetVendorVersion,
    effVendorSpecific,
    effCanDo,
    effGetTailSize,
    effIdle,
    effGetIcon,
    effSetViewPosition,
    effGetParameterProperties,
    effKeysRequired,
    effGetVstVersion,
    effEditKeyDown,
    effEditKeyUp,
    effSetEditKnobMode,
    effGetMidiProgramName,
    effGetCurrentMidiProgram,
    effGetMidiProgramCategory,
    effHasMidiProgramsChanged,
    effGetMidiKeyName,
    effBeginSetProgram,
    effEndSetProgram,
    effGetSpeakerArrangement,
    effShellGetNextPlugin,
    effStartProcess,
    effStopProcess,
    effSetTotalSampleToProcess,
    effSetPanLaw,
    effBeginLoadBank,
    effBeginLoadProgram,
    effSetProcessPrecision,
    effGetNumMidiInputChannels,
    effGetNumMidiOutputChannels,
};

// Host callback opcodes this plug-in sends.
enum AudioMasterOpcodes : VstInt32 {
    audioMasterAutomate = 0,
    audioMasterVersion = 1,
    audioMasterIdle = 3,
    audioMasterSizeWindow = 15,  // index: width, value: height
    audioMasterBeginEdit = 43,
    audioMasterEndEdit = 44,
};

// PreSonus's public VST 2 extension: effVendorSpecific with these in index and
// value carries the host's display scale for the editor in opt.
inline constexpr VstInt32 kPreSonusVendor = 0x50726553;        // 'PreS'
inline constexpr VstIntPtr kContentScaleMessage = 0x41654373;  // 'AeCs'

enum VstPlugCategory : VstInt32 { kPlugCategUnknown = 0, kPlugCategEffect, kPlugCategSynth };

inline constexpr VstInt32 kVstMaxParamStrLen = 8;
inline constexpr VstInt32 kVstMaxProgNameLen = 24;
inline constexpr VstInt32 kVstMaxEffectNameLen = 32;
inline constexpr VstInt32 kVstMaxVendorStrLen = 64;
inline constexpr VstInt32 kVstMaxProductStrLen = 64;

// Editor rectangle.
struct ERect {
    VstInt16 top;
    VstInt16 left;
    VstInt16 bottom;
    VstInt16 right;
};

// Key event handed to the editor.
struct VstKeyCode {
    VstInt32 character;
    unsigned char virt;
    unsigned char modifier;
};

struct VstSpeakerProperties {
    float azimuth;
    float elevation;
    float radius;
    float reserved;
    char name[64];
    VstInt32 type;
    char future[28];
};

// Speaker arrangement: an 8-byte head and one VstSpeakerProperties per channel.
// The declared array holds 8; arrangements are allocated for their real count.
struct VstSpeakerArrangement {
    VstInt32 type;
    VstInt32 numChannels;
    VstSpeakerProperties speakers[8];
};

inline constexpr VstInt32 kSpeakerArr51 = 15;

// ---- Layout checks ------------------------------------------------------------
namespace vst_layout {
inline constexpr std::size_t P = sizeof(void*);
static_assert(P == 4 || P == 8);
inline constexpr std::size_t pick(std::size_t off32, std::size_t off64) { return P == 4 ? off32 : off64; }
}  // namespace vst_layout

static_assert(offsetof(AEffect, magic) == 0);
static_assert(offsetof(AEffect, dispatcher) == vst_layout::pick(4, 8));
static_assert(offsetof(AEffect, process) == vst_layout::pick(8, 16));
static_assert(offsetof(AEffect, setParameter) == vst_layout::pick(12, 24));
static_assert(offsetof(AEffect, getParameter) == vst_layout::pick(16, 32));
static_assert(offsetof(AEffect, numPrograms) == vst_layout::pick(20, 40));
static_assert(offsetof(AEffect, numParams) == vst_layout::pick(24, 44));
static_assert(offsetof(AEffect, numInputs) == vst_layout::pick(28, 48));
static_assert(offsetof(AEffect, numOutputs) == vst_layout::pick(32, 52));
static_assert(offsetof(AEffect, flags) == vst_layout::pick(36, 56));
static_assert(offsetof(AEffect, resvd1) == vst_layout::pick(40, 64));
static_assert(offsetof(AEffect, resvd2) == vst_layout::pick(44, 72));
static_assert(offsetof(AEffect, initialDelay) == vst_layout::pick(48, 80));
static_assert(offsetof(AEffect, realQualities) == vst_layout::pick(52, 84));
static_assert(offsetof(AEffect, offQualities) == vst_layout::pick(56, 88));
static_assert(offsetof(AEffect, ioRatio) == vst_layout::pick(60, 92));
static_assert(offsetof(AEffect, object) == vst_layout::pick(64, 96));
static_assert(offsetof(AEffect, user) == vst_layout::pick(68, 104));
static_assert(offsetof(AEffect, uniqueID) == vst_layout::pick(72, 112));
static_assert(offsetof(AEffect, version) == vst_layout::pick(76, 116));
static_assert(offsetof(AEffect, processReplacing) == vst_layout::pick(80, 120));
static_assert(offsetof(AEffect, processDoubleReplacing) == vst_layout::pick(84, 128));
static_assert(offsetof(AEffect, future) == vst_layout::pick(88, 136));
static_assert(sizeof(AEffect) == vst_layout::pick(144, 192));

static_assert(sizeof(ERect) == 8);
static_assert(offsetof(ERect, top) == 0 && offsetof(ERect, left) == 2);
static_assert(offsetof(ERect, bottom) == 4 && offsetof(ERect, right) == 6);

static_assert(sizeof(VstKeyCode) == 8);
static_assert(offsetof(VstKeyCode, character) == 0);
static_assert(offsetof(VstKeyCode, virt) == 4 && offsetof(VstKeyCode, modifier) == 5);

static_assert(sizeof(VstSpeakerProperties) == 112);
static_assert(offsetof(VstSpeakerProperties, azimuth) == 0);
static_assert(offsetof(VstSpeakerProperties, elevation) == 4);
static_assert(offsetof(VstSpeakerProperties, radius) == 8);
static_assert(offsetof(VstSpeakerProperties, reserved) == 12);
static_assert(offsetof(VstSpeakerProperties, name) == 16);
static_assert(offsetof(VstSpeakerProperties, type) == 80);
static_assert(offsetof(VstSpeakerProperties, future) == 84);

static_assert(offsetof(VstSpeakerArrangement, type) == 0);
static_assert(offsetof(VstSpeakerArrangement, numChannels) == 4);
static_assert(offsetof(VstSpeakerArrangement, speakers) == 8);
static_assert(sizeof(VstSpeakerArrangement) == 8 + 8 * 112);
