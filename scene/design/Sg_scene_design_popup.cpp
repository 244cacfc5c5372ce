// The design menu of a scene: what a right click in the designer offers for the selection.
#include "scene/design/Sg_scene_design.h"

#include "scene/core/Sg_scene_registry.h"
#include "scene/core/Sg_scene_streams.h"

#include "platform/rtl/FileStream.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/rtl/StringUtils.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Menus.h"

#include <algorithm>
#include <vector>

namespace {

TMenuItem* NewItem(TPopupMenu* Menu, TMenuItem* Parent, const UnicodeString& Caption,
                   TNotifyEvent Handler = nullptr) {
    auto* item = new TMenuItem(Menu);
    item->SetCaption(Caption);
    item->OnClick = Handler;
    Parent->Add(item);
    return item;
}

// A class name without its leading "Tsg".
UnicodeString ShortClassName(const AnsiString& Name) {
    UnicodeString s(Name);
    if (s.Length() >= 3 && SameText(s.SubString(1, 3), u"Tsg"))
        return s.SubString(4, s.Length());
    return s;
}

UnicodeString ItemCaption(TObject* Sender) {
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    return item ? StripHotkey(item->Caption()) : UnicodeString();
}

} // namespace

TsgSceneDesign::TsgSceneDesign(TsgCustomScene* AScene) : FScene(AScene) {}

TsgSceneDesign::~TsgSceneDesign() = default;

AnsiString& TsgSceneDesign::DesignClipboard() {
    static auto* text = new AnsiString();
    return *text;
}

void TsgSceneDesign::OpenDesignPopup() {
    if (!FDesignPopupEnabled)
        return;
    FDesignPopup = std::make_unique<TPopupMenu>(nullptr);
    TPopupMenu* menu = FDesignPopup.get();
    TMenuItem* root = menu->Items();
    TsgVisualObject* sel = Selected();
    if (ObjectList) {
        if (sel && !sel->ItemClass().IsEmpty())
            NewItem(menu, root, u"Add " + ShortClassName(sel->ItemClass()),
                    TNotifyEvent::Bind<&TsgSceneDesign::doDesignPopupAddItem>(this));
        TMenuItem* add = NewItem(menu, root, u"Add object");
        std::vector<UnicodeString> categories;
        for (int i = 0; i < ObjectList->Count(); ++i) {
            const UnicodeString category = ObjectList->Strings(i);
            if (std::none_of(categories.begin(), categories.end(),
                             [&](const UnicodeString& c) { return SameText(c, category); }))
                categories.push_back(category);
        }
        for (const UnicodeString& category : categories) {
            TMenuItem* sub = NewItem(menu, add, category);
            std::vector<UnicodeString> names;
            for (int i = 0; i < ObjectList->Count(); ++i)
                if (SameText(ObjectList->Strings(i), category))
                    if (auto* info = static_cast<const TClassInfo*>(ObjectList->Objects(i)))
                        names.push_back(ShortClassName(info->ClassName()));
            std::sort(names.begin(), names.end(),
                      [](const UnicodeString& a, const UnicodeString& b) {
                          return CompareText(a, b) < 0;
                      });
            for (const UnicodeString& name : names) {
                TMenuItem* item = NewItem(
                    menu, sub, name, TNotifyEvent::Bind<&TsgSceneDesign::doDesignPopupAdd>(this));
                item->SetTag(255);
            }
        }
        NewItem(menu, root, u"Delete object",
                TNotifyEvent::Bind<&TsgSceneDesign::doDesignPopupDel>(this));
        NewItem(menu, root, u"Load From File...",
                TNotifyEvent::Bind<&TsgSceneDesign::doDesignPopupLoadFromFile>(this));
        if (sel) {
            TMenuItem* hide =
                NewItem(menu, root, u"Hide in Design-time",
                        TNotifyEvent::Bind<&TsgSceneDesign::doDesignPopupDesignHide>(this));
            hide->SetChecked(sel->DesignHide());
            hide->SetAutoCheck(true);
        }
        if (sel && sel->IsControl()) {
            NewItem(menu, root, u"Edit Default Style...",
                    TNotifyEvent::Bind<&TsgSceneDesign::doDesignPopupEditStyle>(this));
            NewItem(menu, root, u"Edit Custom Style...",
                    TNotifyEvent::Bind<&TsgSceneDesign::doDesignPopupCreateStyle>(this));
        }
        if (sel && sel->CanFocused())
            NewItem(menu, root, u"Tab Order...",
                    TNotifyEvent::Bind<&TsgSceneDesign::doDesignPopupTabOrder>(this));
        TMenuItem* order = NewItem(menu, root, u"Order");
        NewItem(menu, order, u"Bring to front",
                TNotifyEvent::Bind<&TsgSceneDesign::doDesignPopupReorder>(this));
        NewItem(menu, order, u"Send to back",
                TNotifyEvent::Bind<&TsgSceneDesign::doDesignPopupReorder>(this));
        TMenuItem* edit = NewItem(menu, root, u"Edit");
        NewItem(menu, edit, u"Copy to clipboard",
                TNotifyEvent::Bind<&TsgSceneDesign::doDesignPopupCopy>(this));
        NewItem(menu, edit, u"Paste from clipboard",
                TNotifyEvent::Bind<&TsgSceneDesign::doDesignPopupPaste>(this));
        TMenuItem* grid = NewItem(menu, root, u"Grid");
        const TNotifyEvent onGrid = TNotifyEvent::Bind<&TsgSceneDesign::doDesignPopupGrid>(this);
        TMenuItem* show = NewItem(menu, grid, u"Show snap grid", onGrid);
        show->SetTag(1);
        show->SetChecked(SnapGridShow());
        show->SetAutoCheck(true);
        const struct {
            const char16_t* caption;
            int tag;
            bool checked;
        } modes[] = {{u"Snap to grid", 2, SnapToGrid()},
                     {u"Snap to lines", 3, SnapToLines()},
                     {u"Snap disabled", 4, !SnapToGrid() && !SnapToLines()}};
        for (const auto& mode : modes) {
            TMenuItem* item = NewItem(menu, grid, mode.caption, onGrid);
            item->SetTag(mode.tag);
            item->SetRadioItem(true);
            item->SetChecked(mode.checked);
            item->SetAutoCheck(true);
        }
    }
    TPoint cursor{0, 0};
    GetCursorPos(&cursor);
    // InsertObject takes the point in the scene's client coordinates.
    PopupPos = FScene->ScreenToClient(cursor);
    menu->Popup(cursor.X, cursor.Y);
}

void TsgSceneDesign::doDesignPopupAddItem(TObject*) {
    if (TsgVisualObject* sel = Selected(); sel && !sel->ItemClass().IsEmpty())
        InsertObject(sel->ItemClass());
}

void TsgSceneDesign::doDesignPopupAdd(TObject* Sender) {
    const UnicodeString name = ItemCaption(Sender);
    if (!name.IsEmpty())
        InsertObject(AnsiString(u"Tsg" + name));
}

void TsgSceneDesign::doDesignPopupDel(TObject*) {
    TsgVisualObject* sel = Selected();
    if (!sel || sel == FScene->Root())
        return;
    TsgVisualObject* next = sel->Parent() ? sel->Parent()->Visual() : nullptr;
    if (!next && FScene->Root())
        next = FScene->Root()->Visual();
    ChangeSelection(next);
    if (sgDesigner)
        sgDesigner->DeleteObject(sel);
    sel->Free();
    FireChangeSelection();
    if (sgDesigner)
        sgDesigner->Modified(FScene->GetOwner());
}

void TsgSceneDesign::AddStreamedTree(TStream& Stream) {
    TComponent* owner = FScene->GetOwner();
    TsgObject* tree = CreateObjectFromStream(owner, Stream);
    if (!tree)
        return;
    TsgObject* parent = Selected() ? static_cast<TsgObject*>(Selected()) : FScene->Root();
    if (parent)
        tree->SetParent(parent);
    else
        FScene->AddObject(tree);
    if (sgDesigner && owner)
        tree->SetName(sgDesigner->UniqueName(owner, tree->ClassName()));
    if (sgDesigner)
        sgDesigner->Modified(owner);
    InvalidateAll();
}

void TsgSceneDesign::doDesignPopupLoadFromFile(TObject*) {
    TOpenDialog dialog;
    dialog.Filter = u"Scene Files|*.sgscene;*.sg";
    if (!dialog.Execute())
        return;
    TFileStream stream(dialog.FileName, fmOpenRead);
    AddStreamedTree(stream);
}

void TsgSceneDesign::doDesignPopupDesignHide(TObject*) {
    TsgVisualObject* sel = Selected();
    if (!sel || sel == FScene->Root())
        return;
    sel->SetDesignHide(!sel->DesignHide());
    if (sel->DesignHide())
        if (TsgVisualObject* parent = sel->Parent() ? sel->Parent()->Visual() : nullptr)
            ChangeSelection(parent);
    InvalidateAll();
}

void TsgSceneDesign::doDesignPopupReorder(TObject* Sender) {
    TsgVisualObject* sel = Selected();
    if (!sel)
        return;
    const UnicodeString caption = ItemCaption(Sender);
    if (caption == u"Bring to front")
        sel->BringToFront();
    else if (caption == u"Send to back")
        sel->SendToBack();
    InvalidateAll();
}

void TsgSceneDesign::doDesignPopupCopy(TObject*) {
    TsgVisualObject* sel = Selected();
    if (!sel)
        return;
    TStringStream stream;
    sel->SaveToStream(stream);
    DesignClipboard() = stream.DataString();
}

void TsgSceneDesign::doDesignPopupPaste(TObject*) {
    if (DesignClipboard().IsEmpty())
        return;
    TStringStream stream(DesignClipboard());
    AddStreamedTree(stream);
}

void TsgSceneDesign::CopyElement(TObject* Sender) {
    doDesignPopupCopy(Sender);
}

void TsgSceneDesign::PasteElement(TObject* Sender) {
    doDesignPopupPaste(Sender);
}

void TsgSceneDesign::doDesignPopupGrid(TObject* Sender) {
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    if (!item)
        return;
    const bool checked = item->Checked();
    switch (item->Tag()) {
    case 1:
        FScene->SetDesignSnapGridShow(checked);
        break;
    case 2:
        SetSnapToGrid(checked);
        SetSnapToLines(!checked);
        break;
    case 3:
        SetSnapToLines(checked);
        SetSnapToGrid(!checked);
        break;
    case 4:
        SetSnapToGrid(false);
        SetSnapToLines(false);
        break;
    }
    InvalidateAll();
}

void TsgSceneDesign::InvalidateAll() {
    FScene->AddUpdateRect(TsgRect{0, 0, float(FScene->GetWidth()), float(FScene->GetHeight())});
}
