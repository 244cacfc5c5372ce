// Geometry, caret, scrolling and painting of the memo: all of it goes through the position of a
// (line, character) pair in the memo's coordinates and back.
#include "scene/controls/Sg_memo.h"

#include "scene/core/Sg_scene_geometry.h"

#include "platform/rtl/Conversions.h"

#include <algorithm>
#include <cmath>

float TsgMemo::VScrollBarValue() const {
    TsgScrollBar* bar = VScrollBar();
    return bar && bar->Visible() ? bar->Value() : 0;
}

float TsgMemo::HScrollBarValue() const {
    TsgScrollBar* bar = HScrollBar();
    return bar && bar->Visible() ? bar->Value() : 0;
}

float TsgMemo::AlignShift(float LineW, float ContentW) const {
    if (LineW >= ContentW)
        return 0;
    if (FTextAlign == sgTextAlignCenter)
        return (ContentW - LineW) / 2;
    if (FTextAlign == sgTextAlignFar)
        return ContentW - LineW;
    return 0;
}

TsgPoint TsgMemo::GetPositionPoint(TCaretPosition P) {
    const TsgRect content = ContentRect();
    TsgPoint result{content.Left,
                    content.Top + GetLineHeight() * static_cast<float>(P.Line) - VScrollBarValue()};
    if (Canvas() && P.Line >= 0 && P.Line < GetLineCount()) {
        const UnicodeString s = GetLine(P.Line);
        if (P.Pos > 0)
            result.X += TextWidth(s.SubString(1, std::min(P.Pos, s.Length())));
        if (FTextAlign != sgTextAlignNear)
            result.X += AlignShift(TextWidth(s), content.Right - content.Left);
    }
    result.X -= HScrollBarValue();
    return result;
}

TCaretPosition TsgMemo::GetPointPosition(TsgPoint Pt) {
    const int count = GetLineCount();
    if (count == 0)
        return {0, 0};
    const TsgRect content = ContentRect();
    Pt.X = std::clamp(Pt.X, content.Left, content.Right);
    Pt.Y = std::clamp(Pt.Y, content.Top, content.Bottom);
    const float lh = GetLineHeight();
    int line =
        lh > 0 ? static_cast<int>(std::trunc((VScrollBarValue() + Pt.Y - content.Top) / lh)) : 0;
    line = std::clamp(line, 0, count - 1);
    return {line, PosAtX(line, Pt.X)};
}

// The character boundary nearest to X on a line: a character counts as passed once X is beyond
// its middle. Widths only grow with the prefix, so the boundary is found by halving.
int TsgMemo::PosAtX(int Line, float X) {
    const UnicodeString s = GetLine(Line);
    const int n = s.Length();
    if (n == 0 || !Canvas())
        return 0;
    const TsgRect content = ContentRect();
    float target = X + HScrollBarValue();
    if (FTextAlign != sgTextAlignNear)
        target -= AlignShift(TextWidth(s), content.Right - content.Left);
    const float limit = HScrollBarValue() + content.Right;
    auto edge = [&](int pos) {
        if (pos == 0)
            return content.Left + TextWidth(s.SubString(1, 1)) / 2;
        return content.Left + TextWidth(s.SubString(1, pos)) + FFont->Size() / 4;
    };
    auto passes = [&](int pos) {
        const float e = edge(pos);
        return e < target && limit > e;
    };
    int low = 0;
    int high = n;
    while (low < high) {
        const int mid = (low + high) / 2;
        if (passes(mid))
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

// ---- Caret ----

void TsgMemo::SetCaretPosition(TCaretPosition P) {
    const int count = GetLineCount();
    P.Line = count == 0 ? 0 : std::clamp(P.Line, 0, count - 1);
    P.Pos = std::clamp(P.Pos, 0, GetLine(P.Line).Length());
    FCaret = P;
    UpdateCaretPosition(true);
}

void TsgMemo::UpdateCaretPosition(bool Track) {
    if (Track) {
        UpdateVScrlBarByCaretPos();
        UpdateHScrlBarByCaretPos();
    }
    if (!IsFocused())
        return;
    const TsgRect content = ContentRect();
    const TsgPoint p = GetPositionPoint(FCaret);
    SetCaretSize({2, GetLineHeight()});
    SetCaretPos({p.X + HScrollBarValue() - content.Left, p.Y + VScrollBarValue() - content.Top});
    SetCaretColor(FFontFill->SolidColor());
}

void TsgMemo::UpdateVScrlBarByCaretPos() {
    TsgScrollBar* bar = VScrollBar();
    TsgVisualObject* layout = ContentLayout();
    if (!bar || !bar->Visible() || !layout)
        return;
    const float lh = GetLineHeight();
    float value = bar->Value();
    if (value > lh * static_cast<float>(FCaret.Line))
        value = lh * static_cast<float>(FCaret.Line);
    if (lh * static_cast<float>(FCaret.Line + 1) > value + layout->Height())
        value = lh * (static_cast<float>(FCaret.Line + 1)) - layout->Height();
    if (value != bar->Value())
        bar->SetValue(value);
}

void TsgMemo::UpdateHScrlBarByCaretPos() {
    TsgScrollBar* bar = HScrollBar();
    if (GetLineCount() == 0 || !Canvas() || !bar || !bar->Visible())
        return;
    const TsgRect content = ContentRect();
    const float x = static_cast<float>(Round(GetPositionPoint(FCaret).X));
    if (x >= content.Left && x <= content.Right)
        return;
    // Where the caret lies in the unscrolled text, and the scroll that brings it just inside.
    const float inText = x + bar->Value() - content.Left;
    const float width = content.Right - content.Left;
    bar->SetValue(x > content.Right ? inText - (width - 5) : inText);
}

void TsgMemo::MoveCareteBy(int Delta) {
    SetCaretPosition(GetPositionShift(FCaret, Delta));
}

void TsgMemo::MoveCaretVertical(int Delta) {
    const int count = GetLineCount();
    if (count == 0)
        return;
    const int line = std::clamp(FCaret.Line + Delta, 0, count - 1);
    const float x = static_cast<float>(Round(GetPositionPoint(FCaret).X));
    FCaret = {line, PosAtX(line, x)};
}

void TsgMemo::MoveCaretPageUp() {
    MoveCaretVertical(-static_cast<int>(Round(GetPageSize())));
}

void TsgMemo::MoveCaretPageDown() {
    MoveCaretVertical(static_cast<int>(Round(GetPageSize())));
}

void TsgMemo::GoToTextBegin() {
    FCaret = {0, 0};
}

void TsgMemo::GoToTextEnd() {
    const int last = std::max(GetLineCount() - 1, 0);
    FCaret = {last, GetLine(last).Length()};
}

void TsgMemo::GoToLineBegin() {
    FCaret.Pos = 0;
}

void TsgMemo::GotoLineEnd() {
    if (FCaret.Line < GetLineCount())
        FCaret.Pos = GetLine(FCaret.Line).Length();
}

// The input method composes at the caret.
TsgPoint TsgMemo::CompositionOffset() {
    const TsgPoint p = GetPositionPoint(FCaret);
    return {std::trunc(p.X), std::trunc(p.Y)};
}

// ---- Scrolling ----

// The text is painted from the bars' values, so a moved bar repaints it and moves the caret.
void TsgMemo::VScrollChange(TObject* Sender) {
    TsgScrollBox::VScrollChange(Sender);
    Repaint();
    UpdateCaretPosition(false);
}

void TsgMemo::HScrollChange(TObject* Sender) {
    TsgScrollBox::HScrollChange(Sender);
    Repaint();
    UpdateCaretPosition(false);
}

void TsgMemo::MouseWheel(TShiftState Shift, int WheelDelta, bool& Handled) {
    TsgScrollBox::MouseWheel(Shift, WheelDelta, Handled);
    if (TsgScrollBar* bar = VScrollBar(); bar && bar->Visible())
        bar->SetValue(bar->Value() - static_cast<float>(WheelDelta) / 30);
}

TsgRect TsgMemo::GetContentBounds() {
    TsgRect r = TsgScrollBox::GetContentBounds();
    // Wrapped lines follow the viewport; they are laid out again only when its width moved.
    if (FWordWrap) {
        const TsgRect content = ContentRect();
        if (content.Right - content.Left != FWrapWidth) {
            StorePositions();
            UpdateLines();
            RestorePositions();
        }
    }
    if (const int count = GetLineCount(); count > 0)
        r.Bottom = r.Top + GetLineHeight() * static_cast<float>(count);
    if (!FWordWrap && GetLineCount() > 0) {
        const float widest = GetLineWidth(FWidestLine);
        if (widest > r.Right - r.Left)
            r.Right = r.Left + widest + 10;
    }
    UpdateHScrlBarByCaretPos();
    return r;
}

// ---- Painting ----

void TsgMemo::DoContentPaint(TObject*, TsgCanvas* Canvas, const TsgRect& ARect) {
    const int count = GetLineCount();
    if (count == 0)
        return;
    const uint32_t state = Canvas->SaveCanvas();
    Canvas->IntersectClipRect(ARect);
    Canvas->Font()->Assign(FFont);
    Canvas->Fill()->Assign(FFontFill);
    const TsgRect content = ContentRect();
    const float lh = GetLineHeight();
    const float v = VScrollBarValue();
    const int first = lh > 0 ? std::clamp(static_cast<int>(std::trunc(v / lh)), 0, count - 1) : 0;
    const int last =
        lh > 0 ? std::min(count - 1,
                          static_cast<int>(std::trunc((v + content.Bottom - content.Top) / lh)))
               : count - 1;
    // The selection goes under the text: the style's selection fill may be opaque.
    if (IsFocused() && GetShowSelection()) {
        Canvas->Fill()->Assign(FSelectionFill);
        for (TsgRect r : GetSelArea()) {
            r.Left = std::clamp(r.Left, 0.0f, 1000.0f);
            r.Right = std::clamp(r.Right, 0.0f, 1000.0f);
            r.Top = std::clamp(r.Top, 0.0f, 1000.0f);
            r.Bottom = std::clamp(r.Bottom, 0.0f, 1000.0f);
            sgOffsetRect(r, -content.Left, -content.Top);
            Canvas->FillRect(r, 0, 0, TsgCorners(), 1);
        }
        Canvas->Fill()->Assign(FFontFill);
    }
    for (int line = first; line <= last; ++line) {
        const TsgPoint p = GetPositionPoint({line, 0});
        const TsgRect r{p.X - content.Left, p.Y - content.Top, 65535,
                        p.Y - content.Top + lh * 1.25f};
        Canvas->FillText(r, ARect, GetLine(line), false, 1, sgTextAlignNear, sgTextAlignNear);
    }
    Canvas->RestoreCanvas(state);
}

TSelArea TsgMemo::GetSelArea() {
    TSelArea area;
    if (!FSelected)
        return area;
    TCaretPosition b = GetSelBeg();
    TCaretPosition e = GetSelEnd();
    const float lh = GetLineHeight();
    const float v = VScrollBarValue();
    const int firstVisible = lh > 0 ? static_cast<int>(std::trunc(v / lh)) : 0;
    const TsgRect content = ContentRect();
    const int lastVisible =
        lh > 0 ? static_cast<int>(std::trunc((v + content.Bottom - content.Top) / lh)) : b.Line;
    const bool bMoved = b.Line < firstVisible;
    const bool eMoved = e.Line > lastVisible;
    const int first = bMoved ? firstVisible : b.Line;
    const int last = std::max(eMoved ? lastVisible : e.Line, first);
    for (int line = first; line <= last && line < GetLineCount(); ++line) {
        const TsgPoint left = GetPositionPoint({line, 0});
        const TsgPoint right = GetPositionPoint({line, GetLine(line).Length()});
        area.push_back({left.X, left.Y, right.X, left.Y + lh});
    }
    if (area.empty())
        return area;
    if (!bMoved)
        area.front().Left = GetPositionPoint(b).X;
    if (!eMoved)
        area.back().Right = GetPositionPoint(e).X;
    return area;
}

void TsgMemo::DrawPasswordChar(const TsgRect& Rect, bool) {
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    TsgRect r = Rect;
    const TsgRect content = ContentRect();
    r.Left = std::max(r.Left, content.Left);
    r.Top = std::max(r.Top, content.Top);
    r.Right = std::min(r.Right, content.Right);
    r.Bottom = std::min(r.Bottom, content.Bottom);
    canvas->Font()->Assign(FFont);
}
