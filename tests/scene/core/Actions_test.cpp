// Controls linked to actions: the action's caption, enabled state, hint, visibility and execute
// handler flow into the control while it still shows the action's value, and the defaults a
// control already has survive linking a loaded action.
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_actions.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

namespace {

class TCaptionedControl : public TsgControl {
    DBI_PERSISTENT(TCaptionedControl, TsgControl)

    explicit TCaptionedControl(TComponent* AOwner) : TsgControl(AOwner) {}
    const UnicodeString& Text() const { return FText; }
    void SetText(const UnicodeString& Value) { FText = Value; }

private:
    UnicodeString FText;
};

struct Clicks : TObject {
    int executed = 0;
    int other = 0;
    void Execute(TObject*) { ++executed; }
    void Other(TObject*) { ++other; }
};

} // namespace

DBI_PUBLISH(TCaptionedControl) {
    p.String("Text", &TCaptionedControl::Text, &TCaptionedControl::SetText);
}

namespace {

TEST(ControlActions, ActionValuesFlowIntoTheControlWhileItFollowsThem) {
    Clicks clicks;
    TCustomAction action(nullptr);
    action.SetCaption(u"Open");
    action.SetHint(u"Opens a file");
    action.SetOnExecute(::TNotifyEvent::Bind<&Clicks::Execute>(&clicks));
    TCaptionedControl control(nullptr);
    control.SetAction(&action);
    EXPECT_EQ(control.Action(), &action);
    EXPECT_EQ(control.Text(), UnicodeString(u"Open"));
    EXPECT_EQ(control.Hint(), UnicodeString(u"Opens a file"));
    ASSERT_TRUE(control.OnClick);
    control.OnClick(&control);
    EXPECT_EQ(clicks.executed, 1);

    action.SetCaption(u"Open...");
    action.SetEnabled(false);
    action.SetVisible(false);
    EXPECT_EQ(control.Text(), UnicodeString(u"Open..."));
    EXPECT_FALSE(control.Enabled());
    EXPECT_FALSE(control.Visible());
}

TEST(ControlActions, CheckDefaultsKeepsWhatTheControlAlreadyHas) {
    struct Case {
        const char16_t* text;
        const char* name;
        const char16_t* expected;
    };
    const Case cases[] = {
        {u"OK", "button1", u"OK"},
        {u"", "button1", u"Go"},
        {u"button1", "button1", u"Go"},
    };
    for (const Case& c : cases) {
        TCustomAction action(nullptr);
        action.SetCaption(u"Go");
        TCaptionedControl control(nullptr);
        control.SetName(c.name);
        control.SetText(c.text);
        control.SetEnabled(false);
        control.ActionChange(&action, true);
        EXPECT_EQ(control.Text(), UnicodeString(c.expected)) << c.name;
        EXPECT_FALSE(control.Enabled());
    }
}

TEST(ControlActions, FreeingEitherSideUnlinks) {
    TCaptionedControl control(nullptr);
    {
        TCustomAction action(nullptr);
        control.SetAction(&action);
    }
    EXPECT_EQ(control.Action(), nullptr);

    TCustomAction action(nullptr);
    {
        TCaptionedControl linked(nullptr);
        linked.SetAction(&action);
    }
    action.SetCaption(u"still fine");
    EXPECT_EQ(action.Caption(), UnicodeString(u"still fine"));
}

TEST(ControlActions, LinkTakesOnlyToolkitControls) {
    TsgControlActionLink link;
    TCustomAction notAControl(nullptr);
    EXPECT_THROW(link.AssignClient(&notAControl), EInvalidOperation);
}

} // namespace
