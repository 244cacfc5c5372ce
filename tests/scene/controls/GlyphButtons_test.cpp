// The glyph buttons on the default sheet: values at construction against declared defaults,
// glyph placement by layout, the highlight animations on the clock (also across a new style),
// the picture a bitmap button takes from its action's image list, and the animated button's
// cross-fades, toggle and disabled picture.
#include "ControlsTestSupport.h"
#include "RangeBarsTestSupport.h"

#include "scene/controls/Sg_controls_animatedbutton.h"
#include "scene/controls/Sg_controls_expander.h"
#include "scene/controls/Sg_controls_glyphbuttons.h"
#include "scene/core/Sg_ani_kinds.h"
#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_scene_color.h"
#include "scene/core/Sg_scene_imagelist.h"

#include "platform/classes/ClassInfo.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/ui/Actions.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/UiClock.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using controlstest::Part;
using controlstest::PropText;

class GlyphButtons : public ::testing::Test {
protected:
    void SetUp() override {
        rangetest::UseBuiltSheet();
        SetUiClock(&clock);
    }
    void TearDown() override {
        sgFreeAniThread();
        SetUiClock(nullptr);
        FreeDefaultStyles();
    }
    template <class T>
    T* Styled(float w = 120, float h = 40) {
        return rangetest::AddStyled<T>(scene, 0, 0, w, h);
    }
    // Steps the animation clock by n frames of 33 ms.
    void Tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            clock.Advance(33);
            if (aniThread)
                aniThread->DoSyncTimer(nullptr);
        }
    }

    TManualClock clock;
    TsgOffscreenScene scene{nullptr, 300, 200};
};

std::unique_ptr<TsgBitmap> Solid(TsgColor color, int size = 8) {
    auto b = std::make_unique<TsgBitmap>(size, size);
    b->Clear(color);
    return b;
}

std::string PaddingText(TsgVisualObject* o) {
    const TsgRect r = o->Padding()->Rect();
    return std::to_string(int(r.Left)) + "," + std::to_string(int(r.Top)) + "," +
           std::to_string(int(r.Right)) + "," + std::to_string(int(r.Bottom));
}

// Whether a stream writes the property's present value: its stored test passes and the value
// differs from the declared default, or there is none.
bool Written(const TPropInfo& prop, TPersistent& o) {
    if (!prop.IsStored(o))
        return false;
    if (prop.Kind == TPropertyKind::Float)
        return !prop.FloatDefault || prop.GetFloat(o) != *prop.FloatDefault;
    return !prop.OrdDefault || prop.GetOrd(o) != *prop.OrdDefault;
}

TEST_F(GlyphButtons, ConstructedValuesDifferFromDeclaredDefaultsWhereTheyMust) {
    struct Case {
        const char* Class;
        const char* Property;
        const char* Value;
        bool Stored;
    };
    const Case cases[] = {
        {"TsgBitmapButton", "BitmapSize", "32", true},
        {"TsgBitmapButton", "BitmapPadding", "0", false},
        {"TsgBitmapButton", "BitmapLayout", "sgGlyphLeft", false},
        {"TsgBitmapButton", "IsHighlighted", "False", true},
        {"TsgToolButton", "BitmapLayout", "sgGlyphTop", false},
        {"TsgToolButton", "CanFocused", "False", false},
        {"TsgPathButton", "PathSize", "32", true},
        {"TsgPathButton", "PathPadding", "2", true},
        {"TsgPathButton", "PathStrokeThickness", "1", false},
        {"TsgPathButton", "PathStrokeJoin", "sgJoinMiter", false},
        {"TsgToolPathButton", "PathLayout", "sgGlyphTop", false},
        {"TsgToolPathButton", "CanFocused", "False", false},
        {"TsgExpander", "HeightCollapsed", "25", true},
        {"TsgExpander", "IsExpanded", "True", false},
        {"TsgExpander", "ShowCheck", "False", true},
        {"TsgCornerButton", "xRadius", "3", true},
        {"TsgCornerButton", "yRadius", "3", true},
        {"TsgImageControl", "CanFocused", "True", false},
        {"TsgPopupBox", "ItemIndex", "-1", true},
        {"TsgPopupBox", "CanFocused", "True", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Class) + "." + c.Property);
        const TClassInfo& info = FindClass(c.Class);
        ASSERT_TRUE(info.CreateComponent);
        std::unique_ptr<TComponent> o(info.CreateComponent(nullptr));
        EXPECT_EQ(PropText(o.get(), c.Property), c.Value);
        const TPropInfo* prop = info.FindProperty(c.Property);
        ASSERT_NE(prop, nullptr);
        EXPECT_EQ(Written(*prop, *o), c.Stored);
    }
    TsgBitmapButton b(nullptr);
    EXPECT_EQ(b.Width(), 50);
    EXPECT_EQ(b.Height(), 60);
    ASSERT_NE(b.AnimFontColor(), nullptr);
    EXPECT_EQ(b.AnimFontColor()->Name(), "AnimFontColor");
    EXPECT_FLOAT_EQ(b.AnimFontColor()->Duration(), 0.2f);
    EXPECT_EQ(b.AnimStrokeColor()->StartValue(), sgColorToStr(0xFF808080));
    EXPECT_FALSE(b.AnimStrokeColor()->Stored());
    TsgAnimatedButton a(nullptr);
    EXPECT_EQ(a.Width(), 30);
}

TEST_F(GlyphButtons, TheColourAnimationsStreamAsPartsOfTheButton) {
    TsgBitmapButton b(nullptr);
    b.SetBitmapSize(20);
    b.AnimFontColor()->SetStopValue(u"#FFFF0000");
    b.AnimStrokeColor()->SetDuration(0.5f);
    TStringStream out{AnsiString()};
    b.SaveToStream(out);
    const std::string text = out.DataString().c_str();
    EXPECT_NE(text.find("AnimFontColor.StopValue = '#FFFF0000'"), std::string::npos) << text;
    EXPECT_NE(text.find("AnimStrokeColor.Duration = 0.5"), std::string::npos) << text;
    EXPECT_NE(text.find("BitmapSize = 20"), std::string::npos) << text;
    EXPECT_NE(text.find("IsHighlighted = False"), std::string::npos) << text;
    EXPECT_EQ(text.find("BitmapLayout"), std::string::npos) << text;
    EXPECT_EQ(text.find("object TsgColorAnimation"), std::string::npos) << "not children";

    TStringStream in{AnsiString(text)};
    std::unique_ptr<TsgObject> read(CreateObjectFromStream(nullptr, in));
    auto* copy = dynamic_cast<TsgBitmapButton*>(read.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->AnimFontColor()->StopValue(), u"#FFFF0000");
    EXPECT_FLOAT_EQ(copy->AnimStrokeColor()->Duration(), 0.5f);
    EXPECT_EQ(copy->BitmapSize(), 20);
}

TEST_F(GlyphButtons, LayoutsPlaceTheGlyphPartWithSizePaddingAndSpacing) {
    struct Case {
        TsgButtonLayout Layout;
        TsgAlign Align;
        bool Wide, High;
        const char* BitmapPadding;
        const char* PathPadding;
    };
    const Case cases[] = {
        {sgGlyphLeft, vaLeft, true, false, "2,2,6,2", "2,2,4,2"},
        {sgGlyphRight, vaRight, true, false, "6,2,2,2", "4,2,2,2"},
        {sgGlyphTop, vaTop, false, true, "2,2,2,6", "2,2,2,4"},
        {sgGlyphBottom, vaBottom, false, true, "2,6,2,2", "2,4,2,2"},
        {sgGlyphCenter, vaCenter, true, true, "2,2,2,2", "4,4,4,4"},
    };
    auto* bitmap = Styled<TsgBitmapButton>();
    auto* path = Styled<TsgPathButton>();
    auto glyph = Solid(0xFF0000FF);
    bitmap->SetBitmap(glyph.get());
    TsgPathData data;
    data.SetPathString("M 0,0 L 10,0 L 5,10 Z");
    path->SetPath(&data);
    bitmap->SetBitmapPadding(2);
    bitmap->SetBitmapSpacing(4);
    bitmap->SetBitmapSize(20);
    path->SetPathPadding(2);
    path->SetPathSpacing(4);
    path->SetPathSize(20);
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.Layout));
        bitmap->SetBitmapLayout(c.Layout);
        path->SetPathLayout(c.Layout);
        auto* image = Part<TsgImage>(bitmap, "image");
        auto* owner = Part<TsgVisualObject>(path, "pathowner");
        ASSERT_NE(image, nullptr);
        ASSERT_NE(owner, nullptr);
        EXPECT_EQ(image->Align(), c.Align);
        EXPECT_EQ(owner->Align(), c.Align);
        EXPECT_EQ(PaddingText(image), c.BitmapPadding);
        EXPECT_EQ(PaddingText(owner), c.PathPadding);
        if (c.Wide) {
            EXPECT_EQ(image->Width(), 20);
            EXPECT_EQ(owner->Width(), 20);
        }
        if (c.High) {
            EXPECT_EQ(image->Height(), 20);
            EXPECT_EQ(owner->Height(), 20);
        }
        EXPECT_EQ(PaddingText(Part<TsgVisualObject>(bitmap, "text")), "2,2,2,2");
        EXPECT_EQ(PaddingText(Part<TsgVisualObject>(path, "text")), "2,2,2,2");
    }
    EXPECT_EQ(Part<TsgImage>(bitmap, "image")->Bitmap()->Width(), 8) << "a copy of Bitmap";
    auto* shape = Part<TsgPath>(path, "path");
    ASSERT_NE(shape, nullptr);
    EXPECT_FALSE(shape->Data()->IsEmpty());
    EXPECT_EQ(shape->Fill()->SolidColor(), path->PathFill()->SolidColor());
}

TEST_F(GlyphButtons, AnEmptyGlyphLeavesTheCaptionTheWholeButton) {
    auto* bitmap = Styled<TsgBitmapButton>();
    auto* path = Styled<TsgPathButton>();
    EXPECT_EQ(Part<TsgImage>(bitmap, "image")->Align(), vaNone);
    auto* owner = Part<TsgVisualObject>(path, "pathowner");
    EXPECT_EQ(owner->Align(), vaNone);
    EXPECT_EQ(PaddingText(owner), "2,2,2,2") << "the padding is still set";
    // A bitmap one pixel high counts as empty as well.
    TsgBitmap line(16, 1);
    bitmap->SetBitmap(&line);
    EXPECT_EQ(Part<TsgImage>(bitmap, "image")->Align(), vaNone);
}

TEST_F(GlyphButtons, ABitmapButtonTakesItsPictureFromItsActionsImageList) {
    constexpr TsgColor kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;
    enum Source { Toolkit, Platform, NoList };
    struct Case {
        const char* Name;
        Source Images;
        int OwnWidth; // of the button's Bitmap before linking
        int ImageIndex;
        bool Takes;
    };
    const Case cases[] = {
        {"second picture", Toolkit, 1, 1, true},
        {"first picture", Toolkit, 1, 0, true},
        {"button has a picture", Toolkit, 8, 1, false},
        {"picture two pixels wide", Toolkit, 2, 1, false},
        {"no index", Toolkit, 1, -1, false},
        {"index past the list", Toolkit, 1, 2, false},
        {"platform image list", Platform, 1, 1, false},
        {"action in no list", NoList, 1, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TsgImageList toolkit(nullptr);
        toolkit.SetWidth(16);
        toolkit.SetHeight(16);
        toolkit.Add(Solid(kRed, 16).get());
        toolkit.Add(Solid(kGreen, 16).get());
        TCustomImageList platform(nullptr);
        TCustomActionList list(nullptr);
        list.SetImages(c.Images == Platform ? &platform : static_cast<TCustomImageList*>(&toolkit));
        TCustomAction action(nullptr);
        if (c.Images != NoList)
            action.SetActionList(&list);
        action.SetImageIndex(c.ImageIndex);

        auto* b = Styled<TsgBitmapButton>();
        auto own = std::make_unique<TsgBitmap>(c.OwnWidth, 8);
        own->Clear(kBlue);
        b->SetBitmap(own.get());
        b->SetAction(&action);
        if (c.Takes) {
            EXPECT_EQ(b->BitmapSize(), 16);
            EXPECT_EQ(b->Bitmap()->Width(), 16);
            EXPECT_NE(b->Bitmap(), toolkit.GetBitmap(c.ImageIndex)) << "a copy";
            EXPECT_EQ(b->Bitmap()->GetPixels(8, 8), c.ImageIndex == 0 ? kRed : kGreen);
            EXPECT_EQ(Part<TsgImage>(b, "image")->Bitmap()->GetPixels(8, 8),
                      b->Bitmap()->GetPixels(8, 8));
        } else {
            EXPECT_EQ(b->BitmapSize(), 32);
            EXPECT_EQ(b->Bitmap()->Width(), c.OwnWidth);
            EXPECT_EQ(b->Bitmap()->GetPixels(0, 0), kBlue);
        }
    }
}

TEST_F(GlyphButtons, ALinkedBitmapButtonTakesThePictureOnceTheActionHasOne) {
    TsgImageList images(nullptr);
    images.SetWidth(16);
    images.SetHeight(16);
    images.Add(Solid(0xFFFF0000, 16).get());
    images.Add(Solid(0xFF00FF00, 16).get());
    TCustomActionList list(nullptr);
    TCustomAction action(nullptr);
    action.SetActionList(&list);
    auto* b = Styled<TsgBitmapButton>();
    b->SetAction(&action);
    EXPECT_EQ(b->Bitmap()->Width(), 1) << "no images, no index yet";

    list.SetImages(&images);
    EXPECT_EQ(b->Bitmap()->Width(), 1);
    action.SetImageIndex(0);
    EXPECT_EQ(b->Bitmap()->GetPixels(8, 8), 0xFFFF0000u);
    EXPECT_EQ(b->BitmapSize(), 16);
    // From now on the button has a picture of its own and keeps it.
    action.SetImageIndex(1);
    EXPECT_EQ(b->Bitmap()->GetPixels(8, 8), 0xFFFF0000u);
}

TEST_F(GlyphButtons, HighlightingAnimatesTheCaptionAndFrameAndSurvivesANewStyle) {
    auto* b = Styled<TsgBitmapButton>();
    b->AnimFontColor()->SetStopValue(u"#FFFF0000");
    b->AnimStrokeColor()->SetStopValue(u"#FF0000FF");
    auto text = [&] { return Part<TsgText>(b, "text"); };
    auto frame = [&] { return Part<TsgRectangle>(b, "background"); };
    ASSERT_NE(text(), nullptr);
    ASSERT_NE(frame(), nullptr);
    EXPECT_EQ(b->AnimFontColor()->Parent(), text());
    EXPECT_EQ(text()->Fill()->SolidColor(), 0xFF000000u);

    b->SetIsHighlighted(true);
    EXPECT_EQ(b->Font()->Style(), sgFontBold) << "bold at once";
    EXPECT_EQ(text()->Font()->Style(), sgFontBold);
    Tick(3);
    const TsgColor midway = text()->Fill()->SolidColor();
    EXPECT_NE(midway, 0xFF000000u);
    EXPECT_NE(midway, 0xFFFF0000u);
    Tick(4);
    EXPECT_EQ(text()->Fill()->SolidColor(), 0xFFFF0000u);
    EXPECT_EQ(frame()->Stroke()->SolidColor(), 0xFF0000FFu);

    // A new clone: the animations come home first and move into the new parts.
    b->SetResource(u"bitmapbuttonstyle");
    ASSERT_NE(text(), nullptr);
    EXPECT_EQ(b->AnimFontColor()->Parent(), text());
    EXPECT_EQ(b->AnimStrokeColor()->Parent(), frame());
    EXPECT_EQ(text()->Fill()->SolidColor(), 0xFFFF0000u) << "the rest colour of the highlight";

    b->SetIsHighlighted(false);
    EXPECT_EQ(b->Font()->Style(), sgFontRegular);
    Tick(7);
    EXPECT_EQ(text()->Fill()->SolidColor(), 0xFF000000u);
    EXPECT_EQ(frame()->Stroke()->SolidColor(), 0xFF808080u);
}

TEST_F(GlyphButtons, PressAnimationsOfTheBitmapButtonGetBothBitmaps) {
    auto* b = Styled<TsgBitmapButton>();
    auto* on = new TsgBitmapAnimation(nullptr);
    on->SetResourceName(u"animpressedon");
    Part<TsgImage>(b, "image")->AddObject(on);
    auto normal = Solid(0xFF00FF00), pressed = Solid(0xFFFF0000);
    b->SetBitmap(normal.get());
    b->SetBitmapPressed(pressed.get());
    EXPECT_EQ(on->StartValue()->GetPixels(0, 0), 0xFF00FF00u);
    EXPECT_EQ(on->StopValue()->GetPixels(0, 0), 0xFFFF0000u);
    EXPECT_EQ(on->Trigger(), "IsPressed=true");
}

class AnimatedButton : public GlyphButtons {
protected:
    void SetUp() override {
        GlyphButtons::SetUp();
        b = Styled<TsgAnimatedButton>(40, 40);
        b->SetBitmap(normal.get());
        b->SetBitmapHovered(hovered.get());
        b->SetBitmapClicked(clicked.get());
        b->SetBitmapClickedHovered(clickedHovered.get());
    }
    TsgBitmapAnimation* Ani(const char* name) { return Part<TsgBitmapAnimation>(b, name); }
    uint32_t Shown() { return Part<TsgImage>(b, "image")->Bitmap()->GetPixels(1, 1); }

    std::unique_ptr<TsgBitmap> normal = Solid(0xFF000010), hovered = Solid(0xFF000020),
                               clicked = Solid(0xFF000030), clickedHovered = Solid(0xFF000040);
    TsgAnimatedButton* b = nullptr;
};

TEST_F(AnimatedButton, APressCrossFadesToTheClickedBitmapAndTheReleaseBack) {
    ASSERT_NE(Ani("animclickon"), nullptr);
    EXPECT_EQ(Ani("animhoveron")->Trigger(), "IsMouseOver=true");
    EXPECT_EQ(Ani("animhoveron")->StopValue()->GetPixels(0, 0), 0xFF000020u);
    EXPECT_EQ(Ani("animclickon")->Trigger(), "") << "started by the press itself";
    EXPECT_EQ(Shown(), 0xFF000010u);

    b->MouseDown(mbLeft, {}, 5, 5);
    EXPECT_TRUE(Ani("animclickon")->Running());
    Tick(3);
    EXPECT_NE(Shown(), 0xFF000030u) << "half way";
    Tick(5);
    EXPECT_EQ(Shown(), 0xFF000030u);
    b->MouseUp(mbLeft, {}, 5, 5);
    EXPECT_TRUE(Ani("animclickoff")->Running());
    Tick(8);
    EXPECT_EQ(Shown(), 0xFF000020u) << "back to the hovered picture";
}

TEST_F(AnimatedButton, AToggleReleasedOutsideAfterAPressFromReleasedGoesBack) {
    b->SetStaysPressed(true);
    b->MouseDown(mbLeft, {}, 5, 5);
    EXPECT_TRUE(b->IsPressed());
    EXPECT_EQ(Ani("animclickon")->Trigger(), "IsPressed=true");
    EXPECT_EQ(Ani("animhoveron")->StartValue()->GetPixels(0, 0), 0xFF000030u)
        << "hovering a pressed toggle fades between the clicked pictures";
    b->MouseUp(mbLeft, {}, -10, -10);
    EXPECT_FALSE(b->IsPressed());

    b->MouseDown(mbLeft, {}, 5, 5);
    b->MouseUp(mbLeft, {}, 5, 5);
    EXPECT_TRUE(b->IsPressed()) << "released inside: stays pressed";
    b->MouseDown(mbLeft, {}, 5, 5);
    b->MouseUp(mbLeft, {}, -10, -10);
    EXPECT_FALSE(b->IsPressed()) << "pressed before: the press itself released it";

    b->PressDown();
    EXPECT_TRUE(b->IsPressed());
    Tick(8);
    EXPECT_EQ(Shown(), 0xFF000030u);
}

TEST_F(AnimatedButton, ADisabledButtonShowsItsDisabledPictureOnlyWhenItHasOne) {
    b->SetEnabled(false);
    EXPECT_EQ(Shown(), 0xFF000010u) << "one pixel wide: the normal picture stays";
    b->SetEnabled(true);
    auto disabled = Solid(0xFF000050);
    b->SetBitmapDisabled(disabled.get());
    b->SetEnabled(false);
    EXPECT_EQ(Shown(), 0xFF000050u);
    b->SetEnabled(true);
    EXPECT_EQ(Shown(), 0xFF000010u);
}

} // namespace
