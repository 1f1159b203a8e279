// The effect's editor: a 317 × 59 window. Until the GUI toolkit arrives it
// reports its rectangle and accepts the host's open and close without a window.
#pragma once

#include "plugin/sdk/aeffguieditor.h"

namespace MX {

class DruvoEditor : public AEffGUIEditor {
public:
    explicit DruvoEditor(AudioEffect* effect) noexcept;

    bool open(void* parentWindow) override;
    // The parent window stays recorded; there is no frame to destroy yet.
    void close() override {}
};

}  // namespace MX
