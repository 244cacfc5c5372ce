// Effects: the areas they cover, their clamped settings, triggers, the repaint when one is
// switched, what each does to an object's picture, and an effect painted through the scene.
#include "CanvasTestSupport.h"

#include "scene/core/Sg_ani.h"
#include "scene/core/Sg_effects.h"
#include "scene/core/Sg_scene_offscreen.h"
#include "scene/core/Sg_scene_paint.h"
#include "scene/core/Sg_scene_preview.h"
#include "scene/core/Sg_scene_registry.h"

#include "platform/rtl/StringUtils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

constexpr TsgColor kWhite = 0xFFFFFFFF;
constexpr TsgRect kObject{0, 0, 100, 50};

void ExpectRect(const TsgRect& got, const TsgRect& want) {
    EXPECT_NEAR(got.Left, want.Left, 0.01);
    EXPECT_NEAR(got.Top, want.Top, 0.01);
    EXPECT_NEAR(got.Right, want.Right, 0.01);
    EXPECT_NEAR(got.Bottom, want.Bottom, 0.01);
}

TEST(Effects, AreasAndOffsetsPerEffect) {
    struct Case {
        const char* name;
        std::unique_ptr<TsgEffect> effect;
        TsgRect rect;
        TsgPoint offset;
    };
    auto make = [](auto* e, auto tune) {
        tune(e);
        return std::unique_ptr<TsgEffect>(e);
    };
    auto none = [](auto*) {};
    Case cases[] = {
        {"shadow",
         make(new TsgShadowEffect(nullptr), none),
         {-6 + 2.1213f, -6 + 2.1213f, 106 + 2.1213f, 56 + 2.1213f},
         {6, 6}},
        {"shadow down, soft",
         make(new TsgShadowEffect(nullptr),
              [](TsgShadowEffect* e) {
                  e->SetDirection(90);
                  e->SetDistance(10);
                  e->SetSoftness(1);
              }),
         {-20, -10, 120, 80},
         {20, 20}},
        {"blur", make(new TsgBlurEffect(nullptr), none), {-6, -6, 106, 56}, {6, 6}},
        {"glow", make(new TsgGlowEffect(nullptr), none), {-13, -13, 113, 63}, {13, 13}},
        {"glow without softness",
         make(new TsgGlowEffect(nullptr), [](TsgGlowEffect* e) { e->SetSoftness(0); }),
         {-4, -4, 104, 54},
         {4, 4}},
        {"inner glow", make(new TsgInnerGlowEffect(nullptr), none), {-8, -8, 108, 58}, {8, 8}},
        {"bevel", make(new TsgBevelEffect(nullptr), none), {-5, -5, 105, 55}, {5, 5}},
        {"reflection", make(new TsgReflectionEffect(nullptr), none), {-2, 48, 102, 102}, {2, 2}},
        {"reflection with offset",
         make(new TsgReflectionEffect(nullptr), [](TsgReflectionEffect* e) { e->SetOffset(5); }),
         {-2, 53, 102, 107},
         {2, 2}},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectRect(c.effect->GetRect(kObject), c.rect);
        EXPECT_EQ(c.effect->GetOffset(), c.offset);
    }
}

TEST(Effects, DefaultsFlagsAndClamps) {
    TsgShadowEffect shadow(nullptr);
    EXPECT_EQ(shadow.ShadowColor(), UnicodeString(u"#FF000000"));
    EXPECT_FLOAT_EQ(shadow.Opacity(), 0.6f);
    shadow.SetSoftness(5);
    EXPECT_EQ(shadow.Softness(), 3);
    shadow.SetOpacity(-1);
    EXPECT_EQ(shadow.Opacity(), 0);
    shadow.SetDistance(-40); // not clamped
    EXPECT_EQ(shadow.Distance(), -40);

    TsgBlurEffect blur(nullptr);
    EXPECT_TRUE(blur.DisablePaint());
    blur.SetSoftness(12);
    EXPECT_EQ(blur.Softness(), 9);

    TsgGlowEffect glow(nullptr);
    EXPECT_EQ(glow.GlowColor(), UnicodeString(u"#FFFFD700"));
    EXPECT_FALSE(glow.AfterPaint());
    glow.SetOpacity(3);
    EXPECT_EQ(glow.Opacity(), 1);
    TsgInnerGlowEffect inner(nullptr);
    EXPECT_TRUE(inner.AfterPaint());

    TsgBevelEffect bevel(nullptr);
    EXPECT_TRUE(bevel.DisablePaint());
    EXPECT_EQ(bevel.Size(), 10);

    TsgReflectionEffect reflection(nullptr);
    reflection.SetLength(0.05f);
    EXPECT_FLOAT_EQ(reflection.Length(), 0.1f);
    reflection.SetOpacity(4); // not clamped
    EXPECT_EQ(reflection.Opacity(), 4);
}

// Whole pictures: an opaque square in the middle of a transparent bitmap.
std::unique_ptr<TsgBitmap> Square(int size, int from, int to, TsgColor color) {
    auto b = std::make_unique<TsgBitmap>(size, size);
    for (int y = from; y < to; ++y)
        for (int x = from; x < to; ++x)
            b->SetPixels(x, y, color);
    return b;
}

TEST(Effects, ShadowLiesBesideTheObjectNotUnderIt) {
    TsgShadowEffect shadow(nullptr);
    shadow.SetDirection(0);
    shadow.SetDistance(6);
    shadow.SetOpacity(1);
    auto b = Square(40, 10, 30, 0xFFFF0000);
    shadow.ProcessEffect(nullptr, b.get(), 1);
    // The picture is drawn 6 pixels to the right of the object: where the object will stand
    // (columns 4 to 23 here) the shadow is gone, with its colour.
    EXPECT_EQ(b->GetPixels(15, 20), 0u);
    EXPECT_EQ(b->GetPixels(23, 20), 0u);
    // Just right of the object it is black and strong; far away it is nothing.
    const uint32_t beside = b->GetPixels(25, 20);
    EXPECT_GT(beside >> 24, 64u);
    EXPECT_EQ(beside & 0x00FFFFFF, 0u);
    EXPECT_EQ(b->GetPixels(0, 0), 0u);
}

TEST(Effects, GlowStaysOutsideInnerGlowInside) {
    TsgGlowEffect glow(nullptr);
    auto outer = Square(40, 12, 28, 0xFF0000FF);
    glow.ProcessEffect(nullptr, outer.get(), 1);
    EXPECT_EQ(outer->GetPixels(20, 20), 0u); // no colour left where the coverage went
    const uint32_t edge = outer->GetPixels(10, 20);
    EXPECT_GT(edge >> 24, 0u);
    // The glow colour #FFD700 at the pixel's coverage, premultiplied.
    const uint32_t a = edge >> 24;
    EXPECT_EQ(edge, (a << 24) | (a << 16) | ((215 * a / 255) << 8));
    // Also where the glow colour was blurred into transparent pixels, no colour is left.
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            if (outer->GetPixels(x, y) >> 24 == 0) {
                ASSERT_EQ(outer->GetPixels(x, y), 0u) << x << "," << y;
            }

    TsgInnerGlowEffect inner(nullptr);
    auto in = Square(40, 12, 28, 0xFF0000FF);
    inner.ProcessEffect(nullptr, in.get(), 1);
    EXPECT_EQ(in->GetPixels(5, 5), 0u);
    EXPECT_EQ(in->GetPixels(11, 20), 0u);
    EXPECT_GT(in->GetPixels(12, 20) >> 24, in->GetPixels(20, 20) >> 24);
}

TEST(Effects, BlurAndBevelLeaveZeroSettingsAlone) {
    auto b = Square(20, 5, 15, 0xFF336699);
    auto before = Square(20, 5, 15, 0xFF336699);
    TsgBlurEffect blur(nullptr);
    blur.SetSoftness(0);
    blur.ProcessEffect(nullptr, b.get(), 1);
    TsgBevelEffect bevel(nullptr);
    bevel.SetSize(0);
    bevel.ProcessEffect(nullptr, b.get(), 1);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(b->GetPixels(x, y), before->GetPixels(x, y));

    // A bevel lights one side and darkens the other; the last row and column stay.
    TsgBevelEffect light(nullptr);
    light.SetSize(4);
    auto panel = Square(30, 5, 25, 0xFF808080);
    light.ProcessEffect(nullptr, panel.get(), 1);
    EXPECT_EQ(panel->GetPixels(29, 29), 0u);
    EXPECT_NE(panel->GetPixels(6, 15), panel->GetPixels(23, 15));
    EXPECT_EQ(panel->GetPixels(2, 2), 0u);
}

TEST(Effects, ReflectionFadesAwayFromTheObject) {
    // A 1 x 5 column, opaque white; Length 1 keeps every row but the farthest one.
    TsgReflectionEffect reflection(nullptr);
    reflection.SetLength(1);
    reflection.SetOpacity(0.8f);
    TsgBitmap column(1, 5);
    for (int y = 0; y < 5; ++y)
        column.SetPixels(0, y, 0xFFFFFFFF);
    reflection.ProcessEffect(nullptr, &column, 1);
    // Row r = 4 - i, i = 1..4 gets alpha trunc(0.8 * i / 4 * 255); row 4 is cleared.
    const uint32_t want[] = {204, 153, 102, 51, 0};
    for (int y = 0; y < 5; ++y) {
        const uint32_t p = column.GetPixels(0, y);
        EXPECT_EQ(p >> 24, want[y]) << "row " << y;
        EXPECT_EQ(p & 0xFF, sgPremultyAlpha(want[y] << 24 | 0xFFFFFF) & 0xFF) << "row " << y;
    }
}

class EffectsInScene : public testing::Test {
protected:
    EffectsInScene() : scene(new TsgOffscreenScene(nullptr, 100, 60)) {
        root = new TsgPreviewShape(scene);
        root->SetWidth(100);
        root->SetHeight(60);
        root->Fill()->SetSolidColor(kWhite);
        root->Stroke()->SetStyle(sgBrushNone);
        scene->AddObject(root);
        box = new TsgPreviewShape(scene);
        box->Position()->SetPoint({20, 10});
        box->SetWidth(30);
        box->SetHeight(20);
        box->Fill()->SetSolidColor(0xFF2060C0);
        box->Stroke()->SetStyle(sgBrushNone);
        root->AddObject(box);
    }
    ~EffectsInScene() override { delete scene; }
    void Paint() {
        scene->InvalidateAll();
        scene->PaintScene(kWhite);
    }
    uint32_t At(int x, int y) { return PixelAt(*scene->Canvas(), x, y); }

    TsgOffscreenScene* scene;
    TsgPreviewShape* root;
    TsgPreviewShape* box;
};

TEST_F(EffectsInScene, AShadowIsPaintedUnderTheObject) {
    Paint();
    EXPECT_EQ(At(52, 32), kWhite);
    auto* shadow = new TsgShadowEffect(scene);
    shadow->SetParent(box);
    shadow->SetOpacity(1);
    Paint();
    EXPECT_EQ(At(30, 20), 0xFF2060C0u); // the object over its shadow
    const uint32_t under = At(51, 31);
    EXPECT_LT(under & 0xFF, 0xF0u); // darker than the white background
    EXPECT_EQ(At(95, 55), kWhite);
}

TEST_F(EffectsInScene, TriggersSwitchEffectsAndTheSwitchRepaintsTheirArea) {
    auto* glow = new TsgGlowEffect(scene);
    glow->SetParent(box);
    glow->SetEnabled(false);
    glow->SetTrigger("HitTest=false;Visible=true");
    EXPECT_TRUE(box->HasEffect()); // a trigger alone counts
    Paint();

    box->SetHitTest(false);
    box->ApplyTriggerEffect(box, "HitTest");
    EXPECT_TRUE(glow->Enabled());
    box->SetHitTest(true);
    box->ApplyTriggerEffect(box, "HitTest");
    EXPECT_FALSE(glow->Enabled());
    // Switching off invalidates the area the glow covered (13 pixels around the box).
    bool covered = false;
    for (int i = 0; i < scene->GetUpdateRectsCount(); ++i) {
        const TsgRect r = scene->GetUpdateRect(i);
        covered |= r.Left <= 7 && r.Top <= 0 && r.Right >= 63 && r.Bottom >= 43;
    }
    EXPECT_TRUE(covered);
    // Not mentioned: nothing changes.
    box->SetHitTest(false);
    box->ApplyTriggerEffect(box, "IsFocused");
    EXPECT_FALSE(glow->Enabled());
}

TEST_F(EffectsInScene, ABlurEffectReplacesTheObjectsOwnPainting) {
    auto* blur = new TsgBlurEffect(scene);
    blur->SetParent(box);
    blur->SetSoftness(0.5f);
    EXPECT_TRUE(box->HasDisablePaintEffect());
    Paint();
    // The sharp edge is gone: just inside and just outside are both mixed.
    EXPECT_NE(At(20, 20), 0xFF2060C0u);
    EXPECT_NE(At(19, 20), kWhite);
}

} // namespace

namespace {

bool RegisteredUnder(const char16_t* category, const TClassInfo& info) {
    for (int i = 0; ObjectList && i < ObjectList->Count(); ++i)
        if (SameText((*ObjectList)[i], UnicodeString(category)) && ObjectList->Objects(i) == &info)
            return true;
    return false;
}

TEST(EffectAndAnimationUnits, RegisterTheirClassesByCategoryAndName) {
    RegisterSgAniUnit();
    RegisterSgEffectsUnit();
    for (const TClassInfo* info :
         {&TsgColorAnimation::StaticClassInfo(), &TsgGradientAnimation::StaticClassInfo(),
          &TsgFloatAnimation::StaticClassInfo(), &TsgRectAnimation::StaticClassInfo(),
          &TsgBitmapAnimation::StaticClassInfo(), &TsgColorKeyAnimation::StaticClassInfo(),
          &TsgFloatKeyAnimation::StaticClassInfo(), &TsgPathAnimation::StaticClassInfo(),
          &TsgPathSwitcher::StaticClassInfo()}) {
        EXPECT_TRUE(RegisteredUnder(u"Animations", *info)) << info->ClassName().c_str();
        EXPECT_EQ(GetClass(info->ClassName()), info);
    }
    for (const TClassInfo* info :
         {&TsgShadowEffect::StaticClassInfo(), &TsgBlurEffect::StaticClassInfo(),
          &TsgGlowEffect::StaticClassInfo(), &TsgInnerGlowEffect::StaticClassInfo(),
          &TsgBevelEffect::StaticClassInfo(), &TsgReflectionEffect::StaticClassInfo()}) {
        EXPECT_TRUE(RegisteredUnder(u"Effects", *info)) << info->ClassName().c_str();
        EXPECT_EQ(GetClass(info->ClassName()), info);
    }
}

} // namespace
