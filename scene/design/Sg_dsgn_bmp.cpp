#include "scene/design/Sg_dsgn_bmp.h"

#include "scene/controls/Sg_controls_buttons.h"
#include "scene/controls/Sg_controls_text.h"
#include "scene/controls/Sg_controls_track.h"
#include "scene/controls/Sg_numberbox.h"
#include "scene/controls/Sg_scrollbox.h"
#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_objects_selection.h"
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_background.h"
#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_filter.h"
#include "scene/core/Sg_scene_geometry.h"
#include "scene/design/Sg_dsgn_form.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Conversions.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Dialogs.h"

#include <algorithm>
#include <cmath>

TsgBitmapEditor* sgBitmapEditor = nullptr;

DBI_PUBLISH(TsgBitmapEditor) {
    using F = TsgBitmapEditor;
    p.Field<&F::sgScene1>("sgScene1");
    p.Field<&F::Root1>("Root1");
    p.Field<&F::Button1>("Button1");
    p.Field<&F::btnSave>("btnSave");
    p.Field<&F::btnOk>("btnOk");
    p.Field<&F::Button2>("Button2");
    p.Field<&F::btnPaste>("btnPaste");
    p.Field<&F::editControl>("editControl");
    p.Field<&F::Button3>("Button3");
    p.Field<&F::cropButton>("cropButton");
    p.Field<&F::labelScale>("labelScale");
    p.Field<&F::trackScale>("trackScale");
    p.Field<&F::btnFit>("btnFit");
    p.Field<&F::btnOriginal>("btnOriginal");
    p.Field<&F::btnResize>("btnResize");
    p.Field<&F::ScrollBox1>("ScrollBox1");
    p.Field<&F::Preview>("Preview");
    p.Field<&F::resizeLayout>("resizeLayout");
    p.Field<&F::newWidth>("newWidth");
    p.Field<&F::newHeight>("newHeight");
    p.Field<&F::Button4>("Button4");
    p.Field<&F::Button5>("Button5");
    p.Method<&F::Button1Click>("Button1Click");
    p.Method<&F::btnSaveClick>("btnSaveClick");
    p.Method<&F::btnPasteClick>("btnPasteClick");
    p.Method<&F::Button3Click>("Button3Click");
    p.Method<&F::cropButtonClick>("cropButtonClick");
    p.Method<&F::trackScaleChange>("trackScaleChange");
    p.Method<&F::trackScaleMouseDown>("trackScaleMouseDown");
    p.Method<&F::btnFitClick>("btnFitClick");
    p.Method<&F::btnOriginalClick>("btnOriginalClick");
    p.Method<&F::btnResizeClick>("btnResizeClick");
    p.Method<&F::PreviewPaint>("PreviewPaint");
    p.Method<&F::newWidthChange>("newWidthChange");
    p.Method<&F::newHeightChange>("newHeightChange");
    p.Method<&F::Button4Click>("Button4Click");
    p.Method<&F::Button5Click>("Button5Click");
}

namespace {

constexpr float kSlideTime = 0.3f;

void Enable(TsgVisualObject* O, bool Value) {
    if (O)
        O->SetEnabled(Value);
}

} // namespace

TsgBitmapEditor::TsgBitmapEditor(TComponent*) {
    sgReadDesignForm(*this, "TSGBITMAPEDITOR");
    if (!Preview || !ScrollBox1 || !trackScale || !editControl || !btnOk || !resizeLayout ||
        !newWidth || !newHeight || !cropButton || !labelScale)
        throw EReadError(AnsiString("The layout TSGBITMAPEDITOR lacks a component"));
    FormCreate(this);
}

TsgBitmapEditor::~TsgBitmapEditor() {
    RemoveCrop();
}

void TsgBitmapEditor::FormCreate(TObject*) {
    resizeLayout->SetVisible(false);
    FBitmap = std::make_unique<TsgBitmap>(1, 1);
    FOldScale = 1;
    UpdatePicture();
}

float TsgBitmapEditor::Scale() const {
    return trackScale->Value();
}

void TsgBitmapEditor::UpdatePicture() {
    const float s = Scale();
    FSourceRect = TsgRect{0, 0, float(FBitmap->Width()), float(FBitmap->Height())};
    Preview->SetBounds(0, 0, FBitmap->Width() * s, FBitmap->Height() * s);
    ScrollBox1->Realign();
    Preview->Repaint();
}

void TsgBitmapEditor::AssignFromBitmap(TsgBitmap* Bitmap) {
    FFileName = UnicodeString();
    if (Bitmap)
        FBitmap->Assign(Bitmap);
    UpdatePicture();
    if (Bitmap && Bitmap->Width() > 1) {
        Enable(editControl, true);
        Enable(btnOk, true);
    }
}

void TsgBitmapEditor::AssignToBitmap(TsgBitmap* Bitmap) {
    if (!Bitmap)
        return;
    if (FCropRect && FCropRect->Width() > 0 && FCropRect->Height() > 0) {
        const float s = Scale();
        const float x = FCropRect->Position()->X(), y = FCropRect->Position()->Y();
        const TsgRect r{x / s, y / s, (x + FCropRect->Width()) / s, (y + FCropRect->Height()) / s};
        // The frame keeps within the preview; the rounding of the scale may still reach one
        // pixel past the picture, which is left out.
        const int left = std::clamp(int(r.Left), 0, FBitmap->Width());
        const int top = std::clamp(int(r.Top), 0, FBitmap->Height());
        const int width = std::clamp(int(r.Right - r.Left), 1, FBitmap->Width() - left);
        const int height = std::clamp(int(r.Bottom - r.Top), 1, FBitmap->Height() - top);
        if (width <= 0 || height <= 0)
            return;
        Bitmap->SetSize(width, height);
        for (int i = 0; i < height; ++i)
            std::copy_n(FBitmap->Scanline(i + top) + left, width, Bitmap->Scanline(i));
        Bitmap->BitmapChanged();
        return;
    }
    Bitmap->Assign(FBitmap.get());
}

void TsgBitmapEditor::PictureTaken() {
    UpdatePicture();
    Enable(editControl, true);
    Enable(btnOk, true);
}

bool TsgBitmapEditor::LoadPicture(const UnicodeString& AFileName) {
    if (!FBitmap->LoadFromFile(AFileName))
        return false;
    FFileName = AFileName;
    PictureTaken();
    return true;
}

bool TsgBitmapEditor::SavePicture(const UnicodeString& AFileName) {
    return FBitmap->SaveToFile(AFileName);
}

void TsgBitmapEditor::Button1Click(TObject*) {
    TOpenDialog dialog;
    dialog.Filter = UnicodeString(u"Images|") +
                    (DefaultFilterClass ? DefaultFilterClass->GetFileTypes() : UnicodeString());
    if (dialog.Execute())
        LoadPicture(dialog.FileName);
}

void TsgBitmapEditor::btnSaveClick(TObject*) {
    TSaveDialog dialog;
    dialog.DefaultExt = u"png";
    dialog.Filter = u"PNG Image|*.png|JPEG Image|*.jpeg|BMP Image|*.bmp";
    dialog.FileName = FFileName;
    if (dialog.Execute())
        SavePicture(dialog.FileName);
}

void TsgBitmapEditor::btnPasteClick(TObject*) {
    // A clipboard without a picture, or with one that cannot be read, leaves the picture alone.
    const std::unique_ptr<gfx::Bitmap> taken = Clipboard()->AsBitmap();
    if (!taken)
        return;
    const int w = taken->GetWidth(), h = taken->GetHeight();
    // Both keep premultiplied words, rows without gaps.
    taken->Flush();
    FBitmap->SetSize(w, h);
    for (int y = 0; y < h; ++y)
        std::copy_n(taken->Scan0() + size_t(y) * w, w, FBitmap->Scanline(y));
    FBitmap->BitmapChanged();
    PictureTaken();
}

void TsgBitmapEditor::RemoveCrop() {
    if (!FCropRect)
        return;
    TsgSelection* crop = FCropRect;
    FCropRect = nullptr;
    crop->Free();
    if (Preview)
        Preview->Repaint();
    if (cropButton)
        cropButton->SetText(u"Crop");
}

void TsgBitmapEditor::Button3Click(TObject*) {
    Enable(editControl, false);
    Enable(btnOk, true);
    RemoveCrop();
    trackScale->SetValue(1);
    FBitmap->SetSize(1, 1);
    UpdatePicture();
}

void TsgBitmapEditor::cropButtonClick(TObject*) {
    if (FCropRect) {
        RemoveCrop();
        return;
    }
    btnFitClick(this);
    const float s = Scale();
    const float w = float(FBitmap->Width()), h = float(FBitmap->Height());
    FCropRect = new TsgSelection(this);
    FCropRect->SetParentBounds(true);
    Preview->AddObject(FCropRect);
    FCropRect->SetBounds(std::trunc(0.1f * w * s), std::trunc(0.1f * h * s), 0.8f * w * s,
                         std::trunc(0.8f * h * s));
    FOldScale = s;
    cropButton->SetText(u"Full");
}

void TsgBitmapEditor::trackScaleChange(TObject*) {
    if (!FBitmap)
        return;
    const float s = Scale();
    UpdatePicture();
    if (FCropRect && FOldScale > 0) {
        const float k = s / FOldScale;
        FCropRect->SetBounds(FCropRect->Position()->X() * k, FCropRect->Position()->Y() * k,
                             FCropRect->Width() * k, FCropRect->Height() * k);
    }
    FOldScale = s;
    labelScale->SetText(u"Scale: " + IntToStr(int64_t(std::nearbyint(s * 100))) + u"%");
}

void TsgBitmapEditor::trackScaleMouseDown(TObject*, TMouseButton, TShiftState Shift, float, float) {
    if (Shift.Contains(ssDouble))
        trackScale->SetValue(1);
}

void TsgBitmapEditor::btnFitClick(TObject*) {
    TsgRect r{0, 0, float(FBitmap->Width()), float(FBitmap->Height())};
    const float f = sgFitRect(r, ScrollBox1->LocalRect());
    if (f > 0)
        trackScale->SetValue(1 / f);
}

void TsgBitmapEditor::btnOriginalClick(TObject*) {
    trackScale->SetValue(1);
}

void TsgBitmapEditor::SlidePanel(bool In) {
    const float out = -resizeLayout->Height();
    // An editor that is not on screen moves its panel at once.
    const bool animate = Visible();
    if (In) {
        resizeLayout->Position()->SetY(out);
        resizeLayout->SetVisible(true);
        if (animate)
            resizeLayout->AnimateFloat("Position.Y", 0, kSlideTime);
        else
            resizeLayout->Position()->SetY(0);
        return;
    }
    if (animate)
        resizeLayout->AnimateFloatWait("Position.Y", out, kSlideTime);
    resizeLayout->Position()->SetY(out);
    resizeLayout->SetVisible(false);
}

void TsgBitmapEditor::btnResizeClick(TObject*) {
    newWidth->SetValue(float(FBitmap->Width()));
    newHeight->SetValue(float(FBitmap->Height()));
    SlidePanel(true);
}

// Each box proposes the other's size for the same aspect. Setting a box's value raises no
// change of its own, so the proposal does not come back to the box being typed in; the boxes
// keep the proposal within their range.
void TsgBitmapEditor::newWidthChange(TObject*) {
    if (!FBitmap || FBitmap->Width() < 1)
        return;
    newHeight->SetValue(
        float(std::nearbyint(double(FBitmap->Height()) / FBitmap->Width() * newWidth->Value())));
}

void TsgBitmapEditor::newHeightChange(TObject*) {
    if (!FBitmap || FBitmap->Height() < 1)
        return;
    newWidth->SetValue(
        float(std::nearbyint(double(FBitmap->Width()) / FBitmap->Height() * newHeight->Value())));
}

void TsgBitmapEditor::Button4Click(TObject*) {
    const int w = int(newWidth->Value()), h = int(newHeight->Value());
    if (w >= 1 && h >= 1) {
        const UnicodeString name = FFileName;
        TsgBitmap scaled(w, h);
        scaled.Clear(0);
        if (scaled.Canvas()->BeginScene()) {
            scaled.Canvas()->DrawBitmap(FBitmap.get(), FSourceRect,
                                        TsgRect{0, 0, float(w), float(h)}, 1, false);
            scaled.Canvas()->EndScene();
        }
        RemoveCrop();
        AssignFromBitmap(&scaled);
        FFileName = name;
    }
    SlidePanel(false);
}

void TsgBitmapEditor::Button5Click(TObject*) {
    SlidePanel(false);
}

void TsgBitmapEditor::PreviewPaint(TObject*, TsgCanvas* Canvas) {
    if (!FBitmap)
        return;
    const float s = Scale();
    Canvas->DrawBitmap(FBitmap.get(), FSourceRect,
                       TsgRect{0, 0, sgRectWidth(FSourceRect) * s, sgRectHeight(FSourceRect) * s},
                       1, false);
}

bool sgEditBitmap(TsgBitmap* Bitmap) {
    if (!Bitmap)
        return false;
    auto form = std::make_unique<TsgBitmapEditor>();
    sgBitmapEditor = form.get();
    form->AssignFromBitmap(Bitmap);
    const bool ok = sgDesignShowModal()(*form) == mrOk;
    if (ok)
        form->AssignToBitmap(Bitmap);
    sgBitmapEditor = nullptr;
    return ok;
}
