// TsgBitmap: pixels, notifications, pixel operations, and image files through the codec, with
// PNG fixtures of several pixel formats made by Pillow.
#include "CanvasTestSupport.h"

#include "scene/core/Sg_scene_preview.h"

#include "platform/rtl/FileStream.h"
#include "platform/rtl/MemoryStream.h"

#include <gtest/gtest.h>

namespace {

struct Events : TObject {
    int change = 0, create = 0, destroy = 0;
    void Change(TObject*) { ++change; }
    void Create(TObject*) { ++create; }
    void Destroy(TObject*) { ++destroy; }
    void Attach(TsgBitmap& b) {
        b.OnChange = TNotifyEvent::Bind<&Events::Change>(this);
        b.OnBitmapCreate = TNotifyEvent::Bind<&Events::Create>(this);
        b.OnBitmapDestroy = TNotifyEvent::Bind<&Events::Destroy>(this);
    }
};

class Fixtures : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new testsupport::ScratchFolder("sg-bitmap-");
        ASSERT_TRUE(RunPillow("fixtures " + folder_->Str()));
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }
    static std::string File(const std::string& name) { return *folder_ / name; }
    static UnicodeString UFile(const std::string& name) {
        return UnicodeString::FromUtf8(File(name));
    }
    static testsupport::ScratchFolder* folder_;
};
testsupport::ScratchFolder* Fixtures::folder_ = nullptr;

} // namespace

TEST(Bitmap, SizesPixelsAndClearing) {
    TsgBitmap tiny(0, 0, true);
    EXPECT_EQ(tiny.Width(), 1);
    EXPECT_EQ(tiny.Height(), 1);
    EXPECT_EQ(tiny.GetPixels(0, 0), 0u);

    TsgBitmap b(4, 3);
    const std::pair<TsgColor, uint32_t> clears[] = {
        {0x00FFFFFF, 0}, {0xFF123456, 0xFF123456}, {0x80FF8040, 0x80804020}};
    for (const auto& [color, stored] : clears) {
        b.Clear(color);
        EXPECT_EQ(b.GetPixels(3, 2), stored);
    }
    EXPECT_EQ(b.GetPixels(-1, 0), 0u);
    b.SetPixels(4, 0, 0xFFFFFFFF);
    b.SetPixels(0, 3, 0xFFFFFFFF);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(b.GetPixels(x, y), 0x80804020u);
    b.ClearRect({-3.5f, 1, 2.5f, 2.5f}, 0xFF0000FF); // columns 0-1 of row 1 (2.5 rounds to 2)
    EXPECT_EQ(b.GetPixels(1, 1), 0xFF0000FFu);
    EXPECT_EQ(b.GetPixels(2, 1), 0x80804020u);
    EXPECT_EQ(b.GetPixels(0, 2), 0x80804020u);
}

TEST(Bitmap, SizeChangesAnnounceNewPixelsNotContent) {
    TsgBitmap b(2, 2);
    Events e;
    e.Attach(b);
    b.SetPixels(1, 1, 7);
    b.SetSize(2, 2);
    EXPECT_EQ(b.GetPixels(1, 1), 7u);
    EXPECT_EQ(e.create + e.destroy + e.change, 0);
    b.SetSize(3, 2);
    EXPECT_EQ(b.GetPixels(1, 1), 0u);
    EXPECT_EQ(e.create, 1);
    EXPECT_EQ(e.destroy, 1);
    EXPECT_EQ(e.change, 0);
}

TEST(Bitmap, FlipsRotationAndMasks) {
    TsgBitmap column(1, 3);
    for (int y = 0; y < 3; ++y)
        column.SetPixels(0, y, 0xFF000000u + uint32_t(y));
    column.FlipHorizontal();
    EXPECT_EQ(column.GetPixels(0, 0), 0xFF000002u);
    EXPECT_EQ(column.GetPixels(0, 2), 0xFF000000u);

    TsgBitmap row(3, 1);
    for (int x = 0; x < 3; ++x)
        row.SetPixels(x, 0, 0xFF000000u + uint32_t(x));
    row.FlipVertical();
    EXPECT_EQ(row.GetPixels(0, 0), 0xFF000002u);

    TsgBitmap wide(4, 2);
    wide.Clear(0xFFFF0000);
    Events e;
    e.Attach(wide);
    wide.Rotate(0);
    EXPECT_EQ(e.change, 0);
    wide.Rotate(90);
    EXPECT_EQ(wide.Width(), 2);
    EXPECT_EQ(wide.Height(), 4);
    EXPECT_EQ(wide.GetPixels(1, 2), 0xFFFF0000u);
    EXPECT_GE(e.change, 1);

    std::unique_ptr<TsgBitmap> thumbnail = wide.CreateThumbnail(1, 2); // scale 1/2 of 2 x 4
    EXPECT_EQ(thumbnail->Width(), 1);
    EXPECT_EQ(thumbnail->GetPixels(0, 1), 0xFFFF0000u);

    TsgBitmap masked(2, 2);
    masked.Clear(0xFFFFFFFF);
    const std::vector<uint8_t> mask = {0, 255, 0, 0};
    masked.ApplyMask(mask, 0, 0);
    EXPECT_EQ(masked.GetPixels(1, 0) >> 24, 0u);
    EXPECT_EQ(masked.GetPixels(0, 0), 0xFFFFFFFFu);
    masked.ApplyMask({1, 2}, 0, 0); // too short a mask is refused
    EXPECT_EQ(masked.GetPixels(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(masked.CreateMask(), (std::vector<uint8_t>{255, 0, 255, 255}));
    masked.InvertAlpha();
    EXPECT_EQ(masked.GetPixels(1, 0) >> 24, 255u);
}

// Shadows and glows mask and invert premultiplied pictures: the colour must follow the alpha, or
// the pixel composes as more light than its coverage allows.
TEST(Bitmap, MaskAndInvertKeepTheColourWithinTheAlpha) {
    struct Case {
        TsgColor pixel;
        uint8_t mask;
        TsgColor masked;
        TsgColor inverted;
    };
    const Case cases[] = {
        {0xFFFFFFFF, 128, 0x7F7F7F7F, 0x00000000}, {0xFFFFFFFF, 0, 0xFFFFFFFF, 0x00000000},
        {0x80402010, 255, 0x00000000, 0x7F402010}, {0x80402010, 64, 0x5F2F170B, 0x7F402010},
        {0x00000000, 100, 0x00000000, 0xFF000000}, {0x40404040, 0, 0x40404040, 0xBFBFBFBF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.pixel << " mask " << int(c.mask));
        TsgBitmap masked(1, 1);
        masked.SetPixels(0, 0, c.pixel);
        masked.ApplyMask({c.mask}, 0, 0);
        EXPECT_EQ(masked.GetPixels(0, 0), c.masked);
        TsgBitmap inverted(1, 1);
        inverted.SetPixels(0, 0, c.pixel);
        inverted.InvertAlpha();
        EXPECT_EQ(inverted.GetPixels(0, 0), c.inverted);
    }

    // White masked to half, drawn over black: half grey, not full white.
    TsgBitmap white(4, 4);
    white.Clear(0xFFFFFFFF);
    white.ApplyMask(std::vector<uint8_t>(16, 128), 0, 0);
    TsgBitmap black(4, 4);
    black.Clear(0xFF000000);
    black.Canvas()->SetMatrix(IdentityMatrix);
    black.Canvas()->DrawBitmap(&white, {0, 0, 4, 4}, {0, 0, 4, 4}, 1, true);
    EXPECT_NEAR(int(black.GetPixels(1, 1) & 0xFF), 0x7F, 1);
    EXPECT_EQ(black.GetPixels(1, 1) >> 24, 0xFFu);
}

TEST(Bitmap, CanvasDrawsIntoThePixels) {
    TsgBitmap b(6, 4);
    TsgCanvas* canvas = b.Canvas();
    ASSERT_NE(canvas, nullptr);
    SetSolidFill(*canvas, 0xFF00FF00);
    canvas->FillRect({1, 1, 3, 3}, 0, 0, 0, 1);
    EXPECT_EQ(b.GetPixels(1, 1), 0xFF00FF00u);
    EXPECT_EQ(b.GetPixels(3, 3), 0u);
    b.SetSize(8, 8); // new pixels drop the canvas and its wrapper
    EXPECT_EQ(b.Handle(), nullptr);
    canvas = b.Canvas();
    SetSolidFill(*canvas, 0xFF00FF00);
    canvas->FillRect({0, 0, 8, 8}, 0, 0, 0, 1);
    EXPECT_EQ(b.GetPixels(7, 7), 0xFF00FF00u);
}

TEST(Bitmap, StreamsAsPngAndOnlyWhenItHasPixels) {
    TsgBitmap b(3, 2);
    b.Clear(0x80FF0000);
    TMemoryStream png;
    ASSERT_TRUE(b.SaveToStream(png));
    // A stream standing after a header decodes from its position on.
    TMemoryStream shifted;
    shifted.WriteBuffer("HEADER", 6);
    shifted.CopyFrom(png, 0);
    shifted.SetPosition(6);
    TsgBitmap back(shifted);
    ASSERT_EQ(back.Width(), 3);
    EXPECT_EQ(back.GetPixels(2, 1), 0x80800000u);

    TMemoryStream junk;
    junk.WriteBuffer("not a picture", 13);
    junk.SetPosition(0);
    TsgBitmap broken(junk);
    EXPECT_TRUE(broken.IsEmpty());
    EXPECT_EQ(broken.Width(), 0);
    Events e;
    e.Attach(b);
    junk.SetPosition(0);
    EXPECT_FALSE(b.LoadFromStream(junk));
    EXPECT_EQ(e.change, 0);
    EXPECT_EQ(b.Width(), 3);
}

TEST(Bitmap, TravelsInComponentStreamsAsPng) {
    RegisterSgSceneUnit();
    RegisterClass(TsgPreviewShape::StaticClassInfo());
    TsgPreviewShape source(nullptr);
    source.Bitmap()->SetSize(3, 2);
    source.Bitmap()->SetPixels(2, 1, 0x80402010);
    TStringStream text;
    source.SaveToStream(text);
    EXPECT_GT(text.DataString().Pos("Bitmap.PNG = {"), 0);
    text.SetPosition(0);
    TsgPreviewShape copy(nullptr);
    copy.LoadFromStream(text);
    ASSERT_EQ(copy.Bitmap()->Width(), 3);
    EXPECT_EQ(copy.Bitmap()->GetPixels(2, 1), 0x80402010u);
    EXPECT_EQ(copy.Bitmap()->GetPixels(0, 0), 0u);
}

TEST_F(Fixtures, PngFormatsDecodeToPremultipliedWords) {
    struct Case {
        const char* file;
        int x, y;
        uint32_t word;
    };
    const Case cases[] = {
        {"rgba.png", 0, 0, 0xFFFF0000},
        {"rgba.png", 1, 0, 0x80008000},
        {"rgba.png", 2, 0, 0},
        {"rgba.png", 3, 1, 0x40202020},
        {"rgba.png", 3, 2, 0xFFFAFBFC},
        {"palette.png", 2, 0, 0xFF0000FF},
        {"palette.png", 1, 1, 0xFF00FF00},
        {"grey.png", 1, 0, 0xFF808080},
        {"grey16.png", 1, 0, 0xFF808080},
        {"grey16.png", 2, 0, 0xFFFFFFFF},
    };
    for (const Case& c : cases) {
        TsgBitmap b(1, 1);
        ASSERT_TRUE(b.LoadFromFile(UFile(c.file))) << c.file;
        EXPECT_EQ(b.GetPixels(c.x, c.y), c.word) << c.file << " " << c.x << "," << c.y;
    }
    TsgBitmap missing(2, 2);
    EXPECT_FALSE(missing.LoadFromFile(UFile("nothing.png")));
    EXPECT_EQ(missing.Width(), 2);
}

TEST_F(Fixtures, RotatedLoading) {
    TsgBitmap b(1, 1);
    ASSERT_TRUE(b.LoadFromFile(UFile("quads.png"), 90));
    EXPECT_EQ(b.Width(), 20);
    EXPECT_EQ(b.Height(), 40);
    // Clockwise: the bottom-left (blue) quadrant comes to the top left.
    EXPECT_EQ(b.GetPixels(2, 2), 0xFF0000FFu);
    EXPECT_EQ(b.GetPixels(17, 2), 0xFFFF0000u);
    ASSERT_TRUE(b.LoadFromFile(UFile("quads.png"), -90)); // not a turn the codec knows
    EXPECT_EQ(b.Width(), 40);
    ASSERT_TRUE(b.LoadFromFile(UFile("quads.png"), 45));
    EXPECT_EQ(b.Width(), 42);
    EXPECT_EQ(b.Height(), 42);
    EXPECT_EQ(b.GetPixels(0, 0), 0u);
    EXPECT_EQ(b.GetPixels(21, 21) >> 24, 255u);
}

TEST_F(Fixtures, ThumbnailsNeverEnlarge) {
    TsgBitmap b(1, 1);
    ASSERT_TRUE(b.LoadThumbnailFromFile(UFile("wide.png"), 400, 400, false));
    EXPECT_EQ(b.Width(), 100);
    EXPECT_EQ(b.Height(), 50);
    ASSERT_TRUE(b.LoadThumbnailFromFile(UFile("wide.png"), 50, 50, false));
    EXPECT_EQ(b.Width(), 50);
    EXPECT_EQ(b.Height(), 25);
    EXPECT_EQ(b.GetPixels(10, 10), 0xFF1E3C5Au);
    ASSERT_TRUE(b.LoadThumbnailFromFile(UFile("wide.png"), 50, 50, true));
    EXPECT_EQ(b.Width(), 50);
    const TsgPoint size = DefaultFilterClass->GetImageSize(UFile("wide.png"));
    EXPECT_EQ(size.X, 100);
    EXPECT_EQ(size.Y, 50);
}

TEST_F(Fixtures, EncodersFollowFormatAndExtension) {
    TsgBitmap b(4, 4);
    b.Clear(0xFF204060);
    struct Case {
        const char* format;
        std::string signature;
    };
    const Case cases[] = {{"JPG", "\xFF\xD8\xFF"},
                          {"webp", "\x89PNG"},
                          {"bmp", "BM"},
                          {"gif", "GIF8"},
                          {"png", "\x89PNG"}};
    for (const Case& c : cases) {
        TBytesStream out;
        ASSERT_TRUE(b.SaveToStreamFormat(out, UnicodeString::FromUtf8(c.format), u"quality=80"))
            << c.format;
        const auto& bytes = out.Bytes();
        ASSERT_GE(bytes.size(), c.signature.size());
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + long(c.signature.size())), c.signature)
            << c.format;
    }
    EXPECT_FALSE(b.SaveToFile(UFile("picture.webp")));
    EXPECT_FALSE(std::filesystem::exists(File("picture.webp")));
    ASSERT_TRUE(b.SaveToFile(UFile("picture.png")));
    TsgBitmap back(1, 1);
    ASSERT_TRUE(back.LoadFromFile(UFile("picture.png")));
    EXPECT_EQ(back.GetPixels(3, 3), 0xFF204060u);
    EXPECT_THROW(b.SaveToStreamFormat(*std::make_unique<TBytesStream>(), u"jpg", u"quality=x"),
                 EConvertError);
}

TEST(ImageFilter, QualityParameter) {
    const std::pair<const char16_t*, int> table[] = {
        {u"quality=80", 80}, {u"Quality=80 foo=1", 80}, {u"", -1}, {u"foo=1", -1}};
    for (const auto& [params, quality] : table)
        EXPECT_EQ(sgFilterQualityParam(params), quality);
    EXPECT_THROW(sgFilterQualityParam(u"quality=high"), EConvertError);
    EXPECT_EQ(TsgFilterGdiPlus::GetFileTypes(),
              UnicodeString(u"*.bmp;*.jpg;*.jpeg;*.png;*.tif;*.tiff;*.gif;*.ico;*.jps;*.image"));
}

TEST(ImageFilter, StreamAdapterResults) {
    using namespace sgstream;
    TBytesStream stream(std::vector<uint8_t>{1, 2, 3, 4, 5});
    TMyStreamAdapter adapter(&stream, soReference);
    uint32_t count = 0;
    EXPECT_EQ(adapter.Read(nullptr, 1, &count), STG_E_INVALIDPOINTER);
    EXPECT_EQ(adapter.Write(nullptr, 1, &count), STG_E_INVALIDPOINTER);
    uint64_t position = 0;
    EXPECT_EQ(adapter.Seek(0, 3, &position), STG_E_INVALIDFUNCTION);
    EXPECT_EQ(adapter.Seek(-2, 2, &position), S_OK);
    EXPECT_EQ(position, 3u);
    uint8_t buffer[8] = {};
    EXPECT_EQ(adapter.Read(buffer, 8, &count), S_OK);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(buffer[0], 4);
    TMyStreamAdapter* clone = &adapter;
    EXPECT_EQ(adapter.Clone(&clone), E_NOTIMPL);
    EXPECT_EQ(clone, nullptr);
    EXPECT_EQ(adapter.Revert(), STG_E_REVERTED);
    EXPECT_EQ(adapter.LockRegion(0, 1, 0), STG_E_INVALIDFUNCTION);
    TStatStg stat;
    EXPECT_EQ(adapter.Stat(&stat, 0), S_OK);
    EXPECT_EQ(stat.type, 2u);
    EXPECT_EQ(stat.cbSize, 5u);
    EXPECT_EQ(stat.grfLocksSupported, 1u);

    TBytesStream target;
    TMyStreamAdapter to(&target, soReference);
    adapter.Seek(0, 0, nullptr);
    uint64_t read = 0, written = 0;
    EXPECT_EQ(adapter.CopyTo(&to, 100, &read, &written), S_OK);
    EXPECT_EQ(read, 5u);
    EXPECT_EQ(written, 5u);
    EXPECT_EQ(target.Bytes(), (std::vector<uint8_t>{1, 2, 3, 4, 5}));
}
