// Test doubles: a drawing context that records what reaches the backend, a
// backend whose pop-up answers are scripted, and a view that counts its draws.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/vstgui.h"

namespace MX::toolkit::testing {

struct DrawCall {
    enum Kind { Fill, Copy, Line, Text } kind;
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
    void strokeLine(const CPoint& from, const CPoint& to, const CColor& colour, const CRect& clip) override {
        calls.push_back({DrawCall::Line, CRect(from.x, from.y, to.x, to.y), clip, {}, nullptr, colour, {}});
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
    explicit RecordingPlatform(const CRect& size) : context(size) {}

    CDrawContext* beginDraw() override {
        ++draws;
        return &context;
    }
    void endDraw() override {}
    int popupMenu(const PopupMenuRequest& request) override {
        requests.push_back(request);
        return answer ? answer(request) : -1;
    }

    RecordingContext context;
    int draws = 0;
    std::vector<PopupMenuRequest> requests;
    std::function<int(const PopupMenuRequest&)> answer;
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
