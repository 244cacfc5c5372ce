// TsgFont: family, size, style and smoothing of the toolkit's text. Text shapes, text controls
// and the canvas own one each and hear its changes through OnChanged.
#pragma once

#include "platform/classes/Persistent.h"

// One value, not a set: bold and italic combine only as sgFontBoldItalic.
enum TsgFontStyle {
    sgFontRegular = 0,
    sgFontBold = 1,
    sgFontItalic = 2,
    sgFontBoldItalic = 3,
    sgFontUnderline = 4,
    sgFontStrikeout = 5,
};

class TsgFont : public TPersistent {
    DBI_PERSISTENT(TsgFont, TPersistent)

    TsgFont() = default;

    float Size() const { return FSize; }
    void SetSize(float Value);
    const UnicodeString& Family() const { return FFamily; }
    void SetFamily(const UnicodeString& Value);
    TsgFontStyle Style() const { return FStyle; }
    void SetStyle(TsgFontStyle Value);
    bool ClearType() const { return FClearType; }
    void SetClearType(bool Value);

    // From a TsgFont: copies all four and notifies, also when nothing changed. From the
    // platform's TFont (the font dialog, the property inspector): its name and the absolute value
    // of its height; its style only when it is exactly none, bold, italic or both (underline or
    // strike-out keep the present style); then notifies.
    void Assign(TPersistent* Source) override;
    // Only into a platform TFont: name, height -Round(size) and the style where the TFont can
    // say it (underline and strike-out leave the target's style as it is).
    void AssignTo(TPersistent* Dest) override;

    TNotifyEvent OnChanged;

private:
    void Changed();

    float FSize = 11;
    UnicodeString FFamily = u"Verdana";
    TsgFontStyle FStyle = sgFontRegular;
    bool FClearType = true;
};
