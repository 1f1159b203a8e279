#include "tools/editor_snapshots/editor_picture.h"

#include <cairo.h>

#include <algorithm>

#include "editor/druvo_editor.h"
#include "editor/druvo_menu.h"
#include "toolkit/cairo/popup_list.h"
#include "toolkit/display_scale.h"
#include "toolkit/draw_context.h"
#include "toolkit/frame.h"
#include "toolkit/offscreen/offscreen_backend.h"

namespace druvo_pictures {

namespace {

using MX::toolkit::CRect;

constexpr MX::toolkit::CColor kBackdrop{32, 34, 36, 255};

MX::DruvoEditor& editorOf(MX::Druvo& effect) { return *static_cast<MX::DruvoEditor*>(effect.getEditor()); }

VstIntPtr dispatch(MX::Druvo& effect, VstInt32 opcode) {
    AEffect* e = effect.getAeffect();
    return e->dispatcher(e, opcode, 0, 0, nullptr, 0.0f);
}

}  // namespace

EditorPicture::EditorPicture(MX::Druvo& effect) : effect_(effect) {
    AEffect* e = effect.getAeffect();
    e->dispatcher(e, effEditOpen, 0, 0, nullptr, 0.0f);
}

EditorPicture::~EditorPicture() { dispatch(effect_, effEditClose); }

void EditorPicture::idle() { dispatch(effect_, effEditIdle); }

MX::toolkit::CFrame& EditorPicture::frame() const { return *editorOf(effect_).getCFrame(); }

const MX::toolkit::OffscreenSurface& EditorPicture::surface() const {
    return MX::toolkit::OffscreenFrame::of(frame())->surface();
}

bool EditorPicture::save(const std::string& path) const { return surface().savePng(path.c_str()); }

void EditorPicture::clickBusMenu() {
    const CRect menu = editorOf(effect_).busMenu()->getViewSize();
    MX::toolkit::CPoint where(menu.left + 20, menu.top + menu.height() / 2);
    frame().onMouseDown(where, MX::toolkit::kLButton);
}

bool EditorPicture::saveWithPopup(const std::string& path, const MX::toolkit::PopupMenuRequest& request,
                                  int highlighted) const {
    const double scale = surface().scale();
    const CRect window = surface().area();
    CRect list = MX::toolkit::popupListSize(request, scale);
    list.offset(request.anchor.left, request.anchor.bottom);
    MX::toolkit::OffscreenSurface picture(
        CRect(0, 0, std::max(window.right, list.right), std::max(window.bottom, list.bottom)), scale);
    if (!picture.valid()) return false;

    MX::toolkit::CDrawContext& context = picture.context();
    context.setFillColor(kBackdrop);
    context.fillRect(picture.area());
    // The window's pixels as they are, device pixel for device pixel.
    const CRect shown = surface().deviceArea();
    cairo_surface_flush(surface().cairoSurface());
    cairo_t* cr = cairo_create(picture.cairoSurface());
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, surface().cairoSurface(), shown.left, shown.top);
    cairo_rectangle(cr, shown.left, shown.top, shown.width(), shown.height());
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_mark_dirty(picture.cairoSurface());
    MX::toolkit::drawPopupList(context, list, request, highlighted);
    return picture.savePng(path.c_str());
}

}  // namespace druvo_pictures
