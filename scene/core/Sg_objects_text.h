// TsgText: a shape that shows one text with a font and two alignments, and can size itself to it.
//
// The status line of the installation steps is such an object: the engine writes the step's
// text through SetText and reads the present text back through Text. A new text marks the
// object's effects for update, resizes the object when AutoSize is on and repaints it; setting
// the text it already holds changes nothing, so callers may set it on every progress tick.
//
// Auto-size measures through the scene's canvas, so an object that is not in a scene keeps its
// size. Without word wrap the width follows the text; unless the text is centred vertically the
// height follows it too. Stretch scales the unwrapped text to fill the object both ways.
#pragma once

#include "scene/core/Sg_objects_shape.h"
#include "scene/core/Sg_scene_font.h"

class TsgText : public TsgShape {
    DBI_PERSISTENT(TsgText, TsgShape)

    explicit TsgText(TComponent* AOwner);
    ~TsgText() override;

    const UnicodeString& Text() const { return FText; }
    void SetText(const UnicodeString& Value);
    TsgFont* Font() const { return FFont; }
    void SetFont(TsgFont* Value);
    TsgTextAlign VertTextAlign() const { return FVertTextAlign; }
    void SetVertTextAlign(TsgTextAlign Value);
    TsgTextAlign HorzTextAlign() const { return FHorzTextAlign; }
    void SetHorzTextAlign(TsgTextAlign Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);

    TsgVariant GetData() override { return FText; }
    void SetData(const TsgVariant& Value) override { SetText(Value); }
    void Paint() override;
    void Realign() override;

protected:
    virtual void FontChanged();
    // Fits the object to its text (see the header comment); the parent is laid out again after.
    virtual void AdjustSize();

private:
    void FontNotice(TObject*) { FontChanged(); }

    UnicodeString FText;
    TsgFont* FFont;
    TsgTextAlign FVertTextAlign = sgTextAlignCenter;
    TsgTextAlign FHorzTextAlign = sgTextAlignCenter;
    bool FWordWrap = true;
    bool FAutoSize = false;
    bool FStretch = false;
};
