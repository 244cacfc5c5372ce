// The memo's text, its display-line table and the layout that keeps them in step.
#include "scene/controls/Sg_memo.h"

#include "scene/controls/Sg_controls_text.h"
#include "scene/core/Sg_classes_widestringlist.h"
#include "scene/core/Sg_scene_resourceobjects.h"

#include "platform/rtl/Conversions.h"
#include "platform/ui/CursorIdents.h"
#include "platform/ui/Cursors.h"
#include "platform/ui/Menus.h"

#include <algorithm>

DBI_PUBLISH(TsgMemo) {
    using M = TsgMemo;
    p.String("Text", &M::Text, &M::SetText);
    p.Object("Font", &M::Font, &M::SetFont);
    p.Enumeration("TextAlign", &M::TextAlign, &M::SetTextAlign, SgTextAlignNames(),
                  sgTextAlignNear);
    p.Boolean("WordWrap", &M::WordWrap, &M::SetWordWrap, std::nullopt);
    p.Boolean("ReadOnly", &M::ReadOnly, &M::SetReadOnly, false);
    p.Integer("MaxLength", &M::MaxLength, &M::SetMaxLength, 0);
    p.Enumeration("CharCase", &M::CharCase, &M::SetCharCase,
                  {"ecNormal", "ecUpperCase", "ecLowerCase"}, ecNormal);
    p.Boolean("AutoSelect", &M::AutoSelect, &M::SetAutoSelect, true);
    p.Boolean("HideSelection", &M::HideSelection, &M::SetHideSelection, true);
    p.Integer("Cursor", &M::Cursor, &M::SetCursor, crIBeam).IdentMap(CursorIdents());
    p.Boolean("CanFocused", &M::CanFocused, &M::SetCanFocused, true);
    p.Boolean("DisableFocusEffect", &M::DisableFocusEffect, &M::SetDisableFocusEffect, false);
    p.Integer("TabOrder", &M::TabOrder, &M::SetTabOrder, -1);
    p.Event("OnChange", &M::GetOnChange, &M::SetOnChange);
    p.Event("OnChangeTracking", &M::GetOnChangeTracking, &M::SetOnChangeTracking);
}

DBI_PUBLISH(TsgHudMemo) {}

namespace {

bool IsBreak(char16_t C) {
    return C == u'\r' || C == u'\n';
}

UnicodeString Cased(const UnicodeString& S, TEditCharCase Case) {
    if (Case == ecUpperCase)
        return S.UpperCase();
    if (Case == ecLowerCase)
        return S.LowerCase();
    return S;
}

} // namespace

// ---- TsgMemoLines ----

int TsgMemoLines::GetCount() {
    return FMemo->GetLineCount();
}

UnicodeString TsgMemoLines::Get(int Index) {
    return FMemo->GetLine(Index);
}

void TsgMemoLines::Insert(int Index, const UnicodeString& S) {
    FMemo->InsertLine(Index, S);
    FMemo->Change();
}

void TsgMemoLines::Delete(int Index) {
    FMemo->DeleteLine(Index);
    FMemo->Change();
}

void TsgMemoLines::Clear() {
    FMemo->ClearLines();
    FMemo->Change();
}

void TsgMemoLines::SetUpdateState(bool Updating) {
    TsgWideStrings::SetUpdateState(Updating);
    FMemo->SetUpdateState(Updating);
}

// ---- TsgMemo ----

TsgMemo::TsgMemo(TComponent* AOwner)
    : TsgScrollBox(AOwner), FFontFill(new TsgBrush(sgBrushSolid, 0xFF000000)), FFont(new TsgFont()),
      FUndo(new TEdtActionStack(this)), FLines(new TsgMemoLines(this)),
      FSelectionFill(new TsgBrush(sgBrushSolid, 0x802A8ADF)) {
    FFont->OnChanged = TNotifyEvent::Bind<&TsgMemo::FontNotice>(this);
    CreatePopupMenu();
    SetCanFocused(true);
    SetCursor(crIBeam);
    SetAutoCapture(true);
    SetWidth(100);
}

TsgMemo::~TsgMemo() {
    BeforeDestruction();
    FPopupMenu.reset();
    delete FUndo;
    delete FLines;
    delete FUnwrapLines;
    delete FFontFill;
    delete FFont;
    delete FSelectionFill;
}

void TsgMemo::SetText(const UnicodeString& Value) {
    if (!ValidText(Value) || Value == FText)
        return;
    FText = Value.IsEmpty() ? Value : Cased(Value, FCharCase);
    if (FLinesFollowText) {
        UpdateLines();
        // The caret and the selection stay inside the new lines.
        const int last = std::max(GetLineCount() - 1, 0);
        if (FCaret.Line > last)
            FCaret = {last, 0};
        if (FSelStart.Line > last || FSelEnd.Line > last)
            FSelected = false;
        if (!FLinesUpdateHeld)
            Realign();
    }
    if (!Loading() && OnChangeTracking)
        OnChangeTracking(this);
    FNeedChange = true;
    Repaint();
}

void TsgMemo::StoreEditedText() {
    if (FCharCase != ecNormal) {
        UnicodeString cased = Cased(FText, FCharCase);
        if (cased != FText) {
            FText = cased;
            UpdateLines();
        }
    }
    if (!Loading() && OnChangeTracking)
        OnChangeTracking(this);
    FNeedChange = true;
    Repaint();
}

void TsgMemo::Change() {
    if (!FNeedChange)
        return;
    if (!BindingObjects().empty())
        ToBindingObjects();
    if (OnChange)
        OnChange(this);
}

void TsgMemo::SetWordWrap(bool Value) {
    if (Value == FWordWrap)
        return;
    FWordWrap = Value;
    Relayout();
}

void TsgMemo::SetCharCase(TEditCharCase Value) {
    FCharCase = Value;
}

void TsgMemo::SetHideSelection(bool Value) {
    if (Value == FHideSelection)
        return;
    FHideSelection = Value;
    Repaint();
}

void TsgMemo::SetTextAlignment(int Value) {
    if (Value == FTextAlignment)
        return;
    FTextAlignment = Value;
    Repaint();
}

void TsgMemo::FontChanged() {
    if (Loading())
        return;
    Relayout();
}

// A full layout that keeps the caret and the selection at their places in the text.
void TsgMemo::Relayout() {
    StorePositions();
    UpdateLines();
    RestorePositions();
    if (!FLinesUpdateHeld)
        Realign();
    UpdateCaretPosition(false);
    Repaint();
}

void TsgMemo::SetUpdateState(bool Updating) {
    FLinesUpdateHeld = Updating;
    if (!Updating)
        Realign();
}

TsgWideStringList* TsgMemo::GetUnwrapLines() {
    if (!FUnwrapLines)
        FUnwrapLines = new TsgWideStringList();
    FUnwrapLines->SetTextStr(FText);
    return FUnwrapLines;
}

void TsgMemo::StorePositions() {
    FSavedCaret = PosToTextPos(FCaret);
    if (FSelected) {
        FSavedSelStart = PosToTextPos(FSelStart);
        FSavedSelEnd = PosToTextPos(FSelEnd);
    }
}

void TsgMemo::RestorePositions() {
    if (FSavedCaret >= 0) {
        FCaret = TextPosToPos(FSavedCaret);
        FSavedCaret = -1;
    }
    if (FSelected && FSavedSelStart >= 0) {
        FSelStart = TextPosToPos(FSavedSelStart);
        FSelEnd = TextPosToPos(FSavedSelEnd);
        FSavedSelStart = -1;
        FSavedSelEnd = -1;
    }
}

// ---- Lines and positions ----

int TsgMemo::GetLineCount() const {
    return FText.IsEmpty() ? 0 : static_cast<int>(FLinesBegs.size());
}

void TsgMemo::GetLineBounds(int I, int& Begin, int& Length) const {
    const int count = static_cast<int>(FLinesBegs.size());
    if (count == 0) {
        Begin = 1;
        Length = 0;
        return;
    }
    if (I < 0 || I >= count) {
        Begin = 0;
        Length = 0;
        return;
    }
    Begin = LineStart(I);
    Length = (I + 1 < count ? LineStart(I + 1) : FText.Length() + 1) - Begin;
}

UnicodeString TsgMemo::GetLineInternal(int I) const {
    int begin = 0;
    int length = 0;
    GetLineBounds(I, begin, length);
    return length > 0 ? FText.SubString(begin, length) : UnicodeString();
}

UnicodeString TsgMemo::GetLine(int I) const {
    int begin = 0;
    int length = 0;
    GetLineBounds(I, begin, length);
    if (length <= 0)
        return UnicodeString();
    const std::u16string& s = FText.str();
    if (s[size_t(begin + length - 2)] == u'\n')
        --length;
    if (length > 0 && s[size_t(begin + length - 2)] == u'\r')
        --length;
    return FText.SubString(begin, length);
}

int TsgMemo::PosToTextPos(TCaretPosition P) const {
    const int count = GetLineCount();
    if (count == 0)
        return 0;
    const int line = std::clamp(P.Line, 0, count - 1);
    int begin = 0;
    int length = 0;
    GetLineBounds(line, begin, length);
    return begin + std::clamp(P.Pos, 0, length) - 1;
}

TCaretPosition TsgMemo::TextPosToPos(int Offset) const {
    const int count = GetLineCount();
    if (count == 0)
        return {0, 0};
    // The last line whose start is at or before Offset + 1.
    auto it = std::upper_bound(FLinesBegs.begin(), FLinesBegs.end(), Offset + 1);
    const int line = std::max(static_cast<int>(it - FLinesBegs.begin()) - 1, 0);
    return {line, Offset - LineStart(line) + 1};
}

TCaretPosition TsgMemo::GetLineRealEnd(TCaretPosition P) const {
    const int count = GetLineCount();
    if (count == 0)
        return {0, 0};
    int line = std::clamp(P.Line, 0, count - 1);
    const std::u16string& s = FText.str();
    while (line + 1 < count && !IsBreak(s[size_t(LineStart(line + 1) - 2)]))
        ++line;
    return {line, LineStart(line) + GetLine(line).Length() - 1};
}

// Offsets make the steps simple: a step never ends between the CR and the LF of one break.
TCaretPosition TsgMemo::GetPositionShift(TCaretPosition P, int Delta) const {
    const std::u16string& s = FText.str();
    const int n = static_cast<int>(s.size());
    int offset = PosToTextPos(P);
    auto insidePair = [&](int o) {
        return o > 0 && o < n && s[size_t(o)] == u'\n' && s[size_t(o - 1)] == u'\r';
    };
    if (Delta >= 14) {
        offset = std::min(offset + Delta, n);
        if (insidePair(offset))
            ++offset;
        return TextPosToPos(offset);
    }
    for (int steps = Delta; steps < 0 && offset > 0; ++steps) {
        --offset;
        if (insidePair(offset))
            --offset;
    }
    for (int steps = Delta; steps > 0 && offset < n; --steps) {
        ++offset;
        if (insidePair(offset)) {
            ++offset;
            --steps;
        }
    }
    return TextPosToPos(offset);
}

TCaretPosition TsgMemo::GetNextWordBeging(TCaretPosition P) const {
    const UnicodeString line = GetLine(P.Line);
    const std::u16string& s = line.str();
    const int n = static_cast<int>(s.size());
    int i = std::max(P.Pos, 0);
    if (i >= n)
        return P.Line + 1 < GetLineCount() ? TCaretPosition{P.Line + 1, 0} : P;
    while (i < n && s[size_t(i)] != u' ')
        ++i;
    while (i < n && s[size_t(i)] == u' ')
        ++i;
    return {P.Line, i};
}

TCaretPosition TsgMemo::GetPrivWordBeging(TCaretPosition P) const {
    if (P.Pos <= 0)
        return P.Line > 0 ? TCaretPosition{P.Line - 1, GetLine(P.Line - 1).Length()} : P;
    const UnicodeString line = GetLine(P.Line);
    const std::u16string& s = line.str();
    int i = std::min(P.Pos, static_cast<int>(s.size()));
    while (i > 0 && s[size_t(i - 1)] == u' ')
        --i;
    while (i > 0 && s[size_t(i - 1)] != u' ')
        --i;
    return {P.Line, i};
}

// ---- Layout ----

void TsgMemo::UpdateLines() {
    FWidestLine = 0;
    FLinesBegs.clear();
    if (FText.IsEmpty())
        return;
    FLinesBegs.push_back(1);
    bool measured = false;
    bool stopped = false;
    FWidestLine = LayOutRange(1, -1, FLinesBegs, measured, stopped);
}

int TsgMemo::LayOutRange(int Begin, int ParagraphEnd, TLinesBegs& Out, bool& Measured,
                         bool& Stopped) {
    const std::u16string& s = FText.str();
    const int n = static_cast<int>(s.size());
    const size_t base = Out.size();
    TsgCanvas* canvas = Canvas();
    const TsgRect content = ContentRect();
    const float avail = content.Right - content.Left;
    if (FWordWrap)
        FWrapWidth = avail;
    float widest = -1;
    int widestAt = 0;
    Measured = canvas != nullptr;
    Stopped = false;
    int start = Begin - 1;
    while (true) {
        int j = start;
        while (j < n && !IsBreak(s[size_t(j)]))
            ++j;
        if (canvas) {
            const std::u16string paragraph = s.substr(size_t(start), size_t(j - start));
            const float w = RawTextWidth(paragraph);
            if (w > widest) {
                widest = w;
                widestAt = static_cast<int>(Out.size() - base);
            }
            if (FWordWrap && w > avail)
                WrapParagraph(paragraph, start + 1, avail, Out);
        }
        if (j >= n)
            return widestAt;
        const int breakLength =
            s[size_t(j)] == u'\r' && j + 1 < n && s[size_t(j + 1)] == u'\n' ? 2 : 1;
        Out.push_back(j + breakLength + 1);
        if (ParagraphEnd >= 0 && j + breakLength - 1 >= ParagraphEnd) {
            Stopped = true;
            return widestAt;
        }
        start = j + breakLength;
    }
}

// Tokens end at a run of blanks, commas and hyphens, which stay with the token before them. A
// line is cut before the first token that does not fit; a token wider than the viewport stands
// alone on its line.
void TsgMemo::WrapParagraph(const std::u16string& P, int B, float Avail, TLinesBegs& Out) {
    auto separator = [](char16_t c) { return c == u' ' || c == u',' || c == u'-'; };
    const int n = static_cast<int>(P.size());
    int line = 0;
    int s = 0;
    while (s < n) {
        int r = s;
        while (r < n && !separator(P[size_t(r)]))
            ++r;
        while (r < n && separator(P[size_t(r)]))
            ++r;
        if (s > line && RawTextWidth(P.substr(size_t(line), size_t(r - line))) > Avail) {
            line = s;
            Out.push_back(B + s);
        }
        s = r;
    }
}

float TsgMemo::OldWidestWidth() {
    return static_cast<float>(Round(GetLineWidth(FWidestLine)));
}

void TsgMemo::UpdateRngLinesBegs(int StartLine, int EndLine, int StartBegin, int EndPos, int Delta,
                                 float OldWidest) {
    if (FText.IsEmpty()) {
        FLinesBegs.clear();
        FWidestLine = 0;
        return;
    }
    if (FLinesBegs.empty()) {
        FLinesBegs.push_back(1);
        StartLine = EndLine = 0;
        StartBegin = 1;
    }
    const int oldCount = static_cast<int>(FLinesBegs.size());
    TLinesBegs local;
    bool measured = false;
    bool stopped = false;
    const int widestAt = LayOutRange(StartBegin, EndPos, local, measured, stopped);
    // The layout stops after a line break exactly when the old paragraph was followed by one;
    // anything else means the table no longer matched the text, and it is built anew.
    const int from = StartLine + 1;
    int to = EndLine + 1 + (stopped ? 1 : 0);
    if ((stopped && EndLine + 1 >= oldCount) || (!stopped && EndLine + 1 < oldCount) ||
        to > oldCount) {
        UpdateLines();
        return;
    }
    const int d = static_cast<int>(local.size()) - (to - from);
    for (int k = to; k < oldCount; ++k)
        FLinesBegs[size_t(k)] += Delta;
    if (d > 0)
        FLinesBegs.insert(FLinesBegs.begin() + to, size_t(d), 0);
    else if (d < 0)
        FLinesBegs.erase(FLinesBegs.begin() + to + d, FLinesBegs.begin() + to);
    std::copy(local.begin(), local.end(), FLinesBegs.begin() + from);

    if (!measured)
        return;
    const int candidate = StartLine + widestAt;
    if (FWidestLine > EndLine)
        FWidestLine += d;
    if (FWidestLine >= GetLineCount())
        FWidestLine = GetWidestLine();
    else if (GetLineWidth(candidate) >= OldWidest)
        FWidestLine = candidate;
    else if (FWidestLine >= StartLine && FWidestLine <= EndLine + d)
        FWidestLine = GetWidestLine();
}

// ---- Measuring ----

float TsgMemo::GetLineHeight() const {
    return static_cast<float>(Round(FFont->Size() * 1.25));
}

TsgRect TsgMemo::ContentRect() {
    if (auto* content = dynamic_cast<TsgVisualObject*>(FindResource(u"content")))
        return content->GetParentedRect();
    return GetLocalRect();
}

float TsgMemo::GetPageSize() {
    const TsgRect r = ContentRect();
    const float lh = GetLineHeight();
    return lh > 0 ? (r.Bottom - r.Top) / lh : 0;
}

float TsgMemo::RawTextWidth(const std::u16string& S) {
    TsgCanvas* canvas = Canvas();
    if (!canvas || S.empty())
        return 0;
    TsgRect r = ContentRect();
    r.Right = 10000;
    canvas->Font()->Assign(FFont);
    canvas->MeasureText(r, r, UnicodeString(S), false, FTextAlign, sgTextAlignCenter);
    return r.Right - r.Left;
}

float TsgMemo::TextWidth(const UnicodeString& S) {
    return RawTextWidth(S.str());
}

float TsgMemo::GetLineWidth(int I) {
    if (I < 0 || I >= GetLineCount())
        return 0;
    return TextWidth(GetLine(I));
}

int TsgMemo::GetWidestLine() {
    const int count = GetLineCount();
    if (count == 0)
        return -1;
    int best = 0;
    float widest = -1;
    for (int i = 0; i < count; ++i) {
        const float w = GetLineWidth(i);
        if (w > widest) {
            widest = w;
            best = i;
        }
    }
    return best;
}

// ---- Style ----

void TsgMemo::ApplyStyle() {
    TsgScrollBox::ApplyStyle();
    if (auto* content = dynamic_cast<TsgVisualObject*>(FindResource(u"content"))) {
        FContentPart = content;
        content->OnPaint = TOnPaintEvent::Bind<&TsgMemo::DoContentPaint>(this);
    }
    if (auto* selection = dynamic_cast<TsgBrushObject*>(FindResource(u"selection")))
        FSelectionFill->Assign(selection->Brush());
    if (auto* foreground = dynamic_cast<TsgBrushObject*>(FindResource(u"foreground")))
        FFontFill->Assign(foreground->Brush());
    // The viewport is known now: lay out for it.
    Relayout();
}

void TsgMemo::FreeStyle() {
    TsgScrollBox::FreeStyle();
    FContentPart = nullptr;
}

bool TsgMemo::CanAutoSize(float&, float& NewHeight) {
    NewHeight = static_cast<float>(Round(GetLineHeight() + 2 * ContentRect().Top));
    return true;
}
