// The parameter and the programs of the effect: both are views of the bus
// selection, 0 (off) or bus 1 to 16. Every path keeps the selection in that
// range, so the instrument is only ever asked for bus indices 0 to 15.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "plugin/druvo.h"
#include "plugin/host_text.h"
#include "plugin/sdk/aeffguieditor.h"

namespace MX {

namespace {

constexpr float kStep = 0.0625f;
// The single-precision 0.0001, widened: it lifts n/16 safely above n.
constexpr double kRounding = static_cast<double>(0.0001f);

// value × 16 + 0.0001, truncated; values outside 0..1 are clamped.
std::int32_t selectionFromValue(float value) noexcept {
    const double scaled = static_cast<double>(value) * 16.0 + kRounding;
    if (!(scaled > 0.0)) return 0;
    if (scaled >= Druvo::kMaxSelection) return Druvo::kMaxSelection;
    return static_cast<std::int32_t>(scaled);
}

void writeProgramName(std::int32_t program, char* text) noexcept {
    if (program >= 1 && program <= Druvo::kMaxSelection)
        std::snprintf(text, host_text::kProgramNameBytes, "Moltrax Bus %d", program);
    else
        std::snprintf(text, host_text::kProgramNameBytes, " <Not Connected>");
}

}  // namespace

void Druvo::setParameter(VstInt32 index, float value) {
    // NaN names no selection: the call changes nothing.
    if (std::isnan(value)) return;
    // A value naming the bus already selected keeps its claim: automation
    // ramps repeat it every cycle.
    connection_.select(selectionFromValue(value));
    if (editor) static_cast<AEffGUIEditor*>(editor)->setParameter(index, value);
}

float Druvo::getParameter(VstInt32 /*index*/) { return static_cast<float>(busSelection()) * kStep; }

VstInt32 Druvo::getProgram() { return busSelection(); }

void Druvo::setProgram(VstInt32 program) {
    // A number outside 0..16 is no program (the dispatcher lets negative ones through).
    if (program < 0 || program > kMaxSelection) return;
    connection_.select(program);
}

void Druvo::getProgramName(char* name) {
    if (name) writeProgramName(busSelection(), name);
}

bool Druvo::getProgramNameIndexed(VstInt32 /*category*/, VstInt32 index, char* text) {
    if (!text || index < 0 || index >= kNumPrograms) return false;
    writeProgramName(index, text);
    return true;
}

void Druvo::getParameterLabel(VstInt32 /*index*/, char* label) {
    if (label) label[0] = '\0';
}

void Druvo::getParameterDisplay(VstInt32 /*index*/, char* text) {
    if (!text) return;
    const std::int32_t selection = busSelection();
    if (selection == 0)
        std::snprintf(text, host_text::kParameterTextBytes, "Off");
    else
        std::snprintf(text, host_text::kParameterTextBytes, "%.2d", selection);
}

void Druvo::getParameterName(VstInt32 /*index*/, char* text) {
    if (text) std::snprintf(text, host_text::kParameterNameBytes, "Bus Selection");
}

// Typed-in selection: the leading decimal number, 0 when there is none. Like
// the parameter, a changed selection releases the claimed bus, so the bus
// shown is the bus that plays; the editor sees it at its next idle.
bool Druvo::string2parameter(VstInt32 /*index*/, char* text) {
    if (!text) return false;
    const long number = std::strtol(text, nullptr, 10);
    if (number < 0 || number > kMaxSelection) return false;
    connection_.select(static_cast<std::int32_t>(number));
    return true;
}

}  // namespace MX
