#include "editor/editor_bitmaps.h"

#include "editor/platform_backend.h"
#include "toolkit/resource_provider.h"

namespace MX::editor {

void provideEditorBitmaps() noexcept {
    if (!toolkit::resourceProvider()) toolkit::setResourceProvider(toolkit::platformResourceProvider());
}

}  // namespace MX::editor
