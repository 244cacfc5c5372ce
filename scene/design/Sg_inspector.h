// TsgInspector: a tree view that lists the published properties of one component and edits
// them in place.
//
// Every listed property is a row (sorted by name) with the value shown in a label beside the
// name; an owned sub-object (Position, Fill, Font...) is a collapsed row with its class name and
// the sub-object's own properties as child rows. Selecting a row lays one editor over its value:
// a popup box offering the value names of an enumeration or a Boolean, a text box for numbers,
// texts, sets and events, or an "Edit..." button for gradients, brushes, bitmaps, path data and
// fonts, which opens the editor of that kind (see TsgInspectorEditors). A value chosen in the
// popup box is written at once; a typed text is written when the text box commits it (Enter,
// leaving the box, or moving to another row); a text that does not convert to the property's
// type leaves the property as it was and marks the editor invalid until the next good value.
//
// The inspector watches the selected component: when it is freed the inspector forgets it and
// empties itself.
#pragma once

#include "scene/controls/Sg_treeview.h"

#include "platform/rtl/StringList.h"

#include <functional>

class TsgButton;
class TsgLabel;
class TsgPopupBox;
class TsgTextBox;
struct TPropInfo;

// How the "Edit..." button opens the editor of an object property. Object is the property's
// value, Component the inspected component. Answers true when the object changed. The design
// unit fills in what exists; a kind without an entry leaves the button without effect.
struct TsgInspectorEditors {
    std::function<bool(TPersistent*Object, TComponent*Component)> Brush, Gradient, Bitmap, PathData,
        Font;
};
TsgInspectorEditors& sgInspectorEditors();

class TsgInspector : public TsgTreeView {
    DBI_PERSISTENT(TsgInspector, TsgTreeView)

    explicit TsgInspector(TComponent* AOwner);
    ~TsgInspector() override;

    TComponent* SelectedObject() const { return FSelectedObject; }
    void SetSelectedObject(TComponent* Value);
    bool ShowProperties() const { return FShowProperties; }
    void SetShowProperties(bool Value);
    bool ShowEvents() const { return FShowEvents; }
    void SetShowEvents(bool Value);
    // Names of properties never listed.
    TStringList& DisabledProperties() { return FDisabledProperties; }
    void SetDisabledProperties(const TStrings& Value);

    void RebuildList();
    void RebuildEditor();
    // Adds the rows of AObject's properties under AParent (the inspector or a row).
    void AddObject(TsgObject* AParent, TPersistent* AObject);
    using TsgTreeView::AddObject;

    // The visible editor: the popup box, the text box or the button; nullptr when none shows.
    TsgVisualObject* Editor() const;
    TsgTextBox* TextEditor() const { return FTextEditor; }
    TsgPopupBox* PopupEditor() const { return FPopupEditor; }
    TsgButton* ButtonEditor() const { return FButtonEditor; }
    // True while the inspector writes a value (and tells the designer so).
    bool Writing() const { return FWriting; }
    // Whether the last text written did not convert to the property's type.
    bool EditorInvalid() const { return FInvalid; }
    // The row of a property path such as "Position.X"; nullptr when it is not listed.
    TsgTreeViewItem* RowOf(const UnicodeString& Path) const;
    // The value label of a row.
    static TsgLabel* ValueLabel(TsgTreeViewItem* Row);

    void SetSelected(TsgTreeViewItem* Item) override;
    void VScrollChange(TObject* Sender) override;
    void DialogKey(uint16_t& Key, TShiftState Shift) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void FreeNotify(TsgObject* AObject) override;

    void DoEditorChange(TObject* Sender);

private:
    void PlaceEditor();
    void WriteText(TsgTreeViewItem* Row, const TPropInfo& Prop, const UnicodeString& Text);
    void WriteChoice(TsgTreeViewItem* Row, const TPropInfo& Prop);
    void OpenObjectEditor(TsgTreeViewItem* Row, const TPropInfo& Prop);
    void MarkInvalid(bool Value);
    void WatchSelected(bool Watch);

    TComponent* FSelectedObject = nullptr;
    TsgTextBox* FTextEditor = nullptr;
    TsgPopupBox* FPopupEditor = nullptr;
    TsgButton* FButtonEditor = nullptr;
    TStringList FDisabledProperties;
    bool FShowProperties = true;
    bool FShowEvents = false;
    bool FInvalid = false;
    uint32_t FValidFontColor = 0xFF000000;
    // Set while a value is written, so that the change a write causes does not write again.
    bool FWriting = false;
};

// Registers the inspector under "Design".
void RegisterSgInspectorUnit();
