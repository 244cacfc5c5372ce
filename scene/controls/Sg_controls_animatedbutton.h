// A button that shows only a picture and cross-fades between up to four bitmaps for hover and
// press (and a fifth while disabled), through the bitmap animations of its style's "image" part.
#pragma once

#include "scene/controls/Sg_controls_buttons.h"

class TsgBitmap;
class TsgBitmapAnimation;
class TsgImage;

class TsgAnimatedButton : public TsgButton {
    DBI_PERSISTENT(TsgAnimatedButton, TsgButton)

    explicit TsgAnimatedButton(TComponent* AOwner);
    ~TsgAnimatedButton() override;

    TsgBitmap* Bitmap() const { return FBitmap; }
    void SetBitmap(TsgBitmap* Value);
    TsgBitmap* BitmapHovered() const { return FBitmapHovered; }
    void SetBitmapHovered(TsgBitmap* Value);
    TsgBitmap* BitmapClicked() const { return FBitmapClicked; }
    void SetBitmapClicked(TsgBitmap* Value);
    TsgBitmap* BitmapClickedHovered() const { return FBitmapClickedHovered; }
    void SetBitmapClickedHovered(TsgBitmap* Value);
    TsgBitmap* BitmapDisabled() const { return FBitmapDisabled; }
    void SetBitmapDisabled(TsgBitmap* Value);

    void SetIsPressed(bool Value) override;
    // Toggle buttons only: press or release from code, with the press animation.
    void PressDown();
    void PressUp();

    void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;
    void RecalcEnabled() override;
    void Paint() override;
    void Loaded() override;

protected:
    void ApplyStyle() override;
    void FreeStyle() override;

private:
    void ShownBitmapChanged(TObject*);
    bool DesignTime();
    // The bitmap the image part shows in the present state.
    TsgBitmap* StateBitmap();
    void AssignAnimations();
    void Press(bool Down);

    TsgBitmap* FBitmap;
    TsgBitmap* FBitmapHovered;
    TsgBitmap* FBitmapClicked;
    TsgBitmap* FBitmapClickedHovered;
    TsgBitmap* FBitmapDisabled;
    TsgBitmapAnimation* FAnimHoverOn = nullptr;
    TsgBitmapAnimation* FAnimHoverOff = nullptr;
    TsgBitmapAnimation* FAnimClickOn = nullptr;
    TsgBitmapAnimation* FAnimClickOff = nullptr;
    TsgBitmapAnimation* FAnimPress = nullptr;
    TsgImage* FImage = nullptr;
    bool FWasPressed = false;
};
