#include "scene/controls/Sg_textbox.h"

#include "scene/core/Sg_scene_background.h"
#include "scene/core/Sg_scene_resourceobjects.h"

#include "platform/ui/Clipboard.h"
#include "platform/ui/CursorIdents.h"
#include "platform/ui/Cursors.h"
#include "platform/ui/Menus.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

DBI_PUBLISH(TsgTextBox) {
    using S = TsgTextBox;
    p.String("Text", &S::Text, &S::SetText);
    p.Object("Font", &S::Font, &S::SetFont);
    p.Enumeration("TextAlign", &S::TextAlign, &S::SetTextAlign,
                  {"sgTextAlignCenter", "sgTextAlignNear", "sgTextAlignFar"}, sgTextAlignNear);
    // Always written, whatever their value.
    p.Boolean("Password", &S::Password, &S::SetPassword, std::nullopt);
    p.Boolean("ReadOnly", &S::ReadOnly, &S::SetReadOnly, std::nullopt);
    p.Integer("Cursor", &S::Cursor, &S::SetCursor, crIBeam).IdentMap(CursorIdents());
    p.Boolean("CanFocused", &S::CanFocused, &S::SetCanFocused, true);
    p.Boolean("DisableFocusEffect", &S::DisableFocusEffect, &S::SetDisableFocusEffect, false);
    p.Integer("TabOrder", &S::TabOrder, &S::SetTabOrder, -1);
    p.Event("OnChange", &S::GetOnChange, &S::SetOnChange);
    p.Event("OnChangeTracking", &S::GetOnChangeTracking, &S::SetOnChangeTracking);
    p.Event("OnTyping", &S::GetOnTyping, &S::SetOnTyping);
}

DBI_PUBLISH(TsgRoundTextBox) {}
DBI_PUBLISH(TsgHudTextBox) {}
DBI_PUBLISH(TsgHudRoundTextBox) {}

TsgTextBox::TsgTextBox(TComponent* AOwner)
    : TsgControl(AOwner), FFontFill(new TsgBrush(sgBrushSolid, 0xFF000000)), FFont(new TsgFont()),
      FSelectionFill(new TsgBrush(sgBrushSolid, 0x802A8ADF)) {
    FFont->OnChanged = TNotifyEvent::Bind<&TsgTextBox::FontNotice>(this);
    SetWidth(100);
    SetHeight(21);
    SetAutoCapture(true);
    SetCanFocused(true);
    SetCursor(crIBeam);
    CreateContextMenu();
}

TsgTextBox::~TsgTextBox() {
    BeforeDestruction();
    delete FContextMenu;
    delete FFontFill;
    delete FFont;
    delete FSelectionFill;
}

// Text and commits.

void TsgTextBox::SetText(const UnicodeString& Value) {
    if (Value == FText)
        return;
    FText = Value;
    if (FCaretPosition > FText.Length())
        SetCaretPosition(FText.Length());
    if (!Loading() && OnChangeTracking)
        OnChangeTracking(this);
    FNeedChange = true;
    Repaint();
}

void TsgTextBox::WriteText(const UnicodeString& Value) {
    FText = Value;
    SetCaretPosition(FCaretPosition);
    Repaint();
}

void TsgTextBox::Change() {
    if (!FNeedChange)
        return;
    if (!BindingObjects().empty())
        ToBindingObjects();
    if (OnChange)
        OnChange(this);
    FNeedChange = false;
}

void TsgTextBox::SetTextAlign(TsgTextAlign Value) {
    if (Value == FTextAlign)
        return;
    FTextAlign = Value;
    Repaint();
}

void TsgTextBox::SetPassword(bool Value) {
    if (Value == FPassword)
        return;
    FPassword = Value;
    Repaint();
}

void TsgTextBox::FontChanged() {
    Repaint();
}

// Selection.

int TsgTextBox::SelStart() const {
    if (FSelLength > 0)
        return FSelStart;
    if (FSelLength < 0)
        return FSelStart + FSelLength;
    return FCaretPosition;
}

int TsgTextBox::SelLength() const {
    return std::abs(FSelLength);
}

void TsgTextBox::SetSelStart(int Value) {
    if (Value == FSelStart)
        return;
    FSelLength = 0;
    FSelStart = Value;
    SetCaretPosition(Value);
    Repaint();
}

void TsgTextBox::SetSelLength(int Value) {
    if (Value == FSelLength)
        return;
    FSelLength = Value;
    Repaint();
}

// A selection set from outside may reach past the text; editing uses only the part inside it.
void TsgTextBox::SelBounds(int& Start, int& Length) const {
    const int n = FText.Length();
    int from = std::clamp(SelStart(), 0, n);
    int to = std::clamp(SelStart() + SelLength(), 0, n);
    Start = from;
    Length = to - from;
}

UnicodeString TsgTextBox::SelText() const {
    int start = 0;
    int length = 0;
    SelBounds(start, length);
    return FText.SubString(start + 1, length);
}

// The caret ends at the end with the anchor at the start, so that Shift with an arrow narrows
// the selection from the caret's side.
void TsgTextBox::SelectAll() {
    const int n = FText.Length();
    FSelStart = n;
    FSelLength = -n;
    SetCaretPosition(n);
    Repaint();
}

// Editing.

void TsgTextBox::Typed() {
    if (OnTyping)
        OnTyping(this);
}

void TsgTextBox::ClearSelection() {
    if (FReadOnly)
        return;
    int start = 0;
    int length = 0;
    SelBounds(start, length);
    UnicodeString text = FText;
    text.Delete(start + 1, length);
    SetCaretPosition(start);
    SetText(text);
    FSelLength = 0;
    FSelStart = FCaretPosition;
}

void TsgTextBox::InsertText(const UnicodeString& AText) {
    if (FReadOnly)
        return;
    int start = 0;
    int length = 0;
    SelBounds(start, length);
    UnicodeString text = FText;
    text.Delete(start + 1, length);
    text.Insert(AText, start + 1);
    if (FMaxLength <= 0 || FMaxLength >= text.Length()) {
        SetText(text);
        SetCaretPosition(start + AText.Length());
    }
    FSelLength = 0;
    FSelStart = FCaretPosition;
    Typed();
}

// A password box hands its real text to the clipboard: callers rely on copying what was typed.
void TsgTextBox::CopyToClipboard() {
    const UnicodeString text = SelText();
    if (!text.IsEmpty())
        Clipboard()->SetAsText(text);
}

void TsgTextBox::CutToClipboard() {
    CopyToClipboard();
    ClearSelection();
}

bool TsgTextBox::Accepts(char16_t C) const {
    return FFilterChar.IsEmpty() || FFilterChar.str().find(C) != std::u16string::npos;
}

UnicodeString TsgTextBox::PasteableText(const UnicodeString& S) const {
    UnicodeString kept;
    for (char16_t c : S.str()) {
        if (c == u'\r' || c == u'\n')
            break;
        if (c >= 32 && c != 127 && Accepts(c))
            kept += c;
    }
    return kept;
}

void TsgTextBox::PasteFromClipboard() {
    if (FReadOnly)
        return;
    InsertText(PasteableText(Clipboard()->AsText()));
}

// Context menu commands.

bool TsgTextBox::CommandEnabled(TEditCommand Command) {
    const bool selected = !SelText().IsEmpty();
    switch (Command) {
    case ecCut:
    case ecDelete:
        return selected && !FReadOnly;
    case ecCopy:
        return selected;
    case ecPaste:
        return !FReadOnly && !Clipboard()->AsText().IsEmpty();
    case ecSelectAll:
        return SelText() != FText;
    }
    return false;
}

void TsgTextBox::RunCommand(TEditCommand Command) {
    switch (Command) {
    case ecCut:
        CutToClipboard();
        break;
    case ecCopy:
        CopyToClipboard();
        break;
    case ecPaste:
        PasteFromClipboard();
        break;
    case ecDelete:
        ClearSelection();
        break;
    case ecSelectAll:
        SelectAll();
        break;
    }
}

void TsgTextBox::CreateContextMenu() {
    // Not a component of the box: the menu never streams with it.
    FContextMenu = new TPopupMenu(nullptr);
    const struct {
        const char16_t* caption;
        TEditCommand command;
    } entries[] = {{u"Cut", ecCut},
                   {u"Copy", ecCopy},
                   {u"Paste", ecPaste},
                   {u"Delete", ecDelete},
                   {u"Select All", ecSelectAll}};
    for (const auto& entry : entries) {
        auto* item = new TMenuItem(FContextMenu);
        item->SetCaption(entry.caption);
        item->SetTag(entry.command);
        item->OnClick = TNotifyEvent::Bind<&TsgTextBox::MenuCommand>(this);
        FContextMenu->Items()->Add(item);
    }
}

void TsgTextBox::MenuCommand(TObject* Sender) {
    if (auto* item = dynamic_cast<TMenuItem*>(Sender))
        RunCommand(static_cast<TEditCommand>(item->Tag()));
}

void TsgTextBox::ContextMenu(const TsgPoint& ScreenPosition) {
    TsgControl::ContextMenu(ScreenPosition);
    IsgScene* scene = Scene();
    if (scene && scene->GetDesignTime())
        return;
    TMenuItem* items = FContextMenu->Items();
    // Items added or removed by the application are left as it set them.
    if (items->Count() == 5)
        for (int i = 0; i < 5; ++i)
            items->Items(i)->SetEnabled(CommandEnabled(static_cast<TEditCommand>(i)));
    FContextMenu->SetPopupComponent(this);
    bool handled = false;
    if (auto* background = scene ? dynamic_cast<TsgBackground*>(scene->GetRoot()) : nullptr;
        background && background->OnMenuPopup) {
        handled = true;
        background->OnMenuPopup(this, FContextMenu, ScreenPosition, handled);
    }
    if (!handled)
        FContextMenu->Popup(static_cast<int>(std::nearbyint(ScreenPosition.X)),
                            static_cast<int>(std::nearbyint(ScreenPosition.Y)));
}

// Style.

void TsgTextBox::ApplyStyle() {
    TsgControl::ApplyStyle();
    if (auto* content = dynamic_cast<TsgContent*>(FindResource(u"content"))) {
        FContent = content;
        content->OnPaint = TOnPaintEvent::Bind<&TsgTextBox::DoContentPaint>(this);
    }
    if (auto* selection = dynamic_cast<TsgBrushObject*>(FindResource(u"selection")))
        FSelectionFill->Assign(selection->Brush());
    if (auto* foreground = dynamic_cast<TsgBrushObject*>(FindResource(u"foreground")))
        FFontFill->Assign(foreground->Brush());
}

void TsgTextBox::FreeStyle() {
    FContent = nullptr;
}
