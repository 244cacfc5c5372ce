#include "installer/ui/Window_classes.h"

#include "platform/classes/ClassInfo.h"
#include "platform/ui/RichEdit.h"
#include "platform/ui/Timer.h"
#include "scene/controls/Sg_controls.h"
#include "scene/controls/Sg_layouts.h"
#include "scene/controls/Sg_listbox.h"
#include "scene/controls/Sg_scrollbox.h"
#include "scene/controls/Sg_tabcontrol.h"
#include "scene/controls/Sg_textbox.h"
#include "scene/controls/Sg_treeview.h"
#include "scene/core/Sg_ani.h"
#include "scene/core/Sg_effects.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"

void RegisterInstallerWindowClasses() {
    static const bool done = [] {
        RegisterSgSceneUnit();
        RegisterSgObjectsUnit();
        RegisterSgAniUnit();
        RegisterSgEffectsUnit();
        RegisterSgControlsUnit();
        RegisterSgLayoutsUnit();
        RegisterSgScrollBoxUnit();
        RegisterSgTreeViewUnit();
        RegisterSgTextboxUnit();
        RegisterSgTabControlUnit();
        RegisterSgListBoxUnit();
        RegisterClass(TRichEdit::StaticClassInfo());
        RegisterClass(TTimer::StaticClassInfo());
        return true;
    }();
    (void)done;
}
