// Popup menus: where they open, how the pointer and the keys move through them, that a chosen
// item runs once from the loop after the menu has closed, and what closes a menu without running
// anything.
#include "platform/classes/ObjectText.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/ui/Activation.h"
#include "platform/ui/Cursors.h"
#include "platform/ui/MenuWindow.h"
#include "platform/ui/Menus.h"
#include "platform/ui/PointerPosition.h"
#include "platform/ui/SdlVideo.h"

#include "UiTestSupport.h"

#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

namespace {

TEST(MenuPlacement, StaysOnTheScreen) {
    const TRect screen{0, 0, 1000, 700};
    struct Case {
        TPoint at, size, expected;
    } cases[] = {
        {{100, 100}, {120, 80}, {100, 100}}, // room everywhere
        {{950, 100}, {120, 80}, {830, 100}}, // right edge: left of the point
        {{100, 650}, {120, 80}, {100, 570}}, // bottom edge: above the point
        {{950, 650}, {120, 80}, {830, 570}}, // the corner
        {{880, 620}, {120, 80}, {880, 620}}, // touching both edges still fits
        {{50, 100}, {120, 900}, {50, 0}},    // taller than the screen: from its top
        {{-30, -20}, {120, 80}, {0, 0}},     // left of and above the screen
        {{60, 100}, {1200, 80}, {0, 100}},   // wider than the screen: from its left
    };
    for (const Case& c : cases) {
        const TPoint p = MenuPlacement(c.at, c.size, screen);
        EXPECT_EQ(p.X, c.expected.X) << c.at.X << "," << c.at.Y;
        EXPECT_EQ(p.Y, c.expected.Y) << c.at.X << "," << c.at.Y;
    }
}

TEST(MenuPlacement, SubmenuBesideItsRow) {
    const TRect screen{0, 0, 1000, 700};
    // Right of the row, its top with the row's top.
    EXPECT_EQ(SubmenuPlacement({100, 200, 250, 222}, {150, 100}, screen), (TPoint{250, 200}));
    // No room on the right: left of the row.
    EXPECT_EQ(SubmenuPlacement({800, 200, 950, 222}, {150, 100}, screen), (TPoint{650, 200}));
    // No room below: pushed up to end at the bottom edge.
    EXPECT_EQ(SubmenuPlacement({100, 650, 250, 672}, {150, 100}, screen), (TPoint{250, 600}));
}

TEST(MenuText, HotkeyMarkersGo) {
    EXPECT_EQ(StripHotkey(u"&File"), UnicodeString(u"File"));
    EXPECT_EQ(StripHotkey(u"Save && E&xit"), UnicodeString(u"Save & Exit"));
    EXPECT_EQ(StripHotkey(u"-"), UnicodeString(u"-"));
}

TEST(MenuItems, TreeRadioGroupsAndAutoCheck) {
    TPopupMenu menu(nullptr);
    auto* a = new TMenuItem(&menu);
    auto* b = new TMenuItem(&menu);
    auto* c = new TMenuItem(&menu);
    auto* other = new TMenuItem(&menu);
    for (TMenuItem* item : {a, b, c, other}) {
        item->SetRadioItem(true);
        item->SetAutoCheck(true);
        menu.Items()->Add(item);
    }
    other->SetGroupIndex(1);
    other->SetChecked(true);
    a->SetChecked(true);
    b->Click();
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(other->Checked()) << "another group stays";
    // A toggling radio item clicked again unchecks itself.
    b->Click();
    EXPECT_FALSE(b->Checked());

    EXPECT_EQ(menu.Items()->Count(), 4);
    EXPECT_EQ(b->GetParentMenu(), &menu);
    EXPECT_THROW(menu.Items()->Add(b), EMenuError);
    EXPECT_THROW(menu.Items()->Items(4), EListError);
    menu.Items()->Remove(b);
    EXPECT_EQ(b->Parent(), nullptr);
    EXPECT_EQ(menu.Items()->IndexOf(c), 1);
    menu.Items()->Insert(0, b);
    EXPECT_EQ(menu.Items()->Items(0), b);
    delete c;
    EXPECT_EQ(menu.Items()->Count(), 3);
    EXPECT_THROW(b->Add(menu.Items()), EMenuError);
    menu.Items()->Clear();
    EXPECT_EQ(menu.Items()->Count(), 0);
    EXPECT_EQ(menu.ComponentCount(), 0);
}

TEST(MenuItems, PopupComponentIsClearedWhenItGoes) {
    TPopupMenu menu(nullptr);
    auto* target = new TComponent(nullptr);
    menu.SetPopupComponent(target);
    EXPECT_EQ(menu.PopupComponent(), target);
    delete target;
    EXPECT_EQ(menu.PopupComponent(), nullptr);
}

// A form owning a menu, in a text-form stream.
class MenuHost : public TComponent {
    DBI_PERSISTENT(MenuHost, TComponent)
    using TComponent::TComponent;
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override {
        for (int i = 0; i < ComponentCount(); ++i)
            if (!Components(i)->HasParent())
                proc(Components(i));
        (void)root;
    }
};

} // namespace

DBI_PUBLISH(MenuHost) {}

namespace {

TEST(MenuItems, StreamRoundTripKeepsTheTree) {
    MenuHost host(nullptr);
    host.SetName("Host");
    auto* menu = new TPopupMenu(&host);
    menu->SetName("Menu1");
    auto* open = new TMenuItem(&host);
    open->SetName("Open1");
    open->SetCaption(u"&Open");
    menu->Items()->Add(open);
    auto* recent = new TMenuItem(&host);
    recent->SetName("Recent1");
    recent->SetCaption(u"Recent");
    menu->Items()->Add(recent);
    auto* first = new TMenuItem(&host);
    first->SetName("First1");
    first->SetCaption(u"first");
    first->SetChecked(true);
    first->SetEnabled(false);
    first->SetTag(7);
    recent->Add(first);

    TBytesStream binary;
    TWriter(binary).WriteRootComponent(&host);
    binary.SetPosition(0);
    TStringStream text;
    ObjectBinaryToText(binary, text);
    EXPECT_NE(text.DataString().str().find("object First1: TMenuItem"), std::string::npos)
        << text.DataString().str();
    binary.SetPosition(0);
    TReader reader(binary);
    MenuHost copy(nullptr);
    reader.ReadRootComponent(&copy);
    auto* menu2 = dynamic_cast<TPopupMenu*>(copy.FindComponent("Menu1"));
    ASSERT_NE(menu2, nullptr);
    ASSERT_EQ(menu2->Items()->Count(), 2);
    EXPECT_EQ(menu2->Items()->Items(0)->Caption(), UnicodeString(u"&Open"));
    TMenuItem* recent2 = menu2->Items()->Items(1);
    ASSERT_EQ(recent2->Count(), 1);
    EXPECT_TRUE(recent2->Items(0)->Checked());
    EXPECT_FALSE(recent2->Items(0)->Enabled());
    EXPECT_EQ(recent2->Items(0)->Tag(), 7);
}

// Counts clicks per item caption.
struct ClickLog {
    std::vector<std::string> clicks;
    void Clicked(TObject* sender) {
        clicks.push_back(static_cast<TMenuItem*>(sender)->Caption().ToUtf8());
    }
};

class MenuWindowTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        ASSERT_TRUE(EnsureVideo());
        ResetPointerPosition();
        form = std::make_unique<TForm>();
        form->SetBounds(100, 100, 300, 200);
        form->Show();
        Run();
        ActivateLogically(form.get());
        menu = std::make_unique<TPopupMenu>(nullptr);
        for (const char16_t* caption : {u"Cut", u"Copy", u"-", u"Paste", u"More", u"Off"})
            Add(menu->Items(), caption);
        Item(u"Off")->SetEnabled(false);
        for (const char16_t* caption : {u"Left", u"Right"})
            Add(Item(u"More"), caption);
    }
    void TearDown() override {
        menu.reset();
        form.reset();
        Run();
        ResetPointerPosition();
        UiTest::TearDown();
    }
    TMenuItem* Add(TMenuItem* parent, const char16_t* caption) {
        auto* item = new TMenuItem(menu.get());
        item->SetCaption(caption);
        item->OnClick = TNotifyEvent::Bind<&ClickLog::Clicked>(&log);
        parent->Add(item);
        return item;
    }
    TMenuItem* Item(const char16_t* caption) {
        std::vector<TMenuItem*> todo{menu->Items()};
        while (!todo.empty()) {
            TMenuItem* item = todo.back();
            todo.pop_back();
            if (item->Caption() == UnicodeString(caption))
                return item;
            for (int i = 0; i < item->Count(); ++i)
                todo.push_back(item->Items(i));
        }
        return nullptr;
    }
    static void Run() { Application->ProcessMessages(); }
    static Uint32 Id(TForm* f) { return SDL_GetWindowID(f->PlatformWindow()); }
    TMenuWindow* Level(size_t i) { return i < menu->Levels().size() ? menu->Levels()[i] : nullptr; }
    // The centre of a row of a level, in that window's coordinates.
    static TPoint RowCentre(TMenuWindow* w, int row) {
        TRect r = w->RowRect(row);
        return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    static void Move(TForm* f, TPoint p) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.windowID = Id(f);
        e.motion.x = p.X;
        e.motion.y = p.Y;
        SDL_PushEvent(&e);
        Run();
    }
    static void Press(TForm* f, TPoint p, bool down, Uint8 button = SDL_BUTTON_LEFT) {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.windowID = Id(f);
        e.button.button = button;
        e.button.clicks = 1;
        e.button.x = p.X;
        e.button.y = p.Y;
        SDL_PushEvent(&e);
        Run();
    }
    static void ClickAt(TForm* f, TPoint p) {
        Move(f, p);
        Press(f, p, true);
        Press(f, p, false);
    }
    // Keys go to the owner's window, as the system delivers them.
    void Key(SDL_Keycode sym) {
        for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
            SDL_Event e{};
            e.type = type;
            e.key.windowID = Id(form.get());
            e.key.keysym.sym = sym;
            SDL_PushEvent(&e);
        }
        Run();
    }

    std::unique_ptr<TForm> form;
    std::unique_ptr<TPopupMenu> menu;
    ClickLog log;
};

TEST_F(MenuWindowTest, OpensAtThePointAndKeepsOnTheScreen) {
    int popups = 0;
    struct Counter {
        int* n;
        void Popped(TObject*) { ++*n; }
    } counter{&popups};
    menu->OnPopup = TNotifyEvent::Bind<&Counter::Popped>(&counter);
    menu->Popup(150, 160);
    ASSERT_TRUE(menu->IsOpen());
    TMenuWindow* w = Level(0);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(w->Left(), 150);
    EXPECT_EQ(w->Top(), 160);
    EXPECT_TRUE(w->Visible());
    EXPECT_TRUE(w->PopupWindow());
    EXPECT_EQ(w->Rows().size(), 6u);
    EXPECT_EQ(w->Height(), 2 + 5 * TMenuWindow::ItemHeight + TMenuWindow::LineHeight);
    EXPECT_EQ(form->KeyForm(), w) << "the owner hands its keys to the menu";
    EXPECT_EQ(LogicalActiveForm(), w);

    // Near the bottom-right corner of the screen it opens up and to the left of the point.
    const int right = Screen->Width(), bottom = Screen->Height();
    menu->Popup(right - 5, bottom - 5);
    w = Level(0);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Left(), right - 5 - w->Width());
    EXPECT_EQ(w->Top(), bottom - 5 - w->Height());
    menu->CloseMenu();
    EXPECT_FALSE(menu->IsOpen());
    EXPECT_EQ(form->KeyForm(), nullptr);
    EXPECT_EQ(LogicalActiveForm(), form.get());
}

TEST_F(MenuWindowTest, HiddenItemsAreNotShownAndAnEmptyMenuDoesNotOpen) {
    Item(u"Cut")->SetVisible(false);
    menu->Popup(150, 160);
    ASSERT_TRUE(menu->IsOpen());
    EXPECT_EQ(Level(0)->Rows().front(), Item(u"Copy"));
    menu->CloseMenu();
    TPopupMenu empty(nullptr);
    empty.Popup(10, 10);
    EXPECT_FALSE(empty.IsOpen());
}

TEST_F(MenuWindowTest, HoverHighlightsAndAClickRunsTheItemOnceAfterClosing) {
    menu->Popup(150, 160);
    TMenuWindow* w = Level(0);
    Move(w, RowCentre(w, 1));
    EXPECT_EQ(w->HotIndex(), 1);
    // The separator takes no highlight.
    Move(w, RowCentre(w, 2));
    EXPECT_EQ(w->HotIndex(), -1);

    Move(w, RowCentre(w, 3));
    Press(w, RowCentre(w, 3), true);
    EXPECT_TRUE(log.clicks.empty());
    Press(w, RowCentre(w, 3), false);
    EXPECT_FALSE(menu->IsOpen());
    EXPECT_EQ(log.clicks, (std::vector<std::string>{"Paste"}));
    Run();
    EXPECT_EQ(log.clicks.size(), 1u);
}

TEST_F(MenuWindowTest, DisabledItemsAndSeparatorsDoNothing) {
    menu->Popup(150, 160);
    TMenuWindow* w = Level(0);
    ClickAt(w, RowCentre(w, 5));
    ClickAt(w, RowCentre(w, 2));
    EXPECT_TRUE(menu->IsOpen());
    EXPECT_TRUE(log.clicks.empty());
}

TEST_F(MenuWindowTest, SubmenuOpensOnHoverAndItsItemsRun) {
    menu->Popup(150, 160);
    TMenuWindow* w = Level(0);
    Move(w, RowCentre(w, 4));
    TMenuWindow* sub = Level(1);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->ParentItem(), Item(u"More"));
    EXPECT_EQ(sub->Left(), w->Left() + w->RowRect(4).Right);
    EXPECT_EQ(w->KeyForm(), sub);
    // Back on a plain row of the first level the submenu closes.
    Move(w, RowCentre(w, 0));
    EXPECT_EQ(Level(1), nullptr);
    Move(w, RowCentre(w, 4));
    sub = Level(1);
    ASSERT_NE(sub, nullptr);
    // A press in the submenu keeps the menu open; its release chooses.
    ClickAt(sub, RowCentre(sub, 1));
    EXPECT_FALSE(menu->IsOpen());
    EXPECT_EQ(log.clicks, (std::vector<std::string>{"Right"}));
}

TEST_F(MenuWindowTest, KeysMoveThroughLevelsAndChoose) {
    menu->Popup(150, 160);
    TMenuWindow* w = Level(0);
    Key(SDLK_DOWN);
    EXPECT_EQ(w->HotIndex(), 0);
    Key(SDLK_DOWN);
    Key(SDLK_DOWN);
    EXPECT_EQ(w->HotIndex(), 3) << "the separator is skipped";
    Key(SDLK_UP);
    EXPECT_EQ(w->HotIndex(), 1);
    Key(SDLK_UP);
    Key(SDLK_UP);
    EXPECT_EQ(w->HotIndex(), 5) << "Up wraps to the last row";
    Key(SDLK_UP);
    EXPECT_EQ(w->HotIndex(), 4);
    Key(SDLK_RIGHT);
    TMenuWindow* sub = Level(1);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->HotIndex(), 0);
    Key(SDLK_LEFT);
    EXPECT_EQ(Level(1), nullptr);
    EXPECT_TRUE(menu->IsOpen());
    Key(SDLK_RETURN);
    sub = Level(1);
    ASSERT_NE(sub, nullptr);
    Key(SDLK_DOWN);
    // Escape closes one level at a time.
    Key(SDLK_ESCAPE);
    EXPECT_EQ(Level(1), nullptr);
    Key(SDLK_RIGHT);
    Key(SDLK_DOWN);
    Key(SDLK_RETURN);
    EXPECT_FALSE(menu->IsOpen());
    EXPECT_EQ(log.clicks, (std::vector<std::string>{"Right"}));
    EXPECT_EQ(form->KeyForm(), nullptr);
}

TEST_F(MenuWindowTest, EnterOnADisabledItemAndEscapeRunNothing) {
    menu->Popup(150, 160);
    TMenuWindow* w = Level(0);
    Key(SDLK_UP);
    ASSERT_EQ(w->HotIndex(), 5);
    Key(SDLK_RETURN);
    EXPECT_TRUE(menu->IsOpen());
    Key(SDLK_ESCAPE);
    EXPECT_FALSE(menu->IsOpen());
    Run();
    EXPECT_TRUE(log.clicks.empty());
}

TEST_F(MenuWindowTest, APressOutsideOrLosingTheFocusCloses) {
    menu->Popup(150, 160);
    Press(form.get(), {20, 20}, true);
    Press(form.get(), {20, 20}, false);
    EXPECT_FALSE(menu->IsOpen());
    menu->Popup(150, 160);
    Move(Level(0), RowCentre(Level(0), 4));
    ASSERT_NE(Level(1), nullptr);
    SystemFocusLost(form.get());
    EXPECT_FALSE(menu->IsOpen());
    Run();
    EXPECT_TRUE(log.clicks.empty());
}

TEST_F(MenuWindowTest, FreeingTheMenuOrTheItemWhileOpenIsSafe) {
    menu->Popup(150, 160);
    TMenuWindow* w = Level(0);
    Move(w, RowCentre(w, 0));
    delete Item(u"Cut");
    EXPECT_FALSE(menu->IsOpen());
    menu->Popup(150, 160);
    w = Level(0);
    // The chosen item goes before the loop runs its click: nothing runs.
    Move(w, RowCentre(w, 0));
    Press(w, RowCentre(w, 0), true);
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONUP;
    e.button.windowID = Id(w);
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = RowCentre(w, 0).X;
    e.button.y = RowCentre(w, 0).Y;
    SDL_PushEvent(&e);
    TMsg msg;
    // Handle the release only; the posted click waits.
    while (menu->IsOpen() && GetMessage(&msg, nullptr, 0, 0)) {
        DispatchMessage(&msg);
    }
    delete Item(u"Copy");
    Run();
    EXPECT_TRUE(log.clicks.empty());
    menu->Popup(150, 160);
    menu.reset();
    Run();
}

} // namespace
