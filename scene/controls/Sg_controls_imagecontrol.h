// An image well: shows its bitmap scaled into the style's "image" part, loads a picture file
// on click, and takes dropped picture files and images dragged from the scene.
#pragma once

#include "scene/core/Sg_scene_control.h"

class TsgBitmap;
class TsgImage;

class TsgImageControl : public TsgControl {
    DBI_PERSISTENT(TsgImageControl, TsgControl)

    explicit TsgImageControl(TComponent* AOwner);
    ~TsgImageControl() override;

    TsgBitmap* Bitmap() const { return FBitmap; }
    void SetBitmap(TsgBitmap* Value);
    TsgImage* ImagePart() const { return FImage; }

    TNotifyEvent OnChange;
    const TNotifyEvent& GetOnChange() const { return OnChange; }
    void SetOnChange(const TNotifyEvent& V) { OnChange = V; }

    void Click() override;
    void DragOver(const TsgDragObject& Data, const TsgPoint& Point, bool& Accept) override;
    void DragDrop(const TsgDragObject& Data, const TsgPoint& Point) override;
    // The value along a binding is the bitmap; a text names a picture file to load.
    TsgVariant GetData() override;
    void SetData(const TsgVariant& Value) override;

protected:
    void ApplyStyle() override;
    void FreeStyle() override { FImage = nullptr; }
    virtual void DoBitmapChanged(TObject* Sender);

private:
    TsgImage* FImage = nullptr;
    TsgBitmap* FBitmap;
};
