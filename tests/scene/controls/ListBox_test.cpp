// List box: rows and columns, current item and selection (single and multiple, by code, keys
// and mouse), type-ahead on the injected clock, sorting, clearing and removing, and painting
// only the rows a long list shows.
#include "ScrollStyles.h"

#include "scene/controls/Sg_listbox.h"

#include "platform/rtl/StringUtils.h"
#include "platform/ui/Application.h"
#include "platform/ui/TimerHeap.h"
#include "platform/ui/UiClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

void RegisterSgObjectsUnit();

namespace {

class ListBox : public testing::Test {
protected:
    void SetUp() override {
        RegisterSgObjectsUnit();
        RegisterSgListBoxUnit();
        RegisterScrollTestUnits();
        SetUiClock(&clock);
        listStyle = MakeScrollStyle(u"testlistboxstyle", true);
        list = new TsgListBox(nullptr);
        list->SetResource(u"testlistboxstyle");
        list->SetAnimated(false);
        scene.AddObject(list);
        // The viewport: 200 - 14 wide (the vertical bar), 120 - 14 high.
        list->SetBounds(0, 0, 200, 120);
        list->ApplyResource();
        list->OnChange = TNotifyEvent::Bind<&ListBox::Changed>(this);
    }
    void TearDown() override {
        delete list;
        TTimerHeap::Instance().Reset();
        SetUiClock(nullptr);
    }
    TsgListBoxItem* Item(const char* text, float height = 19) {
        auto* item = new TsgListBoxItem(nullptr);
        item->SetText(UnicodeString(text));
        item->SetHeight(height);
        list->AddObject(item);
        return item;
    }
    void Items(std::initializer_list<const char*> texts) {
        list->BeginUpdate();
        for (const char* t : texts)
            Item(t);
        list->EndUpdate();
        events.clear();
    }
    void Numbered(int n) {
        list->BeginUpdate();
        for (int i = 0; i < n; ++i)
            Item(std::to_string(i).c_str());
        list->EndUpdate();
        events.clear();
    }
    bool Key(uint16_t key, char16_t ch = 0, TShiftState shift = 0) {
        list->KeyDown(key, ch, shift);
        return key == 0;
    }
    void Type(char ch) { Key(0, char16_t(ch)); }
    std::string Current() {
        return list->Selected() ? AnsiString(list->Selected()->Text()).c_str() : "-";
    }
    std::vector<int> SelectedIndexes() {
        std::vector<int> out;
        for (int i = 0; i < list->GetCount(); ++i)
            if (list->ItemByIndex(i)->IsSelected())
                out.push_back(i);
        return out;
    }
    void Advance(uint64_t ms) {
        clock.Advance(ms);
        Application->ProcessMessages();
    }
    void Changed(TObject* Sender) {
        auto* item = dynamic_cast<TsgListBoxItem*>(Sender);
        events.push_back(item ? AnsiString(item->Text()).c_str() : "nil");
    }

    TManualClock clock;
    TsgOffscreenScene scene{nullptr, 400, 400};
    std::unique_ptr<TsgObject> listStyle;
    TsgListBox* list = nullptr;
    std::vector<std::string> events;
};

TEST_F(ListBox, RowsAndColumnsFollowTheCellsAndTheTallestItemOfARow) {
    list->SetColumns(2);
    list->BeginUpdate();
    Item("a", 20);
    Item("b", 24);
    Item("c", 18);
    Item("d");
    Item("e");
    list->EndUpdate();
    const float cell = list->ContentLayout()->Width() / 2;
    const std::vector<std::pair<float, float>> places = {
        {0, 0}, {cell, 0}, {0, 24}, {cell, 24}, {0, 43}};
    for (int i = 0; i < 5; ++i) {
        TsgListBoxItem* item = list->ItemByIndex(i);
        ASSERT_NE(item, nullptr) << i;
        EXPECT_FLOAT_EQ(item->Position()->X(), places[i].first) << i;
        EXPECT_FLOAT_EQ(item->Position()->Y(), places[i].second) << i;
        EXPECT_FLOAT_EQ(item->Width(), cell) << i;
    }
    // The row of a (20) and b (24) is 24 high for both.
    EXPECT_FLOAT_EQ(list->ItemByIndex(0)->Height(), 24);
    EXPECT_FLOAT_EQ(list->Content()->Height(), 24 + 19 + 19);

    // As many fixed-width cells as fit, at least one.
    const float width = list->ContentLayout()->Width();
    for (float itemWidth : {30.0f, 150.0f, width / 2, width + 1}) {
        list->SetItemWidth(itemWidth);
        EXPECT_EQ(list->Columns(), std::max(1, static_cast<int>(width / itemWidth))) << itemWidth;
    }
    EXPECT_EQ(list->Columns(), 1);
    list->SetColumns(0);
    EXPECT_EQ(list->Columns(), 1);
}

TEST_F(ListBox, TheFirstItemBecomesCurrentAndChangesReportTheNewItem) {
    EXPECT_EQ(list->ItemIndex(), 0);
    Items({"apple", "banana", "berry"});
    EXPECT_EQ(Current(), "apple");
    EXPECT_TRUE(list->ItemByIndex(0)->IsSelected());
    list->SetItemIndex(2);
    EXPECT_EQ(events, (std::vector<std::string>{"berry"}));
    EXPECT_FALSE(list->ItemByIndex(0)->IsSelected());
    list->SetItemIndex(-1);
    EXPECT_EQ(events.back(), "nil");
    EXPECT_EQ(list->GetData(), UnicodeString());
}

TEST_F(ListBox, KeysMoveTheCurrentItemByRowsAndColumns) {
    Numbered(10);
    struct Step {
        uint16_t key;
        int columns, from, to;
    } steps[] = {
        {VK_END, 1, 0, 9},   {VK_HOME, 1, 9, 0}, {VK_DOWN, 1, 9, 9}, {VK_DOWN, 1, 3, 4},
        {VK_UP, 3, 1, 0},    {VK_UP, 1, 0, 0},   {VK_END, 3, 0, 7},  {VK_DOWN, 3, 8, 9},
        {VK_RIGHT, 3, 9, 9}, {VK_LEFT, 1, 4, 3},
    };
    for (const Step& s : steps) {
        list->SetColumns(s.columns);
        list->SetItemIndex(s.from);
        EXPECT_TRUE(Key(s.key)) << s.key;
        EXPECT_EQ(list->ItemIndex(), s.to) << "key " << s.key << " from " << s.from;
    }
    // Other keys pass.
    EXPECT_FALSE(Key(VK_TAB));
}

TEST_F(ListBox, MovingTheCurrentItemScrollsItIntoView) {
    Numbered(100);
    ASSERT_NE(list->VScrollBar(), nullptr);
    TsgVisualObject* viewport = list->ContentLayout();
    auto shows = [&](int index) {
        TsgListBoxItem* item = list->ItemByIndex(index);
        const float top = viewport->AbsoluteToLocal(item->LocalToAbsolute({0, 0})).Y;
        return top >= -0.01f && top + item->Height() <= viewport->Height() + 0.01f;
    };
    EXPECT_TRUE(shows(0));
    EXPECT_TRUE(Key(VK_END));
    EXPECT_TRUE(shows(99));
    EXPECT_FALSE(shows(0));
    EXPECT_GT(list->VScrollBar()->Value(), 0);
    EXPECT_TRUE(Key(VK_HOME));
    EXPECT_TRUE(shows(0));
    EXPECT_FLOAT_EQ(list->VScrollBar()->Value(), 0);
}

TEST_F(ListBox, TypedLettersSearchTheItemsWithinASecond) {
    Items({"apple", "banana", "berry"});
    Type('b');
    EXPECT_EQ(Current(), "banana");
    Type('b');
    EXPECT_EQ(Current(), "berry");
    Advance(1000);
    EXPECT_TRUE(list->TagString.IsEmpty());
    list->SetItemIndex(0);
    Type('b');
    Type('e');
    EXPECT_EQ(Current(), "berry");
    Advance(1001);
    Type('a');
    EXPECT_EQ(Current(), "apple");
    Advance(1001);
    // A lone letter matching nothing leaves no search text behind.
    Type('z');
    EXPECT_TRUE(list->TagString.IsEmpty());
    EXPECT_EQ(Current(), "apple");
}

TEST_F(ListBox, MultipleSelectionByShiftAndCtrl) {
    list->SetMultiSelect(true);
    Numbered(8);
    list->SetItemIndex(2);
    for (int i = 0; i < 3; ++i)
        Key(VK_DOWN, 0, TShiftState{ssShift});
    EXPECT_EQ(list->ItemIndex(), 5);
    EXPECT_EQ(SelectedIndexes(), (std::vector<int>{2, 3, 4, 5}));
    // Shift+Up shrinks the range from the same anchor.
    Key(VK_UP, 0, TShiftState{ssShift});
    EXPECT_EQ(SelectedIndexes(), (std::vector<int>{2, 3, 4}));
    // A plain key selects the target alone.
    Key(VK_HOME);
    EXPECT_EQ(SelectedIndexes(), (std::vector<int>{0}));

    // Mouse: Ctrl toggles, Shift extends from the anchor, a plain release keeps one.
    const float row = 19;
    auto click = [&](int index, TShiftState shift) {
        const float y = 1 + index * row + 5;
        list->MouseDown(mbLeft, shift, 20, y);
        list->MouseUp(mbLeft, shift, 20, y);
    };
    click(3, TShiftState{ssCtrl});
    EXPECT_EQ(SelectedIndexes(), (std::vector<int>{0, 3}));
    click(3, TShiftState{ssCtrl});
    EXPECT_EQ(SelectedIndexes(), (std::vector<int>{0}));
    click(1, TShiftState{});
    click(4, TShiftState{ssShift});
    EXPECT_EQ(SelectedIndexes(), (std::vector<int>{1, 2, 3, 4}));
    click(2, TShiftState{});
    EXPECT_EQ(SelectedIndexes(), (std::vector<int>{2}));
    list->SelectAll();
    EXPECT_EQ(SelectedIndexes().size(), 8u);
    list->ClearSelection();
    EXPECT_TRUE(SelectedIndexes().empty());
}

TEST_F(ListBox, SingleSelectionFollowsTheMouseAndSkipsDisabledItems) {
    Numbered(5);
    list->ItemByIndex(3)->SetEnabled(false);
    list->MouseDown(mbLeft, TShiftState{ssLeft}, 20, 1 + 19 + 5);
    EXPECT_EQ(list->ItemIndex(), 1);
    // Dragging with the button held moves the current item, but not onto a disabled one.
    list->MouseMove(TShiftState{ssLeft}, 20, 1 + 2 * 19 + 5, 0, 19);
    EXPECT_EQ(list->ItemIndex(), 2);
    list->MouseMove(TShiftState{ssLeft}, 20, 1 + 3 * 19 + 5, 0, 19);
    EXPECT_EQ(list->ItemIndex(), 2);
    list->MouseUp(mbLeft, TShiftState{}, 20, 1 + 3 * 19 + 5);
    list->MouseMove(TShiftState{}, 20, 1 + 4 * 19 + 5, 0, 19);
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(SelectedIndexes(), (std::vector<int>{2}));
    EXPECT_EQ(events, (std::vector<std::string>{"1", "2"}));
}

TEST_F(ListBox, SortingOrdersByTextOrByOnCompare) {
    Items({"pear", "Apple", "fig"});
    list->SetSorted(true);
    std::vector<std::string> order;
    for (int i = 0; i < 3; ++i)
        order.push_back(AnsiString(list->ItemByIndex(i)->Text()).c_str());
    EXPECT_EQ(order, (std::vector<std::string>{"Apple", "fig", "pear"}));

    struct ByLength {
        int Compare(TsgListBoxItem* A, TsgListBoxItem* B) {
            return A->Text().Length() - B->Text().Length();
        }
    } byLength;
    list->OnCompare = TOnCompareListBoxItemEvent::Bind<&ByLength::Compare>(&byLength);
    list->SetSorted(false);
    list->SetSorted(true);
    EXPECT_EQ(AnsiString(list->ItemByIndex(0)->Text()), AnsiString("fig"));
    EXPECT_EQ(AnsiString(list->ItemByIndex(2)->Text()), AnsiString("Apple"));
    list->OnCompare = TOnCompareListBoxItemEvent();
}

TEST_F(ListBox, ClearingEndsWithoutACurrentItemAndRemovingKeepsTheIndexInside) {
    Numbered(5);
    list->SetItemIndex(4);
    list->RemoveItem(list->ItemByIndex(4));
    EXPECT_EQ(list->GetCount(), 4);
    EXPECT_EQ(list->ItemIndex(), 3);
    delete list->ItemByIndex(3);
    EXPECT_EQ(list->ItemIndex(), 2);

    list->SetItemIndex(0);
    events.clear();
    list->Clear();
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_EQ(list->Selected(), nullptr);
    EXPECT_EQ(list->ScrollPosition().Y, 0);
    EXPECT_EQ(events, (std::vector<std::string>{"nil"}));
    // Keys on an empty list do nothing.
    EXPECT_FALSE(Key(VK_END));
}

TEST_F(ListBox, ALongListPaintsAndStylesOnlyTheRowsItShows) {
    auto itemStyle = std::make_unique<TsgRectangle>(nullptr);
    itemStyle->SetResourceName(u"testlistitemstyle");
    itemStyle->SetBounds(0, 0, 100, 19);
    list->BeginUpdate();
    for (int i = 0; i < 5000; ++i) {
        TsgListBoxItem* item = Item(std::to_string(i).c_str());
        item->SetResource(u"testlistitemstyle");
    }
    list->EndUpdate();
    scene.InvalidateAll();
    scene.PaintScene(0xFFFFFFFF);
    int styled = 0;
    for (int i = 0; i < list->GetCount(); ++i)
        if (list->ItemByIndex(i)->StyleClone())
            ++styled;
    // About six rows show in the 106-unit viewport.
    EXPECT_GT(styled, 0);
    EXPECT_LT(styled, 20);
    EXPECT_NE(list->ItemByIndex(0)->StyleClone(), nullptr);

    Key(VK_END);
    scene.PaintScene(0xFFFFFFFF);
    EXPECT_NE(list->ItemByIndex(4999)->StyleClone(), nullptr);
    EXPECT_EQ(list->ItemByIndex(2500)->StyleClone(), nullptr);
}

// Scrolled to its end, a long list still finds the row under a click at its top.
TEST_F(ListBox, AClickAtTheTopOfALongListScrolledToItsEndFindsItsRow) {
    list->BeginUpdate();
    for (int i = 0; i < 5000; ++i)
        Item(std::to_string(i).c_str());
    list->EndUpdate();
    scene.InvalidateAll();
    scene.PaintScene(0xFFFFFFFF);
    Key(VK_END);
    scene.PaintScene(0xFFFFFFFF);
    // The middle of the first row wholly in view, below the 1-unit frame (a point on the line
    // between two rows belongs to neither).
    const float value = list->VScrollBar()->Value();
    const int top = static_cast<int>(std::ceil(value / 19));
    const float y = 1 + top * 19.0f - value + 9.5f;
    list->MouseDown(mbLeft, TShiftState{ssLeft}, 20, y);
    list->MouseUp(mbLeft, TShiftState{ssLeft}, 20, y);
    EXPECT_LT(top, 4999);
    EXPECT_EQ(list->ItemIndex(), top);
}

// Rows of a text and a small hit-testable mark at (2, 2).
std::unique_ptr<TsgObject> MarkedRowStyle() {
    auto* root = new TsgRectangle(nullptr);
    root->SetResourceName(u"testmarkedrowstyle");
    root->SetBounds(0, 0, 100, 19);
    root->Fill()->SetStyle(sgBrushNone);
    root->Stroke()->SetStyle(sgBrushNone);
    root->SetHitTest(false);
    auto* text = new TsgText(nullptr);
    text->SetResourceName(u"text");
    text->SetAlign(vaClient);
    text->SetHitTest(false);
    text->Fill()->SetSolidColor(0xFF1F2328);
    root->AddObject(text);
    auto* mark = new TsgRectangle(nullptr);
    mark->SetResourceName(u"mark");
    mark->SetBounds(2, 2, 8, 8);
    mark->Fill()->SetSolidColor(0xFF2050C0);
    root->AddObject(mark);
    return std::unique_ptr<TsgObject>(root);
}

// Scrolled page by page, painted and hit-tested at every step, a long list shows exactly what
// the same list shows scrolled there at once, and a point finds the part of the row under it:
// no row keeps a place worked out for an earlier page.
TEST_F(ListBox, ALongListScrolledPageByPageShowsAndHitsWhatItDoesScrolledThereAtOnce) {
    auto rowStyle = MarkedRowStyle();
    auto fill = [](TsgListBox* l) {
        l->BeginUpdate();
        for (int i = 0; i < 3000; ++i) {
            auto* item = new TsgListBoxItem(nullptr);
            item->SetText(UnicodeString::FromUtf8("row " + std::to_string(i)));
            l->AddObject(item);
            item->SetResource(u"testmarkedrowstyle");
        }
        l->EndUpdate();
    };
    fill(list);
    TsgOffscreenScene other{nullptr, 400, 400};
    auto* direct = new TsgListBox(nullptr);
    direct->SetResource(u"testlistboxstyle");
    direct->SetAnimated(false);
    other.AddObject(direct);
    direct->SetBounds(0, 0, 200, 120);
    direct->ApplyResource();
    fill(direct);

    scene.InvalidateAll();
    scene.PaintScene(0xFFFFFFFF);
    const float page = list->ContentLayout()->Height();
    constexpr int kPages = 25;
    for (int p = 1; p <= kPages; ++p) {
        list->VScrollBar()->SetValue(p * page);
        scene.PaintScene(0xFFFFFFFF);
        // The mark of the first row wholly in view.
        const float value = list->VScrollBar()->Value();
        const int top = static_cast<int>(std::ceil(value / 19));
        TsgListBoxItem* row = list->ItemByIndex(top);
        ASSERT_NE(row, nullptr);
        const TsgPoint at = row->LocalToAbsolute({6, 6});
        TsgVisualObject* hit = list->ObjectByPoint(at.X, at.Y);
        ASSERT_NE(hit, nullptr) << p;
        EXPECT_EQ(hit->ResourceName(), UnicodeString(u"mark")) << p;
        TsgObject* owner = hit->Parent();
        while (owner && owner != row)
            owner = owner->Parent();
        EXPECT_EQ(owner, row) << p;
    }
    direct->VScrollBar()->SetValue(kPages * page);
    other.InvalidateAll();
    other.PaintScene(0xFFFFFFFF);
    const TsgCanvas& a = *scene.Canvas();
    const TsgCanvas& b = *other.Canvas();
    ASSERT_EQ(a.Width() * a.Height(), b.Width() * b.Height());
    const size_t n = size_t(a.Width()) * size_t(a.Height());
    EXPECT_TRUE(std::equal(a.BufferBits(), a.BufferBits() + n, b.BufferBits()));
    delete direct;
}

} // namespace
