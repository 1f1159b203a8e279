#include "tools/editor_snapshots/editor_picture.h"

#include <algorithm>

#include "editor/druvo_editor.h"
#include "editor/druvo_menu.h"
#include "toolkit/bitmap.h"
#include "toolkit/cairo/popup_list.h"
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

// The frame's pixels as a bitmap, to copy into a larger picture.
MX::toolkit::CBitmap* snapshotOf(const MX::toolkit::OffscreenSurface& surface) {
    const CRect area = surface.area();
    MX::toolkit::PixelImage image{area.width(), area.height(), {}};
    image.pixels.reserve(static_cast<std::size_t>(area.width()) * area.height());
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) image.pixels.push_back(surface.pixel(x, y));
    }
    return new MX::toolkit::CBitmap(std::move(image));
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
    const CRect window = surface().area();
    CRect list = MX::toolkit::popupListSize(request);
    list.offset(request.anchor.left, request.anchor.bottom);
    MX::toolkit::OffscreenSurface picture(
        CRect(0, 0, std::max(window.right, list.right), std::max(window.bottom, list.bottom)));
    if (!picture.valid()) return false;

    MX::toolkit::CDrawContext& context = picture.context();
    context.setFillColor(kBackdrop);
    context.fillRect(picture.area());
    MX::toolkit::CBitmap* shot = snapshotOf(surface());
    shot->draw(&context, window);
    shot->forget();
    MX::toolkit::drawPopupList(context, list, request, highlighted);
    return picture.savePng(path.c_str());
}

}  // namespace druvo_pictures
