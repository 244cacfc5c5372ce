#include "scene/core/Sg_scene_imagelist.h"

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_geometry.h"
#include "scene/core/Sg_scene_registry.h"

#include "platform/classes/Filer.h"
#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MemoryStream.h"

#include <cstdint>

// Width and Height are published by the platform list.
DBI_PUBLISH(TsgImageList) {}

namespace {

int32_t ReadInt32(TStream& Stream) {
    uint8_t b[4];
    Stream.ReadBuffer(b, 4);
    return static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 |
                                uint32_t(b[3]) << 24);
}

void WriteInt32(TStream& Stream, int32_t Value) {
    const auto v = static_cast<uint32_t>(Value);
    const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    Stream.WriteBuffer(b, 4);
}

// A count or size larger than what is left of the stream cannot be right; refusing it keeps a
// damaged form from asking for memory it does not describe.
void CheckFits(TStream& Stream, int64_t Needed) {
    if (Needed < 0 || Needed > Stream.Size() - Stream.Position())
        throw EReadError("Invalid image list data");
}

} // namespace

TsgImageList::TsgImageList(TComponent* AOwner) : TCustomImageList(AOwner) {
    SetWidth(32);
    SetHeight(32);
}

TsgImageList::~TsgImageList() {
    Clear();
}

int TsgImageList::Add(TsgBitmap* Bitmap) {
    auto stored = std::make_unique<TsgBitmap>(Width(), Height());
    if (Bitmap && !Bitmap->IsEmpty()) {
        const TsgRect source{0, 0, float(Bitmap->Width()), float(Bitmap->Height())};
        TsgRect target = source;
        sgFitRect(target, TsgRect{0, 0, float(Width()), float(Height())});
        if (TsgCanvas* canvas = stored->Canvas(); canvas && canvas->BeginScene()) {
            canvas->DrawBitmap(Bitmap, source, target, 1, false);
            canvas->EndScene();
        }
    }
    FBitmaps.push_back(std::move(stored));
    UpdateList();
    return Count() - 1;
}

void TsgImageList::Clear() {
    TCustomImageList::Clear();
    FBitmaps.clear();
}

TsgBitmap* TsgImageList::GetBitmap(int Index) const {
    if (Index < 0 || Index >= Count())
        return nullptr;
    return FBitmaps[size_t(Index)].get();
}

void TsgImageList::DefineProperties(TFiler& Filer) {
    TComponent::DefineProperties(Filer);
    Filer.DefineBinaryProperty(
        "Images", [this](TStream& s) { ReadImage(s); }, [this](TStream& s) { WriteImage(s); },
        !FBitmaps.empty());
}

void TsgImageList::ReadImage(TStream& Stream) {
    const int32_t count = ReadInt32(Stream);
    // Every entry has at least its own size word.
    CheckFits(Stream, int64_t(count) * 4);
    for (int32_t i = 0; i < count; ++i) {
        const int32_t size = ReadInt32(Stream);
        CheckFits(Stream, size);
        TMemoryStream picture;
        picture.SetSize(size);
        if (size > 0)
            Stream.ReadBuffer(picture.Memory(), size);
        picture.SetPosition(0);
        FBitmaps.push_back(std::make_unique<TsgBitmap>(picture));
    }
    UpdateList();
}

void TsgImageList::WriteImage(TStream& Stream) {
    WriteInt32(Stream, Count());
    for (const auto& bitmap : FBitmaps) {
        TMemoryStream picture;
        bitmap->SaveToStream(picture);
        WriteInt32(Stream, static_cast<int32_t>(picture.Size()));
        if (picture.Size() > 0)
            Stream.WriteBuffer(picture.Memory(), picture.Size());
    }
}

void TsgImageList::UpdateList() {
    if (!HasState(csDesigning))
        return;
    TCustomImageList::Clear();
    for (const auto& bitmap : FBitmaps) {
        if (bitmap->IsEmpty() || bitmap->Width() != Width() || bitmap->Height() != Height())
            continue;
        // The platform picture is a copy of the pixels; the view of them lives only this long.
        const gfx::Bitmap pixels(bitmap->Width(), bitmap->Height(), bitmap->Width() * 4,
                                 gfx::PixelFormat::Format32bppPArgb,
                                 reinterpret_cast<uint8_t*>(bitmap->Scanline(0)));
        AddMasked(pixels, clBlack);
    }
}

void RegisterSgImageListUnit() {
    static const bool done = [] {
        RegisterClass(TsgImageList::StaticClassInfo());
        return true;
    }();
    (void)done;
}
