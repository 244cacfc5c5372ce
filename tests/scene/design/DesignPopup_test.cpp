// The design menu: built from the selection and the class registry at every opening, inserting
// by category, deleting, hiding, reordering, copying and pasting a subtree, the snapping mode as
// radio items, and the scene's snapping switches kept in its stream.
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"
#include "scene/design/Sg_scene_design.h"

#include "platform/classes/ObjectText.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/rtl/StringUtils.h"
#include "platform/ui/Application.h"
#include "platform/ui/Menus.h"
#include "platform/ui/SdlVideo.h"
#include "support/ComponentText.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class TNamingDesigner : public TsgDesigner {
public:
    int Names = 0;
    int ModifiedCount = 0;
    void SelectObject(TComponent*, TsgObject*, const std::vector<TsgObject*>&) override {}
    void Modified(TComponent*) override { ++ModifiedCount; }
    AnsiString UniqueName(TComponent*, const AnsiString& ClassName) override {
        const AnsiString base =
            Pos(AnsiString("Tsg"), ClassName) == 1 ? ClassName.SubString(4, 100) : ClassName;
        return base + AnsiString(std::to_string(++Names).c_str());
    }
    bool IsSelected(TComponent*, const TObject*) override { return false; }
};

struct TNoFlush {
    void Flush(TObject*) {}
} noFlush;

std::vector<std::string> Captions(TMenuItem* item) {
    std::vector<std::string> out;
    for (int i = 0; i < item->Count(); ++i)
        out.push_back(item->Items(i)->Caption().ToUtf8());
    return out;
}

TMenuItem* Find(TMenuItem* item, const char16_t* caption) {
    for (int i = 0; i < item->Count(); ++i)
        if (item->Items(i)->Caption() == UnicodeString(caption))
            return item->Items(i);
    return nullptr;
}

class DesignPopup : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(EnsureVideo());
        RegisterSgSceneUnit();
        RegisterSgObjectsUnit();
        RegisterSgDesignUnit();
        sgDesigner = &designer;
        owner.SetDesigning(true);
        scene = std::make_unique<TsgScene>(&owner);
        scene->CreateEmbedded(400, 300, TNotifyEvent::Bind<&TNoFlush::Flush>(&noFlush));
        root = new TsgVisualObject(&owner);
        root->SetName("Root1");
        scene->AddObject(root);
        scene->RealignRoot();
        root->SetBounds(0, 0, 400, 300);
        design = TsgSceneDesign::Of(scene.get());
        ASSERT_NE(design, nullptr);
    }
    void TearDown() override {
        if (design && design->DesignPopup())
            design->DesignPopup()->CloseMenu();
        scene.reset();
        owner.DestroyComponents();
        sgDesigner = nullptr;
        Application->ProcessMessages();
    }
    TMenuItem* Open() {
        design->OpenDesignPopup();
        return design->DesignPopup() ? design->DesignPopup()->Items() : nullptr;
    }
    TsgVisualObject* AddChild(TsgVisualObject* parent, const char* name) {
        auto* o = new TsgRectangle(&owner);
        o->SetName(name);
        parent->AddObject(o);
        o->SetBounds(10, 10, 50, 40);
        return o;
    }

    TNamingDesigner designer;
    TComponent owner{nullptr};
    std::unique_ptr<TsgScene> scene;
    TsgVisualObject* root = nullptr;
    TsgSceneDesign* design = nullptr;
};

TEST_F(DesignPopup, EntriesFollowTheSelection) {
    design->SetSelected(nullptr);
    TMenuItem* items = Open();
    ASSERT_NE(items, nullptr);
    EXPECT_TRUE(design->DesignPopup()->IsOpen());
    EXPECT_EQ(Captions(items),
              (std::vector<std::string>{"Add object", "Delete object", "Load From File...", "Order",
                                        "Edit", "Grid"}));
    design->SetSelected(root);
    items = Open();
    EXPECT_EQ(Captions(items),
              (std::vector<std::string>{"Add object", "Delete object", "Load From File...",
                                        "Hide in Design-time", "Order", "Edit", "Grid"}));
    EXPECT_EQ(Captions(Find(items, u"Order")),
              (std::vector<std::string>{"Bring to front", "Send to back"}));
    EXPECT_EQ(Captions(Find(items, u"Edit")),
              (std::vector<std::string>{"Copy to clipboard", "Paste from clipboard"}));
    EXPECT_EQ(Captions(Find(items, u"Grid")),
              (std::vector<std::string>{"Show snap grid", "Snap to grid", "Snap to lines",
                                        "Snap disabled"}));

    // One submenu per category, its classes by name without "Tsg", sorted.
    TMenuItem* add = Find(items, u"Add object");
    TMenuItem* shapes = Find(add, u"Shapes");
    ASSERT_NE(shapes, nullptr);
    std::vector<std::string> names = Captions(shapes);
    EXPECT_TRUE(
        std::is_sorted(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
            return CompareText(AnsiString(a.c_str()), AnsiString(b.c_str())) < 0;
        }));
    EXPECT_NE(std::find(names.begin(), names.end(), "Rectangle"), names.end());
    EXPECT_EQ(Find(shapes, u"Rectangle")->Tag(), 255);
    std::vector<std::string> categories = Captions(add);
    EXPECT_EQ(std::count(categories.begin(), categories.end(), "Shapes"), 1);
}

TEST_F(DesignPopup, AddByCategoryInsertsThatClassUnderTheSelection) {
    design->SetSelected(root);
    TMenuItem* items = Open();
    Find(Find(Find(items, u"Add object"), u"Shapes"), u"Ellipse")->Click();
    ASSERT_EQ(root->ChildrenCount(), 1);
    auto* added = dynamic_cast<TsgEllipse*>(root->GetChild(0));
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->Owner(), &owner);
    EXPECT_EQ(design->Selected(), added);
}

TEST_F(DesignPopup, DeleteFreesTheSelectionAndSelectsItsParentButNeverTheRoot) {
    TsgVisualObject* child = AddChild(root, "Child");
    design->SetSelected(child);
    Find(Open(), u"Delete object")->Click();
    EXPECT_EQ(root->ChildrenCount(), 0);
    EXPECT_EQ(owner.FindComponent("Child"), nullptr);
    EXPECT_EQ(design->Selected(), root);
    Find(Open(), u"Delete object")->Click();
    EXPECT_EQ(scene->Root(), root);
}

TEST_F(DesignPopup, HideReorderCopyAndPaste) {
    TsgVisualObject* a = AddChild(root, "A");
    TsgVisualObject* b = AddChild(root, "B");
    design->SetSelected(a);
    TMenuItem* items = Open();
    EXPECT_FALSE(Find(items, u"Hide in Design-time")->Checked());
    Find(Find(items, u"Order"), u"Bring to front")->Click();
    EXPECT_EQ(root->GetChild(1), a);
    Find(Find(Open(), u"Order"), u"Send to back")->Click();
    EXPECT_EQ(root->GetChild(0), a);

    Find(Find(Open(), u"Edit"), u"Copy to clipboard")->Click();
    EXPECT_NE(TsgSceneDesign::DesignClipboard().str().find("TsgRectangle"), std::string::npos);
    design->SetSelected(b);
    Find(Find(Open(), u"Edit"), u"Paste from clipboard")->Click();
    ASSERT_EQ(b->ChildrenCount(), 1);
    EXPECT_NE(dynamic_cast<TsgRectangle*>(b->GetChild(0)), nullptr);
    EXPECT_EQ(b->GetChild(0)->Owner(), &owner);

    design->SetSelected(a);
    TMenuItem* hide = Find(Open(), u"Hide in Design-time");
    hide->Click();
    EXPECT_TRUE(a->DesignHide());
    EXPECT_EQ(design->Selected(), root);
    design->SetSelected(a);
    EXPECT_TRUE(Find(Open(), u"Hide in Design-time")->Checked());
}

TEST_F(DesignPopup, SnappingModesAreRadioItems) {
    struct Step {
        const char16_t* caption;
        bool grid, lines;
        const char* checks; // grid, lines, disabled as shown at the next opening
    } steps[] = {
        {u"Snap to grid", true, false, "100"},
        {u"Snap to lines", false, true, "010"},
        {u"Snap disabled", false, false, "001"},
        {u"Snap to grid", true, false, "100"},
    };
    for (const Step& s : steps) {
        TMenuItem* grid = Find(Open(), u"Grid");
        Find(grid, s.caption)->Click();
        EXPECT_EQ(design->SnapToGrid(), s.grid) << UnicodeString(s.caption).ToUtf8();
        EXPECT_EQ(design->SnapToLines(), s.lines) << UnicodeString(s.caption).ToUtf8();
        grid = Find(Open(), u"Grid");
        std::string checks;
        for (int i = 1; i < 4; ++i)
            checks += grid->Items(i)->Checked() ? '1' : '0';
        EXPECT_EQ(checks, s.checks) << UnicodeString(s.caption).ToUtf8();
    }
    TMenuItem* show = Find(Find(Open(), u"Grid"), u"Show snap grid");
    show->Click();
    EXPECT_TRUE(design->SnapGridShow());
}

TEST_F(DesignPopup, DisabledMenuDoesNotOpen) {
    design->SetDesignPopupEnabled(false);
    design->OpenDesignPopup();
    EXPECT_EQ(design->DesignPopup(), nullptr);
}

std::string SceneText(TsgCustomScene* scene) {
    return testsupport::ComponentText(scene).str();
}

TEST(DesignSnapSwitches, StreamedWithTheSceneOnEverySave) {
    RegisterSgSceneUnit();
    TsgScene scene(nullptr);
    std::string text = SceneText(&scene);
    EXPECT_NE(text.find("DesignSnapGridShow = False"), std::string::npos) << text;
    EXPECT_NE(text.find("DesignSnapToGrid = False"), std::string::npos);
    EXPECT_NE(text.find("DesignSnapToLines = True"), std::string::npos);

    scene.SetDesignSnapGridShow(true);
    scene.SetDesignSnapToGrid(true);
    scene.SetDesignSnapToLines(false);
    text = SceneText(&scene);
    struct Case {
        bool designer;
        bool show;
    } cases[] = {{true, true}, {false, false}};
    for (const Case& c : cases) {
        TNamingDesigner designer;
        sgDesigner = c.designer ? &designer : nullptr;
        TStringStream in{AnsiString(text)};
        TBytesStream binary;
        ObjectTextToBinary(in, binary);
        binary.SetPosition(0);
        TsgScene copy(nullptr);
        TReader(binary).ReadRootComponent(&copy);
        sgDesigner = nullptr;
        EXPECT_EQ(copy.DesignSnapGridShow(), c.show) << "designer " << c.designer;
        EXPECT_TRUE(copy.DesignSnapToGrid());
        EXPECT_FALSE(copy.DesignSnapToLines());
    }

    // Snapping to lines wins over the grid after loading.
    const std::string both =
        text.replace(text.find("DesignSnapToLines = False"),
                     std::string("DesignSnapToLines = False").size(), "DesignSnapToLines = True");
    TStringStream in{AnsiString(both)};
    TBytesStream binary;
    ObjectTextToBinary(in, binary);
    binary.SetPosition(0);
    TsgScene copy(nullptr);
    TReader(binary).ReadRootComponent(&copy);
    EXPECT_TRUE(copy.DesignSnapToLines());
    EXPECT_FALSE(copy.DesignSnapToGrid());
}

} // namespace
