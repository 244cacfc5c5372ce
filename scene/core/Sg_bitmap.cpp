#include "scene/core/Sg_bitmap.h"

#include "platform/gfx/ImageCodec.h"
#include "platform/rtl/Stream.h"

#include <algorithm>

namespace {

// Pictures the toolkit loads are small; anything bigger than this is refused before reading.
constexpr int64_t kMaxPictureBytes = int64_t(256) << 20;

} // namespace

TsgBitmap::TsgBitmap(int width, int height, bool premulAlpha)
    : width_(width), height_(height), premulAlpha_(premulAlpha) {
    Recreate();
}

TsgBitmap::TsgBitmap(TStream& stream) {
    LoadFromStream(stream);
}

bool TsgBitmap::LoadFromStream(TStream& stream) {
    const int64_t position = stream.Position();
    const int64_t size = stream.Size();
    if (position < 0 || size <= position || size - position > kMaxPictureBytes)
        return false;
    std::vector<uint8_t> bytes(static_cast<size_t>(size - position));
    bytes.resize(
        static_cast<size_t>(stream.Read(bytes.data(), static_cast<int32_t>(bytes.size()))));

    gfx::DecodedImage image;
    if (gfx::DecodeImage(bytes.data(), bytes.size(), &image) != gfx::Status::Ok ||
        image.width < 1 || image.height < 1)
        return false;
    width_ = image.width;
    height_ = image.height;
    bits_ = std::move(image.pixels);
    std::transform(bits_.begin(), bits_.end(), bits_.begin(), gfx::Premultiply);
    NeedUpdate = true;
    if (OnChange)
        OnChange(this);
    return true;
}

void TsgBitmap::SetSize(int width, int height) {
    if (width == width_ && height == height_ && !bits_.empty())
        return;
    width_ = width;
    height_ = height;
    Recreate();
}

void TsgBitmap::Recreate() {
    width_ = std::max(width_, 1);
    height_ = std::max(height_, 1);
    bits_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0u);
    NeedUpdate = true;
}

uint32_t TsgBitmap::GetPixels(int x, int y) const {
    if (bits_.empty() || x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    return bits_[static_cast<size_t>(y) * width_ + x];
}

void TsgBitmap::SetPixels(int x, int y, uint32_t value) {
    if (bits_.empty() || x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    bits_[static_cast<size_t>(y) * width_ + x] = value;
}

uint32_t* TsgBitmap::Scanline(int y) {
    if (bits_.empty() || y < 0 || y >= height_)
        return nullptr;
    return bits_.data() + static_cast<size_t>(y) * width_;
}

const uint32_t* TsgBitmap::Scanline(int y) const {
    return const_cast<TsgBitmap*>(this)->Scanline(y);
}
