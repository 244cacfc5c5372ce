#include "scene/core/Sg_scene_font.h"

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
    TPersistent::Assign(Source);
}
