// A tree view and a scroll box in a real (offscreen) form, driven by pushed SDL events as a user
// drives them: a click selects a row and takes the focus, arrows and letters move the
// selection, the expander closes a branch, the check box reports to its item, and the wheel
// scrolls the box by three small changes per notch.
#include "ScrollStyles.h"

#include "scene/controls/Sg_treeview.h"
#include "scene/core/Sg_scene.h"

#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/PointerPosition.h"
#include "platform/ui/SdlVideo.h"
#include "platform/ui/TimerHeap.h"
#include "platform/ui/UiClock.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

void RegisterSgObjectsUnit();

namespace {

std::unique_ptr<TsgObject> MakeItemStyle() {
    auto* root = new TsgRectangle(nullptr);
    root->SetResourceName(u"windowtreeitemstyle");
    root->SetBounds(0, 0, 120, 19);
    root->SetHitTest(false);
    root->Fill()->SetStyle(sgBrushNone);
    root->Stroke()->SetStyle(sgBrushNone);
    auto* button = new TsgExpanderButton(nullptr);
    button->SetResourceName(u"button");
    button->SetAlign(vaLeft);
    button->SetBounds(0, 0, 16, 19);
    root->AddObject(button);
    auto* check = new TsgCheckBox(nullptr);
    check->SetResourceName(u"check");
    check->SetAlign(vaLeft);
    check->SetBounds(0, 0, 18, 19);
    root->AddObject(check);
    return std::unique_ptr<TsgObject>(root);
}

class TreeViewWindow : public testing::Test {
protected:
    void SetUp() override {
        RegisterSgSceneUnit();
        RegisterSgObjectsUnit();
        RegisterSgTreeViewUnit();
        RegisterScrollTestUnits();
        SetUiClock(&clock);
        ASSERT_TRUE(EnsureVideo());
        ResetPointerPosition();
        treeStyle = MakeScrollStyle(u"windowtreestyle", true);
        boxStyle = MakeScrollStyle(u"windowboxstyle");
        itemStyle = MakeItemStyle();
        form = std::make_unique<TForm>();
        form->SetBounds(100, 80, 400, 200);
        scene = std::make_unique<TsgScene>(nullptr);
        scene->SetParent(form.get());
        scene->SetBounds(0, 0, 400, 200);
        tree = new TsgTreeView(nullptr);
        tree->SetResource(u"windowtreestyle");
        tree->SetAnimated(false);
        tree->SetShowCheckboxes(true);
        scene->AddObject(tree);
        tree->SetBounds(0, 0, 200, 150);
        for (const char* text : {"bar", "baz", "foo"})
            Item(text, nullptr);
        Item("child", tree->ItemByIndex(2));
        box = new TsgScrollBox(nullptr);
        box->SetResource(u"windowboxstyle");
        box->SetAnimated(false);
        scene->AddObject(box);
        box->SetBounds(250, 0, 100, 100);
        box->ApplyResource();
        auto* tall = new TsgRectangle(nullptr);
        tall->SetBounds(0, 0, 50, 500);
        box->AddObject(tall);
        form->Show();
        Run();
        id = SDL_GetWindowID(form->PlatformWindow());
        scene->SetFocus();
    }
    void TearDown() override {
        scene.reset();
        form.reset();
        Application->Reset();
        TTimerHeap::Instance().Reset();
        ResetPointerPosition();
        SetUiClock(nullptr);
    }
    TsgTreeViewItem* Item(const char* text, TsgTreeViewItem* parent) {
        auto* item = new TsgTreeViewItem(nullptr);
        item->SetText(UnicodeString(text));
        if (parent)
            parent->AddObject(item);
        else
            tree->AddObject(item);
        item->SetResource(u"windowtreeitemstyle");
        return item;
    }
    void Run() { Application->ProcessMessages(); }
    void Push(SDL_Event e) { SDL_PushEvent(&e); }
    void Click(int x, int y) {
        SDL_Event m{};
        m.type = SDL_MOUSEMOTION;
        m.motion.windowID = id;
        m.motion.x = x;
        m.motion.y = y;
        Push(m);
        for (bool down : {true, false}) {
            SDL_Event e{};
            e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
            e.button.windowID = id;
            e.button.button = SDL_BUTTON_LEFT;
            e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
            e.button.clicks = 1;
            e.button.x = x;
            e.button.y = y;
            Push(e);
        }
        Run();
    }
    void Key(SDL_Keycode key) {
        for (bool down : {true, false}) {
            SDL_Event e{};
            e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
            e.key.windowID = id;
            e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
            e.key.keysym.sym = key;
            Push(e);
        }
        Run();
    }
    void Text(const char* utf8) {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        e.text.windowID = id;
        std::snprintf(e.text.text, sizeof e.text.text, "%s", utf8);
        Push(e);
        Run();
    }
    void Wheel(int x, int y, int notches) {
        SDL_Event m{};
        m.type = SDL_MOUSEMOTION;
        m.motion.windowID = id;
        m.motion.x = x;
        m.motion.y = y;
        Push(m);
        SDL_Event e{};
        e.type = SDL_MOUSEWHEEL;
        e.wheel.windowID = id;
        e.wheel.y = notches;
        e.wheel.mouseX = x;
        e.wheel.mouseY = y;
        Push(e);
        Run();
    }
    std::string Selected() {
        return tree->Selected() ? AnsiString(tree->Selected()->Text()).c_str() : "-";
    }

    TManualClock clock;
    std::unique_ptr<TsgObject> treeStyle, boxStyle, itemStyle;
    std::unique_ptr<TForm> form;
    std::unique_ptr<TsgScene> scene;
    TsgTreeView* tree = nullptr;
    TsgScrollBox* box = nullptr;
    Uint32 id = 0;
};

TEST_F(TreeViewWindow, MouseAndKeysDriveTheTreeAndTheWheelScrollsTheBox) {
    // Two notches down over the box: 2 x 3 x (100 / 5).
    Wheel(280, 50, -2);
    ASSERT_NE(box->VScrollBar(), nullptr);
    EXPECT_FLOAT_EQ(box->VScrollBar()->Value(), 120);
    EXPECT_FLOAT_EQ(box->Content()->Position()->Y(), -120);

    // Rows at 1 + 0, 19, 38 inside the content's one-unit inset.
    Click(100, 25);
    EXPECT_EQ(Selected(), "baz");
    EXPECT_EQ(scene->GetFocused(), tree);
    Key(SDLK_DOWN);
    EXPECT_EQ(Selected(), "foo");
    Key(SDLK_RIGHT);
    TsgTreeViewItem* foo = tree->ItemByIndex(2);
    EXPECT_TRUE(foo->IsExpanded());
    Key(SDLK_DOWN);
    EXPECT_EQ(Selected(), "child");
    Text("b");
    EXPECT_EQ(Selected(), "bar");
    Text("b");
    EXPECT_EQ(Selected(), "baz");
    clock.Advance(1000);
    Run();
    EXPECT_TRUE(tree->KeySearch().IsEmpty());

    // The expander of foo (its first 16 units) closes the branch and selects foo.
    Click(8, 1 + 38 + 9);
    EXPECT_FALSE(foo->IsExpanded());
    EXPECT_EQ(Selected(), "foo");
    EXPECT_EQ(tree->GlobalCount(), 3);

    // The check box sits after the expander; what it reports comes back to the item.
    TsgTreeViewItem* bar = tree->ItemByIndex(0);
    ASSERT_NE(bar->Check(), nullptr);
    EXPECT_TRUE(bar->Check()->Visible());
    bar->Check()->SetIsChecked(true);
    EXPECT_TRUE(bar->IsChecked());
    EXPECT_EQ(Selected(), "bar");
}

TEST_F(TreeViewWindow, ClickingACheckBoxChecksItsItem) {
    // A row without children hides its expander, so its check box starts the row; a row with
    // children shows the check box after the expander.
    TsgTreeViewItem* baz = tree->ItemByIndex(1);
    TsgTreeViewItem* foo = tree->ItemByIndex(2);
    ASSERT_NE(baz->Check(), nullptr);
    ASSERT_NE(foo->Check(), nullptr);
    const TsgPoint bazRow = baz->LocalToAbsolute({0, 0});
    const TsgPoint bazCheck = baz->Check()->LocalToAbsolute({0, 0});
    EXPECT_FLOAT_EQ(bazCheck.X, bazRow.X);
    EXPECT_FLOAT_EQ(bazCheck.Y, bazRow.Y);
    EXPECT_FLOAT_EQ(foo->Check()->LocalToAbsolute({0, 0}).X, foo->LocalToAbsolute({0, 0}).X + 16);

    const int x = static_cast<int>(bazCheck.X) + 9;
    const int y = static_cast<int>(bazCheck.Y) + 9;
    Click(x, y);
    EXPECT_TRUE(baz->IsChecked());
    EXPECT_TRUE(baz->Check()->IsChecked());
    EXPECT_FALSE(tree->ItemByIndex(0)->IsChecked());
    EXPECT_EQ(Selected(), "baz");
    Click(x, y);
    EXPECT_FALSE(baz->IsChecked());

    const TsgPoint fooCheck = foo->Check()->LocalToAbsolute({0, 0});
    Click(static_cast<int>(fooCheck.X) + 9, static_cast<int>(fooCheck.Y) + 9);
    EXPECT_TRUE(foo->IsChecked());
    EXPECT_FALSE(foo->IsExpanded());

    // A click on the text beside the box selects the row and leaves its check alone.
    Click(100, static_cast<int>(tree->ItemByIndex(0)->LocalToAbsolute({0, 0}).Y) + 9);
    EXPECT_EQ(Selected(), "bar");
    EXPECT_FALSE(tree->ItemByIndex(0)->IsChecked());
}

} // namespace
