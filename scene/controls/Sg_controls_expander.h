// A captioned container that collapses to its header. Its children live in an inner content
// object that is shown or hidden; an optional header check box enables or disables the content.
#pragma once

#include "scene/controls/Sg_controls_text.h"

class TsgCheckBox;
class TsgContent;
class TsgCustomButton;

class TsgExpander : public TsgTextControl {
    DBI_PERSISTENT(TsgExpander, TsgTextControl)

    explicit TsgExpander(TComponent* AOwner);
    ~TsgExpander() override;

    bool ShowCheck() const { return FShowCheck; }
    void SetShowCheck(bool Value);
    bool IsChecked() const { return FIsChecked; }
    void SetIsChecked(bool Value);
    bool IsExpanded() const { return FIsExpanded; }
    virtual void SetIsExpanded(bool Value);
    float HeightCollapsed() const { return FHeightCollapsed; }
    void SetHeightCollapsed(float Value);
    TsgContent* Content() const { return FContent; }
    // The header parts of the present clone, nullptr without one.
    TsgCustomButton* HeaderButton() const { return FButton; }
    TsgCheckBox* HeaderCheck() const { return FCheck; }

    TNotifyEvent OnCheckChange;
    TNotifyEvent OnExpand;
    const TNotifyEvent& GetOnCheckChange() const { return OnCheckChange; }
    void SetOnCheckChange(const TNotifyEvent& V) { OnCheckChange = V; }
    const TNotifyEvent& GetOnExpand() const { return OnExpand; }
    void SetOnExpand(const TNotifyEvent& V) { OnExpand = V; }

    // Children go into the content, so they collapse with it.
    void AddObject(TsgObject* AObject) override;
    void Realign() override;
    void DefineProperties(TFiler& Filer) override;

protected:
    void ApplyStyle() override;
    void FreeStyle() override;

private:
    void ButtonClick(TObject*);
    void CheckChange(TObject*);

    bool FShowCheck = false;
    bool FIsChecked = true;
    bool FIsExpanded = true;
    TsgContent* FContent = nullptr;
    TsgCustomButton* FButton = nullptr;
    TsgCheckBox* FCheck = nullptr;
    float FHeightCollapsed = 25;
};
