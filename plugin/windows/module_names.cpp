#include "plugin/module_name_check.h"

namespace MX {

const char* const kAcceptedModuleNames[] = {"druvo.dll", "druvo_x64.dll", nullptr};

}  // namespace MX
