#include "scene/core/Sg_scene_resourceobjects.h"

DBI_PUBLISH(TsgBrushObject) {
    p.Object("Brush", &TsgBrushObject::Brush, &TsgBrushObject::SetBrush);
}

DBI_PUBLISH(TsgPathObject) {
    p.Object("Path", &TsgPathObject::Path, &TsgPathObject::SetPath);
}

DBI_PUBLISH(TsgBitmapObject) {
    p.Object("Bitmap", &TsgBitmapObject::Bitmap, &TsgBitmapObject::SetBitmap);
}

TsgBrushObject::TsgBrushObject(TComponent* AOwner)
    : TsgObject(AOwner), FBrush(new TsgBrush(sgBrushSolid, 0xFFFFFFFF)) {}

TsgBrushObject::~TsgBrushObject() {
    // Links to this brush must hear of its end before the brush itself goes.
    BeforeDestruction();
    delete FBrush;
}

void TsgBrushObject::SetName(const AnsiString& Value) {
    TsgObject::SetName(Value);
    if (ResourceName().IsEmpty())
        SetResourceName(UnicodeString(Value));
}

TsgPathObject::TsgPathObject(TComponent* AOwner) : TsgObject(AOwner), FPath(new TsgPathData()) {}

TsgPathObject::~TsgPathObject() {
    BeforeDestruction();
    delete FPath;
}

void TsgPathObject::SetName(const AnsiString& Value) {
    TsgObject::SetName(Value);
    if (ResourceName().IsEmpty())
        SetResourceName(UnicodeString(Value));
}

TsgBitmapObject::TsgBitmapObject(TComponent* AOwner)
    : TsgObject(AOwner), FBitmap(new TsgBitmap(1, 1)) {}

TsgBitmapObject::~TsgBitmapObject() {
    BeforeDestruction();
    delete FBitmap;
}

void TsgBitmapObject::SetName(const AnsiString& Value) {
    TsgObject::SetName(Value);
    if (ResourceName().IsEmpty())
        SetResourceName(UnicodeString(Value));
}
