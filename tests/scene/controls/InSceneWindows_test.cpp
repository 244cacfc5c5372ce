// In-scene windows and the bitmap state button in a real (offscreen) form: the window shows or
// hides its close button and size grip, the HUD window pushes fill, frame and caption into its
// parts, the close button runs the window's handler instead of closing the form, the grip sizes
// the form, the window's own area drags it; the state button picks its bitmap by the pointer.
#include "SceneWindowTestSupport.h"

#include "scene/core/Sg_scene_offscreen.h"

#include <memory>

namespace {

using scenewindowtest::SceneWindowTest;
using Lines = std::vector<std::string>;

template <class T>
T* PartOf(TsgControl* c, const char16_t* name) {
    return dynamic_cast<T*>(c->FindResource(name));
}

class InSceneWindows : public SceneWindowTest {
protected:
    // A plain window wearing the HUD style: its close button at (20, 20), 16 x 16, and its grip
    // in the bottom right corner at (206, 156), 14 x 14.
    TsgWindow* PlainWindow() {
        auto* w = Add<TsgWindow>("window", 20, 20, 200, 150);
        w->SetResource(u"hudwindowstyle");
        w->ApplyResource();
        return w;
    }
};

TEST_F(InSceneWindows, TheCloseButtonClosesTheFormUnlessTheWindowHandlesIt) {
    TsgWindow* w = PlainWindow();
    auto* close = PartOf<TsgCloseButton>(w, u"close");
    ASSERT_NE(close, nullptr);
    close->SetName("closebutton");
    w->SetOnCloseClick(Watcher("closeclick"));
    ASSERT_TRUE(form->Visible());
    Click(28, 28);
    EXPECT_TRUE(form->Visible()) << "the handler runs instead of closing";
    EXPECT_EQ(log, (Lines{"closebutton closeclick"})) << "the close button is the sender";

    // A window without a handler leaves the close button to close its form.
    auto* other = Add<TsgWindow>("other", 240, 20, 50, 50);
    other->SetResource(u"hudwindowstyle");
    other->ApplyResource();
    Click(248, 28);
    EXPECT_FALSE(form->Visible());
}

TEST_F(InSceneWindows, TheGripSizesTheFormOnlyWhileItIsShown) {
    TsgWindow* w = PlainWindow();
    auto* grip = PartOf<TsgSizeGrip>(w, u"sizegrip");
    ASSERT_NE(grip, nullptr);
    EXPECT_TRUE(grip->Visible());
    scene->SetAllowFormDrag(false);
    w->SetShowSizeGrip(false);
    EXPECT_FALSE(grip->Visible());
    Button(true, 213, 163);
    Motion(223, 171);
    Button(false, 223, 171);
    Run();
    EXPECT_EQ(form->Width(), 300) << "a hidden grip sizes nothing";
    EXPECT_EQ(form->Height(), 200);

    w->SetShowSizeGrip(true);
    EXPECT_TRUE(grip->Visible());
    Button(true, 213, 163);
    Motion(223, 171);
    Button(false, 223, 171);
    Run();
    EXPECT_EQ(form->Width(), 310);
    EXPECT_EQ(form->Height(), 208);

    w->SetShowCloseButton(false);
    EXPECT_FALSE(PartOf<TsgVisualObject>(w, u"close")->Visible());
}

TEST_F(InSceneWindows, APressOnTheWindowsOwnAreaDragsTheForm) {
    PlainWindow();
    Button(true, 120, 100);
    Motion(140, 110);
    Run();
    EXPECT_EQ(form->Left(), 120);
    EXPECT_EQ(form->Top(), 90);
    Motion(120, 100);
    Button(false, 120, 100);
    Run();
}

TEST_F(InSceneWindows, TheHudWindowPushesFrameFillAndCaptionIntoItsParts) {
    auto* w = Add<TsgHudWindow>("hud", 20, 20, 200, 150);
    w->ApplyResource();
    auto* back = PartOf<TsgShape>(w, u"back");
    auto* stroke = PartOf<TsgShape>(w, u"stroke");
    auto* caption = PartOf<TsgVisualObject>(w, u"caption");
    auto* text = PartOf<TsgVisualObject>(w, u"text");
    auto* close = PartOf<TsgCloseButton>(w, u"close");
    ASSERT_TRUE(back && stroke && caption && text && close);
    EXPECT_EQ(back->Fill()->SolidColor(), 0xEACACACAu);
    EXPECT_EQ(stroke->Stroke()->SolidColor(), 0x5B000000u);
    EXPECT_EQ(caption->Height(), 21);
    EXPECT_EQ(close->Align(), vaRight);

    w->SetStrokeThickness(3);
    w->SetStrokeDash(sgDashDot);
    EXPECT_EQ(stroke->StrokeThickness(), 3);
    EXPECT_EQ(stroke->StrokeDash(), sgDashDot);
    EXPECT_EQ(stroke->Margins()->Rect(), (TsgRect{3, 3, 3, 3}));
    EXPECT_EQ(caption->Height(), 23);
    EXPECT_EQ(caption->Padding()->Rect(), (TsgRect{3, 3, 3, 0}));

    // A change inside the window's own brush shows at once.
    w->Fill()->SetSolidColor(0xFF112233);
    EXPECT_EQ(back->Fill()->SolidColor(), 0xFF112233u);
    w->SetButtonAlign(sgButtonAlignLeft);
    EXPECT_EQ(close->Align(), vaLeft);

    w->SetShowCaption(false);
    for (TsgVisualObject* part : {caption, text, static_cast<TsgVisualObject*>(close)}) {
        EXPECT_FALSE(part->Visible()) << part->ResourceName().ToUtf8();
        EXPECT_TRUE(part->DesignHide()) << part->ResourceName().ToUtf8();
    }
    w->SetShowCaption(true);
    EXPECT_TRUE(caption->Visible());
    EXPECT_FALSE(caption->DesignHide());
    EXPECT_TRUE(close->Visible());
    // A close button the window hides stays hidden whatever the caption does.
    w->SetShowCloseButton(false);
    EXPECT_FALSE(close->Visible());
}

// Bitmap state button.

std::unique_ptr<TsgBitmap> Filled(int w, int h, TsgColor color) {
    auto b = std::make_unique<TsgBitmap>(w, h);
    b->Clear(color);
    return b;
}

TEST_F(InSceneWindows, TheStateButtonShowsTheBitmapOfThePointersState) {
    auto* b = Add<TsgBitmapStateButton>("state", 100, 40, 40, 40);
    b->SetBitmap(Filled(80, 40, 0xFFFF0000).get());
    b->SetBitmapHot(Filled(10, 10, 0xFF00FF00).get());
    b->SetBitmapDown(Filled(20, 20, 0xFF0000FF).get());
    EXPECT_EQ(b->StateBitmap(), b->Bitmap());
    // Larger than the button: scaled down into it; smaller: centred at its own size.
    EXPECT_EQ(b->StateBitmapRect(), (TsgRect{0, 10, 40, 30}));
    Motion(120, 60);
    Run();
    EXPECT_EQ(b->StateBitmap(), b->BitmapHot());
    EXPECT_EQ(b->StateBitmapRect(), (TsgRect{15, 15, 25, 25}));
    Button(true, 120, 60);
    Run();
    EXPECT_EQ(b->StateBitmap(), b->BitmapDown());
    Button(false, 120, 60);
    Run();
    EXPECT_EQ(b->StateBitmap(), b->BitmapHot());

    // Disabled without a disabled picture it keeps showing the others.
    b->SetEnabled(false);
    EXPECT_EQ(b->StateBitmap(), b->BitmapHot());
    b->SetBitmapDisabled(Filled(4, 4, 0xFF808080).get());
    EXPECT_EQ(b->StateBitmap(), b->BitmapDisabled());
    Motion(250, 150);
    Run();
}

TEST(BitmapStateButtonPaint, TheBitmapIsScaledIntoTheButtonAtItsOpacity) {
    TsgOffscreenScene scene(nullptr, 40, 40);
    auto* b = new TsgBitmapStateButton(nullptr);
    scene.AddObject(b);
    b->SetBounds(0, 0, 40, 40);
    auto red = std::make_unique<TsgBitmap>(80, 40);
    red->Clear(0xFFFF0000);
    b->SetBitmap(red.get());
    scene.PaintScene(0xFFFFFFFF);
    const uint32_t* bits = scene.Canvas()->BufferBits();
    EXPECT_EQ(bits[20 * 40 + 20], 0xFFFF0000u);
    EXPECT_EQ(bits[4 * 40 + 20], 0xFFFFFFFFu) << "above the fitted rectangle";
}

} // namespace
