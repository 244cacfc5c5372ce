// The scene host: rounding and collecting update rectangles, the repaint of exactly the dirty
// part through the canvas into the buffer and the window, the deferred path of embedded and
// transparent scenes, top-level objects and update suppression; and a real (offscreen) window
// fed with input events and read back after a paint.
#include "SceneHostTestNodes.h"

#include "platform/rtl/MemoryStream.h"
#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Present.h"
#include "platform/ui/TimerHeap.h"
#include "platform/ui/UiClock.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

bool SameRect(const TsgRect& a, const TsgRect& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
}

struct FlushCounter {
    void OnFlush(TObject* sender) {
        auto* scene = static_cast<TsgCustomScene*>(sender);
        counts.push_back(scene->GetUpdateRectsCount());
        if (scene->GetUpdateRectsCount() > 0)
            first.push_back(scene->GetUpdateRect(0));
    }
    std::vector<int> counts;
    std::vector<TsgRect> first;
};

class SceneHost : public testing::Test {
protected:
    void SetUp() override {
        RegisterSgSceneUnit();
        RegisterClass(TsgHostTestRect::StaticClassInfo());
        SetUiClock(&clock);
    }
    void TearDown() override {
        Application->Reset();
        TTimerHeap::Instance().Reset();
        TMsg msg;
        while (PeekMessage(&msg, nullptr, 0, 0xFFFFFFFF, PM_REMOVE) && msg.message != WM_PAINT &&
               msg.message != WM_TIMER) {
        }
        SetUiClock(nullptr);
    }
    static void Pump() { Application->ProcessMessages(); }
    // An embedded scene: rectangles are queued where the test can read them.
    std::unique_ptr<TsgRecordingScene> Embedded(int w, int h) {
        auto scene = std::make_unique<TsgRecordingScene>(nullptr);
        scene->CreateEmbedded(w, h, TNotifyEvent::Bind<&FlushCounter::OnFlush>(&flushes));
        Pump();
        flushes = FlushCounter{};
        scene->Draws.clear();
        return scene;
    }
    static uint32_t Pixel(TsgCanvas* canvas, int x, int y) {
        return canvas->BufferBits()[y * canvas->Width() + x];
    }

    TManualClock clock;
    FlushCounter flushes;
};

struct RoundingCase {
    TsgRect given;
    bool kept;
    TsgRect expected;
};

TEST_F(SceneHost, UpdateRectanglesAreRoundedOutwardAndDroppedOnlyWhenTheyMissTheScene) {
    const RoundingCase cases[] = {
        {{-5, -5, -1, -1}, true, {-5, -5, 0, 0}},
        {{-5, -5, -2, -2}, false, {}},
        {{10.2f, 10.7f, 20.1f, 20.9f}, true, {10, 10, 21, 21}},
        {{-3.7f, 2.5f, 4.2f, 3}, true, {-3, 2, 5, 4}},
        {{99.5f, 99.5f, 130, 130}, true, {99, 99, 131, 131}},
        {{101, 0, 110, 10}, false, {}},
    };
    auto scene = Embedded(100, 100);
    for (const RoundingCase& c : cases) {
        const int before = scene->GetUpdateRectsCount();
        scene->AddUpdateRect(c.given);
        ASSERT_EQ(scene->GetUpdateRectsCount(), before + (c.kept ? 1 : 0)) << c.given.Left;
        if (c.kept) {
            EXPECT_TRUE(SameRect(scene->GetUpdateRect(before), c.expected)) << c.given.Left;
        }
    }
}

TEST_F(SceneHost, NothingIsCollectedWhileSuppressedOrWithoutAWindow) {
    TsgScene windowless(nullptr);
    windowless.AddUpdateRect({0, 0, 10, 10});
    EXPECT_EQ(windowless.GetUpdateRectsCount(), 0);
    EXPECT_EQ(PendingPostedMessageCount(), 0);
    auto scene = Embedded(50, 50);
    scene->BeginUpdate();
    scene->AddUpdateRect({0, 0, 10, 10});
    EXPECT_EQ(scene->GetUpdateRectsCount(), 0);
    scene->EndUpdateWOInvalidate();
    scene->AddUpdateRect({0, 0, 10, 10});
    EXPECT_EQ(scene->GetUpdateRectsCount(), 1);
}

TEST_F(SceneHost, MoreThanTwentyRectanglesArePaintedAsTheirUnion) {
    auto scene = Embedded(200, 200);
    struct Case {
        int rects;
        int painted;
    } cases[] = {{20, 20}, {21, 1}};
    for (const Case& c : cases) {
        flushes = FlushCounter{};
        for (int i = 0; i < c.rects; ++i)
            scene->AddUpdateRect({float(i * 5), float(i * 3), float(i * 5 + 2), float(i * 3 + 2)});
        Pump();
        ASSERT_EQ(flushes.counts, std::vector<int>{c.painted}) << c.rects << " rectangles";
        if (c.painted == 1) {
            const float last = float(c.rects - 1);
            EXPECT_TRUE(SameRect(flushes.first[0], {0, 0, last * 5 + 3, last * 3 + 3}));
        }
        EXPECT_EQ(scene->GetUpdateRectsCount(), 0) << "emptied after the Draw";
    }
}

TEST_F(SceneHost, ASolidFillWithoutAlphaClearsTheDirtyPartToItsColour) {
    auto scene = Embedded(20, 20);
    TsgBrush fill(sgBrushSolid, 0x00FF0000);
    scene->SetFill(&fill);
    Pump();
    EXPECT_EQ(Pixel(scene->Canvas(), 5, 5), 0x00FF0000u);
    scene->SetTransparency(true);
    Pump();
    EXPECT_EQ(Pixel(scene->Canvas(), 5, 5), 0u);
    TsgBrush opaque(sgBrushSolid, 0xFF00FF00);
    scene->SetFill(&opaque);
    Pump();
    EXPECT_EQ(Pixel(scene->Canvas(), 5, 5), 0xFF00FF00u);
}

TEST_F(SceneHost, TopLevelObjectsAndTheRootCoveringTheScene) {
    auto scene = Embedded(120, 80);
    EXPECT_EQ(scene->Count(), 0);
    EXPECT_EQ(scene->Root(), nullptr);
    auto* root = new TsgHostTestRect(nullptr);
    scene->AddObject(root);
    EXPECT_EQ(scene->Root(), root);
    EXPECT_EQ(root->Width(), 120);
    EXPECT_EQ(root->Height(), 80);
    scene->SetBounds(0, 0, 60, 40);
    EXPECT_EQ(root->Width(), 60);
    EXPECT_EQ(scene->Canvas()->Width(), 60);
    root->Scale()->SetPoint({2, 0.5f});
    scene->SetBounds(0, 0, 80, 40);
    EXPECT_EQ(root->Width(), 40) << "the root covers the scene in its own units";
    EXPECT_EQ(root->Height(), 80);
    root->Scale()->SetX(0);
    scene->SetBounds(0, 0, 90, 40);
    EXPECT_EQ(root->Width(), 40) << "a root scaled to nothing keeps its size";
    root->Scale()->SetPoint({1, 1});
    auto* second = new TsgHostTestRect(nullptr);
    scene->AddObject(second);
    EXPECT_EQ(scene->Count(), 2);
    EXPECT_EQ(scene->GetChildrenObject(1), second);
    EXPECT_EQ(scene->GetChildrenObject(2), nullptr);
    scene->SetFocused(second);
    scene->SetCaptured(second);
    delete second; // a top-level object that goes leaves the scene and its references
    EXPECT_EQ(scene->Count(), 1);
    EXPECT_EQ(scene->GetFocused(), nullptr);
    EXPECT_EQ(scene->GetCaptured(), nullptr);
    TsgHostTestRect stranger(nullptr);
    scene->RemoveObject(&stranger);
    EXPECT_EQ(scene->Count(), 1) << "an object that is not top-level changes nothing";
    scene->DeleteChildren();
    EXPECT_EQ(scene->Count(), 0);
    EXPECT_EQ(scene->Root(), nullptr);
}

// Records each OnPaint call and marks the painted object's top left corner.
struct PaintRecorder {
    void OnPaint(TObject* Sender, TsgCanvas* Canvas, const TsgRect& ARect) {
        senders.push_back(Sender);
        rects.push_back(ARect);
        matrices.push_back(Canvas->Matrix());
        Canvas->Fill()->SetStyle(sgBrushSolid);
        Canvas->Fill()->SetSolidColor(0xFF0000FF);
        Canvas->FillRect({0, 0, 2, 2}, 0, 0, AllCorners, 1);
    }
    std::vector<TObject*> senders;
    std::vector<TsgRect> rects;
    std::vector<TsgMatrix> matrices;
};

TEST_F(SceneHost, OnPaintFollowsTheTopLevelObjectsAndTheirChildren) {
    auto scene = Embedded(60, 40);
    auto* root = new TsgHostTestRect(nullptr);
    scene->AddObject(root);
    auto* child = new TsgHostTestRect(root);
    child->SetBounds(10, 5, 20, 20);
    root->AddObject(child);
    PaintRecorder recorder;
    const auto handler = TOnPaintEvent::Bind<&PaintRecorder::OnPaint>(&recorder);
    root->OnPaint = handler;
    child->OnPaint = handler;
    scene->UpdateBuffer();
    // Children paint inside their parent's painting, so the child's OnPaint comes first.
    ASSERT_EQ(recorder.senders, (std::vector<TObject*>{child, root}));
    EXPECT_TRUE(SameRect(recorder.rects[0], {0, 0, 20, 20}));
    EXPECT_TRUE(SameRect(recorder.rects[1], {0, 0, 60, 40}));
    EXPECT_EQ(recorder.matrices[0], child->AbsoluteMatrix());
    EXPECT_EQ(recorder.matrices[1], root->AbsoluteMatrix());
    EXPECT_EQ(Pixel(scene->Canvas(), 10, 5), 0xFF0000FFu); // drawn over the child's own paint
}

TEST_F(SceneHost, UpdatesComeBackOnWhenLoadingFails) {
    auto scene = Embedded(50, 50);
    TStringStream broken(AnsiString("object TsgHostTestRect\n  Width = \nend\n"));
    EXPECT_EQ(scene->LoadObjectFromStream(broken), nullptr);
    EXPECT_FALSE(scene->DisableUpdate());
    {
        TsgUpdateSuppression outer(scene.get());
        { TsgUpdateSuppression inner(scene.get()); }
        EXPECT_TRUE(scene->DisableUpdate()) << "the inner guard leaves the outer suppression";
    }
    EXPECT_FALSE(scene->DisableUpdate());
    try {
        TsgUpdateSuppression suppressed(scene.get());
        throw std::runtime_error("style application failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(scene->DisableUpdate());
    TStringStream good(AnsiString("object TsgHostTestRect\n  Color = 255\nend\n"));
    TsgObject* loaded = scene->LoadObjectFromStream(good);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(scene->Root(), loaded);
    EXPECT_GT(scene->GetUpdateRectsCount(), 0) << "the loaded tree is painted";
}

TEST_F(SceneHost, ATextFormTreeIsLaidOutOverTheScene) {
    auto scene = Embedded(200, 100);
    TStringStream text(AnsiString("object Root: TsgHostTestRect\n"
                                  "  Margins.Rect = '(4,4,4,4)'\n"
                                  "  object Bar: TsgHostTestRect\n"
                                  "    Align = vaTop\n"
                                  "    Height = 20\n"
                                  "  end\n"
                                  "  object Side: TsgHostTestRect\n"
                                  "    Align = vaRight\n"
                                  "    Width = 30\n"
                                  "    Padding.Rect = '(2,2,2,2)'\n"
                                  "  end\n"
                                  "  object Body: TsgHostTestRect\n"
                                  "    Align = vaClient\n"
                                  "  end\n"
                                  "end\n"));
    TsgObject* root = scene->LoadObjectFromStream(text);
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->ChildrenCount(), 3);
    struct Expected {
        float x, y, w, h;
    } expected[] = {{4, 4, 192, 20}, {164, 26, 30, 68}, {4, 24, 158, 72}};
    for (int i = 0; i < 3; ++i) {
        TsgVisualObject* child = root->GetChild(i)->Visual();
        EXPECT_EQ(child->Position()->X(), expected[i].x) << i;
        EXPECT_EQ(child->Position()->Y(), expected[i].y) << i;
        EXPECT_EQ(child->Width(), expected[i].w) << i;
        EXPECT_EQ(child->Height(), expected[i].h) << i;
    }
}

// A form with a scene over its whole client area: a grey root with a red and a blue child.
class SceneWindow : public SceneHost {
protected:
    void SetUp() override {
        SceneHost::SetUp();
        form = std::make_unique<TForm>();
        form->SetBounds(0, 0, 160, 100);
        scene = new TsgRecordingScene(nullptr);
        sceneOwner.reset(scene);
        scene->SetParent(form.get());
        scene->SetBounds(0, 0, 160, 100);
        root = new TsgHostTestRect(nullptr);
        red = Child(0xFFFF0000, 10, 10);
        blue = Child(0xFF0000FF, 100, 50);
        scene->AddObject(root);
        form->Show();
        Pump();
    }
    void TearDown() override {
        sceneOwner.reset();
        form.reset();
        SceneHost::TearDown();
    }
    TsgHostTestRect* Child(TsgColor color, float x, float y) {
        auto* c = new TsgHostTestRect(nullptr);
        c->SetColor(color);
        c->SetBounds(x, y, 30, 20);
        root->AddObject(c);
        return c;
    }
    uint32_t WindowPixel(int x, int y) {
        std::vector<uint32_t> pixels;
        int w = 0, h = 0;
        if (!ReadWindowPixels(scene, pixels, w, h) || x >= w || y >= h)
            return 0;
        return pixels[size_t(y * w + x)];
    }

    std::unique_ptr<TForm> form;
    std::unique_ptr<TsgRecordingScene> sceneOwner;
    TsgRecordingScene* scene = nullptr;
    TsgHostTestRect* root = nullptr;
    TsgHostTestRect* red = nullptr;
    TsgHostTestRect* blue = nullptr;
};

TEST_F(SceneWindow, TheFirstPaintShowsTheWholeTree) {
    ASSERT_FALSE(scene->Draws.empty());
    EXPECT_EQ(WindowPixel(0, 0), 0xFF808080u);
    EXPECT_EQ(WindowPixel(15, 15), 0xFFFF0000u);
    EXPECT_EQ(WindowPixel(110, 60), 0xFF0000FFu);
}

TEST_F(SceneWindow, ChangingOneChildRepaintsOnlyItsRectangle) {
    scene->Draws.clear();
    const int redPaints = red->Paints, bluePaints = blue->Paints;
    red->SetColor(0xFF00FF00);
    std::vector<TRect> pending = GetUpdateRects(scene);
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_EQ(pending[0], (TRect{10, 10, 41, 31}));
    Pump();
    ASSERT_EQ(scene->Draws.size(), 1u);
    ASSERT_EQ(scene->Draws[0].size(), 1u);
    EXPECT_TRUE(SameRect(scene->Draws[0][0], {10, 10, 41, 31}));
    EXPECT_EQ(red->Paints, redPaints + 1);
    EXPECT_EQ(blue->Paints, bluePaints) << "the other child lies outside the dirty part";
    EXPECT_EQ(WindowPixel(15, 15), 0xFF00FF00u);
    EXPECT_EQ(WindowPixel(110, 60), 0xFF0000FFu);
    EXPECT_FALSE(GetUpdateRect(scene, nullptr)) << "the window is validated";
}

TEST_F(SceneWindow, APressedEventChangesAChildAndTheWindowShowsIt) {
    scene->OnPress = [this](int x, int y) {
        if (x >= 100 && y >= 50)
            blue->SetColor(0xFFFFFF00);
    };
    SDL_Window* window = form->PlatformWindow();
    ASSERT_NE(window, nullptr);
    for (Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
        SDL_Event e{};
        e.type = type;
        e.button.windowID = SDL_GetWindowID(window);
        e.button.button = SDL_BUTTON_LEFT;
        e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.button.clicks = 1;
        e.button.x = 110;
        e.button.y = 60;
        SDL_PushEvent(&e);
    }
    Pump();
    EXPECT_EQ(WindowPixel(110, 60), 0xFFFFFF00u);
    EXPECT_EQ(WindowPixel(15, 15), 0xFFFF0000u);
}

TEST_F(SceneWindow, ATransparentFormsChangesGiveOneDrawOfTheWholeBuffer) {
    scene->SetTransparency(true);
    Pump();
    scene->Draws.clear();
    for (int i = 0; i < 10; ++i)
        red->SetColor(0xFF000000u + uint32_t(i));
    EXPECT_GT(PendingPostedMessageCount(), 1);
    Pump();
    EXPECT_EQ(scene->Draws.size(), 1u);
    EXPECT_EQ(PendingPostedMessageCount(), 0);
    EXPECT_EQ(WindowPixel(15, 15), 0xFF000009u);
}

TEST_F(SceneWindow, TheLoadedScenePaintsOnceTheLoopRuns) {
    scene->Draws.clear();
    scene->SetStateFlags(csLoading);
    scene->Loaded();
    Pump();
    EXPECT_TRUE(scene->Draws.empty()) << "the one-shot timer waits a millisecond";
    clock.Advance(1);
    Pump();
    ASSERT_EQ(scene->Draws.size(), 1u);
    EXPECT_TRUE(SameRect(scene->Draws[0][0], {0, 0, 160, 100}));
}

} // namespace
