// The popup box: the caption follows the chosen entry and chooses the first equal entry, an
// index past the list empties it, and the caption is not written to streams.
#include "ControlsTestSupport.h"
#include "RangeBarsTestSupport.h"

#include "scene/controls/Sg_controls_popupbox.h"
#include "scene/core/Sg_classes_widestringlist.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class PopupBoxTest : public ::testing::Test {
protected:
    void SetUp() override { rangetest::UseBuiltSheet(); }
    void TearDown() override { FreeDefaultStyles(); }
    TsgPopupBox* Box(std::initializer_list<const char16_t*> items) {
        auto* box = rangetest::AddStyled<TsgPopupBox>(scene, 0, 0, 120, 21);
        TsgWideStringList list;
        for (const char16_t* item : items)
            list.Add(item);
        box->SetItems(&list);
        box->OnChange = changes.Event();
        return box;
    }
    std::string Caption(TsgPopupBox* b) { return b->Text().ToUtf8(); }

    TsgOffscreenScene scene{nullptr, 200, 100};
    rangetest::TEventLog changes;
};

TEST_F(PopupBoxTest, TheCaptionFollowsTheIndexAndChoosesTheFirstEqualEntry) {
    TsgPopupBox* b = Box({u"A", u"B", u"A"});
    EXPECT_EQ(b->Height(), 21);
    EXPECT_EQ(b->ItemIndex(), -1);
    b->SetItemIndex(1);
    EXPECT_EQ(Caption(b), "B");
    ASSERT_NE(controlstest::Part<TsgText>(b, "text"), nullptr);
    EXPECT_EQ(controlstest::Part<TsgText>(b, "text")->Text().ToUtf8(), "B");
    b->SetItemIndex(2);
    EXPECT_EQ(Caption(b), "A");
    EXPECT_EQ(b->ItemIndex(), 0) << "the caption chose the first A";
    EXPECT_EQ(changes.Count, 2);
    b->SetItemIndex(0);
    EXPECT_EQ(changes.Count, 2) << "no change";

    b->SetText(u"Z");
    EXPECT_EQ(Caption(b), "");
    EXPECT_EQ(b->ItemIndex(), -1);
    b->SetText(u"B");
    EXPECT_EQ(b->ItemIndex(), 1);
    EXPECT_EQ(changes.Count, 2) << "the caption raises nothing";

    b->SetItemIndex(7);
    EXPECT_EQ(Caption(b), "");
    EXPECT_EQ(b->ItemIndex(), -1) << "no empty entry";
    EXPECT_EQ(changes.Count, 3);

    b->SetData(u"A");
    EXPECT_EQ(b->ItemIndex(), 0);
    EXPECT_EQ(b->GetData().ToUtf8(), "A");
    b->Items()->Clear();
    b->SetText(u"A");
    EXPECT_EQ(b->ItemIndex(), -1);
}

TEST_F(PopupBoxTest, TheTextIsNotStoredButTheIndexIs) {
    TsgPopupBox* b = Box({u"one", u"two"});
    b->SetItemIndex(1);
    TStringStream out{AnsiString()};
    b->SaveToStream(out);
    const std::string text = out.DataString().c_str();
    EXPECT_EQ(text.find("Text = "), std::string::npos) << text;
    EXPECT_NE(text.find("ItemIndex = 1"), std::string::npos) << text;
}

} // namespace
