// Controls and their styles: where a style is looked up, how its clone is put in place, the
// background's fill, data binding, the named resource objects, and a failing style leaving the
// scene's updates as they were.
#include "CanvasTestSupport.h"

#include "scene/core/Sg_canvas_gdip.h"
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_offscreen.h"
#include "scene/core/Sg_scene_preview.h"

#include "platform/classes/ObjectText.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/win/ResourceBundle.h"
#include "platform/win/Resources.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// Class style names "LookupBasestyle" and "LookupButtonstyle".
class TsgLookupBase : public TsgControl {
    DBI_PERSISTENT(TsgLookupBase, TsgControl)
    explicit TsgLookupBase(TComponent* AOwner) : TsgControl(AOwner) {}
};

class TsgLookupButton : public TsgLookupBase {
    DBI_PERSISTENT(TsgLookupButton, TsgLookupBase)
    explicit TsgLookupButton(TComponent* AOwner) : TsgLookupBase(AOwner) {}

    std::vector<std::string> Events;
    bool ThrowInApply = false;
    UnicodeString Data = u"";
    TsgVariant GetData() override { return Data; }
    void SetData(const TsgVariant& Value) override { Data = Value; }

protected:
    void ApplyStyle() override {
        TsgControl::ApplyStyle();
        if (ThrowInApply)
            throw std::runtime_error("broken style");
        Events.push_back("apply " + Mark() + (GetChild(0) == StyleClone() ? " first" : " late"));
    }
    void FreeStyle() override { Events.push_back("free " + Mark()); }

private:
    std::string Mark() {
        TsgVisualObject* v = StyleClone() ? StyleClone()->Visual() : nullptr;
        return v ? v->Hint().ToUtf8() : "none";
    }
};

DBI_PUBLISH(TsgLookupBase) {}
DBI_PUBLISH(TsgLookupButton) {}

namespace {

// An offscreen scene with a style container of its own.
class TStyledScene : public TsgOffscreenScene {
public:
    TStyledScene() : TsgOffscreenScene(nullptr, 40, 20) {}
    TsgResources* GetStyle() override { return Sheet.get(); }
    std::unique_ptr<TsgResources> Sheet;
};

struct TEntry {
    const char* Name;
    const char* Mark;
};

// A style tree: a visual root holding one visual style per entry, marked by its Hint, each with
// a part "part".
std::string SheetText(const std::vector<TEntry>& entries) {
    std::string text = "object TsgVisualObject\n";
    for (const TEntry& e : entries)
        text += std::string("  object TsgVisualObject\n    ResourceName = '") + e.Name +
                "'\n    Hint = '" + e.Mark +
                "'\n    object TsgVisualObject\n      ResourceName = 'part'\n    end\n  end\n";
    return text + "end\n";
}

TsgObject* SheetFrom(const std::vector<TEntry>& entries) {
    TStringStream text{AnsiString(SheetText(entries))};
    return CreateObjectFromStream(nullptr, text);
}

std::string MarkOf(TsgControl* c) {
    TsgVisualObject* v = c->StyleClone() ? c->StyleClone()->Visual() : nullptr;
    return v ? v->Hint().ToUtf8() : "";
}

class StyleLookup : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterSgSceneUnit();
        RegisterClass(TsgPreviewShape::StaticClassInfo());
        FreeDefaultStyles();
    }
    void TearDown() override {
        FreeDefaultStyles();
        win::SetResourceFile("");
    }
    // The program's resource "defaultsgstyle" holds these entries from now on.
    void CarrySheet(const std::vector<TEntry>& entries) {
        TStringStream text{AnsiString(SheetText(entries))};
        TMemoryStream binary;
        ObjectTextToBinary(text, binary);
        const std::string bundle = scratch_ / "bundle.bin";
        std::ofstream out(bundle, std::ios::binary);
        const auto* p = static_cast<const uint8_t*>(binary.Memory());
        std::string error;
        ASSERT_TRUE(win::WriteResourceBundle(
            out, {{"DEFAULTSGSTYLE", "RCDATA", std::vector<uint8_t>(p, p + binary.Size()), ""}}, 0,
            error))
            << error;
        out.close();
        win::SetResourceFile(bundle);
    }
    testsupport::ScratchFolder scratch_;
};

struct TLookupCase {
    const char* Title;
    const char* Resource;
    std::vector<TEntry> SceneSheet; // empty: the scene has no style container
    std::vector<TEntry> DefaultSheet;
    const char* Global;   // a loose object of that ResourceName, marked "global"
    const char* Expected; // the mark of the applied style, "" for none
};

TEST_F(StyleLookup, FollowsTheLookupOrder) {
    const std::vector<TLookupCase> cases = {
        {"own container before the default sheet",
         "shared",
         {{"shared", "scene"}},
         {{"shared", "default"}},
         nullptr,
         "scene"},
        {"default sheet without a container, any case",
         "SHARED",
         {},
         {{"shared", "default"}},
         nullptr,
         "default"},
        {"any stored object by Resource", "loose", {}, {}, "loose", "global"},
        {"a Resource found nowhere falls back to the class style",
         "nowhere",
         {},
         {{"LookupButtonstyle", "class"}},
         nullptr,
         "class"},
        {"class style of the own container first",
         "",
         {{"lookupbuttonstyle", "scene class"}},
         {{"LookupButtonstyle", "class"}},
         nullptr,
         "scene class"},
        {"parent class style of the default sheet",
         "",
         {},
         {{"LookupBasestyle", "parent"}},
         nullptr,
         "parent"},
        {"the own container is not searched for the parent class",
         "",
         {{"LookupBasestyle", "scene parent"}},
         {},
         nullptr,
         ""},
        {"nothing anywhere", "", {}, {}, nullptr, ""},
    };
    for (const TLookupCase& c : cases) {
        SCOPED_TRACE(c.Title);
        FreeDefaultStyles();
        DefaultStyles = c.DefaultSheet.empty() ? nullptr : SheetFrom(c.DefaultSheet);
        TStyledScene scene;
        if (!c.SceneSheet.empty()) {
            scene.Sheet = std::make_unique<TsgResources>(nullptr);
            TStringList lines;
            lines.SetText(UnicodeString::FromUtf8(SheetText(c.SceneSheet)));
            scene.Sheet->SetResource(lines);
            ASSERT_NE(scene.Sheet->Root, nullptr);
        }
        std::unique_ptr<TsgVisualObject> loose;
        if (c.Global) {
            loose = std::make_unique<TsgVisualObject>(nullptr);
            loose->SetResourceName(UnicodeString::FromUtf8(c.Global));
            loose->SetHint(u"global");
        }
        auto* control = new TsgLookupButton(&scene);
        scene.AddObject(control);
        control->SetResource(UnicodeString::FromUtf8(c.Resource));
        control->ApplyResource();
        EXPECT_EQ(MarkOf(control), c.Expected);
        if (*c.Expected && !c.Global) {
            // The parts of the clone are reached through the control.
            ASSERT_NE(control->FindResource(u"PART"), nullptr);
            EXPECT_EQ(control->FindResource(u"part")->Parent(), control->StyleClone());
        }
        control->Free();
    }
}

TEST_F(StyleLookup, TheFirstLookupReadsTheCarriedSheetAndKeepsTheName) {
    CarrySheet({{"onlydefault", "carried"}});
    TsgOffscreenScene scene(nullptr, 40, 20);
    auto* first = new TsgLookupButton(&scene);
    scene.AddObject(first);
    first->SetResource(u"onlydefault");
    ASSERT_NE(DefaultStyles, nullptr);
    EXPECT_EQ(MarkOf(first), "carried");
    EXPECT_EQ(first->StyleClone()->ResourceName(), u"onlydefault");
    auto* second = new TsgLookupButton(&scene);
    scene.AddObject(second);
    second->SetResource(u"onlydefault");
    EXPECT_EQ(MarkOf(second), "carried");
    EXPECT_EQ(second->StyleClone()->ResourceName(), u"");
}

TEST_F(StyleLookup, TheCloneIsChildZeroFillingTheControlLockedAndNeverStored) {
    DefaultStyles = SheetFrom({{"LookupButtonstyle", "class"}});
    TsgOffscreenScene scene(nullptr, 40, 20);
    auto* control = new TsgLookupButton(&scene);
    scene.AddObject(control);
    control->SetBounds(0, 0, 100, 40);
    auto* own = new TsgVisualObject(&scene);
    own->SetHint(u"own child");
    control->AddObject(own);
    EXPECT_TRUE(control->StyleNeeded());
    control->BeforePaint(); // styles are applied on the first paint
    EXPECT_FALSE(control->StyleNeeded());

    TsgVisualObject* clone = control->StyleClone()->Visual();
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(control->GetChild(0), clone);
    EXPECT_EQ(control->GetChild(1), own);
    EXPECT_EQ(clone->Align(), vaContents);
    EXPECT_EQ(clone->Width(), 100);
    EXPECT_EQ(clone->Height(), 40);
    EXPECT_EQ(clone->Owner(), control);
    std::vector<TsgObject*> nodes;
    clone->AddObjectsToList(nodes);
    ASSERT_EQ(nodes.size(), 2u);
    for (TsgObject* node : nodes) {
        EXPECT_FALSE(node->Stored());
        EXPECT_TRUE(node->Visual()->Locked());
    }
    TStringStream saved;
    control->SaveToStream(saved);
    const UnicodeString text = saved.DataString();
    EXPECT_EQ(text.Pos(u"class"), 0) << text.ToUtf8();
    EXPECT_EQ(text.Pos(u"'part'"), 0) << text.ToUtf8();
    EXPECT_GT(text.Pos(u"own child"), 0) << text.ToUtf8();
    // A second paint keeps the clone.
    control->BeforePaint();
    EXPECT_EQ(control->StyleClone(), clone);
}

TEST_F(StyleLookup, ANewResourceFreesTheOldStyleBeforeApplyingTheNew) {
    DefaultStyles = SheetFrom({{"a", "A"}, {"b", "B"}});
    TsgOffscreenScene scene(nullptr, 40, 20);
    auto* control = new TsgLookupButton(&scene);
    scene.AddObject(control);
    control->SetResource(u"a");
    control->SetResource(u"b");
    EXPECT_EQ(control->Events,
              (std::vector<std::string>{"apply A first", "free A", "apply B first"}));
    EXPECT_EQ(control->ChildrenCount(), 1);
    // Re-applying the styles of a scene builds a fresh clone.
    TsgObject* before = control->StyleClone();
    control->UpdateResource();
    EXPECT_NE(control->StyleClone(), before);
    EXPECT_EQ(control->ChildrenCount(), 1);
}

TEST_F(StyleLookup, AFailingStyleLeavesTheSceneUpdatingAndTheControlUnstyled) {
    DefaultStyles = SheetFrom({{"LookupButtonstyle", "class"}});
    TsgOffscreenScene scene(nullptr, 40, 20);
    auto* control = new TsgLookupButton(&scene);
    scene.AddObject(control);
    control->ThrowInApply = true;
    scene.SetDisableUpdate(false);
    control->SetStateFlags(csLoading); // styled while its window is being read
    EXPECT_NO_THROW(control->ApplyResource());
    control->ClearStateFlags(csLoading);
    EXPECT_FALSE(scene.GetDisableUpdate());
    EXPECT_FALSE(control->StyleNeeded());
    // Suppression the scene had before stays.
    scene.SetDisableUpdate(true);
    control->SetStateFlags(csLoading);
    control->SetResource(u"LookupButtonstyle");
    EXPECT_TRUE(control->StyleNeeded());
    control->ApplyResource();
    control->ClearStateFlags(csLoading);
    EXPECT_TRUE(scene.GetDisableUpdate());
}

// A style that holds a control wearing that same style stops nesting instead of cloning itself
// on every paint until the stack runs out.
TEST_F(StyleLookup, AStyleHoldingItselfStopsNesting) {
    TStringStream text{AnsiString("object TsgVisualObject\n"
                                  "  object TsgVisualObject\n"
                                  "    ResourceName = 'loop'\n"
                                  "    object TsgLookupButton\n"
                                  "      Resource = 'loop'\n"
                                  "      Align = vaClient\n"
                                  "    end\n"
                                  "  end\n"
                                  "end\n")};
    DefaultStyles = CreateObjectFromStream(nullptr, text);
    ASSERT_NE(DefaultStyles, nullptr);
    TsgOffscreenScene scene(nullptr, 40, 20);
    auto* control = new TsgLookupButton(&scene);
    scene.AddObject(control);
    control->SetBounds(0, 0, 40, 20);
    control->SetResource(u"loop");
    scene.InvalidateAll();
    scene.PaintScene(0xFFFFFFFF);
    std::vector<TsgObject*> controls;
    control->AddControlsToList(controls);
    EXPECT_GT(controls.size(), 2u);
    EXPECT_LE(controls.size(), 66u);
}

TEST(ControlNames, ClassStyleNameDropsThePrefix) {
    EXPECT_EQ(TsgControl::StyleNameOf(TsgLookupButton::StaticClassInfo()), u"LookupButtonstyle");
    EXPECT_EQ(TsgControl::StyleNameOf(TsgBackground::StaticClassInfo()), u"Backgroundstyle");
}

// A background with a fill paints the fill instead of its style.
TEST_F(StyleLookup, ABackgroundWithAFillHidesItsStyle) {
    InitSgCanvasUnit();
    DefaultStyles = CreateObjectFromStream(
        nullptr, *std::make_unique<TStringStream>(AnsiString("object TsgVisualObject\n"
                                                             "  object TsgPreviewShape\n"
                                                             "    ResourceName = 'red'\n"
                                                             "    Fill.Color = '#FFFF0000'\n"
                                                             "    Stroke.Style = sgBrushNone\n"
                                                             "  end\n"
                                                             "end\n")));
    ASSERT_NE(DefaultStyles, nullptr);
    for (bool filled : {false, true}) {
        SCOPED_TRACE(filled ? "solid fill" : "no fill");
        TsgOffscreenScene scene(nullptr, 20, 20);
        auto* background = new TsgBackground(&scene);
        scene.AddObject(background);
        background->SetBounds(0, 0, 20, 20);
        background->SetResource(u"red");
        if (filled) {
            TsgBrush blue(sgBrushSolid, 0xFF0000FF);
            background->SetFill(&blue);
        }
        scene.InvalidateAll();
        scene.PaintScene(0xFFFFFFFF);
        EXPECT_EQ(Pixels(*scene.Canvas())[10 * 20 + 10], filled ? 0xFF0000FFu : 0xFFFF0000u);
        ASSERT_NE(background->StyleClone(), nullptr);
        EXPECT_TRUE(background->StyleClone()->Visual()->Visible());
    }
}

TEST(ControlBinding, SourcesHandDataToTheirBindingObjects) {
    RegisterSgSceneUnit();
    auto source = std::make_unique<TsgLookupButton>(nullptr);
    auto* first = new TsgLookupButton(nullptr);
    auto* second = new TsgLookupButton(nullptr);
    source->Data = u"42";
    first->SetBindingSource(source.get());
    EXPECT_EQ(first->Data, u"42");
    second->SetBindingSource(source.get());
    source->Data = u"7";
    source->ToBindingObjects();
    EXPECT_EQ(first->Data, u"7");
    EXPECT_EQ(second->Data, u"7");
    EXPECT_EQ(source->BindingObjects().size(), 2u);
    // A binding object that goes leaves its source's list.
    first->Free();
    ASSERT_EQ(source->BindingObjects().size(), 1u);
    EXPECT_EQ(source->BindingObjects()[0], second);
    // A source that goes clears the reference of what was bound to it.
    source.reset();
    EXPECT_EQ(second->BindingSource(), nullptr);
    second->Free();
}

TEST(ControlBinding, ChangingTheSourceMovesTheBinding) {
    RegisterSgSceneUnit();
    TsgLookupButton a(nullptr), b(nullptr), bound(nullptr);
    bound.SetBindingSource(&a);
    bound.SetBindingSource(&b);
    EXPECT_TRUE(a.BindingObjects().empty());
    EXPECT_EQ(b.BindingObjects().size(), 1u);
    bound.SetBindingSource(nullptr);
    EXPECT_TRUE(b.BindingObjects().empty());
}

TEST(ResourceObjects, RenamingGivesAnEmptyResourceNameOnce) {
    RegisterSgSceneUnit();
    TsgBrushObject brush(nullptr);
    TsgPathObject path(nullptr);
    TsgBitmapObject bitmap(nullptr);
    for (TsgObject* o : std::initializer_list<TsgObject*>{&brush, &path, &bitmap}) {
        SCOPED_TRACE(o->ClassName().c_str());
        o->SetName("first");
        EXPECT_EQ(o->ResourceName(), u"first");
        o->SetName("second");
        EXPECT_EQ(o->ResourceName(), u"first");
    }
    EXPECT_EQ(brush.Brush()->Style(), sgBrushSolid);
    EXPECT_EQ(brush.Brush()->SolidColor(), 0xFFFFFFFFu);
    EXPECT_EQ(bitmap.Bitmap()->Width(), 1);
    EXPECT_EQ(bitmap.Bitmap()->Height(), 1);
}

TEST(ResourceObjects, BackgroundStartsWithoutAFill) {
    RegisterSgSceneUnit();
    TsgBackground background(nullptr);
    EXPECT_EQ(background.Fill()->Style(), sgBrushNone);
    EXPECT_EQ(background.Fill()->GetSolidColor(), 0xFFE0E0E0u);
    EXPECT_TRUE(background.IsControl());
    TsgContent content(nullptr);
    EXPECT_TRUE(content.IsContent());
}

} // namespace
