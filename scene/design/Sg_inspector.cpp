#include "scene/design/Sg_inspector.h"

#include "scene/controls/Sg_controls_buttons.h"
#include "scene/controls/Sg_controls_popupbox.h"
#include "scene/controls/Sg_controls_text.h"
#include "scene/controls/Sg_textbox.h"
#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_classes_widestringlist.h"
#include "scene/core/Sg_scene_designer.h"
#include "scene/core/Sg_scene_font.h"
#include "scene/core/Sg_scene_iscene.h"
#include "scene/core/Sg_scene_path.h"
#include "scene/core/Sg_scene_registry.h"

#include "platform/classes/TypInfo.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringUtils.h"
#include "platform/ui/Input.h"

#include <algorithm>
#include <vector>

DBI_PUBLISH(TsgInspector) {
    using I = TsgInspector;
    p.Object("SelectedObject", &I::SelectedObject, &I::SetSelectedObject);
    p.Boolean("ShowProperties", &I::ShowProperties, &I::SetShowProperties, true);
    p.Boolean("ShowEvents", &I::ShowEvents, &I::SetShowEvents, false);
}

TsgInspectorEditors& sgInspectorEditors() {
    static TsgInspectorEditors editors;
    return editors;
}

namespace {

// Owned sub-objects are listed at most this deep, so that objects referring to each other
// cannot list forever.
constexpr int kMaxNesting = 8;
const UnicodeString kEditorResource = u"inspectorEditor";
// The colour of a typed value that did not convert.
constexpr uint32_t kInvalidColor = 0xFFD01010;

TPersistent* RowObject(TsgTreeViewItem* Row) {
    return Row ? dynamic_cast<TPersistent*>(Row->TagObject) : nullptr;
}

const TPropInfo* RowProperty(TsgTreeViewItem* Row) {
    TPersistent* o = RowObject(Row);
    if (!o || Row->TagString.IsEmpty())
        return nullptr;
    return o->ClassInfo().FindProperty(AnsiString(Row->TagString));
}

UnicodeString ElementName(const TPropInfo& P, int64_t Value) {
    if (P.Kind == TPropertyKind::Boolean)
        return Value ? u"True" : u"False";
    if (Value >= 0 && Value < static_cast<int64_t>(P.ElementNames.size()))
        return UnicodeString(P.ElementNames[static_cast<size_t>(Value)]);
    return IntToStr(Value);
}

// The value names a popup box offers for an enumeration or a Boolean, by ordinal.
std::vector<UnicodeString> ChoiceNames(const TPropInfo& P) {
    std::vector<UnicodeString> names;
    if (P.Kind == TPropertyKind::Boolean)
        return {u"False", u"True"};
    for (const AnsiString& n : P.ElementNames)
        names.emplace_back(n);
    return names;
}

UnicodeString MethodText(const TMethod& M) {
    if (!sgDesigner || !M.Code)
        return UnicodeString();
    return UnicodeString(sgDesigner->GetMethodName(M));
}

// The value of a property as the row shows it; for an owned sub-object, Nested receives it.
UnicodeString ValueText(TPersistent& O, const TPropInfo& P, TPersistent*& Nested) {
    Nested = nullptr;
    switch (P.Kind) {
    case TPropertyKind::Integer:
    case TPropertyKind::Int64:
        return IntToStr(P.GetOrd(O));
    case TPropertyKind::Enumeration:
    case TPropertyKind::Boolean:
        return ElementName(P, P.GetOrd(O));
    case TPropertyKind::Set:
        return UnicodeString(GetSetProp(&O, P.Name));
    case TPropertyKind::Float:
        return FloatToStr(P.GetFloat(O));
    case TPropertyKind::String:
    case TPropertyKind::WString:
        return P.GetStr(O);
    case TPropertyKind::Class: {
        TPersistent* v = P.GetObject(O);
        if (!v)
            return UnicodeString();
        if (auto* s = dynamic_cast<TsgObject*>(v))
            return s->Name().IsEmpty() ? s->ResourceName() : UnicodeString(s->Name());
        // A reference to another component is named, not entered.
        if (auto* c = dynamic_cast<TComponent*>(v))
            return UnicodeString(c->Name());
        Nested = v;
        return UnicodeString(v->ClassName());
    }
    case TPropertyKind::Method:
        return MethodText(P.GetMethod(O));
    }
    return UnicodeString();
}

bool IsEditedClass(TPersistent* V) {
    return dynamic_cast<TsgGradient*>(V) || dynamic_cast<TsgBrush*>(V) ||
           dynamic_cast<TsgBitmap*>(V) || dynamic_cast<TsgPathData*>(V) ||
           dynamic_cast<TsgFont*>(V);
}

int NestingOf(TsgObject* Parent) {
    int depth = 0;
    for (TsgObject* o = Parent; o && dynamic_cast<TsgTreeViewItem*>(o); o = o->Parent())
        ++depth;
    return depth;
}

} // namespace

TsgInspector::TsgInspector(TComponent* AOwner) : TsgTreeView(AOwner) {
    SetResource(u"treeviewstyle");
    SetHideSelectionUnfocused(false);
    FTextEditor = new TsgTextBox(this);
    FPopupEditor = new TsgPopupBox(this);
    FButtonEditor = new TsgButton(this);
    FButtonEditor->SetText(u"Edit...");
    for (TsgControl* e :
         std::initializer_list<TsgControl*>{FTextEditor, FPopupEditor, FButtonEditor}) {
        e->SetResourceName(kEditorResource);
        e->SetDisableFocusEffect(true);
        e->SetStored(false);
        e->SetVisible(false);
        e->SetLocked(true);
        e->Position()->SetX(2000);
        TsgTreeView::AddObject(e);
    }
    FTextEditor->Padding()->SetRect(TsgRect{0, 0, 0, 0});
    FTextEditor->OnChange = TNotifyEvent::Bind<&TsgInspector::DoEditorChange>(this);
    FPopupEditor->SetTextAlign(sgTextAlignNear);
    FPopupEditor->OnChange = TNotifyEvent::Bind<&TsgInspector::DoEditorChange>(this);
    FButtonEditor->OnClick = TNotifyEvent::Bind<&TsgInspector::DoEditorChange>(this);
}

TsgInspector::~TsgInspector() {
    BeforeDestruction();
    WatchSelected(false);
}

void TsgInspector::WatchSelected(bool Watch) {
    if (!FSelectedObject)
        return;
    if (auto* s = dynamic_cast<TsgObject*>(FSelectedObject)) {
        if (Watch)
            s->AddFreeNotify(this);
        else
            s->RemoveFreeNotify(this);
    } else if (Watch) {
        FSelectedObject->FreeNotification(this);
    } else {
        FSelectedObject->RemoveFreeNotification(this);
    }
}

void TsgInspector::SetSelectedObject(TComponent* Value) {
    if (Value == FSelectedObject)
        return;
    WatchSelected(false);
    FSelectedObject = Value;
    WatchSelected(true);
    RebuildList();
    RebuildEditor();
}

void TsgInspector::SetShowProperties(bool Value) {
    if (Value == FShowProperties)
        return;
    FShowProperties = Value;
    RebuildList();
}

void TsgInspector::SetShowEvents(bool Value) {
    if (Value == FShowEvents)
        return;
    FShowEvents = Value;
    RebuildList();
}

void TsgInspector::SetDisabledProperties(const TStrings& Value) {
    FDisabledProperties.Assign(Value);
}

void TsgInspector::FreeNotify(TsgObject* AObject) {
    if (AObject && AObject == FSelectedObject) {
        // The object is going: nothing of it may be read again.
        FSelectedObject = nullptr;
        RebuildList();
        RebuildEditor();
    }
    TsgTreeView::FreeNotify(AObject);
}

void TsgInspector::Notification(TComponent* AComponent, TOperation Operation) {
    TsgTreeView::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSelectedObject) {
        FSelectedObject = nullptr;
        RebuildList();
        RebuildEditor();
    }
}

void TsgInspector::RebuildList() {
    BeginUpdate();
    try {
        FTextEditor->TagObject = nullptr;
        FPopupEditor->TagObject = nullptr;
        FButtonEditor->TagObject = nullptr;
        Clear();
        if (FSelectedObject)
            AddObject(this, FSelectedObject);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TsgInspector::AddObject(TsgObject* AParent, TPersistent* AObject) {
    if (!AObject || !AParent)
        return;
    std::vector<const TPropInfo*> props = AObject->ClassInfo().Properties();
    std::stable_sort(props.begin(), props.end(), [](const TPropInfo* a, const TPropInfo* b) {
        return CompareText(a->Name, b->Name) < 0;
    });
    for (const TPropInfo* p : props) {
        if (FDisabledProperties.IndexOf(UnicodeString(p->Name)) >= 0)
            continue;
        if (!p->IsWritable())
            continue;
        const bool event = p->Kind == TPropertyKind::Method;
        if (event && (!FShowEvents || AObject != FSelectedObject))
            continue;
        if (!event && !FShowProperties)
            continue;

        auto* row = new TsgTreeViewItem(this);
        row->SetLocked(true);
        row->SetStored(false);
        row->SetText(UnicodeString(p->Name));
        row->TagObject = AObject;
        row->TagString = UnicodeString(p->Name);
        if (AParent == this)
            TsgTreeView::AddObject(row);
        else
            AParent->AddObject(row);

        auto* label = new TsgLabel(this);
        label->SetResourceName(kEditorResource);
        label->SetLocked(true);
        label->SetStored(false);
        label->SetHitTest(false);
        label->SetTextAlign(sgTextAlignNear);
        label->SetWordWrap(false);
        row->AddObject(label);
        label->SetBounds(Width() / 2, 0, Width(), row->Height() + 2);
        row->TagData = nullptr;

        TPersistent* nested = nullptr;
        label->SetText(ValueText(*AObject, *p, nested));
        if (nested) {
            row->SetIsExpanded(false);
            if (NestingOf(AParent) < kMaxNesting)
                AddObject(row, nested);
        }
    }
}

TsgLabel* TsgInspector::ValueLabel(TsgTreeViewItem* Row) {
    if (!Row)
        return nullptr;
    for (int i = 0; i < Row->ChildrenCount(); ++i)
        if (auto* label = dynamic_cast<TsgLabel*>(Row->GetChild(i)))
            if (label->ResourceName() == kEditorResource)
                return label;
    return nullptr;
}

TsgTreeViewItem* TsgInspector::RowOf(const UnicodeString& Path) const {
    const AnsiString path(Path);
    TsgObject* level = Content();
    TsgTreeViewItem* found = nullptr;
    int start = 0;
    while (level && start <= path.Length()) {
        int dot = start;
        while (dot < path.Length() && path.c_str()[dot] != '.')
            ++dot;
        const AnsiString step(std::string(path.c_str() + start, path.c_str() + dot));
        found = nullptr;
        for (int i = 0; i < level->ChildrenCount(); ++i) {
            auto* row = dynamic_cast<TsgTreeViewItem*>(level->GetChild(i));
            if (row && SameText(AnsiString(row->TagString), step)) {
                found = row;
                break;
            }
        }
        if (!found || dot >= path.Length())
            return found;
        level = found;
        start = dot + 1;
    }
    return found;
}

TsgVisualObject* TsgInspector::Editor() const {
    if (FPopupEditor->Visible())
        return FPopupEditor;
    if (FTextEditor->Visible())
        return FTextEditor;
    if (FButtonEditor->Visible())
        return FButtonEditor;
    return nullptr;
}

void TsgInspector::MarkInvalid(bool Value) {
    if (Value == FInvalid)
        return;
    FInvalid = Value;
    TsgBrush* fill = FTextEditor->FontFill();
    if (Value) {
        FValidFontColor = fill->SolidColor();
        fill->SetSolidColor(kInvalidColor);
    } else {
        fill->SetSolidColor(FValidFontColor);
    }
    FTextEditor->Repaint();
}

void TsgInspector::RebuildEditor() {
    // With no editor for the row, the keys go to the tree itself when they came to the
    // inspector before.
    TsgVisualObject* focused = Scene() ? Scene()->GetFocused() : nullptr;
    const bool keysHere = !focused || focused == this || focused == FTextEditor ||
                          focused == FPopupEditor || focused == FButtonEditor;
    struct TFocusTree {
        TsgInspector* Self;
        bool KeysHere;
        ~TFocusTree() {
            if (KeysHere && !Self->Editor())
                Self->SetFocus();
        }
    } focusTree{this, keysHere};
    for (TsgControl* e :
         std::initializer_list<TsgControl*>{FTextEditor, FPopupEditor, FButtonEditor}) {
        e->SetVisible(false);
        if (auto* covered = dynamic_cast<TsgVisualObject*>(e->TagObject))
            covered->SetVisible(true);
        e->TagObject = nullptr;
    }
    MarkInvalid(false);
    TsgTreeViewItem* row = Selected();
    TPersistent* o = RowObject(row);
    const TPropInfo* p = RowProperty(row);
    if (!o || !p)
        return;

    TsgControl* editor = FTextEditor;
    bool selectAll = false;
    FWriting = true;
    switch (p->Kind) {
    case TPropertyKind::Class: {
        TPersistent* v = p->GetObject(*o);
        if (!IsEditedClass(v)) {
            FWriting = false;
            return;
        }
        editor = FButtonEditor;
        break;
    }
    case TPropertyKind::Enumeration:
    case TPropertyKind::Boolean: {
        FPopupEditor->Items()->Clear();
        FPopupEditor->SetItemIndex(-1);
        for (const UnicodeString& name : ChoiceNames(*p))
            FPopupEditor->Items()->Add(name);
        FPopupEditor->SetItemIndex(static_cast<int32_t>(p->GetOrd(*o)));
        editor = FPopupEditor;
        break;
    }
    case TPropertyKind::Method:
        FTextEditor->SetText(MethodText(p->GetMethod(*o)));
        selectAll = true;
        break;
    case TPropertyKind::String:
    case TPropertyKind::WString:
        FTextEditor->SetText(p->GetStr(*o));
        selectAll = true;
        break;
    default: {
        TPersistent* nested = nullptr;
        FTextEditor->SetText(ValueText(*o, *p, nested));
        break;
    }
    }
    FWriting = false;

    editor->SetVisible(true);
    editor->SetLocked(true);
    editor->SetStored(false);
    TsgLabel* label = ValueLabel(row);
    editor->TagObject = label;
    if (label)
        label->SetVisible(false);
    PlaceEditor();
    if (selectAll)
        FTextEditor->SelectAll();
    editor->SetFocus();
}

void TsgInspector::PlaceEditor() {
    TsgVisualObject* editor = Editor();
    TsgTreeViewItem* row = Selected();
    TsgVisualObject* layout = ContentLayout();
    if (!editor || !row || !layout || !Content())
        return;
    if (editor->Parent() != Content())
        Content()->AddObject(editor);
    const float rowHeight = row->Height();
    const float indent = row->Level() * rowHeight;
    const TsgRect r = GetItemRect(row);
    editor->SetBounds(indent + Width() / 2, r.Top + 1,
                      layout->Width() - Width() / 2 - Content()->Position()->X() +
                          layout->Position()->X() - indent - 1,
                      rowHeight - 2);
    Repaint();
}

void TsgInspector::SetSelected(TsgTreeViewItem* Item) {
    if (Item == Selected())
        return;
    // A typed or chosen value is committed before the editor moves on.
    if (FPopupEditor->Visible())
        DoEditorChange(FPopupEditor);
    else if (FTextEditor->Visible())
        DoEditorChange(FTextEditor);
    TsgTreeView::SetSelected(Item);
    RebuildEditor();
}

void TsgInspector::VScrollChange(TObject* Sender) {
    TsgTreeView::VScrollChange(Sender);
    PlaceEditor();
}

void TsgInspector::DialogKey(uint16_t& Key, TShiftState Shift) {
    TsgTreeView::DialogKey(Key, Shift);
    if (Key == 0 || GlobalCount() == 0 || !Selected())
        return;
    TsgVisualObject* editor = Editor();
    if (!editor || !Scene() || Scene()->GetFocused() != editor)
        return;
    const bool text = editor == FTextEditor;
    switch (Key) {
    case VK_END:
        if (text)
            return;
        SetSelected(ItemByGlobalIndex(GlobalCount() - 1));
        break;
    case VK_HOME:
        if (text)
            return;
        SetSelected(ItemByGlobalIndex(0));
        break;
    case VK_UP:
        if (Selected()->GlobalIndex() > 0)
            SetSelected(ItemByGlobalIndex(Selected()->GlobalIndex() - 1));
        break;
    case VK_DOWN:
        if (Selected()->GlobalIndex() < GlobalCount() - 1)
            SetSelected(ItemByGlobalIndex(Selected()->GlobalIndex() + 1));
        break;
    case VK_ADD:
        Selected()->SetIsExpanded(true);
        break;
    case VK_SUBTRACT:
        Selected()->SetIsExpanded(false);
        break;
    default:
        return;
    }
    Key = 0;
}

void TsgInspector::DoEditorChange(TObject* Sender) {
    if (FWriting || UpdateCount() > 0)
        return;
    TsgTreeViewItem* row = Selected();
    const TPropInfo* p = RowProperty(row);
    if (!p)
        return;
    if (Sender == FButtonEditor && FButtonEditor->Visible())
        OpenObjectEditor(row, *p);
    else if (Sender == FPopupEditor && FPopupEditor->Visible())
        WriteChoice(row, *p);
    else if (Sender == FTextEditor && FTextEditor->Visible()) {
        // The value shown unchanged is not written again.
        TsgLabel* label = ValueLabel(row);
        if (!FInvalid && label && label->Text() == FTextEditor->Text())
            return;
        WriteText(row, *p, FTextEditor->Text());
    }
}

void TsgInspector::WriteText(TsgTreeViewItem* Row, const TPropInfo& Prop,
                             const UnicodeString& Text) {
    TPersistent* o = RowObject(Row);
    if (!o)
        return;
    FWriting = true;
    bool shown = true;
    try {
        switch (Prop.Kind) {
        case TPropertyKind::Integer:
            Prop.SetOrd(*o, StrToInt(Text.Trim()));
            break;
        case TPropertyKind::Int64:
            Prop.SetOrd(*o, StrToInt64(Text.Trim()));
            break;
        case TPropertyKind::Boolean:
        case TPropertyKind::Enumeration:
            SetEnumProp(o, Prop.Name, AnsiString(Text.Trim()));
            break;
        case TPropertyKind::Set:
            SetSetProp(o, Prop.Name, AnsiString(Text.Trim()));
            break;
        case TPropertyKind::Float:
            Prop.SetFloat(*o, StrToFloat(Text.Trim()));
            break;
        case TPropertyKind::String:
        case TPropertyKind::WString:
            Prop.SetStr(*o, Text);
            break;
        case TPropertyKind::Method: {
            if (!sgDesigner)
                break;
            const TMethod m = Text.IsEmpty() ? TMethod{} : sgDesigner->AddMethod(AnsiString(Text));
            Prop.SetMethod(*o, m);
            shown = m.Code != nullptr || Text.IsEmpty();
            break;
        }
        case TPropertyKind::Class:
            break;
        }
    } catch (const Exception&) {
        FWriting = false;
        MarkInvalid(true);
        return;
    }
    MarkInvalid(false);
    // The object is drawn again where it is now (its setter repaints where it was).
    if (auto* visual = dynamic_cast<TsgVisualObject*>(FSelectedObject))
        visual->Repaint();
    if (TsgLabel* label = ValueLabel(Row); label && shown)
        label->SetText(Text);
    if (sgDesigner)
        sgDesigner->Modified(FSelectedObject ? FSelectedObject->Owner() : nullptr);
    FWriting = false;
}

void TsgInspector::WriteChoice(TsgTreeViewItem* Row, const TPropInfo& Prop) {
    TPersistent* o = RowObject(Row);
    const int32_t index = FPopupEditor->ItemIndex();
    if (!o || index < 0 || index >= static_cast<int32_t>(ChoiceNames(Prop).size()))
        return;
    // The value chosen unchanged is not written again.
    if (Prop.GetOrd(*o) == index)
        return;
    FWriting = true;
    try {
        Prop.SetOrd(*o, index);
    } catch (...) {
        FWriting = false;
        throw;
    }
    if (auto* visual = dynamic_cast<TsgVisualObject*>(FSelectedObject))
        visual->Repaint();
    if (TsgLabel* label = ValueLabel(Row))
        label->SetText(FPopupEditor->Text());
    if (sgDesigner)
        sgDesigner->Modified(FSelectedObject ? FSelectedObject->Owner() : nullptr);
    FWriting = false;
}

void TsgInspector::OpenObjectEditor(TsgTreeViewItem* Row, const TPropInfo& Prop) {
    TPersistent* o = RowObject(Row);
    TPersistent* v = o ? Prop.GetObject(*o) : nullptr;
    if (!v)
        return;
    const TsgInspectorEditors& editors = sgInspectorEditors();
    const std::function<bool(TPersistent*, TComponent*)>* open = nullptr;
    if (dynamic_cast<TsgBrush*>(v))
        open = &editors.Brush;
    else if (dynamic_cast<TsgGradient*>(v))
        open = &editors.Gradient;
    else if (dynamic_cast<TsgBitmap*>(v))
        open = &editors.Bitmap;
    else if (dynamic_cast<TsgPathData*>(v))
        open = &editors.PathData;
    else if (dynamic_cast<TsgFont*>(v))
        open = &editors.Font;
    if (!open || !*open)
        return;
    FWriting = true;
    try {
        if ((*open)(v, FSelectedObject) && sgDesigner)
            sgDesigner->Modified(FSelectedObject ? FSelectedObject->Owner() : nullptr);
    } catch (...) {
        FWriting = false;
        throw;
    }
    FWriting = false;
    if (auto* visual = dynamic_cast<TsgVisualObject*>(FSelectedObject))
        visual->Repaint();
}

void RegisterSgInspectorUnit() {
    static const bool done = [] {
        RegisterSgTreeViewUnit();
        RegisterSGObjects(u"Design", {&TsgInspector::StaticClassInfo()});
        return true;
    }();
    (void)done;
}
