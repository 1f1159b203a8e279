// The stand-in Moltrax, loaded by path before any effect exists, as a DAW
// that has the instrument open would have it. The plug-in's own load by bare
// name then finds this copy, and it stays loaded when the plug-in frees it,
// so its records and call counters can be read across connects.
// The host program's thread.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"
#include "tools/moltrax_standin/moltrax_standin.h"

namespace druvo_host {

class StandinModule {
public:
    // Null (with a reason in `error`) when the file does not load or lacks
    // its control entries. The module is never freed: the plug-in may still
    // hold records of it.
    static std::unique_ptr<StandinModule> load(const std::string& path, std::string* error = nullptr);

    MoltraxStandinControl& control() const { return *control_; }
    MoltraxBusRecord& record(int busIndex) const { return *control_->records[busIndex]; }
    const MoltraxStandinCalls& calls() const { return control_->calls; }
    // Back to the state at load: enabled, unowned six-channel buses, render mode 0.
    void reset() const { reset_(); }

private:
    StandinModule(MoltraxStandinControl* control, MoltraxStandinResetFn reset)
        : control_(control), reset_(reset) {}
    MoltraxStandinControl* control_;
    MoltraxStandinResetFn reset_;
};

}  // namespace druvo_host
