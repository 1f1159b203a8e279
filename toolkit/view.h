// The base of everything shown in a frame: a rectangle in frame coordinates,
// a redraw mark, an optional background bitmap and the frame it is attached
// to. Views are reference counted; the frame holds the views attached to it.
// UI thread.
#pragma once

#include <cstdint>

#include "toolkit/geometry.h"
#include "toolkit/reference_counter.h"

namespace MX::toolkit {

class CBitmap;
class CDrawContext;
class CFrame;

using CButtonState = std::int32_t;
enum CButton : CButtonState {
    kLButton = 1 << 0,
    kMButton = 1 << 1,
    kRButton = 1 << 2,
    kShift = 1 << 3,
    kControl = 1 << 4,
    kAlt = 1 << 5,
};

enum CMouseEventResult {
    kMouseEventNotImplemented = 0,
    kMouseEventHandled,
    kMouseEventNotHandled,
    kMouseDownEventHandledButDontNeedMovedOrUpEvents,
};

class CView : public CReferenceCounter {
public:
    explicit CView(const CRect& size);
    ~CView() override;

    // Draws the background bitmap over the view and clears the redraw mark.
    virtual void draw(CDrawContext* context);
    virtual CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons);

    // A marked view is redrawn by the frame's next idle().
    virtual void setDirty(bool dirty = true) { dirty_ = dirty; }
    virtual bool isDirty() const { return dirty_; }

    const CRect& getViewSize() const { return size_; }
    CRect& getViewSize(CRect& rect) const { return rect = size_; }
    virtual void setViewSize(const CRect& rect);

    // Holds `bitmap` (one more reference) and lets go of the previous one.
    virtual void setBackground(CBitmap* bitmap);
    CBitmap* getBackground() const { return background_; }

    bool isAttached() const { return frame_ != nullptr; }
    CFrame* getFrame() const { return frame_; }
    // Called by the frame as the view enters and leaves it.
    virtual bool attached(CFrame* frame);
    virtual bool removed(CFrame* frame);

private:
    CRect size_;
    bool dirty_ = false;
    CBitmap* background_ = nullptr;
    CFrame* frame_ = nullptr;
};

}  // namespace MX::toolkit
