// The VST entry point, exported as `main`. The C++ function cannot carry that
// name, so an assembler label gives it.
#include "plugin/druvo.h"

extern "C" [[gnu::visibility("default")]] AEffect* druvoMainEntry(audioMasterCallback audioMaster)
    __asm__("main");

AEffect* druvoMainEntry(audioMasterCallback audioMaster) { return MX::createDruvo(audioMaster); }
