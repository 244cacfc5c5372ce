// Check boxes, radio groups and corner buttons from code, and the default style sheet read with
// this unit's classes registered.
#include "ControlsTestSupport.h"

#include "platform/classes/Reader.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using controlstest::Part;

class Checks : public ::testing::Test {
protected:
    void SetUp() override { controlstest::UseSmallSheet(); }
    void TearDown() override { controlstest::DropSheet(); }

public:
    void Count(TObject*) { ++changes; }
    int changes = 0;
};

TEST_F(Checks, StateCaptionsShowOnlyWhenBothAreSetAndAnEqualValueRaisesNothing) {
    TsgCheckBox box(nullptr);
    box.OnChange = TNotifyEvent::Bind<&Checks::Count>(this);
    box.SetText(u"plain");
    box.SetTxtOn(u"on");
    box.SetIsChecked(true);
    EXPECT_EQ(box.Text().ToUtf8(), "plain") << "only one caption set";
    box.SetTxtOff(u"off");
    EXPECT_EQ(box.Text().ToUtf8(), "on");
    box.SetIsChecked(false);
    EXPECT_EQ(box.Text().ToUtf8(), "off");
    box.SetIsChecked(false);
    EXPECT_EQ(changes, 2);
}

TEST_F(Checks, ARadioGroupIsItsSiblingsOfTheSameNameAndOneMemberStaysChecked) {
    TsgPanel parent(nullptr), other(nullptr);
    auto add = [](TsgObject* p, const char16_t* group) {
        auto* r = new TsgRadioButton(nullptr);
        r->SetGroupName(group);
        p->AddObject(r);
        return r;
    };
    TsgRadioButton* a = add(&parent, u"g");
    TsgRadioButton* b = add(&parent, u"g");
    TsgRadioButton* c = add(&parent, u"g");
    TsgRadioButton* h = add(&parent, u"G");
    TsgRadioButton* far = add(&other, u"g");
    a->SetIsChecked(true);
    h->SetIsChecked(true);
    far->SetIsChecked(true);
    b->SetIsChecked(true);
    EXPECT_FALSE(a->IsChecked());
    EXPECT_TRUE(b->IsChecked());
    EXPECT_FALSE(c->IsChecked());
    EXPECT_TRUE(h->IsChecked()) << "names compare with case";
    EXPECT_TRUE(far->IsChecked()) << "another parent, another group";
    b->SetIsChecked(false);
    EXPECT_TRUE(b->IsChecked()) << "no other member is checked";
    TsgRadioButton alone(nullptr);
    alone.SetIsChecked(true);
    alone.SetIsChecked(false);
    EXPECT_TRUE(alone.IsChecked());
}

TEST_F(Checks, StylePartsReceiveTheCheckMarkPathAndTheCornerButtonsCorners) {
    TsgOffscreenScene scene(nullptr, 100, 100);
    auto* box = new TsgPathCheckBox(&scene);
    scene.AddObject(box);
    box->ApplyResource();
    auto* mark = Part<TsgPath>(box, "checkmark");
    ASSERT_NE(mark, nullptr);
    EXPECT_FALSE(mark->Data()->IsEmpty());

    auto* corner = new TsgCornerButton(&scene);
    scene.AddObject(corner);
    corner->ApplyResource();
    corner->SetCorners(sgCornerTopLeft);
    corner->SetxRadius(7);
    auto* background = Part<TsgRectangle>(corner, "background");
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->Corners(), sgCornerTopLeft);
    EXPECT_EQ(background->xRadius(), 7);

    auto* color = new TsgColorButton(&scene);
    scene.AddObject(color);
    color->ApplyResource();
    color->SetColor(u"#FF336699");
    EXPECT_EQ(Part<TsgShape>(color, "fill")->Fill()->SolidColor(), 0xFF336699u);
}

// The default sheet embeds speed buttons, check boxes, size grips, expander and close buttons:
// with this unit registered none of them is missing, and every value read fits.
TEST_F(Checks, TheDefaultSheetReadsItsEmbeddedControlsOfThisUnit) {
    const std::string bytes = testsupport::ReadFile(std::filesystem::path(DBI_BINARY_DIR) /
                                                    "resources" / "styles" / "defaultsgstyle.bin");
    ASSERT_FALSE(bytes.empty());
    TCustomMemoryStream stream(bytes.data(), static_cast<int64_t>(bytes.size()));
    TsgBackground root(nullptr);
    std::vector<std::string> errors;
    TReader reader(stream);
    reader.OnSetName = [](TReader&, TComponent*, AnsiString& name) { name = AnsiString(); };
    reader.OnError = [&errors](TReader&, const AnsiString& message, bool& handled) {
        const std::string text = message.c_str();
        const bool missing =
            text.rfind("Class ", 0) == 0 && text.find(" not found") != std::string::npos;
        for (const char* mine : {"TsgSpeedButton ", "TsgCheckBox ", "TsgSizeGrip ",
                                 "TsgExpanderButton ", "TsgCloseButton "})
            if (!missing || text.find(mine) != std::string::npos)
                errors.push_back(text);
        handled = true;
    };
    EXPECT_NO_THROW(reader.ReadRootComponent(&root));
    EXPECT_EQ(errors, std::vector<std::string>{});
}

} // namespace
