// The image codec over the drawing layer. Files are straight-alpha; the layer converts at its
// edge, so the bitmap's words stay premultiplied. Every byte count is bounded by what the file
// or stream really holds.
#include "scene/core/Sg_canvas_gdip.h"

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_scene_geometry.h"

#include "platform/gfx/Gfx.h"
#include "platform/rtl/FileStream.h"
#include "platform/rtl/Paths.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace sgstream;

namespace {

// Pictures the toolkit loads are small; anything bigger than this is refused before reading.
constexpr int64_t kMaxPictureBytes = int64_t(256) << 20;

std::unique_ptr<gfx::Bitmap> DecodeStream(TStream& Stream) {
    TMyStreamAdapter adapter(&Stream, soReference);
    const std::vector<uint8_t> bytes = adapter.ReadAll(kMaxPictureBytes);
    if (bytes.empty())
        return nullptr;
    return gfx::Bitmap::FromMemory(bytes.data(), bytes.size());
}

std::unique_ptr<gfx::Bitmap> DecodeFile(const UnicodeString& FileName) {
    TFileStream file(FileName, fmOpenRead | fmShareDenyNone);
    return DecodeStream(file);
}

// Copies the decoded picture's premultiplied words into the bitmap, sized to it.
void CopyPixels(gfx::Bitmap& Image, TsgBitmap& Bitmap) {
    Bitmap.SetSize(Image.GetWidth(), Image.GetHeight());
    gfx::BitmapData data;
    const gfx::Rect all(0, 0, Image.GetWidth(), Image.GetHeight());
    if (Image.LockBits(&all, gfx::ImageLockModeRead, gfx::PixelFormat::Format32bppPArgb, &data) !=
        gfx::Status::Ok)
        return;
    for (int y = 0; y < data.Height; ++y)
        std::memcpy(Bitmap.Scanline(y), static_cast<uint8_t*>(data.Scan0) + size_t(y) * data.Stride,
                    size_t(data.Width) * 4);
    Image.UnlockBits(&data);
    Bitmap.NeedUpdate = true;
}

// The layer's view of the bitmap's own pixels, for encoding and drawing into them.
std::unique_ptr<gfx::Bitmap> WrapPixels(TsgBitmap& Bitmap) {
    return std::make_unique<gfx::Bitmap>(Bitmap.Width(), Bitmap.Height(), Bitmap.Width() * 4,
                                         gfx::PixelFormat::Format32bppPArgb,
                                         reinterpret_cast<uint8_t*>(Bitmap.Scanline(0)));
}

std::string LowerUtf8(const UnicodeString& Text) {
    std::string s = Text.ToUtf8();
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

bool Encode(TsgBitmap& Bitmap, const std::string& Mime, const UnicodeString& Params,
            std::vector<uint8_t>& Out) {
    if (Bitmap.IsEmpty() || !gfx::IsEncoderAvailable(Mime))
        return false;
    const int quality = sgFilterQualityParam(Params);
    auto image = WrapPixels(Bitmap);
    return image->SaveToMemory(&Out, Mime, quality >= 0 ? &quality : nullptr) == gfx::Status::Ok;
}

std::unique_ptr<TsgFilter> CreateFilter() {
    return std::make_unique<TsgFilterGdiPlus>();
}

} // namespace

const TsgFilterClassInfo TsgFilterGdiPlus::ClassInfoRecord = {"TsgFilterGdiPlus", &CreateFilter,
                                                              &TsgFilterGdiPlus::GetFileTypes,
                                                              &TsgFilterGdiPlus::GetImageSize};

UnicodeString TsgFilterGdiPlus::GetFileTypes() {
    return u"*.bmp;*.jpg;*.jpeg;*.png;*.tif;*.tiff;*.gif;*.ico;*.jps;*.image";
}

TsgPoint TsgFilterGdiPlus::GetImageSize(const UnicodeString& AFileName) {
    try {
        if (auto image = DecodeFile(AFileName))
            return {float(image->GetWidth()), float(image->GetHeight())};
    } catch (const Exception&) {
    }
    return {0, 0};
}

bool TsgFilterGdiPlus::LoadFromFile(const UnicodeString& AFileName, float Rotate,
                                    TsgBitmap& Bitmap) {
    auto image = DecodeFile(AFileName);
    if (!image)
        return false;
    if (!std::isfinite(Rotate) || std::fabs(Rotate) > 1e9f)
        Rotate = std::fmod(std::isfinite(Rotate) ? Rotate : 0.0f, 360.0f);
    if (Rotate == std::trunc(Rotate) && static_cast<long>(Rotate) % 90 == 0) {
        const long q = static_cast<long>(Rotate) % 360;
        if (q == 90)
            image->RotateFlip(gfx::RotateFlipType::Rotate90FlipNone);
        else if (q == 180)
            image->RotateFlip(gfx::RotateFlipType::Rotate180FlipNone);
        else if (q == 270)
            image->RotateFlip(gfx::RotateFlipType::Rotate270FlipNone);
        CopyPixels(*image, Bitmap);
        return true;
    }
    const float w = float(image->GetWidth()), h = float(image->GetHeight());
    if (w * h == 0)
        return true;
    TsgRect r;
    const TsgMatrix m = sgTurnAboutCentreMatrix(w, h, Rotate, r);
    Bitmap.SetSize(static_cast<int>(std::trunc(sgRectWidth(r))),
                   static_cast<int>(std::trunc(sgRectHeight(r))));
    Bitmap.Clear(0);
    auto target = WrapPixels(Bitmap);
    {
        gfx::Graphics graphics(target.get());
        graphics.SetSmoothingMode(gfx::SmoothingMode::HighQuality);
        graphics.SetInterpolationMode(gfx::InterpolationMode::HighQuality);
        graphics.SetPixelOffsetMode(gfx::PixelOffsetMode::Half);
        graphics.SetTransform(gfx::Matrix(m.m11, m.m12, m.m21, m.m22, m.m31, m.m32));
        graphics.DrawImage(image.get(), gfx::RectF(0, 0, w, h));
        graphics.Flush();
    }
    target->Flush();
    Bitmap.NeedUpdate = true;
    return true;
}

bool TsgFilterGdiPlus::LoadThumbnailFromFile(const UnicodeString& AFileName, float AFitWidth,
                                             float AFitHeight, bool UseEmbedded,
                                             TsgBitmap& Bitmap) {
    auto image = DecodeFile(AFileName);
    if (!image)
        return false;
    const float w = float(image->GetWidth()), h = float(image->GetHeight());
    if (w * h == 0)
        return false;
    TsgRect r{0, 0, w, h};
    float s = sgFitRect(r, {0, 0, AFitWidth, AFitHeight});
    if (s == 0)
        s = 0.001f;
    if (s < 1)
        s = 1;
    std::unique_ptr<gfx::Bitmap> source;
    if (UseEmbedded) {
        // The layer's codecs carry no embedded thumbnails: a scaled copy stands in.
        source = image->GetThumbnailImage(std::max(1, static_cast<int>(std::trunc(w / s))),
                                          std::max(1, static_cast<int>(std::trunc(h / s))));
        if (!source)
            return false;
        Bitmap.SetSize(source->GetWidth(), source->GetHeight());
    } else {
        Bitmap.SetSize(static_cast<int>(std::trunc(sgRectWidth(r))),
                       static_cast<int>(std::trunc(sgRectHeight(r))));
    }
    Bitmap.Clear(0);
    auto target = WrapPixels(Bitmap);
    {
        gfx::Graphics graphics(target.get());
        graphics.SetInterpolationMode(gfx::InterpolationMode::HighQuality);
        graphics.SetPixelOffsetMode(gfx::PixelOffsetMode::Half);
        if (source)
            graphics.DrawImage(source.get(),
                               gfx::RectF(0, 0, float(Bitmap.Width()), float(Bitmap.Height())));
        else
            graphics.DrawImage(image.get(), gfx::RectF(0, 0, w / s, h / s));
        graphics.Flush();
    }
    target->Flush();
    Bitmap.NeedUpdate = true;
    return true;
}

bool TsgFilterGdiPlus::LoadFromStream(TStream& AStream, TsgBitmap& Bitmap) {
    auto image = DecodeStream(AStream);
    if (!image || image->GetWidth() * image->GetHeight() == 0)
        return false;
    CopyPixels(*image, Bitmap);
    return true;
}

namespace {

std::string MimeOfExtension(const std::string& ext) {
    if (ext == ".jpg" || ext == ".jpeg" || ext == ".jps")
        return "image/jpeg";
    if (ext == ".bmp")
        return "image/bmp";
    if (ext == ".png")
        return "image/png";
    if (ext == ".tif" || ext == ".tiff")
        return "image/tiff";
    if (ext == ".gif")
        return "image/gif";
    return std::string();
}

std::string MimeOfFormat(const std::string& format) {
    if (format == "jpeg" || format == "jpg" || format == "jps")
        return "image/jpeg";
    if (format == "bmp")
        return "image/bmp";
    if (format == "tif" || format == "tiff")
        return "image/tiff";
    if (format == "gif")
        return "image/gif";
    return "image/png";
}

} // namespace

bool TsgFilterGdiPlus::SaveToFile(const UnicodeString& AFileName, TsgBitmap& Bitmap,
                                  const UnicodeString& Params) {
    const std::string mime = MimeOfExtension(LowerUtf8(ExtractFileExt(AFileName)));
    std::vector<uint8_t> bytes;
    if (mime.empty() || !Encode(Bitmap, mime, Params, bytes))
        return false;
    TFileStream file(AFileName, fmCreate);
    file.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    return true;
}

bool TsgFilterGdiPlus::SaveToStream(TStream& AStream, TsgBitmap& Bitmap,
                                    const UnicodeString& Format, const UnicodeString& Params) {
    std::vector<uint8_t> bytes;
    if (!Encode(Bitmap, MimeOfFormat(LowerUtf8(Format)), Params, bytes))
        return false;
    TMyStreamAdapter adapter(&AStream, soReference);
    uint32_t written = 0;
    return adapter.Write(bytes.data(), static_cast<uint32_t>(bytes.size()), &written) == S_OK &&
           written == bytes.size();
}
