// TsgPopup: where popups go for each placement, opening and closing in their own window or in
// the target's scene, the close rules when several popups are open, and modal results.
#include "scene/core/Sg_ani.h"
#include "scene/core/Sg_classes_timer.h"
#include "scene/core/Sg_scene.h"

#include "platform/ui/Activation.h"
#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/PointerPosition.h"
#include "platform/ui/SdlVideo.h"
#include "platform/ui/Timer.h"
#include "platform/ui/TimerHeap.h"
#include "platform/ui/UiClock.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

struct PlacementCase {
    TsgPlacement placement;
    bool rectEmpty;
    TsgPoint expected;
};

TEST(PopupPlacement, EveryModeAgainstTargetAndRectangle) {
    // Target 100 x 20, popup 40 x 30, offsets (3, 5), rectangle (10, 20, 110, 60).
    const TsgRect r{10, 20, 110, 60};
    const PlacementCase cases[] = {
        {sgPlacementBottom, true, {3, 25}},   {sgPlacementTop, true, {3, -35}},
        {sgPlacementLeft, true, {-43, 5}},    {sgPlacementRight, true, {103, 5}},
        {sgPlacementCenter, true, {33, -0}},  {sgPlacementBottom, false, {13, 65}},
        {sgPlacementTop, false, {13, -15}},   {sgPlacementLeft, false, {-33, 25}},
        {sgPlacementRight, false, {113, 25}}, {sgPlacementCenter, false, {43, 30}},
    };
    for (const PlacementCase& c : cases) {
        const TsgPoint p =
            sgPopupPlacementPoint(c.placement, r, c.rectEmpty, 3, 5, 40, 30, 100, 20);
        EXPECT_FLOAT_EQ(p.X, c.expected.X) << c.placement << " empty " << c.rectEmpty;
        EXPECT_FLOAT_EQ(p.Y, c.expected.Y) << c.placement << " empty " << c.rectEmpty;
    }
}

class PopupWindow : public testing::Test {
protected:
    void SetUp() override {
        RegisterSgSceneUnit();
        SetUiClock(&clock);
        ASSERT_TRUE(EnsureVideo());
        ResetPointerPosition();
        form = std::make_unique<TForm>();
        form->SetBounds(200, 300, 300, 200);
        scene = std::make_unique<TsgScene>(nullptr);
        scene->SetParent(form.get());
        scene->SetBounds(0, 0, 300, 200);
        root = new TsgVisualObject(nullptr);
        scene->AddObject(root);
        target = new TsgVisualObject(nullptr);
        target->SetBounds(10, 10, 100, 20);
        root->AddObject(target);
        form->Show();
        Run();
        ActivateLogically(form.get());
    }
    void TearDown() override {
        popups.clear();
        scene.reset();
        form.reset();
        // Popup windows closed by the tests go once their release message is handled.
        Application->ProcessMessages();
        Application->Reset();
        TTimerHeap::Instance().Reset();
        TMsg msg;
        while (PeekMessage(&msg, nullptr, 0, 0xFFFFFFFF, PM_REMOVE) && msg.message != WM_PAINT &&
               msg.message != WM_TIMER) {
        }
        ResetPointerPosition();
        SetUiClock(nullptr);
    }
    void Run() { Application->ProcessMessages(); }
    TsgPopup* NewPopup(const char* name, float w = 40, float h = 30) {
        auto* popup = new TsgPopup(nullptr);
        popup->SetName(name);
        popup->SetWidth(w);
        popup->SetHeight(h);
        popup->SetPlacementTarget(target);
        popup->OnClosePopup = TNotifyEvent::Bind<&PopupWindow::Closed>(this);
        root->AddObject(popup);
        popups.push_back(popup);
        return popup;
    }
    void Closed(TObject* sender) {
        closed.push_back(static_cast<TsgPopup*>(sender)->Name().c_str());
    }

    TManualClock clock;
    std::unique_ptr<TForm> form;
    std::unique_ptr<TsgScene> scene;
    TsgVisualObject* root = nullptr;
    TsgVisualObject* target = nullptr;
    std::vector<TsgPopup*> popups;
    std::vector<std::string> closed;
};

TEST_F(PopupWindow, NewSceneWindowGoesUnderItsTargetOnTheScreen) {
    TsgPopup* popup = NewPopup("a");
    popup->Popup();
    ASSERT_NE(popup->PopupForm(), nullptr);
    EXPECT_TRUE(popup->IsOpen());
    EXPECT_EQ(popup->PopupForm()->Left(), 210);
    EXPECT_EQ(popup->PopupForm()->Top(), 330);
    EXPECT_EQ(popup->PopupForm()->Width(), 40);
    EXPECT_TRUE(popup->PopupForm()->PopupWindow());
    EXPECT_EQ(popup->Scene(), static_cast<IsgScene*>(popup->PopupScene()));
    EXPECT_EQ(form->KeyForm(), popup->PopupForm());

    // A second Popup closes it again, back into its home tree.
    popup->Popup();
    EXPECT_FALSE(popup->IsOpen());
    EXPECT_EQ(popup->PopupForm(), nullptr);
    EXPECT_EQ(popup->Parent(), root);
    EXPECT_EQ(popup->Scene(), static_cast<IsgScene*>(scene.get()));
    EXPECT_EQ(form->KeyForm(), nullptr);
    EXPECT_EQ(closed, (std::vector<std::string>{"a"}));
}

TEST_F(PopupWindow, ScaledHomeSceneGivesALargerWindowAndRoundedScreenPlaces) {
    root->Scale()->SetPoint({2, 2});
    TsgPopup* popup = NewPopup("a", 40, 30);
    popup->SetHorizontalOffset(1.75f);
    popup->Popup();
    ASSERT_NE(popup->PopupForm(), nullptr);
    EXPECT_EQ(popup->PopupForm()->Width(), 80);
    EXPECT_EQ(popup->PopupForm()->Height(), 60);
    // (1.75, 20) in the target is (23.5, 60) in the scene, truncated to (23, 60).
    EXPECT_EQ(popup->PopupForm()->Left(), 223);
    EXPECT_EQ(popup->PopupForm()->Top(), 360);
    popup->ClosePopup();
}

TEST_F(PopupWindow, AbsoluteAndTargetScenePlacements) {
    TsgPopup* absolute = NewPopup("abs");
    absolute->SetPlacement(sgPlacementAbsolute);
    absolute->PlacementRectangle()->SetRect({12.5f, 13.5f, 0, 0});
    absolute->SetHorizontalOffset(100);
    absolute->Popup();
    ASSERT_NE(absolute->PopupForm(), nullptr);
    EXPECT_EQ(absolute->PopupForm()->Left(), 12);
    EXPECT_EQ(absolute->PopupForm()->Top(), 14);
    absolute->ClosePopup();

    TsgPopup* inScene = NewPopup("in");
    inScene->SetPlacementScene(sgPlacementSceneTarget);
    inScene->SetPlacement(sgPlacementRight);
    inScene->Popup();
    EXPECT_TRUE(inScene->IsOpen());
    EXPECT_EQ(inScene->PopupForm(), nullptr);
    EXPECT_EQ(inScene->Parent(), root);
    EXPECT_FLOAT_EQ(inScene->Position()->X(), 110);
    EXPECT_FLOAT_EQ(inScene->Position()->Y(), 10);
    EXPECT_TRUE(inScene->Visible());
    inScene->ClosePopup();
    EXPECT_FALSE(inScene->Visible());
    EXPECT_FALSE(inScene->IsOpen());
}

TEST_F(PopupWindow, ActivatingPopupsAndOtherWindowsClosesByOpeningOrder) {
    TsgPopup* a = NewPopup("a");
    TsgPopup* b = NewPopup("b");
    TsgPopup* c = NewPopup("c");
    TsgPopup* stays = NewPopup("stays");
    stays->SetStaysOpen(true);
    // Activating a popup that stays open counts as another window; it opens first here.
    for (TsgPopup* p : {stays, a, b, c})
        p->Popup();
    ASSERT_EQ(sgOpenPopups(), (std::vector<TsgPopup*>{a, b, c}));

    // Going from the newest into an older popup closes the newest only.
    ActivateLogically(c->PopupForm());
    ActivateLogically(a->PopupForm());
    EXPECT_EQ(closed, (std::vector<std::string>{"c"}));
    // Going from an older into a newer one closes nothing.
    ActivateLogically(b->PopupForm());
    EXPECT_EQ(closed, (std::vector<std::string>{"c"}));
    // Any other window closes every listed popup, newest first; the one that stays open stays.
    ActivateLogically(form.get());
    EXPECT_EQ(closed, (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_TRUE(stays->IsOpen());
    EXPECT_TRUE(sgOpenPopups().empty());
    stays->ClosePopup();
}

TEST_F(PopupWindow, PressInTheOwnerClosesAnOpenPopup) {
    TsgPopup* a = NewPopup("a");
    a->Popup();
    const Uint32 id = SDL_GetWindowID(form->PlatformWindow());
    for (bool down : {true, false}) {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.windowID = id;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.clicks = 1;
        e.button.x = 200;
        e.button.y = 150;
        SDL_PushEvent(&e);
    }
    Run();
    EXPECT_FALSE(a->IsOpen());
    EXPECT_EQ(closed, (std::vector<std::string>{"a"}));
}

// Sets the popup window's modal result once the loop runs.
struct ModalAnswer {
    TsgPopup* popup = nullptr;
    TModalResult answer = mrNone;
    bool nested = false;
    TModalResult nestedResult = -1;
    void Tick(TObject*) {
        if (nested) {
            nested = false;
            nestedResult = popup->PopupModal();
            return;
        }
        if (popup->PopupForm())
            popup->PopupForm()->SetModalResult(answer);
    }
};

TEST_F(PopupWindow, ModalLoopEndsWithTheWindowsResultOrCancelWhenCalledAgain) {
    TsgPopup* popup = NewPopup("modal");
    ModalAnswer answer{popup, mrOk};
    TsgTimer timer(nullptr);
    timer.SetInterval(1);
    timer.SetOnTimer(TNotifyEvent::Bind<&ModalAnswer::Tick>(&answer));
    timer.SetEnabled(true);
    clock.Advance(5);
    EXPECT_EQ(popup->PopupModal(), mrOk);
    EXPECT_FALSE(popup->IsOpen());
    EXPECT_TRUE(popup->StaysOpen());

    answer.nested = true;
    clock.Advance(5);
    EXPECT_EQ(popup->PopupModal(), mrCancel);
    EXPECT_EQ(answer.nestedResult, mrNone);
    timer.SetEnabled(false);
}

// Opens the popup modally from a one-shot component timer, as an application asks from its
// own timer code, and notes the popup's opacity at every tick of a watching timer.
struct TimerOpener {
    TsgPopup* popup = nullptr;
    TModalResult result = -1;
    std::vector<float> opacities;
    void Open(TTimer& self) {
        self.SetEnabled(false);
        result = popup->PopupModal();
    }
    void Watch(TObject*) {
        if (!popup->IsOpen())
            return;
        opacities.push_back(popup->Opacity());
        // Answered once the fade has run in, or given up on when it does not move.
        if (popup->PopupForm() && (popup->Opacity() >= 1 || opacities.size() >= 40))
            popup->PopupForm()->SetModalResult(mrOk);
    }
};

TEST_F(PopupWindow, AModalPopupOpenedFromATimerHandlerAnimates) {
    RegisterSgAniUnit();
    TsgPopup* popup = NewPopup("faded");
    auto* fade = new TsgFloatAnimation(nullptr);
    fade->SetPropertyName("Opacity");
    fade->SetStartValue(0);
    fade->SetStopValue(1);
    fade->SetDuration(0.3f);
    fade->SetTrigger("IsOpen=true");
    popup->AddObject(fade);

    TimerOpener opener;
    opener.popup = popup;
    TTimer open;
    open.SetInterval(5);
    open.SetOnTimer([&opener](TTimer& self) { opener.Open(self); });
    TsgTimer watch(nullptr);
    watch.SetInterval(33);
    watch.SetOnTimer(TNotifyEvent::Bind<&TimerOpener::Watch>(&opener));
    for (int i = 0; i < 100 && opener.result < 0; ++i) {
        clock.Advance(5);
        Run();
    }
    EXPECT_EQ(opener.result, mrOk);
    ASSERT_FALSE(opener.opacities.empty());
    EXPECT_LT(opener.opacities.size(), 40u) << "the fade never reached its end";
    EXPECT_FLOAT_EQ(opener.opacities.back(), 1);
    EXPECT_TRUE(std::any_of(opener.opacities.begin(), opener.opacities.end(), [](float o) {
        return o > 0 && o < 1;
    })) << "the fade jumped instead of running";
    EXPECT_FALSE(popup->IsOpen());
}

// A program whose form is left to the application with its scene, a looping animation and a
// popup open in a window of its own when the loop ends, and which then exits. An exit handler
// registered before the program starts runs after everything the program's exit frees first.
size_t scenesAtStart = 0;
void SayWhetherTheScenesWentFirst() {
    if (sgLiveScenes().size() == scenesAtStart)
        std::fputs("every scene freed first\n", stderr);
}

void RunSceneThenExit() {
    static TManualClock clock;
    SetUiClock(&clock);
    RegisterSgSceneUnit();
    RegisterSgAniUnit();
    if (!EnsureVideo())
        std::exit(4);
    scenesAtStart = sgLiveScenes().size();
    std::atexit(SayWhetherTheScenesWentFirst);

    TForm* form = nullptr;
    Application->CreateForm(form);
    form->SetBounds(100, 100, 300, 200);
    auto* scene = new TsgScene(form);
    scene->SetParent(form);
    scene->SetBounds(0, 0, 300, 200);
    auto* root = new TsgVisualObject(nullptr);
    root->SetBounds(0, 0, 300, 200);
    scene->AddObject(root);
    auto* pulse = new TsgFloatAnimation(nullptr);
    pulse->SetPropertyName("Opacity");
    pulse->SetStartValue(0.5f);
    pulse->SetStopValue(1);
    pulse->SetDuration(1);
    pulse->SetLoop(true);
    root->AddObject(pulse);
    pulse->Start();
    // Owned by the form, as a popup read with the form's stream is.
    auto* popup = new TsgPopup(form);
    popup->SetBounds(0, 0, 40, 30);
    popup->SetPlacementTarget(root);
    root->AddObject(popup);

    TTimer open;
    open.SetInterval(10);
    open.SetOnTimer([popup](TTimer& self) {
        self.SetEnabled(false);
        popup->Popup();
    });
    TTimer quit;
    quit.SetInterval(200);
    quit.SetOnTimer([popup](TTimer&) {
        if (!popup->IsOpen() || !aniThread)
            std::exit(5);
        Application->Terminate();
    });
    form->Show();
    Application->Run();
    std::exit(0);
}

TEST(PopupAtExit, ASceneLeftToTheApplicationGoesFirstAsTheProgramExits) {
    EXPECT_EXIT(RunSceneThenExit(), ::testing::ExitedWithCode(0), "every scene freed first");
}

} // namespace
