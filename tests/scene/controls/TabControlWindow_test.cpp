// A tab control of three pages in a real (offscreen) form, driven by pushed SDL events: a left
// click on a header shows its page, other buttons do not, Enter on the default button steps to
// the next page the way the installer's wizard does, and a hidden header gives up its number.
#include "ScrollStyles.h"

#include "scene/controls/Sg_controls_buttons.h"
#include "scene/controls/Sg_layout.h"
#include "scene/controls/Sg_tabcontrol.h"
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
#include <vector>

void RegisterSgObjectsUnit();
void RegisterSgLayoutsUnit();

namespace {

std::unique_ptr<TsgObject> MakeTabStyle() {
    auto* root = new TsgRectangle(nullptr);
    root->SetResourceName(u"windowtabstyle");
    root->SetBounds(0, 0, 200, 200);
    root->SetHitTest(false);
    auto* background = new TsgRectangle(nullptr);
    background->SetResourceName(u"background");
    background->SetAlign(vaClient);
    background->SetHitTest(false);
    background->Margins()->SetLeft(5);
    background->Margins()->SetRight(5);
    root->AddObject(background);
    return std::unique_ptr<TsgObject>(root);
}

std::unique_ptr<TsgObject> MakeTabItemStyle() {
    auto* root = new TsgRectangle(nullptr);
    root->SetResourceName(u"windowtabitemstyle");
    root->SetBounds(0, 0, 80, 20);
    root->SetHitTest(false);
    auto* text = new TsgText(nullptr);
    text->SetResourceName(u"text");
    text->SetAlign(vaClient);
    text->SetHitTest(false);
    root->AddObject(text);
    return std::unique_ptr<TsgObject>(root);
}

class TabControlWindow : public testing::Test {
protected:
    void SetUp() override {
        RegisterSgSceneUnit();
        RegisterSgObjectsUnit();
        RegisterSgLayoutsUnit();
        RegisterScrollTestUnits();
        RegisterSgTabControlUnit();
        SetUiClock(&clock);
        ASSERT_TRUE(EnsureVideo());
        ResetPointerPosition();
        tabStyle = MakeTabStyle();
        itemStyle = MakeTabItemStyle();
        form = std::make_unique<TForm>();
        form->SetBounds(100, 80, 400, 260);
        scene = std::make_unique<TsgScene>(nullptr);
        scene->SetParent(form.get());
        scene->SetBounds(0, 0, 400, 260);
        // The scene's first object fills it; the controls sit on it.
        auto* root = new TsgLayout(nullptr);
        scene->AddObject(root);
        tabs = new TsgTabControl(nullptr);
        tabs->SetResource(u"windowtabstyle");
        root->AddObject(tabs);
        tabs->SetBounds(0, 0, 300, 200);
        for (int i = 0; i < 3; ++i) {
            auto* item = new TsgTabItem(nullptr);
            item->SetResource(u"windowtabitemstyle");
            item->SetText(UnicodeString(u"Page"));
            auto* page = new TsgLayout(nullptr);
            tabs->AddObject(page);
            item->SetLayout(page);
            tabs->AddObject(item);
            items.push_back(item);
            pages.push_back(page);
        }
        tabs->SetItemIndex(0);
        tabs->OnChange = TNotifyEvent::Bind<&TabControlWindow::Changed>(this);
        next = new TsgButton(nullptr);
        next->SetResource(u"windowtabitemstyle");
        next->SetDefault(true);
        next->OnClick = TNotifyEvent::Bind<&TabControlWindow::NextPage>(this);
        root->AddObject(next);
        next->SetBounds(300, 220, 80, 24);
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
    void Changed(TObject*) { ++changes; }
    void NextPage(TObject*) { tabs->SetItemIndex(tabs->ItemIndex() + 1); }
    void Run() { Application->ProcessMessages(); }
    void Push(SDL_Event e) { SDL_PushEvent(&e); }
    void Click(int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
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
            e.button.button = button;
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
    // The index of the one visible page, -1 when none or several are visible.
    int ShownPage() const {
        int shown = -1;
        for (size_t i = 0; i < pages.size(); ++i)
            if (pages[i]->Visible()) {
                if (shown >= 0)
                    return -1;
                shown = static_cast<int>(i);
            }
        return shown;
    }

    TManualClock clock;
    std::unique_ptr<TsgObject> tabStyle, itemStyle;
    std::unique_ptr<TForm> form;
    std::unique_ptr<TsgScene> scene;
    TsgTabControl* tabs = nullptr;
    TsgButton* next = nullptr;
    std::vector<TsgTabItem*> items;
    std::vector<TsgLayout*> pages;
    int changes = 0;
    Uint32 id = 0;
};

TEST_F(TabControlWindow, HeadersAndPagesAreLaidOutBelowTheStrip) {
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(items[i]->Index(), i);
        EXPECT_FLOAT_EQ(items[i]->Position()->X(), 80.0f * i);
        EXPECT_FLOAT_EQ(items[i]->Height(), 20);
    }
    EXPECT_EQ(ShownPage(), 0);
    EXPECT_TRUE(items[0]->IsSelected());
    EXPECT_FLOAT_EQ(pages[0]->Position()->Y(), 20);
    EXPECT_FLOAT_EQ(pages[0]->Height(), 180);
    EXPECT_FLOAT_EQ(pages[0]->Width(), 300);
    ASSERT_NE(tabs->StyleClone(), nullptr);
    EXPECT_NE(tabs->Background(), nullptr);
    auto* style = tabs->StyleClone()->Visual();
    EXPECT_FLOAT_EQ(style->Position()->Y(), 20);
    EXPECT_FLOAT_EQ(style->Height(), 180);
    ASSERT_NE(items[1]->TextPart(), nullptr);
    EXPECT_EQ(items[1]->TextPart()->Text(), UnicodeString(u"Page"));
}

TEST_F(TabControlWindow, LeftClickOnAHeaderShowsItsPageOtherButtonsDoNot) {
    Click(170, 10);
    EXPECT_EQ(tabs->ItemIndex(), 2);
    EXPECT_EQ(ShownPage(), 2);
    EXPECT_TRUE(items[2]->IsSelected());
    EXPECT_FALSE(items[0]->IsSelected());
    EXPECT_EQ(changes, 1);
    // The same header again changes nothing and reports nothing.
    Click(170, 10);
    EXPECT_EQ(changes, 1);
    for (Uint8 button : {Uint8(SDL_BUTTON_RIGHT), Uint8(SDL_BUTTON_MIDDLE)}) {
        Click(90, 10, button);
        EXPECT_EQ(tabs->ItemIndex(), 2) << int(button);
    }
    Click(10, 10);
    EXPECT_EQ(ShownPage(), 0);
    EXPECT_EQ(changes, 2);
}

TEST_F(TabControlWindow, KeysMoveThePagesOnlyThroughTheDefaultButton) {
    // The control has no keys of its own: arrows over it leave the page alone.
    Click(10, 10);
    Key(SDLK_RIGHT);
    EXPECT_EQ(tabs->ItemIndex(), 0);
    Key(SDLK_RETURN);
    EXPECT_EQ(tabs->ItemIndex(), 1);
    EXPECT_EQ(ShownPage(), 1);
    Key(SDLK_RETURN);
    EXPECT_EQ(ShownPage(), 2);
    EXPECT_TRUE(items[2]->IsSelected());
    EXPECT_FALSE(items[1]->IsSelected());
}

TEST_F(TabControlWindow, AHiddenHeaderAnswersMinusOneAndItsPageGoes) {
    tabs->SetItemIndex(1);
    items[1]->SetVisible(false);
    tabs->Realign();
    EXPECT_EQ(items[0]->Index(), 0);
    EXPECT_EQ(items[1]->Index(), -1);
    EXPECT_EQ(items[2]->Index(), 1);
    // Index 1 now belongs to the third header; the hidden one no longer answers to it.
    EXPECT_EQ(tabs->TabItem(1), items[2]);
    EXPECT_EQ(tabs->TabItem(-1), nullptr);
    EXPECT_EQ(ShownPage(), 2);
    EXPECT_FLOAT_EQ(items[2]->Position()->X(), 80);
    // Clicking where the hidden header was reaches the one that moved in.
    Click(10, 10);
    Click(90, 10);
    EXPECT_EQ(tabs->ItemIndex(), 1);
    EXPECT_EQ(ShownPage(), 2);
    Run();
}

TEST_F(TabControlWindow, MinusOneHidesEveryPageAndSelectsNoHeader) {
    tabs->SetItemIndex(-1);
    EXPECT_EQ(ShownPage(), -1);
    for (TsgLayout* page : pages)
        EXPECT_FALSE(page->Visible());
    for (TsgTabItem* item : items)
        EXPECT_FALSE(item->IsSelected());
    tabs->Repaint();
    Run();
}

struct StripCase {
    float heights[3];
    float itemHeight;
    bool fullSize;
    float expectHeader;
    float expectWidth;
};

TEST_F(TabControlWindow, HeaderHeightAndFullSizeWidths) {
    const StripCase cases[] = {
        {{20, 24, 20}, 0, false, 24, 80},
        {{20, 24, 20}, 30, false, 30, 80},
        // 300 less the background's margins of 5 and 5, shared by three.
        {{20, 20, 20}, 0, true, 20, 290.0f / 3},
    };
    for (const StripCase& c : cases) {
        for (int i = 0; i < 3; ++i)
            items[i]->SetHeight(c.heights[i]);
        tabs->SetItemHeight(c.itemHeight);
        tabs->SetFullSize(c.fullSize);
        tabs->Realign();
        for (int i = 0; i < 3; ++i) {
            EXPECT_FLOAT_EQ(items[i]->Height(), c.expectHeader) << i;
            EXPECT_FLOAT_EQ(items[i]->Width(), c.expectWidth) << i;
            EXPECT_FLOAT_EQ(items[i]->Position()->X(), c.expectWidth * i) << i;
        }
        ASSERT_NE(tabs->StyleClone(), nullptr);
        EXPECT_FLOAT_EQ(tabs->StyleClone()->Visual()->Position()->Y(), c.expectHeader);
    }
}

TEST_F(TabControlWindow, FreeingAPageLeavesItsHeaderWithoutOne) {
    delete pages[1];
    pages.erase(pages.begin() + 1);
    EXPECT_EQ(items[1]->Layout(), nullptr);
    tabs->SetItemIndex(1);
    EXPECT_FALSE(pages[0]->Visible());
    EXPECT_FALSE(pages[1]->Visible());
    tabs->Repaint();
    Run();
}

} // namespace
