// Test doubles: a drawing context that records what reaches the backend, a
// backend whose pop-up answers are scripted, and a view that counts its draws.
// The test's thread, as the toolkit's UI thread.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/vstgui.h"

namespace MX::toolkit::testing {

struct DrawCall {
    enum Kind { Fill, Copy, Text } kind;
    CRect area;  // filled or copied pixels; the text rectangle
    CRect clip;
    CPoint source;
    const CBitmap* bitmap = nullptr;
    CColor colour;
    std::string text;
};

class RecordingContext final : public CDrawContext {
public:
    explicit RecordingContext(const CRect& surface) : CDrawContext(surface) {}
    std::vector<DrawCall> calls;

protected:
    void fillPixels(const CRect& area, const CColor& colour) override {
        calls.push_back({DrawCall::Fill, area, area, {}, nullptr, colour, {}});
    }
    void copyPixels(const CBitmap& bitmap, const CRect& area, const CPoint& source) override {
        calls.push_back({DrawCall::Copy, area, area, source, &bitmap, {}, {}});
    }
    void showText(const char* text, const CRect& rect, CHoriTxtAlign, const CFontDesc&, const CColor& colour,
                  const CRect& clip) override {
        calls.push_back({DrawCall::Text, rect, clip, {}, nullptr, colour, text});
    }
    CCoord measureText(const char* text, const CFontDesc&) override {
        return 6 * static_cast<CCoord>(std::string(text).size());
    }
};

class RecordingPlatform final : public PlatformFrame {
public:
    // An answer that leaves the pop-up open, as the X11 list stays open
    // across idle calls, until closePopup() or the platform frame goes.
    static constexpr int kKeepOpen = -2;

    explicit RecordingPlatform(const CRect& size) : context(size) {}
    ~RecordingPlatform() override { closePopup(-1); }

    CDrawContext* beginDraw() override {
        ++draws;
        return &context;
    }
    void endDraw() override {}
    void popupMenu(const PopupMenuRequest& request, PopupMenuDone done) override {
        requests.push_back(request);
        const int chosen = answer ? answer(request) : -1;
        if (chosen == kKeepOpen) {
            openPopup = std::move(done);
        } else {
            done(chosen);
        }
    }
    void closePopup(int chosen) {
        if (PopupMenuDone done = std::exchange(openPopup, {})) done(chosen);
    }

    RecordingContext context;
    int draws = 0;
    std::vector<PopupMenuRequest> requests;
    std::function<int(const PopupMenuRequest&)> answer;
    PopupMenuDone openPopup;
};

class RecordingBackend final : public Backend {
public:
    std::unique_ptr<PlatformFrame> createFrame(CFrame& frame, void*) override {
        auto platform = std::make_unique<RecordingPlatform>(frame.getViewSize());
        last = platform.get();
        return platform;
    }
    RecordingPlatform* last = nullptr;
};

class ProbeView : public CView {
public:
    explicit ProbeView(const CRect& size, int* destroyed = nullptr) : CView(size), destroyed_(destroyed) {}
    ~ProbeView() override {
        if (destroyed_) ++*destroyed_;
    }
    void draw(CDrawContext* context) override {
        ++draws;
        CView::draw(context);
    }
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState&) override {
        clicks.push_back(where);
        return kMouseEventHandled;
    }

    int draws = 0;
    std::vector<CPoint> clicks;

private:
    int* destroyed_;
};

}  // namespace MX::toolkit::testing
