// Drag and drop on the scene: a desktop drop arriving as SDL events (begin, files, complete)
// and an in-process drag of a toolkit object between objects, with Escape cancelling it.
#include "scene/core/Sg_scene.h"

#include "platform/ui/Application.h"
#include "platform/ui/DragManager.h"
#include "platform/ui/Forms.h"
#include "platform/ui/PointerPosition.h"
#include "platform/ui/SdlVideo.h"
#include "platform/ui/TimerHeap.h"
#include "platform/ui/UiClock.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Takes every drag and writes what it hears.
class TDropNode : public TsgVisualObject {
public:
    explicit TDropNode(TComponent* AOwner) : TsgVisualObject(AOwner) {}
    std::vector<std::string>* Log = nullptr;
    bool Takes = true;
    TsgDragObject Last;

    void DragEnter(const TsgDragObject& Data, const TsgPoint& Point) override {
        TsgVisualObject::DragEnter(Data, Point);
        Write("enter");
    }
    void DragOver(const TsgDragObject& Data, const TsgPoint& Point, bool& Accept) override {
        TsgVisualObject::DragOver(Data, Point, Accept);
        Accept = Takes;
    }
    void DragDrop(const TsgDragObject& Data, const TsgPoint& Point) override {
        TsgVisualObject::DragDrop(Data, Point);
        Last = Data;
        Write("drop");
    }
    void DragLeave() override {
        TsgVisualObject::DragLeave();
        Write("leave");
    }

private:
    void Write(const char* what) {
        if (Log)
            Log->push_back(std::string(Name().c_str()) + " " + what);
    }
};

class SceneDragDrop : public testing::Test {
protected:
    void SetUp() override {
        RegisterSgSceneUnit();
        SetUiClock(&clock);
        ASSERT_TRUE(EnsureVideo());
        ResetPointerPosition();
        form = std::make_unique<TForm>();
        form->SetBounds(100, 80, 200, 150);
        scene = std::make_unique<TsgScene>(nullptr);
        scene->SetParent(form.get());
        scene->SetBounds(0, 0, 200, 150);
        root = new TsgVisualObject(nullptr);
        root->SetHitTest(false);
        scene->AddObject(root);
        left = Add("left", 10, 10);
        right = Add("right", 110, 10);
        form->Show();
        Run();
        id = SDL_GetWindowID(form->PlatformWindow());
    }
    void TearDown() override {
        CancelInProcessDrag();
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
    TDropNode* Add(const char* name, float x, float y) {
        auto* node = new TDropNode(nullptr);
        node->SetName(name);
        node->Log = &log;
        node->SetBounds(x, y, 80, 80);
        root->AddObject(node);
        return node;
    }
    void Run() { Application->ProcessMessages(); }
    void Motion(int x, int y) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.windowID = id;
        e.motion.x = x;
        e.motion.y = y;
        SDL_PushEvent(&e);
        Run();
    }
    void Drop(Uint32 type, const std::string& file = std::string()) {
        SDL_Event e{};
        e.type = type;
        e.drop.windowID = id;
        e.drop.file = file.empty() ? nullptr : SDL_strdup(file.c_str());
        SDL_PushEvent(&e);
    }
    void Release(int x, int y) {
        SDL_Event e{};
        e.type = SDL_MOUSEBUTTONUP;
        e.button.windowID = id;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.x = x;
        e.button.y = y;
        SDL_PushEvent(&e);
        Run();
    }
    void Escape() {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.windowID = id;
        e.key.keysym.sym = SDLK_ESCAPE;
        SDL_PushEvent(&e);
        Run();
    }

    TManualClock clock;
    std::unique_ptr<TForm> form;
    std::unique_ptr<TsgScene> scene;
    TsgVisualObject* root = nullptr;
    TDropNode* left = nullptr;
    TDropNode* right = nullptr;
    Uint32 id = 0;
    std::vector<std::string> log;
};

TEST_F(SceneDragDrop, ThreeDesktopFilesArriveWholeOnTheObjectUnderThePointer) {
    const std::string longName = "/tmp/" + std::string(300, 'n') + ".dwx";
    Motion(150, 40);
    Drop(SDL_DROPBEGIN);
    Drop(SDL_DROPFILE, "/tmp/a.dwx");
    Drop(SDL_DROPFILE, "/tmp/b.dwx");
    Drop(SDL_DROPFILE, longName);
    // Nothing is told before the drop completes.
    Run();
    EXPECT_TRUE(log.empty());
    Drop(SDL_DROPCOMPLETE);
    Run();
    EXPECT_EQ(log, (std::vector<std::string>{"right enter", "right drop"}));
    ASSERT_EQ(right->Last.Files.size(), 3u);
    EXPECT_EQ(right->Last.Files[0], UnicodeString(u"/tmp/a.dwx"));
    EXPECT_EQ(right->Last.Files[2].Length(), static_cast<int>(longName.size()));
    EXPECT_EQ(right->Last.Data, UnicodeString(u"/tmp/a.dwx"));
    EXPECT_EQ(right->Last.Source, nullptr);

    // A second drop on the same object enters it again.
    log.clear();
    Drop(SDL_DROPBEGIN);
    Drop(SDL_DROPTEXT, "some text");
    Drop(SDL_DROPCOMPLETE);
    Run();
    EXPECT_EQ(log, (std::vector<std::string>{"right enter", "right drop"}));
    EXPECT_TRUE(right->Last.Files.empty());
    EXPECT_EQ(right->Last.Data, UnicodeString(u"some text"));
}

TEST_F(SceneDragDrop, DropOutsideEveryObjectTellsNobody) {
    Motion(95, 120);
    Drop(SDL_DROPBEGIN);
    Drop(SDL_DROPFILE, "/tmp/a.dwx");
    Drop(SDL_DROPCOMPLETE);
    Run();
    EXPECT_TRUE(log.empty());
}

TEST_F(SceneDragDrop, InProcessDragDropsOnAnotherObjectAndNeverOnItself) {
    Motion(30, 30);
    scene->BeginNativeDrag(left);
    ASSERT_TRUE(InProcessDragging());
    Motion(40, 40); // over itself: refused
    EXPECT_TRUE(log.empty());
    Motion(150, 40);
    Motion(160, 50);
    Release(160, 50);
    EXPECT_FALSE(InProcessDragging());
    EXPECT_EQ(log, (std::vector<std::string>{"right enter", "right drop"}));
    EXPECT_EQ(right->Last.Source, static_cast<TObject*>(left));
}

TEST_F(SceneDragDrop, EscapeCancelsTheDragAndLeavesTheTarget) {
    scene->BeginNativeDrag(left);
    Motion(150, 40);
    Motion(160, 50);
    Escape();
    EXPECT_FALSE(InProcessDragging());
    EXPECT_EQ(log, (std::vector<std::string>{"right enter", "right leave"}));
    // The release that follows drops nothing.
    Release(160, 50);
    EXPECT_EQ(log, (std::vector<std::string>{"right enter", "right leave"}));
}

} // namespace
