#include "scene/core/Sg_bitmap.h"

#include "scene/core/Sg_canvas_gdip.h"
#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_color.h"
#include "scene/core/Sg_scene_filter.h"
#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_utils.h"

#include "platform/classes/Filer.h"
#include "platform/gfx/Bitmap.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/rtl/Stream.h"

#include <algorithm>
#include <cmath>
#include <cstring>

TsgBitmap* (*sgFindBitmapResource)(const UnicodeString& name) = nullptr;

DBI_PUBLISH(TsgBitmap) {
    p.String("ResourceName", &TsgBitmap::ResourceName, &TsgBitmap::SetResourceName)
        .Stored(
            [](TPersistent& o) { return !static_cast<TsgBitmap&>(o).ResourceName().IsEmpty(); });
}

TsgBitmap::TsgBitmap(int width, int height, bool premulAlpha)
    : width_(width), height_(height), premulAlpha_(premulAlpha) {
    Recreate();
}

TsgBitmap::TsgBitmap(TStream& stream) {
    LoadFromStream(stream);
}

TsgBitmap::~TsgBitmap() {
    canvas_.reset();
    DestroyHandle();
}

void TsgBitmap::SetHandle(std::unique_ptr<gfx::Bitmap> handle) {
    handle_ = std::move(handle);
}

void TsgBitmap::DestroyHandle() {
    if (OnDestroyHandle)
        OnDestroyHandle(this);
    handle_.reset();
}

void TsgBitmap::SyncPixels() const {
    if (handle_)
        handle_->Flush();
}

void TsgBitmap::Recreate() {
    if (OnBitmapDestroy)
        OnBitmapDestroy(this);
    // The canvas draws into the wrapper, the wrapper into the pixels: free them in that order.
    canvas_.reset();
    DestroyHandle();
    width_ = std::max(width_, 1);
    height_ = std::max(height_, 1);
    bits_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0u);
    NeedUpdate = true;
    if (OnBitmapCreate)
        OnBitmapCreate(this);
}

void TsgBitmap::SetSize(int width, int height) {
    if (width == width_ && height == height_ && !bits_.empty())
        return;
    width_ = width;
    height_ = height;
    Recreate();
}

void TsgBitmap::SetWidth(int value) {
    if (value != width_ || bits_.empty()) {
        width_ = value;
        Recreate();
    }
}

void TsgBitmap::SetHeight(int value) {
    if (value != height_ || bits_.empty()) {
        height_ = value;
        Recreate();
    }
}

void TsgBitmap::Clear(TsgColor color) {
    if (bits_.empty())
        return;
    SyncPixels();
    FillLongword(bits_.data(), width_ * height_, sgPremultyAlpha(color));
    NeedUpdate = true;
}

void TsgBitmap::ClearRect(const TsgRect& rect, TsgColor color) {
    if (bits_.empty())
        return;
    int left = std::max(static_cast<int>(std::trunc(rect.Left)), 0);
    int top = std::max(static_cast<int>(std::trunc(rect.Top)), 0);
    int right = std::min(static_cast<int>(std::nearbyint(double(rect.Right))), width_);
    int bottom = std::min(static_cast<int>(std::nearbyint(double(rect.Bottom))), height_);
    bottom = std::max(bottom, top);
    right = std::max(right, left);
    SyncPixels();
    FillLongwordRect(bits_.data(), width_, height_, left, top, right, bottom,
                     sgPremultyAlpha(color));
    NeedUpdate = true;
}

uint32_t TsgBitmap::GetPixels(int x, int y) const {
    if (bits_.empty() || x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    SyncPixels();
    return bits_[static_cast<size_t>(y) * width_ + x];
}

void TsgBitmap::SetPixels(int x, int y, uint32_t value) {
    if (bits_.empty() || x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    SyncPixels();
    bits_[static_cast<size_t>(y) * width_ + x] = value;
}

uint32_t* TsgBitmap::Scanline(int y) {
    if (bits_.empty() || y < 0 || y >= height_)
        return nullptr;
    SyncPixels();
    return bits_.data() + static_cast<size_t>(y) * width_;
}

const uint32_t* TsgBitmap::Scanline(int y) const {
    return const_cast<TsgBitmap*>(this)->Scanline(y);
}

TsgCanvas* TsgBitmap::Canvas() {
    InitSgCanvasUnit();
    if (!canvas_ && DefaultCanvasClass) {
        if (bits_.empty())
            Recreate();
        canvas_ = DefaultCanvasClass->CreateFromBitmap(this);
        canvas_->SetMatrix(IdentityMatrix);
    }
    return canvas_.get();
}

void TsgBitmap::BitmapChanged() {
    if (OnChange)
        OnChange(this);
}

void TsgBitmap::DoLoaded(TObject*) {
    if (OnThreadLoaded)
        OnThreadLoaded(this);
}

void TsgBitmap::SetResourceName(const UnicodeString& value) {
    if (value == resourceName_)
        return;
    resourceName_ = value;
    BitmapChanged();
}

TsgBitmap* TsgBitmap::ResourceBitmap() const {
    if (resourceName_.IsEmpty() || !sgFindBitmapResource)
        return nullptr;
    return sgFindBitmapResource(resourceName_);
}

void TsgBitmap::Assign(TPersistent* source) {
    auto* from = dynamic_cast<TsgBitmap*>(source);
    if (!from) {
        TPersistent::Assign(source);
        return;
    }
    if (from->ResourceBitmap()) {
        resourceName_ = from->resourceName_;
        BitmapChanged();
        return;
    }
    if (from == this)
        return;
    SetSize(from->Width(), from->Height());
    if (!from->bits_.empty()) {
        from->SyncPixels();
        SyncPixels();
        std::memcpy(bits_.data(), from->bits_.data(), bits_.size() * sizeof(uint32_t));
    }
    NeedUpdate = true;
    BitmapChanged();
}

void TsgBitmap::DefineProperties(TFiler& filer) {
    TPersistent::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "PNG", [this](TStream& s) { LoadFromStream(s); }, [this](TStream& s) { SaveToStream(s); },
        static_cast<int64_t>(width_) * height_ > 0 && !bits_.empty());
}

// Files and streams.

namespace {

std::unique_ptr<TsgFilter> MakeFilter() {
    InitSgCanvasUnit();
    if (!DefaultFilterClass)
        return nullptr;
    return DefaultFilterClass->Create();
}

} // namespace

bool TsgBitmap::LoadFromFile(const UnicodeString& fileName, float rotate) {
    if (!FileExists(fileName))
        return false;
    auto filter = MakeFilter();
    if (!filter || !filter->LoadFromFile(fileName, rotate, *this))
        return false;
    BitmapChanged();
    return true;
}

bool TsgBitmap::LoadThumbnailFromFile(const UnicodeString& fileName, float fitWidth,
                                      float fitHeight, bool useEmbedded) {
    auto filter = MakeFilter();
    if (!filter ||
        !filter->LoadThumbnailFromFile(fileName, fitWidth, fitHeight, useEmbedded, *this))
        return false;
    BitmapChanged();
    return true;
}

bool TsgBitmap::SaveToFile(const UnicodeString& fileName, const UnicodeString& params) {
    auto filter = MakeFilter();
    if (!filter)
        return false;
    filter->PremulAlpha = premulAlpha_;
    return filter->SaveToFile(fileName, *this, params);
}

bool TsgBitmap::LoadFromStream(TStream& stream) {
    auto filter = MakeFilter();
    if (!filter)
        return false;
    if (!filter->LoadFromStream(stream, *this))
        return false;
    BitmapChanged();
    return true;
}

bool TsgBitmap::SaveToStream(TStream& stream) {
    return SaveToStreamFormat(stream, u"png", UnicodeString());
}

bool TsgBitmap::SaveToStreamFormat(TStream& stream, const UnicodeString& fileFormat,
                                   const UnicodeString& params) {
    auto filter = MakeFilter();
    if (!filter)
        return false;
    filter->PremulAlpha = premulAlpha_;
    return filter->SaveToStream(stream, *this, fileFormat, params);
}
