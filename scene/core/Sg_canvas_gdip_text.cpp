// Text of the canvas over the drawing layer: the font family kept in step with Font, fonts
// loaded from streams, drawing, measuring and outlines. Font.Size is in pixels (world units);
// measuring uses the same font and format rules as drawing and needs no surface.
#include "scene/core/Sg_canvas_gdip.h"

#include "scene/core/Sg_bitmap.h"

#include "platform/gfx/Gfx.h"
#include "platform/rtl/Stream.h"

#include <cmath>
#include <vector>

namespace {

int MapFontStyle(TsgFontStyle Style) {
    switch (Style) {
    case sgFontRegular:
        return gfx::FontStyleRegular;
    case sgFontBold:
        return gfx::FontStyleBold;
    case sgFontItalic:
        return gfx::FontStyleItalic;
    case sgFontBoldItalic:
        return gfx::FontStyleBoldItalic;
    case sgFontUnderline:
        return gfx::FontStyleUnderline;
    case sgFontStrikeout:
        return gfx::FontStyleStrikeout;
    }
    return gfx::FontStyleRegular;
}

gfx::StringAlignment MapAlign(TsgTextAlign Align) {
    switch (Align) {
    case sgTextAlignCenter:
        return gfx::StringAlignment::Center;
    case sgTextAlignNear:
        return gfx::StringAlignment::Near;
    case sgTextAlignFar:
        return gfx::StringAlignment::Far;
    }
    return gfx::StringAlignment::Near;
}

// The style to draw with: the font's own when the family has it, else the first it offers.
int ChooseStyle(const gfx::FontFamily& Family, TsgFontStyle Style) {
    const int wanted = MapFontStyle(Style);
    if (Family.IsStyleAvailable(wanted))
        return wanted;
    for (TsgFontStyle s : {sgFontRegular, sgFontBold, sgFontItalic, sgFontBoldItalic,
                           sgFontUnderline, sgFontStrikeout})
        if (Family.IsStyleAvailable(MapFontStyle(s)))
            return MapFontStyle(s);
    return wanted;
}

gfx::RectF ToRectF(const TsgRect& R) {
    return gfx::RectF(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top);
}

bool HasFraction(float X) {
    return X != std::trunc(X);
}

} // namespace

bool TsgCanvasGdiPlus::ScaledText() const {
    return HasFraction(FMatrix.m11) || HasFraction(FMatrix.m22);
}

void TsgCanvasGdiPlus::ApplyTextHint() {
    if (FGraphics)
        FGraphics->SetTextRenderingHint(FFont->ClearType()
                                            ? gfx::TextRenderingHint::ClearTypeGridFit
                                            : gfx::TextRenderingHint::AntiAlias);
}

void TsgCanvasGdiPlus::FontChanged(TObject*) {
    const std::u16string family(FFont->Family().c_str());
    FGPFamily = std::make_unique<gfx::FontFamily>(family, FFontCollection.get());
    if (!FGPFamily->IsAvailable())
        FGPFamily = std::make_unique<gfx::FontFamily>(family);
    if (!FGPFamily->IsAvailable())
        FGPFamily = gfx::FontFamily::GenericSansSerif();
    ApplyTextHint();
}

bool TsgCanvasGdiPlus::LoadFontFromStream(TStream& AStream) {
    if (!FFontCollection)
        FFontCollection = std::make_unique<gfx::PrivateFontCollection>();
    const int64_t size = AStream.Size();
    if (size <= 0 || size > (int64_t(64) << 20))
        return false;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    const int32_t got = AStream.Read(bytes.data(), static_cast<int32_t>(bytes.size()));
    if (got <= 0)
        return false;
    return FFontCollection->AddMemoryFont(bytes.data(), static_cast<size_t>(got)) ==
           gfx::Status::Ok;
}

void TsgCanvasGdiPlus::FillText(const TsgRect& ARect, const TsgRect&, const UnicodeString& AText,
                                bool WordWrap, float AOpacity, TsgTextAlign ATextAlign,
                                TsgTextAlign AVTextAlign) {
    if (!FGraphics || FFill->Style() == sgBrushNone || AText.IsEmpty())
        return;
    gfx::StringFormat format(gfx::StringFormatFlagsNoClip |
                             (WordWrap ? 0 : gfx::StringFormatFlagsNoWrap));
    format.SetAlignment(MapAlign(ATextAlign));
    format.SetLineAlignment(MapAlign(AVTextAlign));
    const gfx::Font font(*FGPFamily, FFont->Size() * 0.75f, ChooseStyle(*FGPFamily, FFont->Style()),
                         gfx::Unit::Point);
    ApplyFill(ARect, AOpacity == 1 ? 0.99f : AOpacity);
    const bool scaled = ScaledText();
    if (scaled)
        FGraphics->SetTextRenderingHint(gfx::TextRenderingHint::AntiAlias);
    FGraphics->DrawString(std::u16string_view(AText.c_str(), size_t(AText.Length())), font,
                          ToRectF(ARect), &format, *FGPBrush);
    if (scaled)
        ApplyTextHint();
}

void TsgCanvasGdiPlus::MeasureText(TsgRect& ARect, const TsgRect&, const UnicodeString& AText,
                                   bool WordWrap, TsgTextAlign ATextAlign,
                                   TsgTextAlign AVTextAlign) {
    if (!WordWrap)
        ARect.Right = ARect.Left;
    if (AText.IsEmpty())
        return;
    // Scene objects measure before any paint: a throw-away surface stands in.
    std::unique_ptr<gfx::Bitmap> scratchImage;
    std::unique_ptr<gfx::Graphics> scratch;
    gfx::Graphics* graphics = FGraphics.get();
    if (!graphics) {
        scratchImage = std::make_unique<gfx::Bitmap>(1, 1);
        scratch = std::make_unique<gfx::Graphics>(scratchImage.get());
        scratch->SetSmoothingMode(gfx::SmoothingMode::HighQuality);
        scratch->SetInterpolationMode(gfx::InterpolationMode::HighQuality);
        scratch->SetPixelOffsetMode(gfx::PixelOffsetMode::Half);
        graphics = scratch.get();
    }
    gfx::StringFormat format(gfx::StringFormatFlagsNoClip |
                             gfx::StringFormatFlagsMeasureTrailingSpaces |
                             (WordWrap ? 0 : gfx::StringFormatFlagsNoWrap));
    format.SetAlignment(MapAlign(ATextAlign));
    format.SetLineAlignment(MapAlign(AVTextAlign));
    const gfx::Font font(*FGPFamily, FFont->Size() * 0.75f, ChooseStyle(*FGPFamily, FFont->Style()),
                         gfx::Unit::Point);
    gfx::RectF bounds;
    graphics->MeasureCharacterRanges(std::u16string_view(AText.c_str(), size_t(AText.Length())),
                                     font, ToRectF(ARect), &format, &bounds);
    ARect = {bounds.X, bounds.Y, bounds.X + bounds.Width, bounds.Y + bounds.Height};
}

bool TsgCanvasGdiPlus::TextToPath(TsgPathData* Path, const TsgRect& ARect,
                                  const UnicodeString& AText, bool WordWrap,
                                  TsgTextAlign ATextAlign, TsgTextAlign AVTextAlign) {
    const int style = MapFontStyle(FFont->Style());
    if (!Path || AText.IsEmpty() || !FGPFamily->IsStyleAvailable(style))
        return false;
    Path->Clear();
    gfx::StringFormat format(
        WordWrap ? 0
                 : (gfx::StringFormatFlagsNoWrap | gfx::StringFormatFlagsMeasureTrailingSpaces));
    format.SetAlignment(MapAlign(ATextAlign));
    format.SetLineAlignment(MapAlign(AVTextAlign));
    gfx::GraphicsPath outline(gfx::FillMode::Alternate);
    outline.AddString(std::u16string_view(AText.c_str(), size_t(AText.Length())), *FGPFamily, style,
                      FFont->Size(), ToRectF(ARect), format);
    const auto& points = outline.Points();
    const auto& types = outline.Types();
    for (size_t i = 0; i < points.size(); ++i) {
        const uint8_t kind = types[i] & gfx::PathPointTypePathTypeMask;
        uint8_t flags = types[i];
        if (kind == gfx::PathPointTypeStart) {
            Path->MoveTo({points[i].X, points[i].Y});
        } else if (kind == gfx::PathPointTypeBezier && i + 2 < points.size()) {
            Path->CurveTo({points[i].X, points[i].Y}, {points[i + 1].X, points[i + 1].Y},
                          {points[i + 2].X, points[i + 2].Y});
            i += 2;
            flags = types[i];
        } else {
            Path->LineTo({points[i].X, points[i].Y});
        }
        if (flags & gfx::PathPointTypeCloseSubpath)
            Path->ClosePath();
    }
    return true;
}
