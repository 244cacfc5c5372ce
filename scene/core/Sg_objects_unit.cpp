#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_objects_selection.h"

#include "scene/core/Sg_scene_registry.h"

void RegisterSgObjectsUnit() {
    static const bool done = [] {
        RegisterSGObjects(u"Shapes",
                          {&TsgLine::StaticClassInfo(), &TsgRectangle::StaticClassInfo(),
                           &TsgSidesRectangle::StaticClassInfo(),
                           &TsgBlurRectangle::StaticClassInfo(), &TsgRoundRect::StaticClassInfo(),
                           &TsgBlurRoundRect::StaticClassInfo(), &TsgEllipse::StaticClassInfo(),
                           &TsgCircle::StaticClassInfo(), &TsgArc::StaticClassInfo(),
                           &TsgPie::StaticClassInfo(), &TsgEatenPie::StaticClassInfo(),
                           &TsgText::StaticClassInfo(), &TsgPath::StaticClassInfo(),
                           &TsgImage::StaticClassInfo(), &TsgPaintBox::StaticClassInfo()});
        RegisterSGObjects(u"Design",
                          {&TsgSelection::StaticClassInfo(), &TsgSelectionPoint::StaticClassInfo(),
                           &TsgDesignFrame::StaticClassInfo()});
        return true;
    }();
    (void)done;
}
