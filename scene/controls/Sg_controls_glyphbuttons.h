// Push buttons with a glyph beside the caption: TsgBitmapButton shows a bitmap (and can
// highlight its caption and frame with two colour animations), TsgPathButton a vector path with
// its own fill and stroke; the tool buttons are their tool-bar flavours.
//
// A glyph is laid out by the ordinary alignment of its style part: the button only sets the
// part's Align, its width or height and its Padding.
#pragma once

#include "scene/controls/Sg_controls_buttons.h"

#include "scene/core/Sg_scene_brush.h"

class TsgBitmap;
class TsgBitmapAnimation;
class TsgColorAnimation;
class TsgPathData;

enum TsgButtonLayout { sgGlyphLeft, sgGlyphRight, sgGlyphTop, sgGlyphBottom, sgGlyphCenter };

// The names TsgButtonLayout values are streamed with.
std::vector<AnsiString> SgButtonLayoutNames();

// Places a glyph part by Layout with size Size, padding Padding and spacing Spacing. The bitmap
// button adds the spacing to the padding on the caption side (AddSpacing); the path button puts
// the spacing alone there, and on all four sides when centred.
void sgPlaceGlyph(TsgVisualObject* Part, TsgButtonLayout Layout, float Size, float Padding,
                  float Spacing, bool AddSpacing);

// A bitmap counts as empty when it is one pixel wide or high.
bool sgBitmapIsEmpty(const TsgBitmap* Bitmap);

class TsgBitmapButton : public TsgCustomButton {
    DBI_PERSISTENT(TsgBitmapButton, TsgCustomButton)

    explicit TsgBitmapButton(TComponent* AOwner);
    ~TsgBitmapButton() override;

    TsgBitmap* Bitmap() const { return FBitmap; }
    void SetBitmap(TsgBitmap* Value);
    TsgBitmap* BitmapPressed() const { return FBitmapPressed; }
    void SetBitmapPressed(TsgBitmap* Value);
    TsgButtonLayout BitmapLayout() const { return FBitmapLayout; }
    void SetBitmapLayout(TsgButtonLayout Value);
    float BitmapSpacing() const { return FBitmapSpacing; }
    void SetBitmapSpacing(float Value);
    float BitmapSize() const { return FBitmapSize; }
    void SetBitmapSize(float Value);
    float BitmapPadding() const { return FBitmapPadding; }
    void SetBitmapPadding(float Value);
    bool IsHighlighted() const { return FIsHighlighted; }
    void SetIsHighlighted(bool Value);
    TsgColorAnimation* AnimFontColor() const { return FAnimFontColor; }
    TsgColorAnimation* AnimStrokeColor() const { return FAnimStrokeColor; }

    // The colour animations come home before the old clone goes, so they outlive it.
    void ApplyResource() override;
    // A button still without a picture takes the action's picture from the action list's
    // toolkit image list, at the list's width.
    void ActionChange(TBasicAction* Sender, bool CheckDefaults) override;

protected:
    void ApplyStyle() override;
    void FreeStyle() override;

private:
    void BitmapChanged(TObject*);
    bool DesignTime();
    void AssignPressAnimations();
    void ShowHighlightColors();
    void TakeColorAnimationsHome();

    TsgBitmap* FBitmap;
    TsgBitmap* FBitmapPressed;
    TsgBitmapAnimation* FAnimPressedOn = nullptr;
    TsgBitmapAnimation* FAnimPressedOff = nullptr;
    TsgButtonLayout FBitmapLayout = sgGlyphLeft;
    float FBitmapSpacing = 0;
    float FBitmapSize = 32;
    float FBitmapPadding = 0;
    bool FIsHighlighted = false;
    TsgColorAnimation* FAnimFontColor;
    TsgColorAnimation* FAnimStrokeColor;
};

class TsgToolButton : public TsgBitmapButton {
    DBI_PERSISTENT(TsgToolButton, TsgBitmapButton)

    explicit TsgToolButton(TComponent* AOwner);
};

class TsgPathButton : public TsgCustomButton {
    DBI_PERSISTENT(TsgPathButton, TsgCustomButton)

    explicit TsgPathButton(TComponent* AOwner);
    ~TsgPathButton() override;

    TsgPathData* Path() const { return FPath; }
    void SetPath(TsgPathData* Value);
    TsgButtonLayout PathLayout() const { return FPathLayout; }
    void SetPathLayout(TsgButtonLayout Value);
    float PathSize() const { return FPathSize; }
    void SetPathSize(float Value);
    float PathSpacing() const { return FPathSpacing; }
    void SetPathSpacing(float Value);
    float PathPadding() const { return FPathPadding; }
    void SetPathPadding(float Value);
    float PathStrokeThickness() const { return FStrokeThickness; }
    void SetPathStrokeThickness(float Value);
    TsgBrush* PathFill() const { return FFill; }
    void SetPathFill(TsgBrush* Value);
    TsgBrush* PathStroke() const { return FStroke; }
    void SetPathStroke(TsgBrush* Value);
    TsgStrokeCap PathStrokeCap() const { return FStrokeCap; }
    void SetPathStrokeCap(TsgStrokeCap Value);
    TsgStrokeDash PathStrokeDash() const { return FStrokeDash; }
    void SetPathStrokeDash(TsgStrokeDash Value);
    TsgStrokeJoin PathStrokeJoin() const { return FStrokeJoin; }
    void SetPathStrokeJoin(TsgStrokeJoin Value);

protected:
    void ApplyStyle() override;

private:
    void GlyphChanged(TObject*);
    // Stores a changed value and, unless loading, applies the style again.
    template <class V>
    void Change(V& Field, V Value);

    TsgPathData* FPath;
    TsgButtonLayout FPathLayout = sgGlyphLeft;
    float FPathSize = 32;
    float FPathSpacing = 0;
    float FPathPadding = 2;
    float FStrokeThickness = 1;
    TsgBrush* FFill;
    TsgBrush* FStroke;
    TsgStrokeCap FStrokeCap = sgCapFlat;
    TsgStrokeDash FStrokeDash = sgDashSolid;
    TsgStrokeJoin FStrokeJoin = sgJoinMiter;
};

class TsgToolPathButton : public TsgPathButton {
    DBI_PERSISTENT(TsgToolPathButton, TsgPathButton)

    explicit TsgToolPathButton(TComponent* AOwner);
};
