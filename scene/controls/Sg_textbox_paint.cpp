// Measuring, scrolling, the caret and painting of the text box.
#include "scene/controls/Sg_textbox.h"

#include <cmath>

TsgRect TsgTextBox::ContentRect() {
    if (auto* content = dynamic_cast<TsgVisualObject*>(FindResource(u"content")))
        return content->GetParentedRect();
    return GetLocalRect();
}

float TsgTextBox::TextWidth(const UnicodeString& S) {
    if (FPassword)
        return GetPasswordCharWidth() * static_cast<float>(S.Length());
    TsgCanvas* canvas = Canvas();
    if (!canvas || S.IsEmpty())
        return 0;
    TsgRect r = ContentRect();
    r.Right = 10000;
    canvas->Font()->Assign(FFont);
    canvas->MeasureText(r, r, S, false, sgTextAlignNear, sgTextAlignCenter);
    return r.Right - r.Left;
}

float TsgTextBox::VisibleWidth(int P) {
    return TextWidth(FText.SubString(FFirstVisibleChar, P - FFirstVisibleChar + 1));
}

// How far text narrower than the content moves right under the alignment.
float TsgTextBox::AlignOffset(float Total) {
    const TsgRect content = ContentRect();
    const float w = content.Right - content.Left;
    if (Total >= w)
        return 0;
    if (FTextAlign == sgTextAlignCenter)
        return (w - Total) / 2;
    if (FTextAlign == sgTextAlignFar)
        return w - Total;
    return 0;
}

float TsgTextBox::GetCharX(int P) {
    const TsgRect content = ContentRect();
    const int n = FText.Length();
    float total = 0;
    float x = content.Left;
    if (FPassword) {
        total = GetPasswordCharWidth() * static_cast<float>(n);
        if (P > 0)
            x +=
                GetPasswordCharWidth() * static_cast<float>(std::min(P, n) - FFirstVisibleChar + 1);
    } else {
        // An empty box places its caret where a lone "a" would start.
        total = TextWidth(n > 0 ? FText : UnicodeString(u"a"));
        if (P > 0 && P <= n)
            x = content.Left + VisibleWidth(P);
    }
    return x + AlignOffset(total);
}

int TsgTextBox::GetCoordinatePosition(float X) {
    const int n = FText.Length();
    int result = FFirstVisibleChar - 1;
    if (n == 0)
        return result;
    const TsgRect content = ContentRect();
    X -= AlignOffset(FPassword ? GetPasswordCharWidth() * static_cast<float>(n) : TextWidth(FText));
    if (FPassword) {
        result += static_cast<int>(std::trunc((X - content.Left) / GetPasswordCharWidth()));
        return std::clamp(result, 0, n);
    }
    X -= content.Left;
    while (true) {
        const float a = VisibleWidth(result);
        if (a >= X || result >= n)
            return result;
        const float b = VisibleWidth(result + 1);
        if (a + (b - a) / 2 < X && b > X)
            return result + 1;
        if (b > X)
            return result;
        ++result;
    }
}

TsgRect TsgTextBox::GetSelRect() {
    TsgRect r = ContentRect();
    r.Left = GetCharX(SelStart());
    r.Right = GetCharX(SelStart() + SelLength()) + 1;
    return r;
}

// The input method composes at the caret, on the content's top edge.
TsgPoint TsgTextBox::CompositionOffset() {
    const TsgRect content = ContentRect();
    return {std::trunc(GetCharX(FCaretPosition)), std::trunc(content.Top)};
}

void TsgTextBox::UpdateFirstVisibleChar() {
    const TsgRect content = ContentRect();
    const float w = content.Right - content.Left;
    const int n = FText.Length();
    if (FCaretPosition + 1 <= FFirstVisibleChar) {
        FFirstVisibleChar = std::max(FCaretPosition, 1);
    } else if (FPassword) {
        while (GetPasswordCharWidth() * static_cast<float>(FCaretPosition - FFirstVisibleChar + 1) >
                   w &&
               FFirstVisibleChar < n)
            ++FFirstVisibleChar;
    } else {
        auto wider = [&](int from) {
            return TextWidth(FText.SubString(from, FCaretPosition - from + 1)) > w;
        };
        // Long texts are crossed in big steps first, so measuring stays cheap.
        while (wider(FFirstVisibleChar) && FFirstVisibleChar < n) {
            int step = 1;
            for (int s : {500, 100, 50, 10})
                if (wider(FFirstVisibleChar + s)) {
                    step = s;
                    break;
                }
            FFirstVisibleChar = std::min(FFirstVisibleChar + step, n);
        }
    }
    Repaint();
}

void TsgTextBox::SetCaretPosition(int Value) {
    FCaretPosition = std::clamp(Value, 0, FText.Length());
    UpdateFirstVisibleChar();
    if (FSelLength == 0)
        FSelStart = Value;
    PlaceCaret();
}

void TsgTextBox::PlaceCaret() {
    Repaint();
    if (!IsFocused() || !FShowCaret)
        return;
    const TsgRect content = ContentRect();
    const float h = FFont->Size() * 1.25f;
    SetCaretSize({2, h});
    SetCaretPos({GetCharX(FCaretPosition) - 1, (content.Top + content.Bottom - h) / 2});
    SetCaretColor(FFontFill->SolidColor());
}

void TsgTextBox::DoContentPaint(TObject*, TsgCanvas* Canvas, const TsgRect& ARect) {
    if (FText.IsEmpty())
        return;
    const uint32_t state = Canvas->SaveCanvas();
    Canvas->IntersectClipRect(ARect);
    Canvas->Font()->Assign(FFont);
    Canvas->Fill()->Assign(FFontFill);
    const float opacity = AbsoluteOpacity();
    if (FPassword) {
        const float side = GetPasswordCharWidth() - 1;
        TsgRect cell{ARect.Left, (ARect.Bottom - ARect.Top - side) / 2, 0, 0};
        cell.Right = cell.Left + side;
        cell.Bottom = cell.Top + side;
        for (int i = FFirstVisibleChar; i <= FText.Length(); ++i) {
            Canvas->FillEllipse(cell, opacity);
            cell.Left += side + 1;
            cell.Right += side + 1;
        }
    } else {
        TsgRect r = ARect;
        if (FTextAlign == sgTextAlignNear)
            r.Right += FFont->Size() / 2;
        Canvas->FillText(r, r, FText.SubString(FFirstVisibleChar, FText.Length()), false, opacity,
                         FTextAlign, sgTextAlignCenter);
    }
    if (IsFocused() && SelLength() > 0) {
        Canvas->Fill()->Assign(FSelectionFill);
        const TsgRect content = ContentRect();
        TsgRect r = GetSelRect();
        r.Left -= content.Left;
        r.Right -= content.Left;
        r.Top -= content.Top;
        r.Bottom -= content.Top;
        Canvas->FillRect(r, 0, 0, TsgCorners(), opacity);
    }
    Canvas->RestoreCanvas(state);
}
