// The expander and the image well on the default sheet: children go into the content, the
// header button collapses and expands (its arrow turning on the clock), the header check box
// enables the content, the content size streams; the image well scales its picture into its
// part, loads a chosen file and takes drops it can read.
#include "RangeBarsTestSupport.h"

#include "scene/controls/Sg_controls.h"
#include "scene/controls/Sg_controls_expander.h"
#include "scene/controls/Sg_controls_imagecontrol.h"
#include "scene/controls/Sg_layout.h"
#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_scene_background.h"

#include "platform/ui/Dialogs.h"
#include "platform/ui/UiClock.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class ExpanderTest : public ::testing::Test {
protected:
    void SetUp() override {
        rangetest::UseBuiltSheet();
        SetUiClock(&clock);
    }
    void TearDown() override {
        sgFreeAniThread();
        SetUiClock(nullptr);
        FreeDefaultStyles();
    }
    TsgExpander* Expander() {
        auto* e = new TsgExpander(&scene);
        scene.AddObject(e);
        e->SetBounds(0, 0, 130, 130);
        rangetest::ApplyStyles(e);
        e->OnCheckChange = checks.Event();
        e->OnExpand = expands.Event();
        return e;
    }
    void Tick(int n) {
        for (int i = 0; i < n; ++i) {
            clock.Advance(33);
            if (aniThread)
                aniThread->DoSyncTimer(nullptr);
        }
    }

    TManualClock clock;
    TsgOffscreenScene scene{nullptr, 300, 300};
    rangetest::TEventLog checks, expands;
};

// The first TsgPath below the object.
TsgPath* FindPath(TsgObject* o) {
    if (auto* p = dynamic_cast<TsgPath*>(o))
        return p;
    for (int i = 0; i < o->ChildrenCount(); ++i)
        if (TsgPath* p = FindPath(o->GetChild(i)))
            return p;
    return nullptr;
}

TEST_F(ExpanderTest, ChildrenCollapseWithTheContentAndTheHeightFollowsTheHeader) {
    TsgExpander* e = Expander();
    auto* child = new TsgButton(nullptr);
    e->AddObject(child);
    EXPECT_EQ(child->Parent(), e->Content());
    ASSERT_NE(e->HeaderButton(), nullptr);
    EXPECT_FALSE(e->HeaderButton()->CanFocused());
    e->Realign();
    EXPECT_EQ(e->Content()->Position()->Y(), 25);
    EXPECT_EQ(e->Content()->Height(), 105);

    TsgPath* arrow = FindPath(e->HeaderButton());
    ASSERT_NE(arrow, nullptr);
    Tick(8);
    EXPECT_FLOAT_EQ(arrow->RotateAngle(), 90) << "expanded: the arrow points down";

    // The header button's click, as the pointer gives it.
    e->HeaderButton()->Click();
    EXPECT_FALSE(e->IsExpanded());
    EXPECT_FALSE(e->Content()->Visible());
    EXPECT_EQ(e->Height(), e->HeaderButton()->Height());
    EXPECT_EQ(expands.Count, 1);
    Tick(3);
    EXPECT_GT(arrow->RotateAngle(), 0);
    EXPECT_LT(arrow->RotateAngle(), 90);
    Tick(5);
    EXPECT_FLOAT_EQ(arrow->RotateAngle(), 0);

    e->SetIsExpanded(true);
    EXPECT_TRUE(e->Content()->Visible());
    EXPECT_EQ(e->Height(), 130) << "collapsing and expanding keeps the height";
    e->SetIsExpanded(false);
    e->SetIsExpanded(true);
    EXPECT_EQ(e->Height(), 130);
    EXPECT_EQ(expands.Count, 4);
}

TEST_F(ExpanderTest, WithoutAHeaderButtonOnlyTheContentHides) {
    auto* bare = new TsgLayout(nullptr);
    bare->SetResourceName(u"bareexpanderstyle");
    DefaultStyles->AddObject(bare);
    TsgExpander* e = Expander();
    e->SetResource(u"bareexpanderstyle");
    ASSERT_NE(e->StyleClone(), nullptr);
    EXPECT_EQ(e->HeaderButton(), nullptr);
    e->SetIsExpanded(false);
    EXPECT_EQ(e->Height(), 130);
    EXPECT_FALSE(e->Content()->Visible());
    e->SetIsExpanded(true);
    EXPECT_EQ(e->Height(), 130);
    EXPECT_TRUE(e->Content()->Visible());
}

TEST_F(ExpanderTest, TheHeaderCheckBoxEnablesTheContent) {
    TsgExpander* e = Expander();
    auto* child = new TsgButton(nullptr);
    e->AddObject(child);
    ASSERT_NE(e->HeaderCheck(), nullptr);
    EXPECT_FALSE(e->HeaderCheck()->Visible());
    e->SetShowCheck(true);
    EXPECT_TRUE(e->HeaderCheck()->Visible());
    EXPECT_TRUE(e->HeaderCheck()->IsChecked());

    e->HeaderCheck()->SetIsChecked(false);
    EXPECT_FALSE(e->IsChecked());
    EXPECT_FALSE(child->AbsoluteEnabled());
    EXPECT_EQ(checks.Count, 1);
    e->SetIsChecked(true);
    EXPECT_TRUE(e->HeaderCheck()->IsChecked());
    EXPECT_TRUE(child->AbsoluteEnabled());
    EXPECT_EQ(checks.Count, 2) << "through the check box's own change";
}

TEST_F(ExpanderTest, TheContentSizeStreamsAndHeightCollapsedMovesTheContent) {
    TsgExpander* e = Expander();
    e->SetHeightCollapsed(40);
    e->Realign();
    EXPECT_EQ(e->Content()->Position()->Y(), 40);
    EXPECT_EQ(e->Content()->Height(), 90);
    TStringStream out{AnsiString()};
    e->SaveToStream(out);
    const std::string text = out.DataString().c_str();
    EXPECT_NE(text.find("ContentSize = '90'"), std::string::npos) << text;
    EXPECT_NE(text.find("HeightCollapsed = 40"), std::string::npos) << text;
}

class ImageControlTest : public ExpanderTest {
protected:
    TsgImageControl* Well() {
        auto* w = rangetest::AddStyled<TsgImageControl>(scene, 0, 0, 104, 54);
        w->OnChange = changes.Event();
        return w;
    }
    rangetest::TEventLog changes;
};

TEST_F(ImageControlTest, APictureIsScaledIntoThePartAfterAChangeAndFullAfterAStyle) {
    TsgImageControl* w = Well();
    ASSERT_NE(w->ImagePart(), nullptr);
    TsgImage* part = w->ImagePart();
    // Placed by hand, so that no layout changes the room between the steps.
    part->SetAlign(vaNone);
    part->SetBounds(0, 0, 100, 50);
    TsgBitmap picture(200, 40);
    picture.Clear(0xFF20A040);
    w->SetBitmap(&picture);
    EXPECT_EQ(part->Bitmap()->Width(), 100);
    EXPECT_EQ(part->Bitmap()->Height(), 20);
    EXPECT_EQ(part->Bitmap()->GetPixels(50, 10), 0xFF20A040u);
    EXPECT_EQ(changes.Count, 1);
    // A picture that fits keeps its size.
    TsgBitmap small(30, 12);
    w->SetBitmap(&small);
    EXPECT_EQ(part->Bitmap()->Width(), 30);
    EXPECT_EQ(part->Bitmap()->Height(), 12);
    // Halves round to the even neighbour: 2.5 gives 2, 3.5 gives 4.
    part->SetBounds(0, 0, 2, 50);
    TsgBitmap five(4, 5), seven(4, 7);
    w->SetBitmap(&five);
    EXPECT_EQ(part->Bitmap()->Height(), 2);
    w->SetBitmap(&seven);
    EXPECT_EQ(part->Bitmap()->Height(), 4);
    EXPECT_EQ(changes.Count, 4);

    w->SetResource(u"imagecontrolstyle");
    w->UpdateResource();
    ASSERT_NE(w->ImagePart(), nullptr);
    EXPECT_EQ(w->ImagePart()->Bitmap()->Height(), 7) << "a full-size copy";
}

TEST_F(ImageControlTest, AClickLoadsTheChosenFileAndDropsNeedAReadablePicture) {
    TsgImageControl* w = Well();
    testsupport::ScratchFolder dir;
    TsgBitmap picture(6, 4);
    picture.Clear(0xFF102030);
    const std::string png = dir / "picture.png";
    ASSERT_TRUE(picture.SaveToFile(UnicodeString::FromUtf8(png)));
    const std::string text = dir.Write("notes.xyz", "not a picture");

    SetDialogRunner(
        [&](const std::vector<std::string>&) -> std::optional<std::string> { return png; });
    w->Click();
    SetDialogRunner(nullptr);
    EXPECT_EQ(w->Bitmap()->Width(), 6);
    EXPECT_EQ(w->Bitmap()->GetPixels(1, 1), 0xFF102030u);

    bool accept = true;
    TsgDragObject unknown;
    unknown.Files = {UnicodeString::FromUtf8(text)};
    w->DragOver(unknown, {5, 5}, accept);
    EXPECT_FALSE(accept) << "an extension the filter does not list";
    TsgDragObject missing;
    missing.Files = {UnicodeString::FromUtf8(dir / "gone.png")};
    w->DragOver(missing, {5, 5}, accept);
    EXPECT_FALSE(accept);
    TsgDragObject file;
    file.Files = {UnicodeString::FromUtf8(png)};
    w->DragOver(file, {5, 5}, accept);
    EXPECT_TRUE(accept);

    auto* source = new TsgImage(&scene);
    scene.AddObject(source);
    source->Bitmap()->SetSize(3, 3);
    source->Bitmap()->Clear(0xFFFF0000);
    TsgDragObject image;
    image.Source = source;
    accept = false;
    w->DragOver(image, {5, 5}, accept);
    EXPECT_TRUE(accept);
    w->DragDrop(image, {5, 5});
    EXPECT_EQ(w->Bitmap()->Width(), 3);
    EXPECT_EQ(w->Bitmap()->GetPixels(0, 0), 0xFFFF0000u);
}

} // namespace
