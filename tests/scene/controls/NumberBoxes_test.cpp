// The number box and the spin box in a real (offscreen) form: the text a value is shown with,
// typing committed by Enter within the bounds, dragging the pointer over a number box, the
// Up and Down keys, the spin buttons held on the clock, and the suffix beside the number.
#include "SceneWindowTestSupport.h"

#include "platform/rtl/FormatSettings.h"

namespace {

using scenewindowtest::SceneWindowTest;
using Lines = std::vector<std::string>;

TEST(ValueText, FractionsShowOnlyInFloatBoxes) {
    const struct {
        TsgValueType Type;
        int32_t Digits;
        float Value;
        const char* Text;
    } table[] = {
        {sgValueFloat, 2, 1.5f, "1.50"},
        {sgValueFloat, 2, 2, "2"},
        {sgValueInteger, 2, 1.5f, "1"},
        {sgValueInteger, 2, -1.5f, "-1"},
        {sgValueInteger, 2, -0.5f, "0"},
        {sgValueFloat, 3, -0.25f, "-0.250"},
        {sgValueFloat, -4, 0.25f, "0"},
        {sgValueFloat, 1000000, 0.5f, "0.50000000000000000000"},
        {sgValueInteger, 0, 3e9f, "3000000000"},
    };
    for (const auto& t : table)
        EXPECT_EQ(sgValueText(t.Value, t.Type, t.Digits).ToUtf8(), t.Text)
            << t.Value << " with " << t.Digits;
    // The user's decimal separator.
    DecimalSeparatorScope comma(u',');
    EXPECT_EQ(sgValueText(1.5f, sgValueFloat, 2).ToUtf8(), "1,50");
}

TEST(NumberBox, ValuesStayWithinTheBoundsAndTheBoundsMoveNoValue) {
    TsgNumberBox box(nullptr);
    box.SetValueType(sgValueFloat);
    box.SetValue(1.5f);
    EXPECT_EQ(box.Text().ToUtf8(), "1.50");
    box.SetValue(25);
    EXPECT_EQ(box.Value(), 10);
    EXPECT_EQ(box.Text().ToUtf8(), "10");
    box.SetMax(5);
    EXPECT_EQ(box.Value(), 10) << "a new bound waits for the next change";
    box.SetValue(-3);
    EXPECT_EQ(box.Value(), 0);
    box.SetData(u"4");
    EXPECT_EQ(box.Value(), 4);
    box.SetData(u"no number");
    EXPECT_EQ(box.Value(), 4);
    EXPECT_EQ(box.GetData().ToUtf8(), "4");
}

class NumberBoxWindow : public SceneWindowTest {
protected:
    TsgNumberBox* Box() {
        auto* b = Add<TsgNumberBox>("number", 20, 60, 100, 22);
        b->OnChange = Watcher("change");
        b->OnChangeTracking = Watcher("tracking");
        b->SetMin(-100);
        return b;
    }
};

TEST_F(NumberBoxWindow, TypedTextIsCommittedByEnterWithinTheBounds) {
    TsgNumberBox* b = Box();
    b->SetFocus();
    Text("25");
    Text("x"); // refused by the filter
    EXPECT_EQ(b->Text().ToUtf8(), "25");
    log.clear();
    Key(SDLK_RETURN);
    EXPECT_EQ(b->Value(), 10);
    EXPECT_EQ(b->Text().ToUtf8(), "10");
    EXPECT_EQ(log, (Lines{"number change"})) << "rewriting the text is no typing";

    // A lone minus sign is no number: the old value comes back.
    b->SelectAll();
    Text("-");
    Key(SDLK_RETURN);
    EXPECT_EQ(b->Value(), 10);
    EXPECT_EQ(b->Text().ToUtf8(), "10");
}

TEST_F(NumberBoxWindow, EachMoveOfADragIsOneStepAndTheReleaseCommitsOnce) {
    TsgNumberBox* b = Box();
    b->SetValue(2);
    log.clear();
    Button(true, 50, 70);
    Motion(51, 70);
    Motion(80, 71); // one step, however far
    Motion(90, 70);
    Run();
    EXPECT_EQ(b->Value(), 5);
    EXPECT_TRUE(b->Dragging());
    EXPECT_FALSE(b->LastStepVertical());
    EXPECT_EQ(b->DragBarRect(), (TsgRect{1, 16, 99, 21})) << "along the bottom";
    Motion(90, 80); // down
    Motion(90, 60); // up
    Motion(90, 75); // down
    Motion(85, 75); // left
    Run();
    EXPECT_EQ(b->Value(), 5 - 5 + 5 - 5 - 1);
    Motion(85, 90);
    Run();
    EXPECT_TRUE(b->LastStepVertical());
    EXPECT_EQ(b->DragBarRect(), (TsgRect{94, 1, 99, 21})) << "along the right edge";
    EXPECT_TRUE(log.empty()) << "nothing commits during the drag";
    Button(false, 85, 90);
    Run();
    EXPECT_FALSE(b->Dragging());
    EXPECT_EQ(b->Value(), -6);
    EXPECT_EQ(log, (Lines{"number change"}));
}

TEST_F(NumberBoxWindow, UpAndDownStepByTheHorizontalIncrementWithoutCommitting) {
    TsgNumberBox* b = Box();
    b->SetHorzIncrement(2.5f);
    b->SetValueType(sgValueFloat);
    b->SetFocus();
    log.clear();
    Key(SDLK_UP);
    Key(SDLK_UP);
    Key(SDLK_DOWN);
    EXPECT_EQ(b->Value(), 2.5f);
    EXPECT_EQ(b->Text().ToUtf8(), "2.50");
    EXPECT_TRUE(log.empty());
}

class SpinBoxWindow : public SceneWindowTest {
protected:
    // Minus at (20..38, 20..42), plus at (102..120, 20..42).
    TsgSpinBox* Spin() {
        auto* s = Add<TsgSpinBox>("spin", 20, 20, 100, 22);
        s->ApplyResource();
        s->OnChange = Watcher("change");
        return s;
    }
};

TEST_F(SpinBoxWindow, AHeldPlusButtonCommitsEveryRepetitionEvenAtTheTop) {
    TsgSpinBox* s = Spin();
    ASSERT_NE(s->PlusButton(), nullptr);
    ASSERT_NE(s->MinusButton(), nullptr);
    s->SetValue(8);
    Button(true, 110, 30);
    Run();
    EXPECT_FALSE(s->IsFocused());
    // Clicks 600, 700 and 800 ms after the press.
    Advance(870);
    EXPECT_TRUE(s->IsFocused()) << "a click hands the focus to the box";
    EXPECT_EQ(log, (Lines{"spin change", "spin change", "spin change"}));
    EXPECT_EQ(s->Value(), 10);
    EXPECT_EQ(s->Text().ToUtf8(), "10");
    Button(false, 110, 30);
    Run();
    EXPECT_EQ(log.size(), 4u) << "the release clicks once more";

    Click(28, 30);
    EXPECT_EQ(s->Value(), 9);
    EXPECT_EQ(log.size(), 5u);
}

TEST_F(SpinBoxWindow, LosingTheFocusStopsAHeldButton) {
    TsgSpinBox* s = Spin();
    auto* other = Add<TsgTextBox>("other", 20, 100, 100, 22);
    s->SetFocus();
    Button(true, 110, 30);
    Run();
    other->SetFocus();
    const float v = s->Value();
    Advance(1000);
    EXPECT_EQ(s->Value(), v);
    EXPECT_FALSE(s->PlusButton()->IsPressed());
    Button(false, 110, 30);
    Run();
}

TEST(SpinBox, KeysStepByTheIncrementAndWholeNumbersTakeAWholeIncrement) {
    TsgSpinBox s(nullptr);
    s.SetValueType(sgValueFloat);
    s.SetIncrement(0.5f);
    uint16_t up = 38;
    char16_t none = 0;
    s.KeyDown(up, none, TShiftState());
    EXPECT_EQ(up, 0);
    EXPECT_EQ(s.Value(), 0.5f);
    EXPECT_EQ(s.Text().ToUtf8(), "0.50");
    s.SetValueType(sgValueInteger);
    EXPECT_EQ(s.Increment(), 1);
    s.SetIncrement(2);
    s.SetValueType(sgValueFloat);
    s.SetValueType(sgValueInteger);
    EXPECT_EQ(s.Increment(), 2) << "a whole increment stays";
}

TEST_F(SpinBoxWindow, TheSuffixMovesTheNumberLeftAndTheCaretFollowsTheNumber) {
    TsgSpinBox* s = Spin();
    s->SetMax(1000);
    s->SetValue(123);
    const float plain[] = {s->GetCharX(0), s->GetCharX(1), s->GetCharX(3)};
    s->SetSuffix(u" mm");
    const float shift = s->TextWidth(u" mm") / 2 + 1;
    EXPECT_GT(shift, 1);
    EXPECT_FLOAT_EQ(s->GetCharX(0), plain[0] - shift);
    EXPECT_FLOAT_EQ(s->GetCharX(3), plain[2] - shift);
    // A click just right of the first digit places the caret after it, as without the suffix.
    EXPECT_EQ(s->GetCoordinatePosition(s->GetCharX(1) + 1), 1);
    EXPECT_EQ(s->GetCoordinatePosition(s->GetCharX(3) + 2), 3);
}

} // namespace
