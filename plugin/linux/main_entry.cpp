// The VST entry point, exported as `main`: builds the effect with its editor.
// The C++ function cannot carry that name, so an assembler label gives it.
// Runs on the host's UI thread.
#include "editor/druvo_editor.h"
#include "plugin/druvo.h"

extern "C" [[gnu::visibility("default")]] AEffect* druvoMainEntry(audioMasterCallback audioMaster) __asm__(
    "main");

AEffect* druvoMainEntry(audioMasterCallback audioMaster) {
    return MX::createDruvo(audioMaster, MX::createDruvoEditor);
}
