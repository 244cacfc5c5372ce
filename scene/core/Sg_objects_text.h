// TsgText: a leaf of the scene graph that shows one text.
//
// The status line of the installation steps is such an object: the engine writes the step's
// text through SetText and reads the present text back through Text. A new text marks the
// object's effects for update, resizes the object when AutoSize is on and repaints it; setting
// the text it already holds changes nothing, so callers may set it on every progress tick.
//
// This is the text object's first form: it keeps the text and the switches that decide what a
// change must do. Painting, fonts, alignment and sizing come with the shapes of the scene core,
// which take over AdjustSize and Repaint.
#pragma once

#include "platform/classes/Component.h"
#include "platform/rtl/UnicodeString.h"

class TsgText : public TComponent {
    DBI_PERSISTENT(TsgText, TComponent)

    explicit TsgText(TComponent* AOwner);

    const UnicodeString& Text() const { return FText; }
    void SetText(const UnicodeString& Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    // Set by every change that the object's effects must be drawn again for.
    bool UpdateEffects() const { return FUpdateEffects; }

protected:
    // Fits the object to its text; nothing to fit until the object is painted.
    virtual void AdjustSize() {}
    // Asks the scene to draw the object again; no scene hosts it yet.
    virtual void Repaint() {}

    bool FUpdateEffects = false;

private:
    UnicodeString FText;
    bool FAutoSize = false;
};
