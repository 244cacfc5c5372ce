// TsgImageList: fitting pictures into the list size, index bounds and the "Images" property
// through the component stream.
#include "CanvasTestSupport.h"

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_scene_imagelist.h"

#include "platform/classes/ObjectText.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MemoryStream.h"

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
    TMemoryStream binary;
    {
        TWriter writer(binary);
        writer.WriteRootComponent(&list);
    }
    binary.SetPosition(0);
    TStringStream text;
    ObjectBinaryToText(binary, text);
    return text.DataString();
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

} // namespace
