// Where this build put the plug-in and the stand-in instrument, for programs
// that are not told a path.
// Any thread.
#pragma once

namespace druvo_host {

const char* builtPluginPath();
const char* builtStandinPath();

}  // namespace druvo_host
