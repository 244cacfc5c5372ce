// TsgScrollBox: the scrollable container of the toolkit, base of the list box, memo and tree view.
//
// Like every control it draws nothing: its style supplies a viewport part "content", two scroll
// bars and a size grip. The scrolled children live in a TsgScrollContent the box makes for
// itself; the box moves that object under the viewport as the bars change. Subclasses say how
// large the scrolled area is (GetContentBounds) and may paint behind the children
// (ContentPaint). Scrolling comes from the bars, the wheel, code (ScrollTo, Centre) and, with
// MouseTracking, from dragging the content with a fling at release; wheel and fling move the
// bars through short animations when Animated is on.
#pragma once

#include "scene/controls/Sg_controls.h"
#include "scene/controls/Sg_controls_rangebars.h"
#include "scene/core/Sg_scene_background.h"

#include <cstdint>

class TsgFloatAnimation;
class TsgScrollBox;

// The carrier of the scrolled children: it clips them to the viewport and hides the ones
// scrolled away from the mouse.
class TsgScrollContent : public TsgContent {
    DBI_PERSISTENT(TsgScrollContent, TsgContent)

    explicit TsgScrollContent(TComponent* AOwner);

    bool IsScrollContent() const override { return true; }
    // The visible window in the content's own coordinates.
    TsgRect GetClipRect() override;
    TsgVisualObject* ObjectByPoint(float X, float Y) override;
    void Paint() override;
    // The box decides which children to paint and whether they take their styles with it.
    void PaintChildren() override;
    void ApplyResource() override;

protected:
    // A child that comes or goes changes the scrolled area: the box lays its bars out again,
    // as it does when a child changes size.
    void ChildAdded(TsgObject* AObject) override;
    void ChildRemoved(TsgObject* AObject) override;

private:
    TsgScrollBox* Box() const;
};

class TsgScrollBox : public TsgControl {
    DBI_PERSISTENT(TsgScrollBox, TsgControl)

    explicit TsgScrollBox(TComponent* AOwner);
    ~TsgScrollBox() override;

    void AddObject(TsgObject* AObject) override;
    void Realign() override;

    // Positive deltas move the content towards the bottom right.
    void ScrollTo(float Dx, float Dy);
    void Centre();
    // Calls nest; the outermost EndUpdate realigns once.
    virtual void BeginUpdate();
    virtual void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    TsgScrollBar* HScrollBar() const { return FHScrollBar; }
    TsgScrollBar* VScrollBar() const { return FVScrollBar; }
    TsgScrollContent* Content() const { return FContent; }
    TsgVisualObject* ContentLayout() const { return FContentLayout; }
    // The bars' values at their last change.
    TsgPoint ScrollPosition() const { return FScrollPosition; }

    bool AutoHide() const { return FAutoHide; }
    void SetAutoHide(bool Value) { FAutoHide = Value; }
    bool Animated() const { return FAnimated; }
    void SetAnimated(bool Value) { FAnimated = Value; }
    bool DisableMouseWheel() const { return FDisableMouseWheel; }
    void SetDisableMouseWheel(bool Value) { FDisableMouseWheel = Value; }
    bool MouseTracking() const { return FMouseTracking; }
    void SetMouseTracking(bool Value) { FMouseTracking = Value; }
    bool ShowScrollBars() const { return FShowScrollBars; }
    void SetShowScrollBars(bool Value);
    bool ShowHScrollBar() const { return FShowHScrollBar; }
    void SetShowHScrollBar(bool Value);
    bool ShowVScrollBar() const { return FShowVScrollBar; }
    void SetShowVScrollBar(bool Value);
    float AniDuration() const { return FAniDuration; }
    void SetAniDuration(float Value);
    bool ShowSizeGrip() const { return FShowSizeGrip; }
    void SetShowSizeGrip(bool Value);
    bool UseSmallScrollBars() const { return FUseSmallScrollBars; }
    void SetUseSmallScrollBars(bool Value);
    const TNotifyEvent& GetOnScrollChange() const { return FOnScrollChange; }
    void SetOnScrollChange(const TNotifyEvent& Value) { FOnScrollChange = Value; }

    void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void MouseMove(TShiftState Shift, float X, float Y, float Dx, float Dy) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void MouseWheel(TShiftState Shift, int WheelDelta, bool& Handled) override;

    virtual void HScrollChange(TObject* Sender);
    virtual void VScrollChange(TObject* Sender);
    // The scrolled area in the content's coordinates; never smaller than the viewport.
    virtual TsgRect GetContentBounds();
    // Paints behind the scrolled children, clipped to the viewport.
    virtual void ContentPaint(TsgCanvas* Canvas, const TsgRect& ARect);
    // Paints the scrolled children; all of them unless a subclass knows which are visible.
    virtual void PaintContentChildren(TsgScrollContent* AContent);
    // The content children that can show in the viewport, when the box knows them without a
    // walk over all of them; painting and hit testing look at no others.
    virtual bool ShownContentRange(int&, int&) { return false; }
    // Whether the scrolled children are styled together with the box; false where they are
    // many and each styles itself on its first paint.
    virtual bool StylesContentWithBox() const { return true; }
    virtual void RealignContent(const TsgRect& R);

    // The running scroll animations, nullptr before the first wheel or fling.
    TsgFloatAnimation* HScrollAni() const { return FHScrollAni; }
    TsgFloatAnimation* VScrollAni() const { return FVScrollAni; }

protected:
    void ApplyStyle() override;
    void FreeStyle() override;
    // Where the hidden bars are parked: outside the box, beyond its right and bottom edges.
    static constexpr float HiddenBarOffset = 100;

private:
    void BarPass();
    void TakeBar(TsgObject* APart, TsgScrollBar*& ABar, bool Vertical);
    void ShowBar(TsgScrollBar* Bar, bool Enabled, bool Shown);
    TsgFloatAnimation* ScrollAni(TsgScrollBar* Bar, TsgFloatAnimation*& Ani);
    void AnimateBar(TsgScrollBar* Bar, TsgFloatAnimation*& Ani, float Target);
    void StopAni(TsgFloatAnimation* Ani);

    bool FAutoHide = true;
    bool FDisableMouseWheel = false;
    bool FTrackingPressed = false;
    TsgFloatAnimation* FHScrollAni = nullptr;
    TsgFloatAnimation* FVScrollAni = nullptr;
    bool FAnimated = true;
    bool FShowScrollBars = true;
    bool FShowHScrollBar = true;
    bool FShowVScrollBar = true;
    float FAniDuration = 0.7f;
    uint32_t FLastTrackTick = 0;
    bool FShowSizeGrip = false;
    bool FMouseTracking = false;
    bool FUseSmallScrollBars = false;
    TNotifyEvent FOnScrollChange;
    TsgPoint FScrollPosition{};
    int FUpdateCount = 0;
    TsgScrollContent* FContent = nullptr;
    TsgScrollBar* FHScrollBar = nullptr;
    TsgScrollBar* FVScrollBar = nullptr;
    TsgVisualObject* FContentLayout = nullptr;
    TsgPoint FDownPoint{};
    TsgPoint FLastDelta{};
    TsgPoint FTrackPoint{};
    bool FRealigningBars = false;
};

// Scrolls vertically only: its content always has the viewport's width.
class TsgVertScrollBox : public TsgScrollBox {
    DBI_PERSISTENT(TsgVertScrollBox, TsgScrollBox)

    explicit TsgVertScrollBox(TComponent* AOwner);
    TsgRect GetContentBounds() override;
};

class TsgFramedScrollBox : public TsgScrollBox {
    DBI_PERSISTENT(TsgFramedScrollBox, TsgScrollBox)

    explicit TsgFramedScrollBox(TComponent* AOwner) : TsgScrollBox(AOwner) {}
};

class TsgFramedVertScrollBox : public TsgVertScrollBox {
    DBI_PERSISTENT(TsgFramedVertScrollBox, TsgVertScrollBox)

    explicit TsgFramedVertScrollBox(TComponent* AOwner);
};

// Registers the scroll boxes under "Controls".
void RegisterSgScrollBoxUnit();
