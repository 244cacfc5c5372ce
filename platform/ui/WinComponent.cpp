#include "platform/ui/WinComponent.h"

#include "platform/ui/CursorIdents.h"

DBI_PUBLISH(TWinComponent) {
    using W = TWinComponent;
    p.Integer("Left", &W::Left, &W::SetLeft);
    p.Integer("Top", &W::Top, &W::SetTop);
    p.Integer("Width", &W::Width, &W::SetWidth);
    p.Integer("Height", &W::Height, &W::SetHeight);
    p.Enumeration("Align", &W::Align, &W::SetAlign,
                  {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}, alNone);
    p.Integer("Cursor", &W::Cursor, &W::SetCursor, crDefault).IdentMap(CursorIdents());
    p.Boolean("Enabled", &W::Enabled, &W::SetEnabled, true);
    p.Boolean("TabStop", &W::TabStop, &W::SetTabStop, false);
    p.Boolean("Visible", &W::Visible, &W::SetVisible, true);
}

TComponent* TWinComponent::GetParentComponent() {
    return dynamic_cast<TComponent*>(Parent());
}

void TWinComponent::SetParentComponent(TComponent* value) {
    SetParent(dynamic_cast<TWinControl*>(value));
}
