// Captioned controls: TsgTextControl, the base of every control that shows one caption, and the
// labels built on it.
//
// None of them draws itself. The caption, its font, colour and alignments live in the control
// and survive a change of style; each new style clone receives them in ApplyStyle through its
// "text" part (a TsgText). Before the style is cloned a caption is only stored.
#pragma once

#include "scene/core/Sg_objects_text.h"
#include "scene/core/Sg_scene_brush.h"
#include "scene/core/Sg_scene_control.h"
#include "scene/core/Sg_scene_font.h"

#include <vector>

// The names TsgTextAlign values are streamed with.
std::vector<AnsiString> SgTextAlignNames();

class TsgTextControl : public TsgControl {
    DBI_PERSISTENT(TsgTextControl, TsgControl)

    explicit TsgTextControl(TComponent* AOwner);
    ~TsgTextControl() override;

    const UnicodeString& Text() const { return FText; }
    UnicodeString GetText() const { return FText; }
    virtual void SetText(const UnicodeString& Value);
    TsgFont* Font() const { return FFont; }
    void SetFont(TsgFont* Value) { FFont->Assign(Value); }
    TsgBrush* FontFill() const { return FFontFill; }
    void SetFontFill(TsgBrush* Value) { FFontFill->Assign(Value); }
    TsgTextAlign TextAlign() const { return FTextAlign; }
    void SetTextAlign(TsgTextAlign Value);
    TsgTextAlign VertTextAlign() const { return FVertTextAlign; }
    void SetVertTextAlign(TsgTextAlign Value);

    // The value of a text control along a binding is its caption.
    TsgVariant GetData() override { return FText; }
    void SetData(const TsgVariant& Value) override { SetText(Value); }

    // The style clone's "text" part when it is a TsgText, else nullptr.
    TsgText* TextPart();

protected:
    virtual void FontChanged(TObject* Sender);
    void FontFillChanged(TObject* Sender);
    void ApplyStyle() override;

private:
    TsgFont* FFont;
    TsgTextAlign FTextAlign = sgTextAlignCenter;
    TsgTextAlign FVertTextAlign = sgTextAlignCenter;
    TsgBrush* FFontFill;
    UnicodeString FText;
};

// A caption without interaction. With AutoSize it takes the size of its text on every text
// change and style application, and word wrap is then off for good.
class TsgLabel : public TsgTextControl {
    DBI_PERSISTENT(TsgLabel, TsgTextControl)

    explicit TsgLabel(TComponent* AOwner);

    void SetText(const UnicodeString& Value) override;
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);

protected:
    void ApplyStyle() override;

private:
    bool FWordWrap = true;
    bool FAutoSize = false;
    // Set while the style is applied: a translated caption set then is measured at its end.
    bool FApplying = false;
};

// A label for values: neither translated nor wrapped unless asked.
class TsgValueLabel : public TsgLabel {
    DBI_PERSISTENT(TsgValueLabel, TsgLabel)

    explicit TsgValueLabel(TComponent* AOwner);
};

class TsgHudLabel : public TsgLabel {
    DBI_PERSISTENT(TsgHudLabel, TsgLabel)
    using TsgLabel::TsgLabel;
};
