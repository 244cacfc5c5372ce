// What the engine needs of the toolkit's progress bar and text object.
#include "EngineTestSupport.h"

#include "scene/controls/Sg_progressbar.h"
#include "scene/core/Sg_objects_text.h"

namespace {

class CountingBar : public TsgProgressBar {
public:
    CountingBar() : TsgProgressBar(nullptr) {}
    int realigned = 0;

protected:
    void Realign() override { ++realigned; }
};

class CountingText : public TsgText {
public:
    CountingText() : TsgText(nullptr) {}
    int repainted = 0;
    int sized = 0;

protected:
    void Repaint() override { ++repainted; }
    void AdjustSize() override { ++sized; }
};

} // namespace

TEST(ToolkitProgressBar, ValueClampedIntoTheRangeRangeNotClamped) {
    struct Case {
        float min, max, value, expected;
    };
    const Case cases[] = {
        {0, 100, 50, 50}, {0, 100, -5, 0}, {0, 100, 150, 100}, {0, 1, 0.65f, 0.65f},
        {0, 0, 10, 0},    {10, 5, 7, 5},   {10, 5, 20, 5},     {10, 5, 1, 5},
    };
    for (const Case& c : cases) {
        CountingBar bar;
        bar.SetMin(c.min);
        bar.SetMax(c.max);
        bar.SetValue(c.value);
        EXPECT_EQ(bar.Value(), c.expected) << c.min << ".." << c.max << " <- " << c.value;
    }
    CountingBar bar;
    EXPECT_EQ(bar.Max(), 100.0f);
    bar.SetValue(80);
    EXPECT_EQ(bar.realigned, 1);
    bar.SetMax(50); // stored alone: the value stays and nothing is re-laid
    EXPECT_EQ(bar.Value(), 80.0f);
    EXPECT_EQ(bar.realigned, 1);
    bar.SetValue(80); // equal value: nothing happens, not even the clamp
    EXPECT_EQ(bar.Value(), 80.0f);
    EXPECT_EQ(bar.realigned, 1);
    bar.SetValue(90);
    EXPECT_EQ(bar.Value(), 50.0f);
    EXPECT_EQ(bar.realigned, 2);
}

TEST(ToolkitText, NewTextRepaintsAndSizesOnlyWithAutoSize) {
    CountingText text;
    text.SetText(u"Kopiowanie");
    EXPECT_EQ(text.Text().ToUtf8(), "Kopiowanie");
    EXPECT_TRUE(text.EffectsNeedUpdate());
    EXPECT_EQ(text.repainted, 1);
    EXPECT_EQ(text.sized, 0);
    text.SetText(u"Kopiowanie");
    EXPECT_EQ(text.repainted, 1);
    text.SetAutoSize(true);
    EXPECT_EQ(text.sized, 1);
    text.SetText(u"Instalacja");
    EXPECT_EQ(text.sized, 2);
    EXPECT_EQ(text.repainted, 2);
}

TEST(ToolkitClasses, CreatedByClassNameAsStreamsDo) {
    for (const char* name : {"TsgText", "TsgProgressBar"}) {
        const TClassInfo* info = GetClass(name);
        ASSERT_NE(info, nullptr) << name;
        ASSERT_TRUE(info->CreateComponent) << name;
        TComponent* made = info->CreateComponent(nullptr);
        EXPECT_EQ(made->ClassName(), AnsiString(name));
        delete made;
    }
}
