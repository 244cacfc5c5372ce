// Captioned controls, labels and bars: what they push into the parts of their style clones,
// their stream defaults, auto-size, translation, and the status bar's grip.
#include "ControlsTestSupport.h"

#include "scene/core/Sg_scene_lang.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using controlstest::Part;

class TextControls : public ::testing::Test {
protected:
    void SetUp() override { controlstest::UseSmallSheet(); }
    void TearDown() override {
        FinalizeLang();
        controlstest::DropSheet();
    }
    template <class T>
    T* Add() {
        auto* c = new T(&scene);
        scene.AddObject(c);
        return c;
    }
    TsgOffscreenScene scene{nullptr, 200, 100};
};

std::string Utf8(const UnicodeString& s) {
    return s.ToUtf8();
}

TEST_F(TextControls, CaptionAlignmentsFontAndFillReachTheTextPart) {
    auto* label = Add<TsgLabel>();
    label->SetText(u"before the style");
    EXPECT_EQ(label->StyleClone(), nullptr);
    label->ApplyResource();
    TsgText* text = Part<TsgText>(label, "text");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(Utf8(text->Text()), "before the style");

    label->SetText(u"after");
    EXPECT_EQ(Utf8(text->Text()), "after");
    EXPECT_TRUE(label->EffectsNeedUpdate());
    label->SetTextAlign(sgTextAlignFar);
    label->SetVertTextAlign(sgTextAlignNear);
    EXPECT_EQ(text->HorzTextAlign(), sgTextAlignFar);
    EXPECT_EQ(text->VertTextAlign(), sgTextAlignNear);
    TsgFont font;
    font.SetSize(21);
    label->SetFont(&font);
    EXPECT_EQ(text->Font()->Size(), 21);
    EXPECT_NE(label->Font(), &font) << "the control keeps its own font";
    TsgBrush fill(sgBrushSolid, 0xFF00FF00);
    label->SetFontFill(&fill);
    EXPECT_EQ(text->Fill()->SolidColor(), 0xFF00FF00u);
    EXPECT_NE(label->FontFill(), &fill);

    // A new clone is given everything the control holds.
    label->SetResource(u"panelstyle");
    TsgText* second = Part<TsgText>(label, "text");
    ASSERT_NE(second, nullptr);
    ASSERT_NE(second, text);
    EXPECT_EQ(Utf8(second->Text()), "after");
    EXPECT_EQ(second->HorzTextAlign(), sgTextAlignFar);
    EXPECT_EQ(second->VertTextAlign(), sgTextAlignNear);
    EXPECT_EQ(second->Font()->Size(), 21);
    EXPECT_EQ(second->Fill()->SolidColor(), 0xFF00FF00u);
}

TEST_F(TextControls, AForegroundBrushObjectSetsTheCaptionColourAndAnyOtherObjectDoesNot) {
    auto* value = Add<TsgValueLabel>();
    value->ApplyResource();
    EXPECT_EQ(value->FontFill()->SolidColor(), 0xFF102030u);
    EXPECT_EQ(Part<TsgText>(value, "text")->Fill()->SolidColor(), 0xFF102030u);

    auto* hud = Add<TsgHudLabel>();
    hud->ApplyResource();
    ASSERT_NE(Part<TsgText>(hud, "text"), nullptr) << "hudlabelstyle";
    EXPECT_EQ(hud->FontFill()->SolidColor(), 0xFF000000u);
}

TEST_F(TextControls, WordWrapFollowsTheLabelAndAutoSizeTakesTheTextsSize) {
    auto* label = Add<TsgLabel>();
    label->ApplyResource();
    TsgText* text = Part<TsgText>(label, "text");
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->WordWrap());
    label->SetWordWrap(false);
    EXPECT_FALSE(text->WordWrap());
    label->SetWordWrap(true);

    label->SetText(u"A rather long caption");
    label->SetAutoSize(true);
    EXPECT_FALSE(label->WordWrap()) << "auto-size switches word wrap off for good";
    EXPECT_FALSE(text->WordWrap());
    EXPECT_FALSE(text->AutoSize()) << "the part measures once and stops";
    EXPECT_EQ(text->Align(), vaClient) << "the part's alignment comes back";
    const float wide = label->Width();
    EXPECT_GT(wide, 40);
    EXPECT_LT(label->Height(), 40);

    // The same text measures nothing again; a new one does.
    label->SetWidth(300);
    label->SetText(u"A rather long caption");
    EXPECT_EQ(label->Width(), 300);
    label->SetText(u"Short");
    EXPECT_GT(label->Width(), 0);
    EXPECT_LT(label->Width(), wide);
}

TEST_F(TextControls, CaptionsAreTranslatedOnlyInARunningScene) {
    TsgWideStringList table;
    table.Add(u"Cancel=Anuluj");
    LoadLangFromStrings(&table);

    auto* inScene = Add<TsgLabel>();
    inScene->SetText(u"Cancel");
    inScene->ApplyResource();
    EXPECT_EQ(Utf8(inScene->Text()), "Anuluj");

    TsgLabel loose(nullptr);
    loose.SetText(u"Cancel");
    loose.ApplyResource();
    EXPECT_EQ(Utf8(loose.Text()), "Cancel") << "no scene";

    auto* value = Add<TsgValueLabel>();
    value->SetText(u"Cancel");
    value->ApplyResource();
    EXPECT_EQ(Utf8(value->Text()), "Cancel") << "value labels are not translated";
}

// A scene that answers that it is being designed.
class TDesignScene : public TsgOffscreenScene {
public:
    TDesignScene() : TsgOffscreenScene(nullptr, 200, 100) {}
    bool GetDesignTime() override { return true; }
};

TEST_F(TextControls, TheStatusBarsGripIsShownAndLiveInARunningSceneOnly) {
    auto* bar = Add<TsgStatusBar>();
    EXPECT_EQ(bar->Align(), vaBottom);
    EXPECT_EQ(bar->Height(), 22);
    bar->ApplyResource();
    auto* grip = Part<TsgVisualObject>(bar, "sizegrip");
    ASSERT_NE(grip, nullptr);
    EXPECT_TRUE(grip->Visible());
    EXPECT_FALSE(grip->Locked());
    EXPECT_TRUE(grip->HitTest());

    TsgObject* before = bar->StyleClone();
    bar->SetShowSizeGrip(false);
    EXPECT_NE(bar->StyleClone(), before) << "toggling clones the style again";
    grip = Part<TsgVisualObject>(bar, "sizegrip");
    ASSERT_NE(grip, nullptr);
    EXPECT_FALSE(grip->Visible());

    TDesignScene design;
    auto* designed = new TsgStatusBar(&design);
    design.AddObject(designed);
    designed->ApplyResource();
    grip = Part<TsgVisualObject>(designed, "sizegrip");
    ASSERT_NE(grip, nullptr);
    EXPECT_TRUE(grip->Locked());
    EXPECT_FALSE(grip->HitTest());
}

// Constructor values against declared defaults: a streamed object that leaves a property out
// gets the constructor's value, and a fresh object writes only what differs from the default.
struct TDefaultsCase {
    const char* Class;
    const char* Property;
    const char* Fresh; // the value of a new object
    bool Written;      // a new object writes it
};

TEST_F(TextControls, NewObjectsWriteWhatDiffersFromTheDeclaredDefaults) {
    const TDefaultsCase cases[] = {
        {"TsgLabel", "AutoTranslate", "True", false},
        {"TsgLabel", "WordWrap", "True", false},
        {"TsgLabel", "AutoSize", "False", false},
        {"TsgLabel", "HitTest", "False", false},
        {"TsgLabel", "TextAlign", "sgTextAlignCenter", true},
        {"TsgValueLabel", "AutoTranslate", "False", false},
        {"TsgValueLabel", "WordWrap", "False", false},
        {"TsgStatusBar", "ShowSizeGrip", "True", true},
        {"TsgStatusBar", "Align", "vaBottom", false},
        {"TsgToolBar", "Align", "vaTop", false},
        {"TsgPanel", "Width", "120", true},
    };
    for (const TDefaultsCase& c : cases) {
        SCOPED_TRACE(std::string(c.Class) + "." + c.Property);
        const TClassInfo& info = FindClass(c.Class);
        std::unique_ptr<TComponent> o(info.CreateComponent(nullptr));
        auto* object = dynamic_cast<TsgObject*>(o.get());
        ASSERT_NE(object, nullptr);
        TStringStream out;
        object->SaveToStream(out);
        const std::string text = out.DataString().c_str();
        const std::string line = std::string(c.Property) + " = " + c.Fresh;
        EXPECT_EQ(text.find(line) != std::string::npos, c.Written) << text;
        // Read back, it has the constructor's value either way.
        TStringStream in{out.DataString()};
        std::unique_ptr<TsgObject> back(CreateObjectFromStream(nullptr, in));
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(controlstest::PropText(back.get(), c.Property), c.Fresh);
    }
}

TEST_F(TextControls, SizesAtConstruction) {
    TsgLabel label(nullptr);
    TsgPanel panel(nullptr);
    TsgToolBar tools(nullptr);
    TsgSelectionItem item(nullptr);
    EXPECT_EQ(label.Width(), 120);
    EXPECT_EQ(label.Height(), 15);
    EXPECT_EQ(panel.Width(), 120);
    EXPECT_EQ(panel.Height(), 100);
    EXPECT_EQ(tools.Height(), 40);
    EXPECT_FALSE(item.HitTest());
}

TEST_F(TextControls, ACaptionAlongABindingBecomesTheBoundLabelsText) {
    auto* source = Add<TsgLabel>();
    auto* bound = Add<TsgLabel>();
    bound->SetBindingSource(source);
    source->SetText(u"shared");
    source->ToBindingObjects();
    EXPECT_EQ(Utf8(bound->Text()), "shared");
}

} // namespace
