#include "scene/controls/Sg_memo.h"

#include "scene/core/Sg_scene_registry.h"

void RegisterSgMemoUnit() {
    static const bool done = [] {
        RegisterSGObjects(u"Text Edits", {&TsgMemo::StaticClassInfo()});
        RegisterSGObjects(u"HUD", {&TsgHudMemo::StaticClassInfo()});
        return true;
    }();
    (void)done;
}
