#include "platform/ui/ImageList.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Exceptions.h"

DBI_PUBLISH(TCustomImageList) {
    p.Integer("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth, 32);
    p.Integer("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight, 32);
}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::~TCustomImageList() = default;

// The pictures held have the old size; they cannot stay.

void TCustomImageList::SetWidth(int Value) {
    if (Value == FWidth)
        return;
    FWidth = Value;
    FImages.clear();
}

void TCustomImageList::SetHeight(int Value) {
    if (Value == FHeight)
        return;
    FHeight = Value;
    FImages.clear();
}

void TCustomImageList::Clear() {
    FImages.clear();
}

int TCustomImageList::AddMasked(const gfx::Bitmap& Image, TColor MaskColor) {
    if (FWidth < 1 || FHeight < 1 || Image.GetWidth() != FWidth || Image.GetHeight() != FHeight ||
        !Image.Scan0())
        throw EInvalidOperation("Invalid image size");
    const bool masked = (static_cast<uint32_t>(MaskColor) & 0xFF000000u) == 0;
    const auto maskR = uint8_t(MaskColor), maskG = uint8_t(MaskColor >> 8),
               maskB = uint8_t(MaskColor >> 16);
    auto copy = std::make_unique<gfx::Bitmap>(FWidth, FHeight);
    Image.Flush();
    const uint32_t* source = Image.Scan0();
    uint32_t* target = copy->Scan0();
    for (size_t i = 0, n = size_t(FWidth) * size_t(FHeight); i < n; ++i) {
        gfx::Color colour;
        Image.GetPixel(int(i % size_t(FWidth)), int(i / size_t(FWidth)), &colour);
        const bool isMask =
            masked && colour.GetR() == maskR && colour.GetG() == maskG && colour.GetB() == maskB;
        target[i] = isMask ? 0 : source[i];
    }
    copy->MarkDirty();
    FImages.push_back(std::move(copy));
    return Count() - 1;
}

const gfx::Bitmap* TCustomImageList::Image(int Index) const {
    if (Index < 0 || Index >= Count())
        return nullptr;
    return FImages[size_t(Index)].get();
}
