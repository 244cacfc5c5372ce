// TsgBackground: the usual root of a scene and the root of every style sheet; a control that
// paints a fill over its whole rectangle. A background with a fill shows the fill instead of its
// style clone.
//
// TsgContent: the place inside a style tree where a container's own children appear. It paints
// nothing; the children placed inside it stream as children of the control owning the style.
#pragma once

#include "scene/core/Sg_scene_brush.h"
#include "scene/core/Sg_scene_control.h"

#include "platform/classes/Closure.h"

class TPopupMenu;

// Raised by the memo's context menu: set PopupHandled to keep the menu from showing.
using TsgMenuPopupEvent = TClosure<void(TObject* Sender, TPopupMenu* PopupMenu,
                                        TsgPoint ScreenPosition, bool& PopupHandled)>;

class TsgBackground : public TsgControl {
    DBI_PERSISTENT(TsgBackground, TsgControl)

    explicit TsgBackground(TComponent* AOwner);
    ~TsgBackground() override;

    TsgBrush* Fill() const { return FFill; }
    void SetFill(TsgBrush* Value) { FFill->Assign(Value); }

    TsgMenuPopupEvent OnMenuPopup;
    const TsgMenuPopupEvent& GetOnMenuPopup() const { return OnMenuPopup; }
    void SetOnMenuPopup(const TsgMenuPopupEvent& Value) { OnMenuPopup = Value; }

    void Paint() override;
    void PaintChildren() override;

protected:
    virtual void FillChanged(TObject* Sender);

private:
    TsgBrush* FFill;
};

class TsgContent : public TsgVisualObject {
    DBI_PERSISTENT(TsgContent, TsgVisualObject)

    explicit TsgContent(TComponent* AOwner);

    bool IsContent() const override { return true; }
    // Lays out its own children, then has its parent lay out again (once: the parent's layout
    // comes back here).
    void Realign() override;

private:
    bool FRealigning = false;
};
