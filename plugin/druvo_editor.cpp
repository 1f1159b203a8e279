#include "plugin/druvo_editor.h"

namespace MX {

DruvoEditor::DruvoEditor(AudioEffect* effect) noexcept : AEffGUIEditor(effect) {
    rect.top = 0;
    rect.left = 0;
    rect.bottom = 59;
    rect.right = 317;
}

bool DruvoEditor::open(void* parentWindow) {
    AEffGUIEditor::open(parentWindow);
    return true;
}

}  // namespace MX
