// TsgControl: a visual object that draws nothing itself but wears a style.
//
// On its first paint or focus a control looks a style tree up by name, clones it and puts the
// clone in as its bottom-most child (child 0), laid out to fill the control; the clone's shapes
// and texts do the drawing and the subclasses reach its named parts through FindResource. The
// lookup order, the default sheet and the application are in Sg_scene_control.cpp and
// Sg_scene_stylelookup.cpp.
//
// Controls also pass data along bindings: a control keeps the list of controls bound to it and
// hands them its data (ToBindingObjects) whenever its value changes.
#pragma once

#include "scene/core/Sg_scene_visual.h"

#include <vector>

class TBasicAction;
class TsgControlActionLink;

class TsgControl : public TsgVisualObject {
    DBI_PERSISTENT(TsgControl, TsgVisualObject)

    explicit TsgControl(TComponent* AOwner);
    ~TsgControl() override;

    bool IsControl() const override { return true; }

    // Style.
    const UnicodeString& Resource() const { return FResource; }
    void SetResource(const UnicodeString& Value);
    void ApplyResource() override;
    // The clone of the style tree found for this control (owned by the caller), or nullptr.
    TsgObject* GetResourceObject();
    // The applied clone, child 0; nullptr before the style is applied.
    TsgObject* StyleClone() const { return FResourceLink; }
    bool StyleNeeded() const { return FNeedStyleLookup; }
    void UpdateResource() override;
    TsgObject* FindResource(const UnicodeString& AResource) override;
    void BeforePaint() override;
    void Paint() override {}
    // Applies the style before the focus arrives, so the focus state shows on the new clone.
    void EnterFocus() override;
    void SetFocus();
    // The class style name: the class name without its three-letter prefix, plus "style".
    static UnicodeString StyleNameOf(const TClassInfo& AClass);

    // Data binding.
    TsgControl* BindingSource() const { return FBindingSource; }
    void SetBindingSource(TsgControl* Value);
    void AddBindingObject(TsgControl* AObject);
    void RemoveBindingObject(TsgControl* AObject);
    void ToBindingObjects();
    const std::vector<TsgControl*>& BindingObjects() const { return FBindingObjects; }
    void SetData(const TsgVariant&) override {}

    bool AutoTranslate() const { return FAutoTranslate; }
    void SetAutoTranslate(bool Value) { FAutoTranslate = Value; }

    // Actions: the control follows its action's caption, enabled state, hint, visibility and
    // execute handler through a link made on demand (Sg_scene_actions.h).
    virtual TBasicAction* GetAction();
    TBasicAction* Action() { return GetAction(); }
    void SetAction(TBasicAction* Value);
    virtual void ActionChange(TBasicAction* Sender, bool CheckDefaults);
    virtual void InitiateAction();

    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    // Called after a new clone is in place; subclasses find their parts here.
    virtual void ApplyStyle();
    // Called just before the old clone is freed; subclasses drop their references into it.
    virtual void FreeStyle() {}

private:
    void DoActionChange(TObject* Sender);
    // Takes the clone S in as child 0 and makes it the applied style.
    void InstallStyle(TsgObject* S);

    UnicodeString FResource;
    TsgObject* FResourceLink = nullptr;
    bool FNeedStyleLookup = true;
    std::vector<TsgControl*> FBindingObjects;
    TsgControl* FBindingSource = nullptr;
    bool FAutoTranslate = false;
    TsgControlActionLink* FActionLink = nullptr;
};

// The default style sheet, read once per process on the first style lookup from the program's
// resource "defaultsgstyle"; nullptr before that and when the program carries none.
extern TsgObject* DefaultStyles;
// Reads the sheet when it has not been read yet; the sheet, or nullptr.
TsgObject* LoadDefaultStyles();
// Frees the sheet (the unit's shutdown; tests use it to read the sheet again).
void FreeDefaultStyles();
