#include "plugin/module_name_check.h"

namespace MX {

const char* const kAcceptedModuleNames[] = {"druvo.so", nullptr};

}  // namespace MX
