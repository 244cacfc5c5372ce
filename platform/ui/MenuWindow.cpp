#include "platform/ui/MenuWindow.h"

#include "platform/gfx/Gfx.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Present.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// A posted click: LParam carries the item's serial number.
constexpr UINT CM_MENUCLICK = CM_BASE + 0x200;

constexpr float MenuFontSize = 9;
// Captions longer than this are cut when measured and drawn.
constexpr int MaxCaptionLength = 512;
constexpr int MaxMenuWidth = 600;

constexpr uint32_t FrameColor = 0xFF8C8C8C;
constexpr uint32_t FaceColor = 0xFFF5F5F5;
constexpr uint32_t HotColor = 0xFFCCE4F7;
constexpr uint32_t TextColor = 0xFF000000;
constexpr uint32_t DisabledColor = 0xFF9A9A9A;
constexpr uint32_t LineColor = 0xFFD0D0D0;

std::unique_ptr<gfx::Font> MenuFont() {
    std::unique_ptr<gfx::FontFamily> family = gfx::FontFamily::GenericSansSerif();
    return std::make_unique<gfx::Font>(*family, MenuFontSize);
}

std::u16string RowText(const TMenuItem* item) {
    UnicodeString text = StripHotkey(item->Caption());
    if (text.Length() > MaxCaptionLength)
        text = text.SubString(1, MaxCaptionLength);
    return text.str();
}

} // namespace

TMenuWindow::TMenuWindow(TPopupMenu* AMenu, TMenuItem* AParentItem, int ALevel)
    : FMenu(AMenu), FParentItem(AParentItem), FLevel(ALevel) {
    SetBorderStyle(bsNone);
    SetPosition(poDesigned);
    SetPopupWindow(true);
    // Presses and releases go to the level under the pointer, so a drag may end in a submenu.
    CaptureMouseOnPress = false;
    for (int i = 0; i < AParentItem->Count(); ++i)
        if (TMenuItem* item = AParentItem->Items(i); item->Visible())
            FRows.push_back(item);
}

TMenuWindow::~TMenuWindow() {
    DestroyHandle();
}

TPoint TMenuWindow::MeasureSize() const {
    gfx::Bitmap probe(1, 1);
    gfx::Graphics measure(&probe);
    std::unique_ptr<gfx::Font> font = MenuFont();
    int width = MinWidth;
    int height = 2;
    for (const TMenuItem* item : FRows) {
        if (item->IsLine()) {
            height += LineHeight;
            continue;
        }
        height += ItemHeight;
        gfx::RectF box;
        measure.MeasureCharacterRanges(RowText(item), *font, gfx::RectF(0, 0, MaxMenuWidth, 100),
                                       nullptr, &box);
        width = std::max(width, static_cast<int>(std::ceil(box.Width)) + 2 * Gutter + 2);
    }
    return TPoint{std::min(width, MaxMenuWidth), height};
}

TRect TMenuWindow::RowRect(int Index) const {
    int top = 1;
    for (int i = 0; i < static_cast<int>(FRows.size()); ++i) {
        const int h = FRows[static_cast<size_t>(i)]->IsLine() ? LineHeight : ItemHeight;
        if (i == Index)
            return TRect{1, top, Width() - 1, top + h};
        top += h;
    }
    return TRect{};
}

int TMenuWindow::RowAt(TPoint P) const {
    if (P.X < 1 || P.X >= Width() - 1)
        return -1;
    for (int i = 0; i < static_cast<int>(FRows.size()); ++i)
        if (RowRect(i).Contains(P))
            return i;
    return -1;
}

bool TMenuWindow::Selectable(int Index) const {
    return Index >= 0 && Index < static_cast<int>(FRows.size()) &&
           !FRows[static_cast<size_t>(Index)]->IsLine();
}

void TMenuWindow::SetHotIndex(int Index) {
    if (!Selectable(Index))
        Index = -1;
    if (Index == FHot)
        return;
    FHot = Index;
    Invalidate();
}

void TMenuWindow::Track(int Index, bool SelectFirst) {
    SetHotIndex(Index);
    if (!FMenu)
        return;
    TMenuItem* item = FHot >= 0 ? FRows[static_cast<size_t>(FHot)] : nullptr;
    const auto& levels = FMenu->Levels();
    const bool subOpen = static_cast<int>(levels.size()) > FLevel + 1;
    if (item && item->Enabled() && item->Count() > 0) {
        if (!subOpen || levels[static_cast<size_t>(FLevel + 1)]->ParentItem() != item)
            FMenu->OpenSubmenu(this, item, SelectFirst);
        else if (SelectFirst)
            levels[static_cast<size_t>(FLevel + 1)]->SetHotIndex(0);
    } else if (subOpen && item) {
        FMenu->CloseLevelsAfter(FLevel);
    }
}

void TMenuWindow::MoveHot(int Step) {
    const int n = static_cast<int>(FRows.size());
    if (n == 0)
        return;
    int index = FHot;
    for (int tries = 0; tries < n; ++tries) {
        index = index < 0 ? (Step > 0 ? 0 : n - 1) : (index + Step + n) % n;
        if (Selectable(index)) {
            SetHotIndex(index);
            return;
        }
    }
}

void TMenuWindow::MouseDown(TMouseButton, TShiftState, int X, int Y) {
    if (const int index = RowAt(TPoint{X, Y}); index >= 0)
        Track(index, false);
}

void TMenuWindow::MouseMove(TShiftState, int X, int Y) {
    const int index = RowAt(TPoint{X, Y});
    if (index >= 0)
        Track(index, false);
}

void TMenuWindow::MouseLeave() {
    // The highlight stays on a row whose submenu is open.
    if (FMenu && static_cast<int>(FMenu->Levels().size()) > FLevel + 1)
        return;
    SetHotIndex(-1);
}

void TMenuWindow::MouseUp(TMouseButton, TShiftState, int X, int Y) {
    const int index = RowAt(TPoint{X, Y});
    if (!FMenu || !Selectable(index))
        return;
    TMenuItem* item = FRows[static_cast<size_t>(index)];
    if (item->Enabled() && item->Count() == 0)
        FMenu->Choose(item);
}

void TMenuWindow::KeyDown(uint16_t& Key, TShiftState) {
    if (!FMenu)
        return;
    TMenuItem* hot = FHot >= 0 ? FRows[static_cast<size_t>(FHot)] : nullptr;
    switch (Key) {
    case VK_UP:
        MoveHot(-1);
        break;
    case VK_DOWN:
        MoveHot(1);
        break;
    case VK_RIGHT:
        if (hot && hot->Enabled() && hot->Count() > 0)
            Track(FHot, true);
        break;
    case VK_LEFT:
        if (FLevel > 0)
            FMenu->CloseLevelsAfter(FLevel - 1);
        break;
    case VK_ESCAPE:
        if (FLevel > 0)
            FMenu->CloseLevelsAfter(FLevel - 1);
        else
            FMenu->CloseMenu();
        break;
    case VK_RETURN:
        if (hot && hot->Enabled()) {
            if (hot->Count() > 0)
                Track(FHot, true);
            else
                FMenu->Choose(hot);
        }
        break;
    default:
        return;
    }
    Key = 0;
}

void TMenuWindow::LogicalDeactivate(TForm* Activated) {
    if (FMenu)
        FMenu->LevelDeactivated(Activated);
}

void TMenuWindow::PostClick(TMenuItem* Item) {
    PostMessage(this, CM_MENUCLICK, 0, static_cast<LPARAM>(Item->Serial()));
}

void TMenuWindow::WndProc(TMessage& Message) {
    if (Message.Msg == CM_MENUCLICK) {
        if (TMenuItem* item = TMenuItem::FromSerial(static_cast<uint64_t>(Message.LParam)))
            item->Click();
        return;
    }
    TForm::WndProc(Message);
}

void TMenuWindow::Paint() {
    const int w = Width(), h = Height();
    if (w < 1 || h < 1)
        return;
    FPixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
    gfx::Bitmap target(w, h, w * 4, gfx::PixelFormat::Format32bppPArgb,
                       reinterpret_cast<uint8_t*>(FPixels.data()));
    {
        gfx::Graphics g(&target);
        g.SetSmoothingMode(gfx::SmoothingMode::AntiAlias);
        g.FillRectangle(gfx::SolidBrush(gfx::Color(FrameColor)), 0.0f, 0.0f, float(w), float(h));
        g.FillRectangle(gfx::SolidBrush(gfx::Color(FaceColor)), 1.0f, 1.0f, float(w - 2),
                        float(h - 2));
        std::unique_ptr<gfx::Font> font = MenuFont();
        gfx::StringFormat format;
        format.SetLineAlignment(gfx::StringAlignment::Center);
        format.SetFormatFlags(gfx::StringFormatFlagsNoWrap);
        for (int i = 0; i < static_cast<int>(FRows.size()); ++i) {
            const TMenuItem* item = FRows[static_cast<size_t>(i)];
            const TRect r = RowRect(i);
            const float top = float(r.Top), bottom = float(r.Bottom);
            const float mid = (top + bottom) / 2;
            if (item->IsLine()) {
                g.DrawLine(gfx::Pen(gfx::Color(LineColor)), gfx::PointF(float(Gutter), mid + 0.5f),
                           gfx::PointF(float(w - 4), mid + 0.5f));
                continue;
            }
            if (i == FHot)
                g.FillRectangle(gfx::SolidBrush(gfx::Color(HotColor)),
                                gfx::RectF(float(r.Left), top, float(r.Width()), bottom - top));
            const gfx::Color ink(item->Enabled() ? TextColor : DisabledColor);
            g.DrawString(RowText(item), *font,
                         gfx::RectF(float(Gutter), top, float(w - 2 * Gutter), bottom - top),
                         &format, gfx::SolidBrush(ink));
            if (item->Checked()) {
                if (item->RadioItem()) {
                    g.FillEllipse(gfx::SolidBrush(ink), gfx::RectF(9, mid - 3, 6, 6));
                } else {
                    gfx::Pen pen(ink, 1.6f);
                    g.DrawLine(pen, gfx::PointF(7, mid), gfx::PointF(10.5f, mid + 3.5f));
                    g.DrawLine(pen, gfx::PointF(10.5f, mid + 3.5f), gfx::PointF(17, mid - 4));
                }
            }
            if (item->Count() > 0) {
                gfx::GraphicsPath arrow;
                const float x = float(w - Gutter / 2 - 2);
                const gfx::PointF points[] = {gfx::PointF(x, mid - 4), gfx::PointF(x + 4, mid),
                                              gfx::PointF(x, mid + 4)};
                arrow.AddPolygon(points, 3);
                g.FillPath(gfx::SolidBrush(ink), arrow);
            }
        }
        g.Flush();
    }
    for (const TRect& r : GetUpdateRects(this))
        PresentBuffer(this, FPixels.data(), w, h, w * 4, r);
}
