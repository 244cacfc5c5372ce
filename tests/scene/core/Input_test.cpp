// Input of the object tree, driven through an embedded scene: hit testing of nested, rotated,
// hidden and disabled objects, clicks and double clicks, capture and leaving the window, the
// wheel bubbling up, keyboard routing with dialog keys, focus and Tab order, and hints.
#include "InputTestNodes.h"

#include "platform/rtl/MemoryStream.h"
#include "platform/ui/Application.h"
#include "platform/ui/HintWindow.h"
#include "platform/ui/TimerHeap.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

struct NoFlush {
    void OnFlush(TObject*) {}
};

class SceneInput : public testing::Test {
protected:
    void SetUp() override {
        RegisterSgSceneUnit();
        RegisterClass(TsgInputTestNode::StaticClassInfo());
        scene = std::make_unique<TsgScene>(nullptr);
        scene->CreateEmbedded(200, 200, TNotifyEvent::Bind<&NoFlush::OnFlush>(&flush));
        root = new TsgInputTestNode(nullptr);
        root->SetName("root");
        root->SetHitTest(false);
        scene->AddObject(root);
    }
    void TearDown() override {
        scene.reset();
        Application->Reset();
        TTimerHeap::Instance().Reset();
        TMsg msg;
        while (PeekMessage(&msg, nullptr, 0, 0xFFFFFFFF, PM_REMOVE) && msg.message != WM_PAINT &&
               msg.message != WM_TIMER) {
        }
    }

    TsgInputTestNode* Add(TsgVisualObject* parent, const char* name, float x, float y, float w,
                          float h) {
        auto* node = new TsgInputTestNode(nullptr);
        node->SetName(name);
        node->Log = &log.Lines;
        node->SetBounds(x, y, w, h);
        parent->AddObject(node);
        log.Watch(node);
        return node;
    }
    std::string HitName(float x, float y) {
        TsgVisualObject* hit = scene->ObjectByPoint(x, y);
        return hit ? std::string(hit->Name().c_str()) : std::string("-");
    }
    void Down(int x, int y, TShiftState shift = {}, TMouseButton b = mbLeft) {
        scene->EmbeddedMouseDown(b, shift, x, y);
    }
    void Up(int x, int y, TMouseButton b = mbLeft) { scene->EmbeddedMouseUp(b, {}, x, y); }
    void Move(int x, int y) { scene->EmbeddedMouseMove({}, x, y); }
    void Key(uint16_t key, TShiftState shift = {}) {
        char16_t ch = 0;
        scene->EmbeddedKeyDown(key, ch, shift);
    }
    std::string FocusedName() {
        TsgVisualObject* f = scene->Focused();
        return f ? std::string(f->Name().c_str()) : std::string("-");
    }

    NoFlush flush;
    std::unique_ptr<TsgScene> scene;
    TsgInputTestNode* root = nullptr;
    TsgInputLog log;
};

TEST_F(SceneInput, HitTestingFindsTheTopmostObjectStrictlyInsideAndSkipsDisabledControls) {
    Add(root, "a", 10, 10, 50, 50);
    TsgInputTestNode* b = Add(root, "b", 40, 40, 50, 50);
    Add(b, "c", 5, 5, 10, 10); // 45..55 in the scene
    TsgInputTestNode* r = Add(root, "r", 120, 20, 40, 20);
    r->SetRotateAngle(90); // about its centre (140, 30): 130..150 x 10..50
    TsgInputTestNode* d = Add(root, "d", 10, 120, 60, 60);
    d->Control = true;
    d->SetEnabled(false);
    Add(d, "dc", 10, 10, 20, 20);
    TsgInputTestNode* p = Add(root, "p", 100, 120, 60, 60);
    p->SetEnabled(false);
    Add(p, "pc", 10, 10, 20, 20)->Control = true;
    Add(p, "pp", 40, 40, 10, 10);

    const struct {
        float x, y;
        const char* expected;
    } cases[] = {
        {10, 30, "-"},   {10.01f, 30, "a"}, {59.99f, 30, "a"}, {60, 30, "-"},
        {45, 45, "b"},   {50, 50, "c"},     {20, 20, "a"},     {140, 12, "r"},
        {125, 30, "-"},  {149, 48, "r"},    {30, 140, "-"},    {15, 125, "-"},
        {120, 140, "p"}, {145, 165, "pp"},  {105, 125, "p"},   {199, 199, "-"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HitName(c.x, c.y), c.expected) << c.x << "," << c.y;

    // An object that does not take the mouse lets it through to what lies below, but its own
    // children still take it.
    b->SetHitTest(false);
    EXPECT_EQ(HitName(45, 45), "a");
    EXPECT_EQ(HitName(50, 50), "c");
    // A clipping parent hides the parts of its children outside it.
    b->SetHitTest(true);
    TsgInputTestNode* out = Add(b, "out", 45, 45, 20, 20); // 85..105
    EXPECT_EQ(HitName(100, 100), "out");
    b->SetClipChildren(true);
    EXPECT_EQ(HitName(100, 100), "-");
    EXPECT_EQ(HitName(60, 60), "b");
    out->SetVisible(false);
    b->SetClipChildren(false);
    EXPECT_EQ(HitName(100, 100), "-") << "invisible objects are not hit";
}

TEST_F(SceneInput, AClickNeedsPressAndReleaseInsideAndADoubleClickIsNoSecondClick) {
    Add(root, "a", 10, 10, 50, 50);
    Down(20, 20);
    Up(21, 22);
    EXPECT_EQ(log.Lines, (Lines{"a down L - 10,10", "a up L - 11,12", "a click"}));

    log.Clear();
    Move(20, 20);
    Down(20, 20);
    Move(100, 100); // no capture: the release lands on nothing
    Up(100, 100);
    EXPECT_EQ(log.Lines, (Lines{"a enter", "a down L - 10,10", "a leave"}));

    log.Clear();
    Move(20, 20);
    Down(20, 20);
    Up(20, 20);
    Down(20, 20, ssDouble);
    Up(20, 20);
    EXPECT_EQ(log.Lines, (Lines{"a enter", "a down L - 10,10", "a up L - 10,10", "a click",
                                "a down L D 10,10", "a dblclick", "a up L - 10,10"}));

    // The right button opens the context menu at the screen point and never clicks.
    log.Clear();
    Down(30, 40, {}, mbRight);
    Up(30, 40, mbRight);
    EXPECT_EQ(log.Lines, (Lines{"a down R - 20,30", "a menu 30,40", "a up R - 20,30"}));
}

TEST_F(SceneInput, TheCapturingObjectGetsEveryMoveAndLeavingTheWindowDropsItSilently) {
    TsgInputTestNode* a = Add(root, "a", 10, 10, 50, 50);
    Add(root, "b", 100, 10, 50, 50);
    a->SetAutoCapture(true);
    log.Moves = true;
    Move(20, 20);
    Down(20, 20);
    EXPECT_EQ(scene->Captured(), a);
    Move(120, 20); // over b: only a hears it, in its own space, and b is not entered
    Up(120, 20);
    EXPECT_EQ(log.Lines, (Lines{"a enter", "a move 10,10", "a down L - 10,10", "a move 110,10",
                                "a up L - 110,10"}));
    EXPECT_EQ(scene->Captured(), nullptr) << "the release ends the capture";
    EXPECT_EQ(scene->Hovered(), a);

    log.Clear();
    Down(20, 20);
    ASSERT_EQ(scene->Captured(), a);
    scene->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(scene->Captured(), nullptr);
    EXPECT_EQ(scene->Hovered(), nullptr);
    EXPECT_EQ(log.Lines, (Lines{"a down L - 10,10", "a leave"}));
    EXPECT_TRUE(a->Pressed()) << "the holder is not told";
}

TEST_F(SceneInput, TheWheelBubblesUpUntilAnObjectTakesIt) {
    TsgInputTestNode* b = Add(root, "b", 40, 40, 50, 50);
    Add(b, "c", 5, 5, 10, 10);
    log.Watch(root);
    Move(50, 50);
    log.Clear();
    scene->EmbeddedMouseWheel({}, -120);
    EXPECT_EQ(log.Lines, (Lines{"c wheel -120 at 50,50", "b wheel -120 at 50,50",
                                "root wheel -120 at 50,50"}));
    log.Clear();
    log.WheelTakers = {"b"};
    scene->EmbeddedMouseWheel({}, 240);
    EXPECT_EQ(log.Lines, (Lines{"c wheel 240 at 50,50", "b wheel 240 at 50,50"}));
}

TEST_F(SceneInput, DialogKeysReachTheRootBeforeTheFocusedObject) {
    TsgInputTestNode* box = Add(root, "box", 10, 10, 50, 20);
    box->SetCanFocused(true);
    TsgInputTestNode* ok = Add(root, "ok", 10, 40, 50, 20);
    ok->TakesDialogKey = VK_RETURN;
    TsgInputTestNode* cancel = Add(root, "cancel", 70, 40, 50, 20);
    cancel->TakesDialogKey = VK_ESCAPE;
    cancel->SetVisible(false); // hidden buttons are not offered the key
    box->SetFocus();
    log.Clear();

    Key(VK_RETURN);
    Key('A', ssShift);
    Key(VK_ESCAPE);
    Key(VK_APPS);
    // The focused object still hears a key the root took, as key 0.
    EXPECT_EQ(log.Lines, (Lines{"ok dialogkey 13", "keydown 0 #0 -", "keydown 65 #0 S",
                                "keydown 27 #0 -", "box menu 35,20"}));

    // Characters: the editing letters come as key-down and key-up with Ctrl kept, Return never
    // comes a second time, other characters as key-down with key 0.
    log.Clear();
    const LPARAM ctrl = 1 | static_cast<LPARAM>(KF_SHIFTSTATE_CTRL);
    scene->Perform(WM_CHAR, 22, ctrl);
    scene->Perform(WM_CHAR, 13, 1);
    scene->Perform(WM_CHAR, u'\u00e9', 1);
    scene->Perform(WM_CHAR, 8, 1);
    EXPECT_EQ(log.Lines,
              (Lines{"keydown 0 #118 C", "keyup 0 #118 C", "keydown 0 #233 -", "keydown 0 #8 -"}));

    // Escape with EscCloseWindow and no form to close is swallowed.
    scene->SetEscCloseWindow(true);
    log.Clear();
    Key(VK_ESCAPE);
    EXPECT_TRUE(log.Lines.empty());
}

TEST_F(SceneInput, TabMovesThroughEligibleObjectsDepthFirstAndWraps) {
    TsgInputTestNode* a = Add(root, "a", 0, 0, 10, 10);
    TsgInputTestNode* group = Add(root, "group", 20, 0, 100, 100);
    TsgInputTestNode* b = Add(group, "b", 0, 0, 10, 10);
    TsgInputTestNode* off = Add(group, "off", 20, 0, 10, 10);
    TsgInputTestNode* c = Add(root, "c", 0, 20, 10, 10);
    for (TsgInputTestNode* n : {a, b, off, c})
        n->SetCanFocused(true);
    off->SetEnabled(false);

    std::vector<std::string> seen;
    for (int i = 0; i < 4; ++i) {
        Key(VK_TAB);
        seen.push_back(FocusedName());
    }
    EXPECT_EQ(seen, (Lines{"a", "b", "c", "a"}));
    seen.clear();
    c->SetFocus();
    for (int i = 0; i < 3; ++i) {
        Key(VK_TAB, ssShift);
        seen.push_back(FocusedName());
    }
    EXPECT_EQ(seen, (Lines{"b", "a", "c"}));

    // Focus leaves a hidden object; the tab order moves with SetTabOrder.
    c->SetVisible(false);
    EXPECT_EQ(FocusedName(), "-");
    c->SetVisible(true);
    a->SetTabOrder(10);
    EXPECT_EQ(a->TabOrder(), 2);
    EXPECT_EQ(group->TabOrder(), 0);
    Key(VK_TAB);
    EXPECT_EQ(FocusedName(), "b");
}

TEST_F(SceneInput, TabMovesAlsoWithOneOrTwoFocusableEntries) {
    TsgInputTestNode* a = Add(root, "a", 0, 0, 10, 10);
    TsgInputTestNode* b = Add(root, "b", 20, 0, 10, 10);
    a->SetCanFocused(true);
    b->SetCanFocused(true);
    a->SetFocus();
    Key(VK_TAB);
    EXPECT_EQ(FocusedName(), "b");
    Key(VK_TAB);
    EXPECT_EQ(FocusedName(), "a");
    Key(VK_TAB, ssShift);
    EXPECT_EQ(FocusedName(), "b");
    b->SetCanFocused(false);
    Key(VK_TAB);
    EXPECT_EQ(FocusedName(), "a");
}

TEST_F(SceneInput, FocusChangesNotifyBothObjectsAndKillFocusNeedsCanFocused) {
    TsgInputTestNode* a = Add(root, "a", 0, 0, 10, 10);
    TsgInputTestNode* b = Add(root, "b", 20, 0, 10, 10);
    a->SetCanFocused(true);
    b->SetCanFocused(true);
    Down(5, 5); // a press focuses
    b->SetFocus();
    EXPECT_EQ(log.Lines, (Lines{"a focus", "a down L - 5,5", "a unfocus", "b focus"}));
    EXPECT_TRUE(b->IsFocused());
    EXPECT_FALSE(a->IsFocused());

    log.Clear();
    b->SetCanFocused(false);
    scene->SetFocused(nullptr);
    EXPECT_TRUE(b->IsFocused()) << "an object that cannot be focused ignores KillFocus";
    EXPECT_TRUE(log.Lines.empty());

    // Disabling an ancestor takes the focus away.
    a->SetFocus();
    log.Clear();
    root->SetEnabled(false);
    EXPECT_FALSE(a->AbsoluteEnabled());
    EXPECT_EQ(FocusedName(), "-");
    EXPECT_EQ(log.Lines, (Lines{"a unfocus"}));
}

TEST_F(SceneInput, StoredTabOrdersAreAppliedAfterLoading) {
    TStringStream text(AnsiString("object TsgInputTestNode\n"
                                  "  object TsgInputTestNode\n    Width = 1\n    TabOrder = 2\n"
                                  "  end\n"
                                  "  object TsgInputTestNode\n    Width = 2\n    TabOrder = 0\n"
                                  "  end\n"
                                  "  object TsgInputTestNode\n    Width = 3\n    TabOrder = 7\n"
                                  "  end\n"
                                  "end\n"));
    // Read into the root the scene already has, as a window layout reads its scene's tree.
    root->LoadFromStream(text);
    ASSERT_EQ(root->ChildrenCount(), 3);
    std::vector<float> order;
    for (TsgObject* o : root->TabList())
        order.push_back(o->Visual()->Width());
    EXPECT_EQ(order, (std::vector<float>{2, 3, 1}));
}

TEST_F(SceneInput, AHintComesFromTheObjectUnderTheCursor) {
    TsgInputTestNode* a = Add(root, "a", 10.5f, 20.5f, 50, 30);
    a->SetHint(u"Pick a folder");
    a->SetShowHint(true);
    Add(root, "quiet", 100, 100, 20, 20)->SetHint(u"never shown");
    log.Moves = true;
    THintInfo info;
    info.CursorPos = TPoint{30, 30};
    scene->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.HintStr, u"Pick a folder");
    EXPECT_EQ(info.CursorRect, (TRect{10, 20, 60, 50}));
    EXPECT_EQ(log.Lines, (Lines{"a move 19.5,9.5"}));

    info.HintStr = u"stale";
    info.CursorPos = TPoint{110, 110};
    scene->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_TRUE(info.HintStr.IsEmpty());
}

struct DropRules {
    std::vector<TsgVisualObject*> accepting;
    std::vector<std::string> asked;
    void Over(TObject* Sender, const TsgDragObject&, TsgPoint, bool& Accept) {
        auto* v = static_cast<TsgVisualObject*>(Sender);
        asked.push_back(v->Name().c_str());
        for (TsgVisualObject* a : accepting)
            if (a == v)
                Accept = true;
    }
};

TEST_F(SceneInput, TheDropTargetIsTheTopmostObjectThatAcceptsTheData) {
    TsgInputTestNode* panel = Add(root, "panel", 10, 10, 100, 100);
    TsgInputTestNode* list = Add(panel, "list", 10, 10, 50, 50);
    TsgInputTestNode* outside = Add(panel, "outside", 90, 90, 40, 40); // 100..140
    DropRules rules;
    for (TsgInputTestNode* n : {root, panel, list, outside})
        n->OnDragOver = TsgDragOverEvent::Bind<&DropRules::Over>(&rules);
    TsgDragObject data{nullptr, u"C:/Program Files", {}};
    auto target = [&](float x, float y) {
        rules.asked.clear();
        TsgVisualObject* t = root->FindTarget({x, y}, data);
        return t ? std::string(t->Name().c_str()) : std::string("-");
    };

    EXPECT_EQ(target(30, 30), "-");
    EXPECT_EQ(rules.asked, (Lines{"outside", "list", "panel", "root"}));
    rules.accepting = {panel};
    EXPECT_EQ(target(30, 30), "panel");
    rules.accepting = {panel, list};
    EXPECT_EQ(target(30, 30), "list");
    rules.accepting = {outside};
    EXPECT_EQ(target(120, 120), "outside");
    panel->SetClipChildren(true);
    EXPECT_EQ(target(120, 120), "-") << "a clipping parent hides what lies outside it";

    // Entering and leaving mark the object for styles.
    list->DragEnter(data, {30, 30});
    EXPECT_TRUE(list->IsDragOver());
    list->DragLeave();
    EXPECT_FALSE(list->IsDragOver());
}

} // namespace
