// Small style trees for the scroll box and tree view tests, built in code so that each test
// knows every size: a root of the box's size, a vertical bar 14 wide on the right, a horizontal
// bar 14 high at the bottom and a "content" viewport filling the rest.
#pragma once

#include "scene/controls/Sg_scrollbox.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene_offscreen.h"
#include "scene/core/Sg_scene_resourceobjects.h"

#include <memory>

// The units whose classes the test styles hold.
inline void RegisterScrollTestUnits() {
    RegisterSgControlsUnit();
    RegisterSgControlsBars();
    RegisterSgScrollBoxUnit();
}

inline TsgScrollBar* MakeBar(const char16_t* Name, TsgAlign Align, bool Vertical) {
    auto* bar = new TsgScrollBar(nullptr);
    bar->SetResourceName(Name);
    bar->SetAlign(Align);
    bar->SetBounds(0, 0, Vertical ? 14 : 100, Vertical ? 100 : 14);
    if (Vertical)
        bar->SetOrientation(sgVertical);
    return bar;
}

// A stored style tree that controls find by its name; freed by the caller.
inline std::unique_ptr<TsgObject> MakeScrollStyle(const char16_t* Name,
                                                  bool WithSelection = false) {
    auto* root = new TsgRectangle(nullptr);
    root->SetResourceName(Name);
    root->SetBounds(0, 0, 120, 120);
    root->Fill()->SetStyle(sgBrushNone);
    root->Stroke()->SetStyle(sgBrushNone);
    root->SetHitTest(false);
    if (WithSelection) {
        auto* selection = new TsgBrushObject(nullptr);
        selection->SetResourceName(u"selection");
        selection->Brush()->SetSolidColor(0xFFB9D3F3);
        root->AddObject(selection);
    }
    root->AddObject(MakeBar(u"vscrollbar", vaRight, true));
    root->AddObject(MakeBar(u"hscrollbar", vaBottom, false));
    auto* content = new TsgContent(nullptr);
    content->SetResourceName(u"content");
    content->SetAlign(vaClient);
    content->SetHitTest(false);
    root->AddObject(content);
    return std::unique_ptr<TsgObject>(root);
}
