// Context menus of scene objects: a right press or the context-menu key opens the object's
// PopupMenu at the screen point for that object, and a menu that goes leaves no reference.
#include "scene/core/Sg_scene.h"

#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/MenuWindow.h"
#include "platform/ui/Menus.h"
#include "platform/ui/PointerPosition.h"
#include "platform/ui/SdlVideo.h"
#include "platform/ui/TimerHeap.h"
#include "platform/ui/UiClock.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

class ContextMenuWindow : public testing::Test {
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
        scene->AddObject(root);
        target = new TsgVisualObject(nullptr);
        target->SetBounds(20, 30, 60, 40);
        target->SetCanFocused(true);
        root->AddObject(target);
        menu = std::make_unique<TPopupMenu>(nullptr);
        auto* item = new TMenuItem(menu.get());
        item->SetCaption(u"Only");
        menu->Items()->Add(item);
        form->Show();
        Run();
        id = SDL_GetWindowID(form->PlatformWindow());
        scene->SetFocus();
    }
    void TearDown() override {
        menu.reset();
        scene.reset();
        form.reset();
        Run();
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
    void RightPress(int x, int y) {
        for (bool down : {true, false}) {
            SDL_Event e{};
            e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
            e.button.windowID = id;
            e.button.button = SDL_BUTTON_RIGHT;
            e.button.clicks = 1;
            e.button.x = x;
            e.button.y = y;
            SDL_PushEvent(&e);
        }
        Run();
    }

    TManualClock clock;
    std::unique_ptr<TForm> form;
    std::unique_ptr<TsgScene> scene;
    std::unique_ptr<TPopupMenu> menu;
    TsgVisualObject* root = nullptr;
    TsgVisualObject* target = nullptr;
    Uint32 id = 0;
};

TEST_F(ContextMenuWindow, RightPressOpensTheMenuAtThePointer) {
    // Without a menu nothing opens.
    RightPress(30, 40);
    target->SetPopupMenu(menu.get());
    RightPress(30, 40);
    ASSERT_TRUE(menu->IsOpen());
    EXPECT_EQ(menu->PopupComponent(), target);
    EXPECT_EQ(menu->Levels()[0]->Left(), 130);
    EXPECT_EQ(menu->Levels()[0]->Top(), 120);
    menu->CloseMenu();
    // A right press elsewhere opens nothing.
    RightPress(150, 130);
    EXPECT_FALSE(menu->IsOpen());
}

TEST_F(ContextMenuWindow, ContextMenuKeyOpensAtTheCentre) {
    target->SetPopupMenu(menu.get());
    target->SetFocus();
    for (bool down : {true, false}) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.windowID = id;
        e.key.keysym.sym = SDLK_APPLICATION;
        SDL_PushEvent(&e);
    }
    Run();
    ASSERT_TRUE(menu->IsOpen());
    EXPECT_EQ(menu->Levels()[0]->Left(), 100 + 20 + 30);
    EXPECT_EQ(menu->Levels()[0]->Top(), 80 + 30 + 20);
}

TEST(ContextMenuReference, PublishedAndClearedWhenTheMenuGoes) {
    RegisterSgSceneUnit();
    TComponent owner(nullptr);
    auto* object = new TsgVisualObject(&owner);
    auto* menu = new TPopupMenu(&owner);
    object->SetPopupMenu(menu);
    const TPropInfo* prop = object->ClassInfo().FindProperty("PopupMenu");
    ASSERT_NE(prop, nullptr);
    EXPECT_EQ(prop->GetObject(*object), menu);
    delete menu;
    EXPECT_EQ(object->PopupMenu(), nullptr);
}

} // namespace
