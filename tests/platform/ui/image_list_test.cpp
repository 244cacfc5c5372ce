// The platform image list: pictures of the list's size only, the mask colour made transparent,
// the size streamed and a size change emptying the list.
#include "platform/classes/ObjectText.h"
#include "platform/classes/Writer.h"
#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/ui/ImageList.h"
#include "support/ComponentText.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Straight colours.
constexpr uint32_t kOpaqueRed = 0xFFFF0000;
constexpr uint32_t kOpaqueBlack = 0xFF000000;
constexpr uint32_t kHalfGreen = 0x8000FF00;
constexpr uint32_t kTransparent = 0x00000000;

// A 4 x 1 picture: red, black, half-transparent green, transparent.
std::unique_ptr<gfx::Bitmap> Strip() {
    auto b = std::make_unique<gfx::Bitmap>(4, 1);
    b->SetPixel(0, 0, gfx::Color(kOpaqueRed));
    b->SetPixel(1, 0, gfx::Color(kOpaqueBlack));
    b->SetPixel(2, 0, gfx::Color(kHalfGreen));
    b->SetPixel(3, 0, gfx::Color(kTransparent));
    return b;
}

uint32_t PixelAt(const gfx::Bitmap* b, int x) {
    gfx::Color c;
    EXPECT_EQ(b->GetPixel(x, 0, &c), gfx::Status::Ok);
    return c.GetValue();
}

AnsiString Save(TComponent& c) {
    return testsupport::ComponentText(&c);
}

TEST(PlatformImageList, MaskColourPixelsBecomeTransparentOthersKeepColourAndAlpha) {
    struct Case {
        const char* name;
        TColor mask;
        uint32_t expected[4];
    };
    // The half-transparent green is compared by its straight colour, so a green mask takes it.
    const Case cases[] = {
        {"black", clBlack, {kOpaqueRed, 0, kHalfGreen, 0}},
        {"red", clRed, {0, kOpaqueBlack, kHalfGreen, kTransparent}},
        {"green", clLime, {kOpaqueRed, kOpaqueBlack, 0, kTransparent}},
        {"no colour", clNone, {kOpaqueRed, kOpaqueBlack, kHalfGreen, kTransparent}},
        {"system colour", clBtnFace, {kOpaqueRed, kOpaqueBlack, kHalfGreen, kTransparent}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TCustomImageList list(nullptr);
        list.SetWidth(4);
        list.SetHeight(1);
        auto source = Strip();
        EXPECT_EQ(list.AddMasked(*source, c.mask), 0);
        const gfx::Bitmap* stored = list.Image(0);
        ASSERT_NE(stored, nullptr);
        ASSERT_NE(stored, source.get());
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(PixelAt(stored, x), c.expected[x]) << "pixel " << x;
        // The caller's picture is left alone.
        EXPECT_EQ(PixelAt(source.get(), 1), kOpaqueBlack);
    }
}

TEST(PlatformImageList, OnlyPicturesOfTheListSizeAreTaken) {
    TCustomImageList list(nullptr);
    EXPECT_EQ(list.Width(), 32);
    EXPECT_EQ(list.Height(), 32);
    const struct { int w, h; } wrong[] = {{16, 32}, {32, 16}, {64, 32}, {33, 33}};
    for (const auto& size : wrong) {
        gfx::Bitmap b(size.w, size.h);
        EXPECT_THROW(list.AddMasked(b, clBlack), EInvalidOperation) << size.w << "x" << size.h;
    }
    EXPECT_EQ(list.Count(), 0);

    gfx::Bitmap fits(32, 32);
    EXPECT_EQ(list.AddMasked(fits, clBlack), 0);
    EXPECT_EQ(list.AddMasked(fits, clBlack), 1);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Image(-1), nullptr);
    EXPECT_EQ(list.Image(2), nullptr);

    // A list of no size takes nothing at all.
    TCustomImageList none(nullptr);
    none.SetWidth(0);
    EXPECT_THROW(none.AddMasked(fits, clBlack), EInvalidOperation);
}

TEST(PlatformImageList, ClearAndSizeChangesEmptyTheList) {
    TCustomImageList list(nullptr);
    list.SetWidth(4);
    list.SetHeight(1);
    auto strip = Strip();
    list.AddMasked(*strip, clBlack);
    list.SetWidth(4); // unchanged: the pictures stay
    list.SetHeight(1);
    EXPECT_EQ(list.Count(), 1);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);

    list.AddMasked(*strip, clBlack);
    list.SetWidth(8);
    EXPECT_EQ(list.Count(), 0);
    list.SetWidth(4);
    list.AddMasked(*strip, clBlack);
    list.SetHeight(2);
    EXPECT_EQ(list.Count(), 0);
}

TEST(PlatformImageList, StreamsItsSizeButNotItsPictures) {
    TCustomImageList list(nullptr);
    list.SetName("Pictures");
    EXPECT_EQ(Save(list).Pos("Width"), 0); // the default size is not written
    list.SetWidth(4);
    list.SetHeight(1);
    auto strip = Strip();
    list.AddMasked(*strip, clBlack);
    EXPECT_EQ(Save(list), AnsiString("object Pictures: TCustomImageList\n"
                                     "  Width = 4\n"
                                     "  Height = 1\n"
                                     "end\n"));
}

} // namespace
