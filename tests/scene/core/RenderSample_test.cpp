// The render tool's sample scene (tools/scenes/sample.txt), painted the way the tool paints it:
// every part lands where the scene puts it.
#include "CanvasTestSupport.h"

#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene_offscreen.h"
#include "scene/core/Sg_scene_preview.h"

#include "platform/rtl/MemoryStream.h"

#include <gtest/gtest.h>

namespace {

int Channel(uint32_t p, int shift) {
    return int((p >> shift) & 0xFF);
}

} // namespace

TEST(RenderSample, PartsLandWhereTheSceneSaysSo) {
    RegisterSgSceneUnit();
    RegisterClass(TsgPreviewShape::StaticClassInfo());
    TMemoryStream text;
    text.LoadFromFile(
        UnicodeString::FromUtf8((testsupport::SourceDir() / "tools/scenes/sample.txt").string()));
    RegisterSgObjectsUnit();
    TsgOffscreenScene scene(nullptr, 660, 900);
    auto* root = new TsgPreviewShape(&scene);
    scene.AddObject(root);
    root->LoadFromStream(text);
    ASSERT_EQ(root->ChildrenCount(), 7 + 17);
    scene.PaintScene(0xFFFFFFFF);
    const std::vector<uint32_t> px = Pixels(*scene.Canvas());
    auto at = [&](int x, int y) { return px[size_t(y) * 660 + x]; };

    const uint32_t header = at(600, 80); // dark blue gradient, no text there
    EXPECT_GT(Channel(header, 0), Channel(header, 16) + 40);
    const uint32_t star = at(320, 200); // orange fill
    EXPECT_EQ(Channel(star, 16), 0xF0);
    EXPECT_EQ(Channel(star, 8), 0xB0);
    // The disc's radial gradient: outline colour at 0, light centre at 1.
    const uint32_t centre = at(120, 200);
    const uint32_t rim = at(50, 200);
    EXPECT_GT(Channel(centre, 0), Channel(rim, 0) + 50);
    // The disc is centred in its box: mirrored points inside the outline match, and the fill
    // reaches the outline on every side (no background crescent).
    for (int d : {20, 50, 70, 75}) {
        SCOPED_TRACE(d);
        const uint32_t sides[] = {at(120 - d, 200), at(120 + d, 200), at(120, 200 - d),
                                  at(120, 200 + d)};
        for (uint32_t p : sides) {
            EXPECT_NEAR(Channel(p, 0), Channel(sides[0], 0), 3);
            EXPECT_NEAR(Channel(p, 16), Channel(sides[0], 16), 3);
            EXPECT_LT(Channel(p, 16), 0xA0) << "gradient blue, not the light background";
        }
    }
    // The title's white ink inside the header.
    int white = 0;
    for (int x = 40; x < 400; ++x)
        white += Channel(at(x, 55), 16) > 235 && Channel(at(x, 55), 0) > 235;
    EXPECT_GT(white, 10);
    // The shapes below the rule.
    EXPECT_EQ(at(310, 580), 0xFF1D3C6Bu);      // the blur rectangle's middle is its fill
    EXPECT_LT(Channel(at(262, 532), 0), 0xFF); // its corner is blurred into the background
    EXPECT_GT(Channel(at(262, 532), 0), 0x80);
    EXPECT_EQ(at(220, 690), 0xFF204080u); // the circle fitted into its 120 x 80 object
    EXPECT_NE(at(170, 690), 0xFF204080u);
    EXPECT_EQ(at(440, 710), 0xFFE04040u); // the pie's lower half
    EXPECT_NE(at(440, 660), 0xFFE04040u); // and not its top notch
    EXPECT_EQ(at(570, 670), 0xFF3B6FB6u); // the eaten pie's ring
    EXPECT_NE(at(540, 690), 0xFF3B6FB6u); // but not its bite
    EXPECT_EQ(at(502, 772), 0xFF3B6FB6u); // the first image tile's dark quarter
    EXPECT_EQ(at(506, 772), 0xFFF4F6FAu);
    // Everything is opaque over the background gradient.
    for (uint32_t p : px)
        ASSERT_EQ(Alpha(p), 255);
}
