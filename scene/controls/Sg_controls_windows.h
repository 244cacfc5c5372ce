// Windows drawn inside a scene and the button that paints a bitmap per state.
//
// TsgWindow is a captioned panel; closing and resizing are the work of the "close" (a
// TsgCloseButton) and "sizegrip" (a TsgSizeGrip) parts of its style, which the window only shows
// or hides. Its own area takes no pointer, so a press on it reaches what lies below (the scene
// drags its form there). TsgHudWindow pushes its fill, frame and caption bar into the parts of
// "hudwindowstyle"; TsgLayerWindow is the same window under another name.
//
// TsgBitmapStateButton draws itself: one of its four bitmaps, chosen by the press, the pointer
// and the enabled state.
#pragma once

#include "scene/controls/Sg_controls_buttons.h"

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_scene_brush.h"
#include "scene/core/Sg_scene_canvas.h"

enum TsgCloseAlign { sgButtonAlignLeft = 0, sgButtonAlignRight = 1 };

class TsgWindow : public TsgTextControl {
    DBI_PERSISTENT(TsgWindow, TsgTextControl)

    explicit TsgWindow(TComponent* AOwner);

    bool ShowCloseButton() const { return FShowCloseButton; }
    void SetShowCloseButton(bool Value);
    bool ShowSizeGrip() const { return FShowSizeGrip; }
    void SetShowSizeGrip(bool Value);
    // Assigned, it runs instead of closing the form, with the close button as sender.
    TNotifyEvent OnCloseClick;
    const TNotifyEvent& GetOnCloseClick() const { return OnCloseClick; }
    void SetOnCloseClick(const TNotifyEvent& V);

protected:
    void ApplyStyle() override;
    // Applies the present style again, when there is one.
    void Restyle();

private:
    bool FShowCloseButton = true;
    bool FShowSizeGrip = true;
};

class TsgHudWindow : public TsgWindow {
    DBI_PERSISTENT(TsgHudWindow, TsgWindow)

    explicit TsgHudWindow(TComponent* AOwner);
    ~TsgHudWindow() override;

    bool DisableShadowOnOSX() const { return FDisableShadowOnOSX; }
    void SetDisableShadowOnOSX(bool Value);
    TsgBrush* Fill() const { return FFill; }
    void SetFill(TsgBrush* Value) { FFill->Assign(Value); }
    TsgBrush* Stroke() const { return FStroke; }
    void SetStroke(TsgBrush* Value) { FStroke->Assign(Value); }
    float StrokeThickness() const { return FStrokeThickness; }
    void SetStrokeThickness(float Value);
    TsgStrokeCap StrokeCap() const { return FStrokeCap; }
    void SetStrokeCap(TsgStrokeCap Value);
    TsgStrokeDash StrokeDash() const { return FStrokeDash; }
    void SetStrokeDash(TsgStrokeDash Value);
    TsgStrokeJoin StrokeJoin() const { return FStrokeJoin; }
    void SetStrokeJoin(TsgStrokeJoin Value);
    TsgCloseAlign ButtonAlign() const { return FCloseAlign; }
    void SetButtonAlign(TsgCloseAlign Value);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool Value);

protected:
    void ApplyStyle() override;

private:
    void BrushChanged(TObject*);
    // A stored change shows at once, except while the window is read from a stream.
    void Changed();

    bool FDisableShadowOnOSX = true;
    TsgBrush* FFill;
    float FStrokeThickness = 1;
    TsgBrush* FStroke;
    TsgStrokeCap FStrokeCap = sgCapFlat;
    TsgStrokeDash FStrokeDash = sgDashSolid;
    TsgStrokeJoin FStrokeJoin = sgJoinMiter;
    TsgCloseAlign FCloseAlign = sgButtonAlignRight;
    bool FShowCaption = true;
};

class TsgLayerWindow : public TsgHudWindow {
    DBI_PERSISTENT(TsgLayerWindow, TsgHudWindow)
    using TsgHudWindow::TsgHudWindow;
};

class TsgBitmapStateButton : public TsgCustomButton {
    DBI_PERSISTENT(TsgBitmapStateButton, TsgCustomButton)

    explicit TsgBitmapStateButton(TComponent* AOwner);
    ~TsgBitmapStateButton() override;

    // The setters copy the given picture into the button's own bitmap.
    TsgBitmap* Bitmap() const { return FBitmap; }
    void SetBitmap(TsgBitmap* Value) { CopyInto(FBitmap, Value); }
    TsgBitmap* BitmapDown() const { return FBitmapDown; }
    void SetBitmapDown(TsgBitmap* Value) { CopyInto(FBitmapDown, Value); }
    TsgBitmap* BitmapHot() const { return FBitmapHot; }
    void SetBitmapHot(TsgBitmap* Value) { CopyInto(FBitmapHot, Value); }
    TsgBitmap* BitmapDisabled() const { return FBitmapDisabled; }
    void SetBitmapDisabled(TsgBitmap* Value) { CopyInto(FBitmapDisabled, Value); }

    // The bitmap the present state shows.
    TsgBitmap* StateBitmap();
    // Where StateBitmap is drawn, in local coordinates.
    TsgRect StateBitmapRect();

    void Paint() override;
    void MouseEnter() override;
    void MouseLeave() override;
    void StartTriggerAnimation(TsgObject* AInstance, const AnsiString& ATrigger) override;

private:
    void BitmapChanged(TObject*) { Repaint(); }
    static void CopyInto(TsgBitmap* Own, TsgBitmap* Value);

    TsgBitmap* FBitmap;
    TsgBitmap* FBitmapDown;
    TsgBitmap* FBitmapHot;
    TsgBitmap* FBitmapDisabled;
};

// Registers the windows, the angle button, the activity indicator and the state button by
// category; part of the controls unit's start-up.
void RegisterSgControlsWindows();
