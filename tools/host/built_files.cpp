#include "tools/host/built_files.h"

namespace druvo_host {

const char* builtPluginPath() { return DRUVO_BUILT_PLUGIN; }
const char* builtStandinPath() { return DRUVO_BUILT_STANDIN; }

}  // namespace druvo_host
