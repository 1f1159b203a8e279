#include "tools/host/standin_module.h"

namespace druvo_host {

std::unique_ptr<StandinModule> StandinModule::load(const std::string& path, std::string* error) {
    MX::platform::ModuleHandle module = MX::platform::loadModule(path.c_str());
    if (module == nullptr) {
        if (error) *error = "cannot load the stand-in " + path;
        return nullptr;
    }
    auto control =
        reinterpret_cast<MoltraxStandinControlFn>(MX::platform::findEntry(module, "MoltraxStandinControl"));
    auto reset =
        reinterpret_cast<MoltraxStandinResetFn>(MX::platform::findEntry(module, "MoltraxStandinReset"));
    if (control == nullptr || reset == nullptr || control() == nullptr) {
        if (error) *error = "the stand-in " + path + " lacks its control entries";
        return nullptr;
    }
    return std::unique_ptr<StandinModule>(new StandinModule(control(), reset));
}

}  // namespace druvo_host
