#include "scene/controls/Sg_stringlists.h"

#include "scene/core/Sg_scene_registry.h"

// The drop-down list of a combo box is made by its combo box only and is not registered.
void RegisterSgListBoxUnit() {
    static const bool done = [] {
        RegisterSGObjects(
            u"Lists", {&TsgListBox::StaticClassInfo(), &TsgComboBox::StaticClassInfo(),
                       &TsgStringListBox::StaticClassInfo(), &TsgStringComboBox::StaticClassInfo(),
                       &TsgHorzListBox::StaticClassInfo()});
        RegisterSGObjects(u"Items", {&TsgListBoxItem::StaticClassInfo()});
        RegisterSGObjects(
            u"HUD", {&TsgHudListBox::StaticClassInfo(), &TsgHudHorzListBox::StaticClassInfo(),
                     &TsgHudComboBox::StaticClassInfo(), &TsgHudStringListBox::StaticClassInfo(),
                     &TsgHudStringComboBox::StaticClassInfo()});
        return true;
    }();
    (void)done;
}
