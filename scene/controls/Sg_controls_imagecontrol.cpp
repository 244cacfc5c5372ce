#include "scene/controls/Sg_controls_imagecontrol.h"

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_filter.h"
#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_scene_registry.h"

#include "platform/ui/Dialogs.h"

#include <cmath>
#include <filesystem>

namespace {

UnicodeString FilterFileTypes() {
    return DefaultFilterClass && DefaultFilterClass->GetFileTypes
               ? DefaultFilterClass->GetFileTypes()
               : UnicodeString();
}

// A file the image filter lists: it exists and its extension occurs in the filter's types.
bool IsPictureFile(const UnicodeString& FileName) {
    std::error_code ec;
    const std::filesystem::path path(FileName.ToUtf8());
    if (!std::filesystem::is_regular_file(path, ec))
        return false;
    const std::string ext = path.extension().string();
    if (ext.empty())
        return false;
    return FilterFileTypes().LowerCase().Pos(UnicodeString::FromUtf8(ext).LowerCase()) > 0;
}

} // namespace

DBI_PUBLISH(TsgImageControl) {
    using S = TsgImageControl;
    p.Object("Bitmap", &S::Bitmap, &S::SetBitmap);
    p.Boolean("CanFocused", &S::CanFocused, &S::SetCanFocused, true);
    p.Boolean("DisableFocusEffect", &S::DisableFocusEffect, &S::SetDisableFocusEffect, false);
    p.Integer("TabOrder", &S::TabOrder, &S::SetTabOrder, -1);
    p.Event("OnChange", &S::GetOnChange, &S::SetOnChange);
}

TsgImageControl::TsgImageControl(TComponent* AOwner)
    : TsgControl(AOwner), FBitmap(new TsgBitmap(1, 1)) {
    SetCanFocused(true);
    FBitmap->OnChange = TNotifyEvent::Bind<&TsgImageControl::DoBitmapChanged>(this);
}

TsgImageControl::~TsgImageControl() {
    BeforeDestruction();
    FBitmap->OnChange = {};
    delete FBitmap;
}

void TsgImageControl::SetBitmap(TsgBitmap* Value) {
    FBitmap->Assign(Value);
}

void TsgImageControl::ApplyStyle() {
    TsgControl::ApplyStyle();
    FImage = dynamic_cast<TsgImage*>(FindResource(u"image"));
    if (FImage)
        FImage->Bitmap()->Assign(FBitmap);
}

void TsgImageControl::DoBitmapChanged(TObject*) {
    if (FImage) {
        TsgRect fitted{0, 0, float(FBitmap->Width()), float(FBitmap->Height())};
        sgFitRect(fitted, TsgRect{0, 0, FImage->Width(), FImage->Height()});
        const TsgRect source{0, 0, float(FBitmap->Width()), float(FBitmap->Height())};
        // Round to the even neighbour on halves, the default rounding mode.
        const int w = int(std::nearbyint(fitted.Right - fitted.Left));
        const int h = int(std::nearbyint(fitted.Bottom - fitted.Top));
        TsgBitmap* target = FImage->Bitmap();
        target->SetSize(w, h);
        target->Clear(0);
        if (TsgCanvas* canvas = target->Canvas(); canvas && canvas->BeginScene()) {
            canvas->DrawBitmap(FBitmap, source,
                               TsgRect{0, 0, float(target->Width()), float(target->Height())}, 1);
            canvas->EndScene();
        }
        target->BitmapChanged();
        FImage->Repaint();
    }
    if (OnChange)
        OnChange(this);
}

void TsgImageControl::Click() {
    TsgControl::Click();
    TOpenDialog dialog;
    dialog.Filter = FilterFileTypes();
    if (dialog.Execute())
        FBitmap->LoadFromFile(dialog.FileName);
}

void TsgImageControl::DragOver(const TsgDragObject& Data, const TsgPoint& Point, bool& Accept) {
    TsgControl::DragOver(Data, Point, Accept);
    if (!Data.Files.empty())
        Accept = IsPictureFile(Data.Files.front());
    else
        Accept = dynamic_cast<TsgImage*>(Data.Source) != nullptr;
}

void TsgImageControl::DragDrop(const TsgDragObject& Data, const TsgPoint& Point) {
    TsgControl::DragDrop(Data, Point);
    if (auto* image = dynamic_cast<TsgImage*>(Data.Source))
        FBitmap->Assign(image->Bitmap());
    else if (!Data.Files.empty())
        FBitmap->LoadFromFile(Data.Files.front());
}

TsgVariant TsgImageControl::GetData() {
    return ObjectToVariant(FBitmap);
}

void TsgImageControl::SetData(const TsgVariant& Value) {
    if (VarIsObject(Value)) {
        if (auto* source = dynamic_cast<TPersistent*>(VariantToObject(Value)))
            FBitmap->Assign(source);
        return;
    }
    FBitmap->LoadFromFile(Value);
}
