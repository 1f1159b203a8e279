#include "editor/editor_bitmaps.h"

#include "editorBitmaps.h"
#include "toolkit/resource_provider.h"

namespace MX::editor {

void provideEditorBitmaps() noexcept {
    static toolkit::EmbeddedResourceProvider embedded(editorBitmaps());
    if (!toolkit::resourceProvider()) toolkit::setResourceProvider(&embedded);
}

}  // namespace MX::editor
