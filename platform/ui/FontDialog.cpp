#include "platform/ui/FontDialog.h"

#include "platform/gfx/Gfx.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/StringUtils.h"
#include "platform/ui/Input.h"
#include "platform/ui/Present.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

namespace {

constexpr int ClientW = 440;
constexpr int ClientH = 340;
constexpr int Margin = 10;
constexpr int LabelTop = 8;
constexpr int ListTop = 28;
constexpr int ListHeight = 2 + 12 * TFontChooser::RowHeight;
constexpr int ButtonW = 80;
constexpr int ButtonH = 26;
// Sizes beyond this are not offered, also when a font has one.
constexpr int MaxSize = 999;
// Wheel notches scroll this many rows each.
constexpr int WheelRows = 3;

constexpr float UiFontSize = 9;
constexpr uint32_t FaceColor = 0xFFF0F0F0;
constexpr uint32_t FrameColor = 0xFF8C8C8C;
constexpr uint32_t FocusFrameColor = 0xFF3C7FB1;
constexpr uint32_t ListColor = 0xFFFFFFFF;
constexpr uint32_t SelectedColor = 0xFF3C7FB1;
constexpr uint32_t SelectedTextColor = 0xFFFFFFFF;
constexpr uint32_t TextColor = 0xFF000000;
constexpr uint32_t ButtonColor = 0xFFE1E1E1;
constexpr uint32_t PressedColor = 0xFFCCE4F7;

const char16_t* const StyleNames[] = {u"Regular", u"Bold", u"Italic", u"Bold Italic"};
constexpr int StandardSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

std::unique_ptr<gfx::Font> UiFont() {
    std::unique_ptr<gfx::FontFamily> family = gfx::FontFamily::GenericSansSerif();
    return std::make_unique<gfx::Font>(*family, UiFontSize);
}

gfx::RectF ToRectF(const TRect& r) {
    return gfx::RectF(float(r.Left), float(r.Top), float(r.Width()), float(r.Height()));
}

int StyleIndexOf(TFontStyles Style) {
    return ((Style >> fsBold) & 1) | (((Style >> fsItalic) & 1) << 1);
}

} // namespace

TFontChooser::TFontChooser(TForm* AOwner) : TForm(AOwner) {
    SetCaption(u"Font");
    SetBorderStyle(bsSingle);
    SetPosition(AOwner ? poOwnerFormCenter : poScreenCenter);
    SetClientSize(ClientW, ClientH);
    for (const std::string& name : gfx::InstalledFontFamilies())
        FFamilies.push_back(UnicodeString::FromUtf8(name));
    FSizes.assign(std::begin(StandardSizes), std::end(StandardSizes));
    FIndex[FamilyList] = FFamilies.empty() ? -1 : 0;
    FIndex[SizeList] = 0;
}

TFontChooser::~TFontChooser() {
    DestroyHandle();
}

void TFontChooser::SetChoice(const TFont& Font) {
    const UnicodeString& name = Font.Name();
    int family = -1;
    for (size_t i = 0; i < FFamilies.size() && family < 0; ++i)
        if (SameText(FFamilies[i], name))
            family = static_cast<int>(i);
    if (family < 0 && !name.IsEmpty()) {
        // A name the list lacks (an alias, or a font not installed) stays choosable.
        auto at = std::lower_bound(
            FFamilies.begin(), FFamilies.end(), name,
            [](const UnicodeString& a, const UnicodeString& b) { return CompareText(a, b) < 0; });
        family = static_cast<int>(at - FFamilies.begin());
        FFamilies.insert(at, name);
    }
    SetItemIndex(FamilyList, family);
    SetItemIndex(StyleList, StyleIndexOf(Font.Style()));
    const int size = std::min(std::abs(Font.Height()), MaxSize);
    auto at = std::lower_bound(FSizes.begin(), FSizes.end(), size);
    if (size > 0 && (at == FSizes.end() || *at != size))
        at = FSizes.insert(at, size);
    SetItemIndex(SizeList, size > 0 ? static_cast<int>(at - FSizes.begin()) : 0);
}

void TFontChooser::GetChoice(TFont& Font) const {
    if (FIndex[FamilyList] >= 0)
        Font.SetName(FFamilies[static_cast<size_t>(FIndex[FamilyList])]);
    const int style = FIndex[StyleList];
    TFontStyles styles = Font.Style() & ~TFontStyles((1u << fsBold) | (1u << fsItalic));
    if (style & 1)
        styles |= TFontStyles(1u << fsBold);
    if (style & 2)
        styles |= TFontStyles(1u << fsItalic);
    Font.SetStyle(styles);
    if (FIndex[SizeList] >= 0)
        Font.SetHeight(-FSizes[static_cast<size_t>(FIndex[SizeList])]);
}

int TFontChooser::Count(TList List) const {
    switch (List) {
    case FamilyList:
        return static_cast<int>(FFamilies.size());
    case StyleList:
        return static_cast<int>(std::size(StyleNames));
    case SizeList:
        return static_cast<int>(FSizes.size());
    }
    return 0;
}

UnicodeString TFontChooser::Item(TList List, int Index) const {
    if (Index < 0 || Index >= Count(List))
        return UnicodeString();
    switch (List) {
    case FamilyList:
        return FFamilies[static_cast<size_t>(Index)];
    case StyleList:
        return UnicodeString(StyleNames[Index]);
    case SizeList:
        return IntToStr(FSizes[static_cast<size_t>(Index)]);
    }
    return UnicodeString();
}

void TFontChooser::SetItemIndex(TList List, int Index) {
    const int count = Count(List);
    Index = count == 0 ? -1 : std::clamp(Index, 0, count - 1);
    FIndex[List] = Index;
    if (Index >= 0) {
        if (Index < FTop[List])
            ScrollTo(List, Index);
        else if (Index >= FTop[List] + VisibleRows(List))
            ScrollTo(List, Index - VisibleRows(List) + 1);
    }
    Invalidate();
}

int TFontChooser::VisibleRows(TList List) const {
    return std::max(1, (ListRect(List).Height() - 2) / RowHeight);
}

void TFontChooser::ScrollTo(TList List, int Top) {
    FTop[List] = std::clamp(Top, 0, std::max(0, Count(List) - VisibleRows(List)));
    Invalidate();
}

TRect TFontChooser::ListRect(TList List) const {
    switch (List) {
    case FamilyList:
        return TRect{Margin, ListTop, 240, ListTop + ListHeight};
    case StyleList:
        return TRect{250, ListTop, 340, ListTop + ListHeight};
    case SizeList:
        return TRect{350, ListTop, ClientW - Margin, ListTop + ListHeight};
    }
    return TRect{};
}

TRect TFontChooser::RowRect(TList List, int Index) const {
    const TRect box = ListRect(List);
    const int top = box.Top + 1 + (Index - FTop[List]) * RowHeight;
    return TRect{box.Left + 1, top, box.Right - 1, top + RowHeight};
}

TRect TFontChooser::OkRect() const {
    const int top = ClientH - Margin - ButtonH;
    return TRect{ClientW - Margin - 2 * ButtonW - 8, top, ClientW - Margin - ButtonW - 8,
                 top + ButtonH};
}

TRect TFontChooser::CancelRect() const {
    const int top = ClientH - Margin - ButtonH;
    return TRect{ClientW - Margin - ButtonW, top, ClientW - Margin, top + ButtonH};
}

int TFontChooser::ListAt(TPoint P) const {
    for (TList list : {FamilyList, StyleList, SizeList})
        if (ListRect(list).Contains(P))
            return list;
    return -1;
}

void TFontChooser::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button != mbLeft)
        return;
    const TPoint p{X, Y};
    FPressed = OkRect().Contains(p) ? mrOk : CancelRect().Contains(p) ? mrCancel : mrNone;
    if (FPressed != mrNone) {
        Invalidate();
        return;
    }
    const int at = ListAt(p);
    if (at < 0)
        return;
    const auto list = static_cast<TList>(at);
    FFocused = list;
    const int row = FTop[list] + (Y - ListRect(list).Top - 1) / RowHeight;
    if (row >= 0 && row < Count(list) && row - FTop[list] < VisibleRows(list)) {
        SetItemIndex(list, row);
        if (Shift.Contains(ssDouble))
            SetModalResult(mrOk);
    }
    Invalidate();
}

void TFontChooser::MouseUp(TMouseButton Button, TShiftState, int X, int Y) {
    if (Button != mbLeft || FPressed == mrNone)
        return;
    const TModalResult pressed = FPressed;
    FPressed = mrNone;
    Invalidate();
    const TRect r = pressed == mrOk ? OkRect() : CancelRect();
    if (r.Contains(TPoint{X, Y}))
        SetModalResult(pressed);
}

bool TFontChooser::DoMouseWheel(TShiftState, int WheelDelta, TPoint MousePos) {
    const int at = ListAt(ScreenToClient(MousePos));
    if (at < 0)
        return false;
    const auto list = static_cast<TList>(at);
    const int notches = WheelDelta / 120 != 0 ? WheelDelta / 120 : (WheelDelta > 0 ? 1 : -1);
    ScrollTo(list, FTop[list] - notches * WheelRows);
    return true;
}

void TFontChooser::KeyDown(uint16_t& Key, TShiftState Shift) {
    const int index = FIndex[FFocused];
    const int page = VisibleRows(FFocused);
    switch (Key) {
    case VK_RETURN:
        SetModalResult(mrOk);
        break;
    case VK_ESCAPE:
        SetModalResult(mrCancel);
        break;
    case VK_TAB:
        FFocused = static_cast<TList>((FFocused + (Shift.Contains(ssShift) ? 2 : 1)) % 3);
        Invalidate();
        break;
    case VK_UP:
        SetItemIndex(FFocused, index - 1);
        break;
    case VK_DOWN:
        SetItemIndex(FFocused, index + 1);
        break;
    case VK_PRIOR:
        SetItemIndex(FFocused, index - page);
        break;
    case VK_NEXT:
        SetItemIndex(FFocused, index + page);
        break;
    case VK_HOME:
        SetItemIndex(FFocused, 0);
        break;
    case VK_END:
        SetItemIndex(FFocused, Count(FFocused) - 1);
        break;
    default:
        return;
    }
    Key = 0;
}

void TFontChooser::Paint() {
    const int w = Width(), h = Height();
    if (w < 1 || h < 1)
        return;
    FPixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
    gfx::Bitmap target(w, h, w * 4, gfx::PixelFormat::Format32bppPArgb,
                       reinterpret_cast<uint8_t*>(FPixels.data()));
    {
        gfx::Graphics g(&target);
        g.FillRectangle(gfx::SolidBrush(gfx::Color(FaceColor)), 0.0f, 0.0f, float(w), float(h));
        std::unique_ptr<gfx::Font> font = UiFont();
        gfx::StringFormat format;
        format.SetLineAlignment(gfx::StringAlignment::Center);
        format.SetFormatFlags(gfx::StringFormatFlagsNoWrap);
        const gfx::SolidBrush ink{gfx::Color(TextColor)};
        const char16_t* const captions[] = {u"Family:", u"Style:", u"Size:"};
        for (TList list : {FamilyList, StyleList, SizeList}) {
            const TRect box = ListRect(list);
            g.DrawString(captions[list], *font,
                         gfx::RectF(float(box.Left), float(LabelTop), float(box.Width()), 16),
                         &format, ink);
            g.FillRectangle(gfx::SolidBrush(gfx::Color(ListColor)), ToRectF(box));
            g.DrawRectangle(gfx::Pen(gfx::Color(list == FFocused ? FocusFrameColor : FrameColor)),
                            gfx::RectF(float(box.Left) + 0.5f, float(box.Top) + 0.5f,
                                       float(box.Width() - 1), float(box.Height() - 1)));
            const int last = std::min(Count(list), FTop[list] + VisibleRows(list));
            for (int i = FTop[list]; i < last; ++i) {
                const TRect r = RowRect(list, i);
                const bool selected = i == FIndex[list];
                if (selected)
                    g.FillRectangle(gfx::SolidBrush(gfx::Color(SelectedColor)), ToRectF(r));
                gfx::RectF text = ToRectF(r);
                text.X += 4;
                text.Width -= 6;
                g.SetClip(ToRectF(r));
                g.DrawString(Item(list, i).str(), *font, text, &format,
                             gfx::SolidBrush(gfx::Color(selected ? SelectedTextColor : TextColor)));
                g.ResetClip();
            }
        }

        // A line of text in the chosen font.
        const TRect sample{Margin, ListTop + ListHeight + 10, ClientW - Margin,
                           ClientH - 2 * Margin - ButtonH};
        g.DrawRectangle(gfx::Pen(gfx::Color(FrameColor)),
                        gfx::RectF(float(sample.Left) + 0.5f, float(sample.Top) + 0.5f,
                                   float(sample.Width() - 1), float(sample.Height() - 1)));
        TFont chosen;
        GetChoice(chosen);
        const gfx::FontFamily family(chosen.Name().str());
        std::unique_ptr<gfx::FontFamily> fallback;
        const gfx::FontFamily* use = &family;
        if (!family.IsAvailable()) {
            fallback = gfx::FontFamily::GenericSansSerif();
            use = fallback.get();
        }
        const gfx::Font sampleFont(*use, float(std::abs(chosen.Height())),
                                   StyleIndexOf(chosen.Style()), gfx::Unit::Pixel);
        gfx::StringFormat centred;
        centred.SetAlignment(gfx::StringAlignment::Center);
        centred.SetLineAlignment(gfx::StringAlignment::Center);
        centred.SetFormatFlags(gfx::StringFormatFlagsNoWrap);
        g.SetClip(ToRectF(sample));
        g.DrawString(u"AaBbYyZz", sampleFont, ToRectF(sample), &centred, ink);
        g.ResetClip();

        gfx::StringFormat button;
        button.SetAlignment(gfx::StringAlignment::Center);
        button.SetLineAlignment(gfx::StringAlignment::Center);
        for (TModalResult which : {mrOk, mrCancel}) {
            const TRect r = which == mrOk ? OkRect() : CancelRect();
            g.FillRectangle(
                gfx::SolidBrush(gfx::Color(FPressed == which ? PressedColor : ButtonColor)),
                ToRectF(r));
            g.DrawRectangle(gfx::Pen(gfx::Color(FrameColor)),
                            gfx::RectF(float(r.Left) + 0.5f, float(r.Top) + 0.5f,
                                       float(r.Width() - 1), float(r.Height() - 1)));
            g.DrawString(which == mrOk ? u"OK" : u"Cancel", *font, ToRectF(r), &button, ink);
        }
        g.Flush();
    }
    for (const TRect& r : GetUpdateRects(this))
        PresentBuffer(this, FPixels.data(), w, h, w * 4, r);
}

bool TFontDialog::Execute() {
    TFontChooser chooser;
    chooser.SetChoice(Font);
    if (OnShow)
        chooser.OnShow = [this](TForm& Form) { OnShow(static_cast<TFontChooser&>(Form)); };
    if ((ShowChooser ? ShowChooser(chooser) : chooser.ShowModal()) != mrOk)
        return false;
    chooser.GetChoice(Font);
    return true;
}
