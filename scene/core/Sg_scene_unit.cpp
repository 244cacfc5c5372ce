#include "scene/core/Sg_scene.h"

void RegisterSgSceneUnit() {
    static const bool done = [] {
        for (const TClassInfo* info :
             {&TsgPathData::StaticClassInfo(),      &TsgBrush::StaticClassInfo(),
              &TsgBounds::StaticClassInfo(),        &TsgPosition::StaticClassInfo(),
              &TsgGradient::StaticClassInfo(),      &TsgGradientPoints::StaticClassInfo(),
              &TsgGradientPoint::StaticClassInfo(), &TsgVisual::StaticClassInfo(),
              &TsgObject::StaticClassInfo(),        &TsgVisualObject::StaticClassInfo(),
              &TsgTransform::StaticClassInfo(),     &TsgFont::StaticClassInfo(),
              &TsgBrushResource::StaticClassInfo(), &TsgBrushBitmap::StaticClassInfo(),
              &TsgResources::StaticClassInfo(),     &TsgLang::StaticClassInfo(),
              &TsgCustomScene::StaticClassInfo(),   &TsgScene::StaticClassInfo(),
              &TsgControl::StaticClassInfo(),       &TsgBackground::StaticClassInfo(),
              &TsgContent::StaticClassInfo()})
            RegisterClass(*info);
        RegisterSGObjects(u"Resources",
                          {&TsgBrushObject::StaticClassInfo(), &TsgPathObject::StaticClassInfo(),
                           &TsgBitmapObject::StaticClassInfo()});
        RegisterSGObjects(u"Layout", {&TsgFrame::StaticClassInfo()});
        RegisterSgPopupUnit();
        RegisterSgImageListUnit();
        return true;
    }();
    (void)done;
}
