#include "scene/controls/Sg_controls.h"
#include "scene/controls/Sg_controls_rangebars.h"
#include "scene/controls/Sg_controls_windows.h"
#include "scene/controls/Sg_memo.h"

#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"

// The categories and their order are what the design tools offer; classes built elsewhere in
// this folder join the same lists.
void RegisterSgControlsUnit() {
    static const bool done = [] {
        RegisterSgSceneUnit();
        RegisterSgObjectsUnit();
        // Created from streams (style trees hold them) but not offered by category.
        for (const TClassInfo* info :
             {&TsgSelectionItem::StaticClassInfo(), &TsgThumb::StaticClassInfo(),
              &TsgExpanderButton::StaticClassInfo()})
            RegisterClass(*info);
        RegisterSGObjects(u"Windows",
                          {&TsgBackground::StaticClassInfo(), &TsgSizeGrip::StaticClassInfo(),
                           &TsgCloseButton::StaticClassInfo()});
        RegisterSGObjects(u"Boxes",
                          {&TsgCheckBox::StaticClassInfo(), &TsgPathCheckBox::StaticClassInfo(),
                           &TsgRadioButton::StaticClassInfo(), &TsgGroupBox::StaticClassInfo()});
        RegisterSGObjects(u"Controls",
                          {&TsgPanel::StaticClassInfo(), &TsgLabel::StaticClassInfo(),
                           &TsgValueLabel::StaticClassInfo(), &TsgProgressBar::StaticClassInfo(),
                           &TsgTrack::StaticClassInfo(), &TsgScrollBar::StaticClassInfo(),
                           &TsgSmallScrollBar::StaticClassInfo(), &TsgTrackBar::StaticClassInfo(),
                           &TsgSplitter::StaticClassInfo()});
        RegisterSGObjects(u"Tool and Status",
                          {&TsgStatusBar::StaticClassInfo(), &TsgToolBar::StaticClassInfo()});
        RegisterSGObjects(u"Buttons",
                          {&TsgButton::StaticClassInfo(), &TsgRoundButton::StaticClassInfo(),
                           &TsgCircleButton::StaticClassInfo(), &TsgSpeedButton::StaticClassInfo(),
                           &TsgCornerButton::StaticClassInfo(), &TsgColorButton::StaticClassInfo(),
                           &TsgPopupButton::StaticClassInfo()});
        RegisterSGObjects(
            u"HUD",
            {&TsgHudPanel::StaticClassInfo(), &TsgHudButton::StaticClassInfo(),
             &TsgHudSpeedButton::StaticClassInfo(), &TsgHudTrack::StaticClassInfo(),
             &TsgHudTrackBar::StaticClassInfo(), &TsgHudScrollBar::StaticClassInfo(),
             &TsgHudLabel::StaticClassInfo(), &TsgHudCheckBox::StaticClassInfo(),
             &TsgHudRadioButton::StaticClassInfo(), &TsgHudGroupBox::StaticClassInfo(),
             &TsgHudCloseButton::StaticClassInfo(), &TsgHudStatusBar::StaticClassInfo(),
             &TsgHudSizeGrip::StaticClassInfo(), &TsgHudRoundButton::StaticClassInfo(),
             &TsgHudCornerButton::StaticClassInfo(), &TsgHudCircleButton::StaticClassInfo()});
        RegisterSgControlsGlyphs();
        RegisterSgControlsWindows();
        RegisterSgMemoUnit();
        return true;
    }();
    (void)done;
}
