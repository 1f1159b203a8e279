// The VST entry point; druvo.def exports it as `main` (ordinal 4).
#include "plugin/druvo.h"

extern "C" AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback audioMaster) {
    return MX::createDruvo(audioMaster);
}
