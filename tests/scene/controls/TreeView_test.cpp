// Tree view: rows and indentation, global numbering through expanded parents, expanding and
// collapsing, selection by code, mouse and keys (single and multiple), type-ahead on the
// injected clock, check boxes, sorting three levels deep, clearing and removing.
#include "ScrollStyles.h"

#include "scene/controls/Sg_treeview.h"

#include "platform/classes/ObjectText.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/rtl/StringUtils.h"
#include "platform/ui/Application.h"
#include "platform/ui/TimerHeap.h"
#include "platform/ui/UiClock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

void RegisterSgObjectsUnit();

namespace {

// An item style: an expander button on the left, a check box next to it (hidden until the tree
// shows check boxes), both parts the item wires up.
std::unique_ptr<TsgObject> MakeItemStyle() {
    auto* root = new TsgRectangle(nullptr);
    root->SetResourceName(u"testtreeitemstyle");
    root->SetBounds(0, 0, 120, 19);
    root->SetHitTest(false);
    auto* button = new TsgExpanderButton(nullptr);
    button->SetResourceName(u"button");
    button->SetAlign(vaLeft);
    button->SetBounds(0, 0, 16, 19);
    root->AddObject(button);
    auto* check = new TsgCheckBox(nullptr);
    check->SetResourceName(u"check");
    check->SetAlign(vaLeft);
    check->SetBounds(0, 0, 18, 19);
    check->SetVisible(false);
    root->AddObject(check);
    return std::unique_ptr<TsgObject>(root);
}

class TreeView : public testing::Test {
protected:
    void SetUp() override {
        RegisterSgObjectsUnit();
        RegisterSgTreeViewUnit();
        RegisterScrollTestUnits();
        SetUiClock(&clock);
        treeStyle = MakeScrollStyle(u"testtreeviewstyle", true);
        itemStyle = MakeItemStyle();
        tree = new TsgTreeView(nullptr);
        tree->SetResource(u"testtreeviewstyle");
        tree->SetAnimated(false);
        scene.AddObject(tree);
        tree->SetBounds(0, 0, 200, 120);
        tree->ApplyResource();
        tree->OnChange = TNotifyEvent::Bind<&TreeView::Changed>(this);
        tree->OnChangeCheck = TNotifyEvent::Bind<&TreeView::CheckChanged>(this);
    }
    void TearDown() override {
        delete tree;
        TTimerHeap::Instance().Reset();
        SetUiClock(nullptr);
    }
    TsgTreeViewItem* Item(const char* text, TsgTreeViewItem* parent = nullptr) {
        auto* item = new TsgTreeViewItem(nullptr);
        item->SetText(UnicodeString(text));
        if (parent) {
            parent->AddObject(item);
            tree->Realign();
        } else
            tree->AddObject(item);
        // Styled inside the tree, as on its first paint.
        item->SetResource(u"testtreeitemstyle");
        item->ApplyResource();
        return item;
    }
    // A, B (with B1, B2), C.
    void Build(bool expandB) {
        a = Item("A");
        b = Item("B");
        b1 = Item("B1", b);
        b2 = Item("B2", b);
        c = Item("C");
        if (expandB)
            b->SetIsExpanded(true);
        events.clear();
    }
    bool Key(uint16_t key, char16_t ch = 0, TShiftState shift = 0) {
        tree->KeyDown(key, ch, shift);
        return key == 0; // consumed
    }
    void Type(char ch) { Key(0, char16_t(ch)); }
    std::string SelectedText() {
        return tree->Selected() ? AnsiString(tree->Selected()->Text()).c_str() : "-";
    }
    void Advance(uint64_t ms) {
        clock.Advance(ms);
        Application->ProcessMessages();
    }
    void Changed(TObject*) { events.push_back("change " + SelectedText()); }
    void CheckChanged(TObject* Sender) {
        events.push_back(std::string("check ") +
                         AnsiString(static_cast<TsgTreeViewItem*>(Sender)->Text()).c_str());
    }

    TManualClock clock;
    TsgOffscreenScene scene{nullptr, 400, 400};
    std::unique_ptr<TsgObject> treeStyle, itemStyle;
    TsgTreeView* tree = nullptr;
    TsgTreeViewItem *a = nullptr, *b = nullptr, *b1 = nullptr, *b2 = nullptr, *c = nullptr;
    std::vector<std::string> events;
};

TEST_F(TreeView, RowsFollowOneAnotherAndChildrenAreIndentedOneStep) {
    Build(true);
    EXPECT_EQ(tree->GlobalCount(), 5);
    EXPECT_EQ(tree->GetCount(), 3);
    struct Row {
        TsgTreeViewItem* item;
        float x, y, w;
        int global, level;
    };
    const float w = tree->ContentLayout()->Width();
    const Row rows[] = {{a, 0, 0, w, 0, 0},
                        {b, 0, 19, w, 1, 0},
                        {b1, 19, 38, w - 19, 2, 1},
                        {b2, 19, 57, w - 19, 3, 1},
                        {c, 0, 76, w, 4, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(AnsiString(r.item->Text()).c_str());
        EXPECT_EQ(tree->GetItemRect(r.item), (TsgRect{r.x, r.y, r.x + r.w, r.y + 19}));
        EXPECT_EQ(r.item->GlobalIndex(), r.global);
        EXPECT_EQ(r.item->Level(), r.level);
        EXPECT_EQ(tree->ItemByGlobalIndex(r.global), r.item);
        EXPECT_TRUE(r.item->Visible());
    }
    EXPECT_FLOAT_EQ(tree->Content()->Height(), 95);
    // The expander shows only where there is something to expand.
    EXPECT_TRUE(b->Button()->Visible());
    EXPECT_FALSE(a->Button()->Visible());
    // Points in the tree's coordinates find the rows.
    EXPECT_EQ(tree->ItemByPoint(100, 45), b1);
    EXPECT_EQ(tree->ItemByPoint(100, 80), c);
    EXPECT_EQ(tree->ItemByPoint(100, 110), nullptr);
}

TEST_F(TreeView, CollapsingHidesChildrenRenumbersAndSelectsTheItem) {
    Build(true);
    tree->SetSelected(b2);
    events.clear();
    b->SetIsExpanded(false);
    EXPECT_EQ(tree->Selected(), b);
    EXPECT_EQ(events, (std::vector<std::string>{"change B"}));
    EXPECT_FALSE(b1->Visible());
    EXPECT_FLOAT_EQ(b1->Opacity(), 0);
    EXPECT_EQ(tree->GlobalCount(), 3);
    EXPECT_EQ(tree->GetItemRect(c).Top, 38);
    EXPECT_EQ(tree->ItemByGlobalIndex(3), nullptr); // stale numbers below a collapsed item
    // Collapsing the selected item itself fires nothing more.
    events.clear();
    b->SetIsExpanded(true);
    b->SetIsExpanded(false);
    EXPECT_TRUE(events.empty());
}

TEST_F(TreeView, ExpandAllOpensTheTopLevelOnly) {
    Build(false);
    TsgTreeViewItem* deep = Item("B1x", b1);
    tree->ExpandAll();
    EXPECT_TRUE(b->IsExpanded());
    EXPECT_FALSE(b1->IsExpanded());
    EXPECT_FALSE(deep->Visible());
    EXPECT_EQ(tree->GlobalCount(), 5);
    tree->CollapseAll();
    EXPECT_EQ(tree->GlobalCount(), 3);
}

TEST_F(TreeView, KeysMoveTheSelectionAndAreConsumedEvenAtTheEnds) {
    Build(true);
    tree->SetSelected(a);
    struct Step {
        uint16_t key;
        const char* selected;
    } const steps[] = {
        {VK_UP, "A"},   {VK_DOWN, "B"}, {VK_DOWN, "B1"}, {VK_END, "C"},
        {VK_DOWN, "C"}, {VK_HOME, "A"}, {VK_DOWN, "B"},  {VK_LEFT, "B"},
        {VK_DOWN, "C"}, {VK_UP, "B"},   {VK_ADD, "B"},   {VK_DOWN, "B1"},
    };
    for (const Step& s : steps) {
        EXPECT_TRUE(Key(s.key)) << s.key;
        EXPECT_EQ(SelectedText(), s.selected) << s.key;
    }
    EXPECT_TRUE(b->IsExpanded());
}

TEST_F(TreeView, KeysDoNothingWithoutItemsOrSelection) {
    EXPECT_EQ(tree->GetCount(), 0);
    EXPECT_FLOAT_EQ(tree->Content()->Height(), 1); // never empty
    EXPECT_FALSE(Key(VK_DOWN));
    Build(false);
    EXPECT_FALSE(Key(VK_DOWN));
    EXPECT_EQ(tree->Selected(), nullptr);
}

TEST_F(TreeView, TypeAheadStepsThroughMatchesAndForgetsAfterASecond) {
    Item("bar");
    Item("baz");
    Item("foo");
    tree->SetSelected(tree->ItemByIndex(0));
    struct Step {
        char ch;
        uint64_t after;
        const char* selected;
        const char* text;
    } const steps[] = {
        {'b', 0, "bar", "b"},    // keeps bar
        {'b', 100, "baz", "b"},  // the same letter steps to the next match
        {'B', 100, "bar", "b"},  // from the last item the search starts at the top
        {'a', 100, "bar", "ba"}, // b then a keeps bar
        {'z', 100, "baz", "baz"}, {'q', 100, "baz", "bazq"},
    };
    for (const Step& s : steps) {
        Advance(s.after);
        Type(s.ch);
        EXPECT_EQ(SelectedText(), s.selected) << s.ch;
        EXPECT_EQ(AnsiString(tree->KeySearch()), AnsiString(s.text)) << s.ch;
    }
    Advance(999);
    EXPECT_EQ(AnsiString(tree->KeySearch()), AnsiString("bazq"));
    Advance(1);
    EXPECT_TRUE(tree->KeySearch().IsEmpty());
    // A single letter that matches nothing is not kept.
    Type('x');
    EXPECT_TRUE(tree->KeySearch().IsEmpty());
    Type('f');
    EXPECT_EQ(SelectedText(), "foo");
}

TEST_F(TreeView, MultiSelectExtendsFromTheAnchorAndCtrlClickTogglesOne) {
    Build(true);
    tree->SetMultiSelect(true);
    tree->SetSelected(b);
    b->SetIsSelected(true);
    EXPECT_TRUE(Key(VK_DOWN, 0, ssShift));
    EXPECT_TRUE(Key(VK_DOWN, 0, ssShift));
    EXPECT_EQ(tree->FirstSelect(), b);
    auto selected = [&] {
        std::string s;
        for (TsgTreeViewItem* i : {a, b, b1, b2, c})
            s += i->IsSelected() ? '1' : '0';
        return s;
    };
    EXPECT_EQ(selected(), "01110");
    EXPECT_EQ(tree->Selected(), b2);
    EXPECT_TRUE(Key(VK_UP, 0, ssShift));
    EXPECT_EQ(selected(), "01100");
    // Ctrl-click on C (row at y 76): C joins, the others stay.
    tree->MouseDown(mbLeft, ssCtrl, 50, 80);
    EXPECT_EQ(selected(), "01101");
    // A plain click selects one.
    tree->MouseDown(mbLeft, 0, 50, 5);
    EXPECT_EQ(selected(), "10000");
    EXPECT_EQ(tree->Selected(), a);
}

TEST_F(TreeView, ChecksShowTheItemStateAndReportChangesByCode) {
    auto* early = new TsgTreeViewItem(nullptr);
    early->SetText(u"early");
    early->SetIsChecked(true); // before the style exists
    tree->AddObject(early);
    early->SetResource(u"testtreeitemstyle");
    early->ApplyResource();
    ASSERT_NE(early->Check(), nullptr);
    EXPECT_TRUE(early->Check()->IsChecked()); // shown from the first paint
    EXPECT_TRUE(events.empty());              // styling is not a user's check
    EXPECT_FALSE(early->Check()->Visible());
    tree->SetShowCheckboxes(true);
    EXPECT_TRUE(early->Check()->Visible());

    Build(true);
    EXPECT_TRUE(b1->Check()->Visible());
    b1->SetIsChecked(true);
    EXPECT_TRUE(b1->Check()->IsChecked());
    EXPECT_EQ(tree->Selected(), b1);
    EXPECT_EQ(events, (std::vector<std::string>{"change B1", "check B1"}));
    // The user's toggle of the check box comes back to the item.
    events.clear();
    b1->Check()->SetIsChecked(false);
    EXPECT_FALSE(b1->IsChecked());
    EXPECT_EQ(events, (std::vector<std::string>{"check B1"}));
}

TEST_F(TreeView, SortingOrdersThreeLevelsAndKeepsTheFourth) {
    TsgTreeViewItem* top2 = Item("b");
    TsgTreeViewItem* top1 = Item("A");
    TsgTreeViewItem* l2b = Item("y", top1);
    TsgTreeViewItem* l2a = Item("x", top1);
    TsgTreeViewItem* l3b = Item("n", l2a);
    TsgTreeViewItem* l3a = Item("m", l2a);
    TsgTreeViewItem* l4b = Item("t", l3a);
    TsgTreeViewItem* l4a = Item("s", l3a);
    tree->SetSorted(true);
    EXPECT_EQ(tree->ItemByIndex(0), top1);
    EXPECT_EQ(tree->ItemByIndex(1), top2);
    EXPECT_EQ(top1->ItemByIndex(0), l2a);
    EXPECT_EQ(top1->ItemByIndex(1), l2b);
    EXPECT_EQ(l2a->ItemByIndex(0), l3a);
    EXPECT_EQ(l2a->ItemByIndex(1), l3b);
    EXPECT_EQ(l3a->ItemByIndex(0), l4b); // fourth level as added
    EXPECT_EQ(l3a->ItemByIndex(1), l4a);
    // OnCompare decides when assigned: reverse order.
    struct Reverse {
        int Compare(TsgTreeViewItem* x, TsgTreeViewItem* y) {
            return -CompareText(x->Text(), y->Text());
        }
    } reverse;
    tree->OnCompare = TOnCompareTreeViewItemEvent::Bind<&Reverse::Compare>(&reverse);
    tree->Realign();
    EXPECT_EQ(tree->ItemByIndex(0), top2);
}

TEST_F(TreeView, ClearAndRemoveForgetTheSelectionWithoutAnEvent) {
    Build(true);
    tree->SetSelected(b1);
    events.clear();
    tree->RemoveItem(b1, true);
    EXPECT_EQ(tree->Selected(), nullptr);
    EXPECT_EQ(tree->GlobalCount(), 4);
    tree->RemoveItem(c, false);
    EXPECT_EQ(c->Parent(), nullptr);
    EXPECT_EQ(tree->GlobalCount(), 3);
    delete c;
    tree->SetSelected(b2);
    delete b2; // freed elsewhere: the tree hears of it
    EXPECT_EQ(tree->Selected(), nullptr);
    tree->SetSelected(a);
    events.clear();
    tree->Clear();
    EXPECT_EQ(tree->GetCount(), 0);
    EXPECT_EQ(tree->Selected(), nullptr);
    EXPECT_EQ(tree->GlobalCount(), 0);
    EXPECT_TRUE(events.empty());
}

TEST_F(TreeView, SelectingScrollsTheItemIntoView) {
    for (int i = 0; i < 20; ++i)
        Item(std::to_string(i).c_str());
    TsgScrollBar* v = tree->VScrollBar();
    ASSERT_TRUE(v && v->Visible());
    const float view = tree->ContentLayout()->Height();
    tree->SetSelected(tree->ItemByIndex(15)); // rows 285..304
    EXPECT_FLOAT_EQ(v->Value(), 304 - view);
    tree->SetSelected(tree->ItemByIndex(2)); // row 38
    EXPECT_FLOAT_EQ(v->Value(), 38);
}

} // namespace

TEST_F(TreeView, AnItemsFontIsWrittenAndReadWithIt) {
    TsgTreeViewItem item(nullptr);
    item.SetText(u"Program");
    item.Font()->SetSize(15);
    TMemoryStream binary;
    {
        TWriter writer(binary);
        writer.WriteRootComponent(&item);
    }
    binary.SetPosition(0);
    TStringStream text;
    ObjectBinaryToText(binary, text);
    EXPECT_NE(std::string(text.DataString().c_str()).find("Font.Size = 15"), std::string::npos)
        << text.DataString().c_str();

    binary.SetPosition(0);
    TsgTreeViewItem read(nullptr);
    TReader reader(binary);
    reader.ReadRootComponent(&read);
    EXPECT_FLOAT_EQ(read.Font()->Size(), 15);
    EXPECT_EQ(read.Text(), u"Program");
}
