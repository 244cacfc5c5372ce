// Named resource objects of style trees: a brush, a path and a bitmap that others elsewhere
// refer to by ResourceName. Renaming one whose ResourceName is empty gives it the new name.
#pragma once

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_scene_brush.h"
#include "scene/core/Sg_scene_object.h"
#include "scene/core/Sg_scene_path.h"

class TsgBrushObject : public TsgObject {
    DBI_PERSISTENT(TsgBrushObject, TsgObject)

    explicit TsgBrushObject(TComponent* AOwner);
    ~TsgBrushObject() override;

    TsgBrush* Brush() const { return FBrush; }
    void SetBrush(TsgBrush* Value) { FBrush->Assign(Value); }
    void SetName(const AnsiString& Value) override;

private:
    TsgBrush* FBrush;
};

class TsgPathObject : public TsgObject {
    DBI_PERSISTENT(TsgPathObject, TsgObject)

    explicit TsgPathObject(TComponent* AOwner);
    ~TsgPathObject() override;

    TsgPathData* Path() const { return FPath; }
    void SetPath(TsgPathData* Value) { FPath->Assign(Value); }
    void SetName(const AnsiString& Value) override;

private:
    TsgPathData* FPath;
};

class TsgBitmapObject : public TsgObject {
    DBI_PERSISTENT(TsgBitmapObject, TsgObject)

    explicit TsgBitmapObject(TComponent* AOwner);
    ~TsgBitmapObject() override;

    TsgBitmap* Bitmap() const { return FBitmap; }
    void SetBitmap(TsgBitmap* Value) { FBitmap->Assign(Value); }
    void SetName(const AnsiString& Value) override;

private:
    TsgBitmap* FBitmap;
};
