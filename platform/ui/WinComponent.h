// TWinComponent: a child window that is also a component, so that window layouts can stream it
// (the licence's rich-text view is one; the scene mixes the same two sides in itself).
//
// In a stream it is a child of the window it sits in: reading it gives it that parent, writing a
// form reports it among the form's children. It streams its place and size, its alignment, its
// cursor (by name), whether it is visible and enabled, and whether the Tab key stops at it.
#pragma once

#include "platform/classes/Component.h"
#include "platform/ui/Controls.h"

class TWinComponent : public TComponent, public TCustomControl {
    DBI_PERSISTENT(TWinComponent, TComponent)

    explicit TWinComponent(TComponent* owner) : TComponent(owner) {}

    bool HasParent() override { return true; }
    TComponent* GetParentComponent() override;
    void SetParentComponent(TComponent* value) override;

    // Property access for the stream, one coordinate at a time.
    void SetLeft(int value) { SetBounds(value, Top(), Width(), Height()); }
    void SetTop(int value) { SetBounds(Left(), value, Width(), Height()); }
    void SetWidth(int value) { SetBounds(Left(), Top(), value, Height()); }
    void SetHeight(int value) { SetBounds(Left(), Top(), Width(), value); }
};
