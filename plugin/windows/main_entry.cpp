// The VST entry point; druvo.def exports it as `main` (ordinal 4). Builds the
// effect with its editor, on the host's UI thread.
#include "editor/druvo_editor.h"
#include "plugin/druvo.h"

extern "C" AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback audioMaster) {
    return MX::createDruvo(audioMaster, MX::createDruvoEditor);
}
