// TWinControl: a window of the platform layer, the base of forms and of controls that own a
// window of their own (the scene, the licence text box).
//
// Windows here are plain objects, not components: whoever streams a form mixes the component
// in beside them. A window does not own its children; a child whose parent goes is left without
// one, for its owner to free.
//
// A form is a top-level window backed by an SDL window; a control is a child window: a
// rectangle of its parent's client area, drawn into the same SDL window. Every window has a
// handle (the object itself), its own update region in client coordinates, a cursor, and a
// window procedure that the message loop calls. The default procedure turns messages into the
// virtual handlers below, which subclasses override as the class library's controls do.
#pragma once

#include "platform/ui/Cursors.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Input.h"
#include "platform/ui/Messages.h"
#include "platform/ui/UpdateRegion.h"

#include <vector>

class TForm;

// Where a child window sits in its parent: docked to an edge, filling what the docked ones leave,
// or placed by its own bounds (alNone).
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

class TWinControl {
public:
    TWinControl();
    virtual ~TWinControl();
    TWinControl(const TWinControl&) = delete;
    TWinControl& operator=(const TWinControl&) = delete;

    // The window handle; asking for it creates the window when it does not exist yet.
    HWND Handle();
    bool HandleAllocated() const { return handleAllocated_; }

    TWinControl* Parent() const { return parent_; }
    // Makes this window a child of `parent` (nullptr: a window without a parent). Children are
    // stacked in the order they were added, the last on top.
    void SetParent(TWinControl* parent);
    const std::vector<TWinControl*>& Children() const { return children_; }
    // The form this window belongs to (itself for a form); nullptr outside any form.
    TForm* ParentForm() const;

    // Position relative to the parent's client area (the screen for a form) and size.
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    TRect ClientRect() const { return TRect{0, 0, width_, height_}; }
    // Client coordinates <-> screen coordinates.
    TPoint ClientToScreen(TPoint point) const;
    TPoint ScreenToClient(TPoint point) const;
    // Client coordinates of this window in its form's client area.
    TPoint OriginInForm() const;

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool value);
    // Visible, and every parent visible too.
    bool Showing() const;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value) { enabled_ = value; }

    TAlign Align() const { return align_; }
    // Lays the parent's aligned children out again.
    void SetAlign(TAlign value);
    // Places the children with an alignment: top, bottom, left and right ones in that order,
    // each in the order they were added and keeping its other extent, then the client ones in
    // what remains. Runs whenever this window is resized or a child's alignment changes.
    void AlignControls();
    // Whether the window takes the focus by the Tab key.
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value) { tabStop_ = value; }

    TCursor Cursor() const { return cursor_; }
    // Shown while the mouse is over the window and no other window holds the capture.
    void SetCursor(TCursor value);

    // While true (the default) a press takes the mouse capture until every button is up, so the
    // window keeps getting the moves of a drag that leaves it.
    bool CaptureMouseOnPress = true;

    // Adds the whole client area to the update region.
    void Invalidate();
    // Gives this window the keyboard focus within its form and activates the form.
    void SetFocus();
    bool Focused() const;

    // The window procedure: the default one dispatches to the handlers below.
    virtual void WndProc(TMessage& message);
    // Calls the window procedure at once with a message; answers its result.
    LRESULT Perform(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Answers messages no handler took: WM_PAINT validates the window.
    void DefaultHandler(TMessage& message);

protected:
    // Called when the handle is created, and when it is destroyed by DestroyHandle. A destructor
    // cannot reach a subclass's DestroyWnd, so a subclass that overrides it calls DestroyHandle
    // in its own destructor.
    virtual void CreateWnd() {}
    virtual void DestroyWnd() {}
    // Called for WM_PAINT; the update region is still there to read (GetUpdateRect and friends)
    // and is validated after Paint returns.
    virtual void Paint() {}
    virtual void MouseDown(TMouseButton, TShiftState, int /*x*/, int /*y*/) {}
    virtual void MouseMove(TShiftState, int /*x*/, int /*y*/) {}
    virtual void MouseUp(TMouseButton, TShiftState, int /*x*/, int /*y*/) {}
    // `mousePos` is in screen coordinates; true when handled.
    virtual bool DoMouseWheel(TShiftState, int /*wheelDelta*/, TPoint /*mousePos*/) {
        return false;
    }
    virtual void KeyDown(uint16_t& /*key*/, TShiftState) {}
    virtual void KeyUp(uint16_t& /*key*/, TShiftState) {}
    virtual void KeyPress(char16_t& /*key*/) {}
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    virtual void Resize() {}
    // The handle is being created for the first time.
    void CreateHandle();
    void DestroyHandle();

private:
    friend class TForm;
    friend class TWindowRegistry;
    friend bool GetUpdateRect(HWND, TRect*);
    friend bool InvalidateRect(HWND, const TRect*, bool);
    friend bool ValidateRect(HWND, const TRect*);
    friend std::vector<TRect> GetUpdateRects(HWND);

    void DispatchMouse(TMessage& message, bool down, TMouseButton button);

    TWinControl* parent_ = nullptr;
    std::vector<TWinControl*> children_;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    // Controls are visible unless hidden; forms start hidden (TForm's constructor).
    bool visible_ = true;
    bool enabled_ = true;
    bool handleAllocated_ = false;
    bool tabStop_ = false;
    bool aligning_ = false;
    TAlign align_ = alNone;
    TCursor cursor_ = crDefault;
    TUpdateRegion updateRegion_;
};

// A control with a window of its own that paints itself (the scene is one).
class TCustomControl : public TWinControl {};

// Adds `rect` (nullptr: the whole client area), clipped to the client area, to the window's
// update region, and the parts of its visible children that cover it to theirs (a parent is
// painted first and does not clip its children out); WM_PAINT follows from the loop. The erase
// flag is accepted and ignored: windows here paint their whole background themselves.
bool InvalidateRect(HWND hwnd, const TRect* rect, bool erase);
// Cuts `rect` (nullptr: everything) out of the update region.
bool ValidateRect(HWND hwnd, const TRect* rect);
// The bounding box of the update region; false (and an empty rectangle) when there is nothing.
bool GetUpdateRect(HWND hwnd, TRect* rect);
// The update region as disjoint rectangles.
std::vector<TRect> GetUpdateRects(HWND hwnd);

// Mouse capture: every mouse message goes to the capturing window, in its client coordinates,
// wherever the pointer is. SetCapture answers the previous holder.
HWND SetCapture(HWND hwnd);
bool ReleaseCapture();
HWND GetCapture();
// The pointer position in screen coordinates.
bool GetCursorPos(TPoint* point);
