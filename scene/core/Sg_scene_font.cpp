#include "scene/core/Sg_scene_font.h"

#include "platform/ui/FontsColors.h"

#include <cmath>
#include <cstdlib>

DBI_PUBLISH(TsgFont) {
    p.Boolean("ClearType", &TsgFont::ClearType, &TsgFont::SetClearType, true);
    p.String("Family", &TsgFont::Family, &TsgFont::SetFamily).Stored([](TPersistent& o) {
        return static_cast<TsgFont&>(o).Family() != UnicodeString(u"Verdana");
    });
    p.Float("Size", &TsgFont::Size, &TsgFont::SetSize, 11);
    p.Enumeration("Style", &TsgFont::Style, &TsgFont::SetStyle,
                  {"sgFontRegular", "sgFontBold", "sgFontItalic", "sgFontBoldItalic",
                   "sgFontUnderline", "sgFontStrikeout"},
                  sgFontRegular);
}

void TsgFont::Changed() {
    if (OnChanged)
        OnChanged(this);
}

void TsgFont::SetSize(float Value) {
    if (Value != FSize) {
        FSize = Value;
        Changed();
    }
}

void TsgFont::SetFamily(const UnicodeString& Value) {
    if (Value != FFamily) {
        FFamily = Value;
        Changed();
    }
}

void TsgFont::SetStyle(TsgFontStyle Value) {
    if (Value != FStyle) {
        FStyle = Value;
        Changed();
    }
}

void TsgFont::SetClearType(bool Value) {
    if (Value != FClearType) {
        FClearType = Value;
        Changed();
    }
}

void TsgFont::Assign(TPersistent* Source) {
    if (auto* font = dynamic_cast<TsgFont*>(Source)) {
        FFamily = font->FFamily;
        FSize = font->FSize;
        FStyle = font->FStyle;
        FClearType = font->FClearType;
        Changed();
        return;
    }
    if (auto* font = dynamic_cast<TFont*>(Source)) {
        FFamily = font->Name();
        FSize = static_cast<float>(std::abs(font->Height()));
        constexpr TFontStyles bold = 1u << fsBold;
        constexpr TFontStyles italic = 1u << fsItalic;
        switch (font->Style()) {
        case 0:
            FStyle = sgFontRegular;
            break;
        case bold:
            FStyle = sgFontBold;
            break;
        case italic:
            FStyle = sgFontItalic;
            break;
        case bold | italic:
            FStyle = sgFontBoldItalic;
            break;
        default:
            break;
        }
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

void TsgFont::AssignTo(TPersistent* Dest) {
    auto* font = dynamic_cast<TFont*>(Dest);
    if (!font) {
        TPersistent::AssignTo(Dest);
        return;
    }
    font->SetName(FFamily);
    // Halves to even, as the platform rounds.
    font->SetHeight(-static_cast<int>(std::nearbyint(FSize)));
    constexpr TFontStyles bold = 1u << fsBold;
    constexpr TFontStyles italic = 1u << fsItalic;
    switch (FStyle) {
    case sgFontRegular:
        font->SetStyle(0);
        break;
    case sgFontBold:
        font->SetStyle(bold);
        break;
    case sgFontItalic:
        font->SetStyle(italic);
        break;
    case sgFontBoldItalic:
        font->SetStyle(bold | italic);
        break;
    case sgFontUnderline:
    case sgFontStrikeout:
        break;
    }
}
