// A view with a value that the user can change: it reports changes to its
// listener and the start and end of a user's edit to the frame's editor.
// UI thread.
#pragma once

#include <cstdint>

#include "toolkit/view.h"

namespace MX::toolkit {

class CControl;

class CControlListener {
public:
    virtual ~CControlListener() = default;
    virtual void valueChanged(CControl* control) = 0;
};

class CControl : public CView {
public:
    // Holds `background` when given.
    CControl(const CRect& size, CControlListener* listener = nullptr, std::int32_t tag = 0,
             CBitmap* background = nullptr);
    // Ends an edit still open.
    ~CControl() override;

    // The value is stored as given, never clamped.
    virtual void setValue(float value) { value_ = value; }
    virtual float getValue() const { return value_; }

    void setListener(CControlListener* listener) { listener_ = listener; }
    CControlListener* getListener() const { return listener_; }
    void setTag(std::int32_t tag) { tag_ = tag; }
    std::int32_t getTag() const { return tag_; }
    // Where in the background bitmap drawing starts.
    const CPoint& getBackOffset() const { return backOffset_; }

    // Tell the frame's editor that the user starts / ends changing this
    // control's parameter (its tag). An edit begins only in a frame and only
    // once; it ends at that frame even when the control has left it since,
    // and the frame ends it itself if it goes first, so the editor gets one
    // end for every begin.
    virtual void beginEdit();
    virtual void endEdit();
    bool isEditing() const { return editFrame_ != nullptr; }

private:
    friend class CFrame;  // forgets editFrame_ when it ends the edit itself

    CControlListener* listener_;
    std::int32_t tag_;
    float value_ = 0.0f;
    CPoint backOffset_;
    CFrame* editFrame_ = nullptr;  // where the open edit began
};

}  // namespace MX::toolkit
