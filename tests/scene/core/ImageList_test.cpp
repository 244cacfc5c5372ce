// TsgImageList: fitting pictures into the list size, index bounds, the "Images" property
// through the component stream and the platform list's preview at design time.
#include "CanvasTestSupport.h"

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_scene_imagelist.h"

#include "platform/classes/ObjectText.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MemoryStream.h"
#include "support/ComponentText.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kRed = 0xFFFF0000;

struct ImageList : ::testing::Test {
    void SetUp() override { RegisterSgImageListUnit(); }
};

std::unique_ptr<TsgBitmap> Solid(int w, int h, uint32_t colour) {
    auto b = std::make_unique<TsgBitmap>(w, h);
    b->Clear(TsgColor(colour));
    return b;
}

AnsiString Save(TsgImageList& list) {
    return testsupport::ComponentText(&list);
}

void Load(TsgImageList& list, const AnsiString& text) {
    TStringStream source{text};
    TMemoryStream binary;
    ObjectTextToBinary(source, binary);
    binary.SetPosition(0);
    TReader reader(binary);
    reader.ReadRootComponent(&list);
}

TEST_F(ImageList, WideBitmapIsCentredWithTransparentBands) {
    TsgImageList list(nullptr);
    auto wide = Solid(64, 32, kRed);
    EXPECT_EQ(list.Add(wide.get()), 0);
    TsgBitmap* stored = list.GetBitmap(0);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->Width(), 32);
    EXPECT_EQ(stored->Height(), 32);
    EXPECT_EQ(stored->GetPixels(16, 4), 0u);
    EXPECT_EQ(stored->GetPixels(16, 28), 0u);
    EXPECT_EQ(stored->GetPixels(16, 16), kRed);
    EXPECT_EQ(stored->GetPixels(1, 9), kRed);
    EXPECT_EQ(stored->GetPixels(30, 22), kRed);
}

TEST_F(ImageList, IndexOutsideTheListGivesNothing) {
    TsgImageList list(nullptr);
    auto b = Solid(8, 8, kRed);
    list.Add(b.get());
    EXPECT_EQ(list.GetBitmap(-1), nullptr);
    EXPECT_EQ(list.GetBitmap(list.Count()), nullptr);
    EXPECT_NE(list.GetBitmap(0), nullptr);
}

TEST_F(ImageList, ImagesRoundTripAndReadingAppends) {
    TsgImageList empty(nullptr);
    EXPECT_EQ(Save(empty).Pos("Images"), 0);

    TsgImageList source(nullptr);
    source.SetWidth(16);
    source.SetHeight(8);
    auto red = Solid(16, 8, kRed);
    auto blue = Solid(8, 8, 0xFF0000FF);
    source.Add(red.get());
    source.Add(blue.get());
    const AnsiString text = Save(source);
    EXPECT_GT(text.Pos("Images"), 0);
    EXPECT_GT(text.Pos("Width = 16"), 0);

    TsgImageList target(nullptr);
    auto first = Solid(32, 32, 0xFF00FF00);
    target.Add(first.get());
    Load(target, text);
    ASSERT_EQ(target.Count(), 3);
    EXPECT_EQ(target.Width(), 16);
    EXPECT_EQ(target.GetBitmap(0)->GetPixels(0, 0), 0xFF00FF00u);
    EXPECT_EQ(target.GetBitmap(1)->Width(), 16);
    EXPECT_EQ(target.GetBitmap(1)->GetPixels(15, 7), kRed);
    EXPECT_EQ(target.GetBitmap(2)->GetPixels(8, 4), 0xFF0000FFu);
    EXPECT_EQ(target.GetBitmap(2)->GetPixels(1, 4), 0u);
}

TEST_F(ImageList, DamagedCountsAreRefused) {
    struct Case {
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {{0xFF, 0xFF, 0xFF, 0x7F}},                // count far beyond the data
        {{0x01, 0, 0, 0, 0x00, 0x00, 0x00, 0x40}}, // picture size beyond the data
        {{0x01, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}}, // negative picture size
        {{0x01, 0}},                               // cut inside the count
    };
    for (const Case& c : cases) {
        TsgImageList list(nullptr);
        TMemoryStream s;
        s.WriteBuffer(c.bytes.data(), int64_t(c.bytes.size()));
        s.SetPosition(0);
        EXPECT_THROW(list.ReadImage(s), EReadError);
        EXPECT_EQ(list.Count(), 0);
    }
}

// The straight colour of a preview picture's pixel.
uint32_t PreviewPixel(const TsgImageList& list, int index, int x, int y) {
    const gfx::Bitmap* image = static_cast<const TCustomImageList&>(list).Image(index);
    gfx::Color c;
    if (!image || image->GetPixel(x, y, &c) != gfx::Status::Ok)
        return 0xDEADBEEF;
    return c.GetValue();
}

int PreviewCount(const TsgImageList& list) {
    return static_cast<const TCustomImageList&>(list).Count();
}

TEST_F(ImageList, PreviewHoldsThePicturesOfTheListSizeAtDesignTimeOnly) {
    for (const bool designing : {false, true}) {
        SCOPED_TRACE(designing ? "design time" : "run time");
        TsgImageList list(nullptr);
        list.SetDesigning(designing);
        list.SetWidth(8);
        list.SetHeight(8);
        // Red with an opaque black pixel and a transparent one.
        auto marked = Solid(8, 8, kRed);
        marked->SetPixels(1, 1, 0xFF000000);
        marked->SetPixels(2, 1, 0);
        list.Add(marked.get());
        // Added pictures always come out at the list's size.
        auto wide = Solid(16, 8, 0xFF0000FF);
        list.Add(wide.get());
        ASSERT_EQ(list.Count(), 2);
        if (!designing) {
            EXPECT_EQ(PreviewCount(list), 0);
            continue;
        }
        ASSERT_EQ(PreviewCount(list), 2);
        EXPECT_EQ(PreviewPixel(list, 0, 0, 0), kRed);
        EXPECT_EQ(PreviewPixel(list, 0, 1, 1), 0u); // black is the mask colour
        EXPECT_EQ(PreviewPixel(list, 0, 2, 1), 0u);
        EXPECT_EQ(PreviewPixel(list, 1, 4, 4), 0xFF0000FFu);
        EXPECT_EQ(PreviewPixel(list, 1, 4, 0), 0u); // the transparent band above

        // A smaller list keeps its pictures, but the preview shows none of them until the
        // next refresh, which skips every picture of another size.
        list.SetWidth(4);
        list.SetHeight(4);
        EXPECT_EQ(PreviewCount(list), 0);
        EXPECT_EQ(list.Count(), 2);
        auto small = Solid(4, 4, 0xFF00FF00);
        EXPECT_EQ(list.Add(small.get()), 2);
        ASSERT_EQ(PreviewCount(list), 1);
        EXPECT_EQ(PreviewPixel(list, 0, 3, 3), 0xFF00FF00u);

        list.Clear();
        EXPECT_EQ(PreviewCount(list), 0);
        EXPECT_EQ(list.Count(), 0);
    }
}

TEST_F(ImageList, ReadingAtDesignTimeRefreshesThePreviewAndTheStreamStaysTheSame) {
    TsgImageList source(nullptr);
    source.SetWidth(16);
    source.SetHeight(8);
    auto red = Solid(16, 8, kRed);
    source.Add(red.get());
    source.Add(red.get());
    const AnsiString runTimeText = Save(source);

    TsgImageList designed(nullptr);
    designed.SetDesigning(true);
    Load(designed, runTimeText);
    ASSERT_EQ(designed.Count(), 2);
    ASSERT_EQ(PreviewCount(designed), 2);
    EXPECT_EQ(PreviewPixel(designed, 1, 15, 7), kRed);
    // The preview is never written: the form reads the same at design time and at run time.
    EXPECT_EQ(Save(designed), runTimeText);

    // A stored picture of another size (from a list that was resized) stays out of the
    // preview.
    TsgImageList mixed(nullptr);
    mixed.SetWidth(8);
    mixed.SetHeight(8);
    mixed.Add(red.get());
    mixed.SetWidth(16);
    mixed.Add(red.get());
    TsgImageList designedMixed(nullptr);
    designedMixed.SetDesigning(true);
    Load(designedMixed, Save(mixed));
    EXPECT_EQ(designedMixed.Count(), 2);
    ASSERT_EQ(PreviewCount(designedMixed), 1);
    EXPECT_EQ(PreviewPixel(designedMixed, 0, 0, 0), kRed);
}

} // namespace
