// What the window tests draw and look for: the editor's layout, a recorder
// of edit gestures and picks, a toolkit frame's views built like the
// editor's window, and pixels compared against a bitmap. Test thread only.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "toolkit/pixel_image.h"
#include "toolkit/vstgui.h"

namespace window_test {

inline constexpr MX::toolkit::CRect kMenuRect(171, 40, 312, 55);
inline constexpr MX::toolkit::CRect kLightRect(303, 6, 310, 13);
inline constexpr MX::toolkit::CRect kDisplayRect(0, 0, 56, 59);

// The editor's side: edit gestures and picks, in order.
struct Recorder : MX::toolkit::VSTGUIEditorInterface, MX::toolkit::CControlListener {
    void beginEdit(std::int32_t index) override { calls.push_back("begin " + std::to_string(index)); }
    void endEdit(std::int32_t index) override { calls.push_back("end " + std::to_string(index)); }
    void valueChanged(MX::toolkit::CControl* control) override {
        calls.push_back("value " + std::to_string(static_cast<int>(control->getValue())));
    }
    std::vector<std::string> calls;
};

struct EditorViews {
    MX::toolkit::COptionMenu* menu;
    MX::toolkit::CAutoAnimation* light;
};

// Like the editor's window: background, the bus menu on item 1, the light red.
inline EditorViews addEditorViews(MX::toolkit::CFrame& frame, Recorder& recorder) {
    using namespace MX::toolkit;
    auto* background = new CBitmap(101);
    frame.setBackground(background);
    background->forget();
    auto* face = new CBitmap(116);
    auto* menu = new COptionMenu(kMenuRect, &recorder, 0, face);
    face->forget();
    char title[64];
    for (int i = 0; i <= 16; ++i) {
        std::snprintf(title, sizeof title, "%.2d: Output Bus %d (2.0)", i, i);
        menu->addEntry(title);
    }
    menu->setCurrent(1);
    frame.addView(menu);
    auto* strip = new CBitmap(110);
    auto* light = new CAutoAnimation(kLightRect, nullptr, 0, 3, 7, strip);
    strip->forget();
    light->setValue(7.01f);  // red
    light->openWindow();
    frame.addView(light);
    return {menu, light};
}

// The first pixel of `rect`, read by `pixelAt(x, y)`, that differs from
// `bitmap` from `source` on, as "at x,y"; empty when all match.
template <typename PixelAt>
std::string pixelMismatch(PixelAt pixelAt, const MX::toolkit::CRect& rect,
                          const MX::toolkit::PixelImage& bitmap, const MX::toolkit::CPoint& source) {
    for (int y = 0; y < rect.height(); ++y) {
        for (int x = 0; x < rect.width(); ++x) {
            if (pixelAt(rect.left + x, rect.top + y) !=
                MX::toolkit::fromPixel(bitmap.at(source.x + x, source.y + y) | 0xFF000000u)) {
                return "at " + std::to_string(rect.left + x) + "," + std::to_string(rect.top + y);
            }
        }
    }
    return {};
}

}  // namespace window_test
