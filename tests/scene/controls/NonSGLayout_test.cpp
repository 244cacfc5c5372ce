// The native-window layout in a real offscreen form: the hosted rich-text view placed at the
// layout's rectangle plus the scene window's offset, hidden by the 100 ms poll when its page is
// hidden, shown and placed again when the page is repainted, forgotten when freed, and kept in
// front of the scene when the scene repaints under it.
#include "scene/controls/Sg_layouts.h"

#include "scene/core/Sg_classes_timer.h"
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_timerheap.h"

#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Present.h"
#include "platform/ui/RichEdit.h"
#include "platform/ui/TimerHeap.h"
#include "platform/ui/UiClock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

const bool offscreenVideo = (setenv("DBI_VIDEO_DRIVER", "offscreen", 1), true);

// A page of the scene (a plain layout) holding the native-window layout at (10, 15) 100 x 50;
// the scene window sits at (20, 30) in the form, the rich-text view beside it, in front.
class NonSGLayout : public testing::Test {
protected:
    void SetUp() override {
        (void)offscreenVideo;
        RegisterSgSceneUnit();
        RegisterSgLayoutsUnit();
        SetUiClock(&clock);
        form = std::make_unique<TForm>();
        form->SetBounds(0, 0, 240, 160);
        scene = new TsgScene(nullptr);
        sceneOwner.reset(scene);
        scene->SetParent(form.get());
        scene->SetBounds(20, 30, 200, 120);
        box = new TRichEdit(form.get());
        box->SetParent(form.get());
        box->SetVisible(false);
        ASSERT_TRUE(box->LoadFromBytes(R"({\rtf1 Licence text})"));
        page = new TsgLayout(nullptr);
        page->SetBounds(0, 0, 200, 120);
        host = new TsgNonSGLayout(nullptr);
        host->SetBounds(10, 15, 100, 50);
        page->AddObject(host);
        scene->AddObject(page);
        form->Show();
        Pump();
    }
    void TearDown() override {
        sceneOwner.reset();
        form.reset();
        Application->Reset();
        TsgTimerHeap::Instance().Reset();
        TTimerHeap::Instance().Reset();
        TMsg msg;
        while (PeekMessage(&msg, nullptr, 0, 0xFFFFFFFF, PM_REMOVE) && msg.message != WM_PAINT &&
               msg.message != WM_TIMER) {
        }
        SetUiClock(nullptr);
    }
    void Advance(uint64_t ms) {
        clock.Advance(ms);
        Pump();
    }
    static void Pump() { Application->ProcessMessages(); }
    uint32_t FormPixel(int x, int y) {
        std::vector<uint32_t> pixels;
        int w = 0, h = 0;
        if (!ReadWindowPixels(form.get(), pixels, w, h) || x >= w || y >= h)
            return 0;
        return pixels[size_t(y * w + x)];
    }

    TManualClock clock{1000};
    std::unique_ptr<TForm> form;
    std::unique_ptr<TsgScene> sceneOwner;
    TsgScene* scene = nullptr;
    TRichEdit* box = nullptr;
    TsgLayout* page = nullptr;
    TsgNonSGLayout* host = nullptr;
};

TEST_F(NonSGLayout, ShowsAndPlacesTheControlAtTheLayoutPlusTheSceneOffset) {
    host->SetControl(box);
    EXPECT_FALSE(box->Visible()); // nothing shows it before the scene asks for a repaint
    host->Repaint();
    EXPECT_TRUE(box->Visible());
    EXPECT_EQ(box->BoundsRect(), Bounds(30, 45, 100, 50));
    EXPECT_TRUE(host->VisibleTimer()->Enabled());
    // Moving the page moves the control with the next layout.
    page->Position()->SetPoint({5, 2});
    host->Realign();
    EXPECT_EQ(box->BoundsRect(), Bounds(35, 47, 100, 50));
}

TEST_F(NonSGLayout, HidingThePageHidesTheControlWithinAPollAndShowingPlacesItAgain) {
    host->SetControl(box);
    host->Repaint();
    ASSERT_TRUE(box->Visible());
    page->SetVisible(false);
    Advance(99);
    EXPECT_TRUE(box->Visible());
    Advance(1);
    EXPECT_FALSE(box->Visible());
    EXPECT_FALSE(host->VisibleTimer()->Enabled());
    box->SetBounds(0, 0, 1, 1);
    // Showing the page repaints the page, not the layout; drawing it shows the control.
    page->SetVisible(true);
    Pump();
    EXPECT_TRUE(box->Visible());
    EXPECT_EQ(box->BoundsRect(), Bounds(30, 45, 100, 50));
    EXPECT_TRUE(host->VisibleTimer()->Enabled());
}

TEST_F(NonSGLayout, AFreedControlIsForgottenAndPlacesNothingAfterwards) {
    host->SetControl(box);
    host->Repaint();
    delete box;
    box = nullptr;
    EXPECT_EQ(host->NonSGControl(), nullptr);
    EXPECT_FALSE(host->VisibleTimer()->Enabled());
    page->SetVisible(false);
    Advance(200);
    host->Realign();
    EXPECT_FALSE(host->CheckParentVisible());
}

TEST_F(NonSGLayout, TheControlStaysInFrontWhenTheSceneRepaintsUnderIt) {
    host->SetControl(box);
    host->Repaint();
    Pump();
    // The view paints white over the scene's default dark fill.
    const int x = 100, y = 90; // inside the view, below its text, left of its scroll bar
    EXPECT_EQ(FormPixel(x, y), 0xFFFFFFFFu);
    const uint32_t sceneColour = FormPixel(5 + 20, 5 + 30);
    EXPECT_NE(sceneColour, 0xFFFFFFFFu);
    scene->AddUpdateRect(TsgRect{0, 0, 200, 120});
    Pump();
    EXPECT_EQ(FormPixel(x, y), 0xFFFFFFFFu);
    EXPECT_EQ(FormPixel(5 + 20, 5 + 30), sceneColour);
    // Hidden, it gives its area back to the scene.
    page->SetVisible(false);
    Advance(100);
    Pump();
    EXPECT_EQ(FormPixel(x, y), sceneColour);
}

} // namespace
