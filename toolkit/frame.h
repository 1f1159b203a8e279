// The top view: the window (or surface) the editor's views live in. It holds
// the views attached to it, paints them over its background bitmap, redraws
// what was marked on idle(), routes mouse clicks and passes the controls'
// edit gestures to the editor. It is the EditorFrame the editor base drives.
// UI thread only, like the whole toolkit.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "toolkit/editor_frame.h"
#include "toolkit/view.h"

namespace MX::toolkit {

class Backend;
class CControl;
class PlatformFrame;
class VSTGUIEditorInterface;

class CFrame : public CView, public EditorFrame {
public:
    // Makes the frame's surface inside `systemWindow` with `backend`, or with
    // the default backend when none is given, `scale` device pixels per frame
    // pixel (views keep `size`'s coordinates). The frame starts marked for a
    // full redraw.
    CFrame(const CRect& size, void* systemWindow, VSTGUIEditorInterface* editor, Backend* backend = nullptr,
           double scale = 1.0);
    // Lets go of the surface (which ends an open pop-up), ends the edits
    // still open, then lets go of every attached view.
    ~CFrame() override;

    // Puts `view` on top of the others and takes over the caller's reference to
    // it; the view is marked for redraw. False for null or a view already in a frame.
    bool addView(CView* view);
    // Takes `view` out and marks its area for redraw. With `withForget` the
    // frame's reference is dropped; without, it passes back to the caller.
    bool removeView(CView* view, bool withForget = true);
    void removeAll(bool withForget = true);
    bool isChild(const CView* view) const;
    int getNbViews() const { return static_cast<int>(views_.size()); }
    CView* getView(int index) const;

    // Marks an area for redraw at the next idle().
    void invalidRect(const CRect& rect);

    // Redraws what was marked: everything when the frame itself is marked,
    // otherwise the areas of marked views and invalidated rectangles.
    void idle() override;
    void draw(CDrawContext* context) override;
    // Paints the background and every view that meets `updateRect`, in
    // order, clipped to it. Backends call this for their paint events.
    void drawRect(CDrawContext* context, const CRect& updateRect);

    // To the topmost view under `where`.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

    // A control's edit gesture, passed to the editor with the control's tag;
    // CControl::beginEdit/endEdit call these.
    void beginEdit(CControl& control);
    void endEdit(CControl& control);

    double getScale() const { return scale_; }
    // Redraws everything at `scale`, the window resized to match.
    void setScale(double scale);
    // The surface's size in device pixels.
    CRect getDeviceSize() const;
    // From the platform frame: its window now sits on a display of `scale`.
    void displayScaleChanged(double scale);

    VSTGUIEditorInterface* getEditor() const { return editor_; }
    PlatformFrame* getPlatformFrame() const { return platform_.get(); }

private:
    VSTGUIEditorInterface* editor_;
    double scale_;
    std::vector<CView*> views_;
    std::vector<CRect> invalid_;
    std::vector<CControl*> editing_;  // controls whose edit began here and is open
    std::unique_ptr<PlatformFrame> platform_;
};

}  // namespace MX::toolkit
