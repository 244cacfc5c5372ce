// The tab control as layouts carry it: a stream with ItemIndex before the headers and each page
// nested under its header loads with the pages handed to the control, switches pages by
// ItemIndex, writes back with Layout references and reloads alike; and the default sheet's tab
// styles dress a control and its headers with every part they name.
#include "RangeBarsTestSupport.h"

#include "scene/controls/Sg_layout.h"
#include "scene/controls/Sg_tabcontrol.h"
#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_streams.h"

#include "platform/classes/ObjectText.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "support/ComponentText.h"

#include <cstdlib>
#include <memory>
#include <string>

void RegisterSgLayoutsUnit();

namespace {

// Three headers as the wizard has them (no hit test), each with its page nested under it and
// content on the page; the second is selected before any header exists.
const char* kWizard = R"(object Root: TsgLayout
  Width = 660
  Height = 464
  object Tabs: TsgTabControl
    ItemIndex = 1
    Align = vaClient
    Width = 658
    Height = 442
    Resource = 'tabcontrolstyle'
    object Item0: TsgTabItem
      Width = 40
      Height = 20
      HitTest = False
      object Page0: TsgLayout
        Width = 658
        Height = 422
        object Text0: TsgText
          Align = vaClient
          Text = 'Welcome'
        end
      end
    end
    object Item1: TsgTabItem
      Width = 40
      Height = 20
      HitTest = False
      object Page1: TsgLayout
        Width = 658
        Height = 422
        object Text1: TsgText
          Align = vaClient
          Text = 'Target'
        end
      end
    end
    object Item2: TsgTabItem
      Width = 80
      Height = 20
      HitTest = False
      object Page2: TsgLayout
        Width = 658
        Height = 422
      end
    end
  end
end
)";

std::unique_ptr<TsgLayout> Load(const AnsiString& text) {
    TStringStream source{text};
    TMemoryStream binary;
    ObjectTextToBinary(source, binary);
    binary.SetPosition(0);
    auto root = std::make_unique<TsgLayout>(nullptr);
    TReader reader(binary);
    reader.ReadRootComponent(root.get());
    return root;
}

AnsiString Save(TsgLayout* root) {
    return testsupport::ComponentText(root);
}

class TabControlStream : public ::testing::Test {
protected:
    void SetUp() override {
        rangetest::RegisterAll();
        RegisterSgLayoutsUnit();
        RegisterSgTabControlUnit();
    }
    template <class T>
    static T* Find(TsgLayout* root, const char* name) {
        return dynamic_cast<T*>(root->FindComponent(name));
    }
    // Names the visible pages; the tab control must show exactly one.
    static std::string Shown(TsgLayout* root) {
        std::string shown;
        for (const char* name : {"Page0", "Page1", "Page2"})
            if (TsgLayout* page = Find<TsgLayout>(root, name); page && page->Visible())
                shown += shown.empty() ? name : std::string(",") + name;
        return shown;
    }
    // Checks that each header has its page as a sibling and that the page kept its content.
    static void ExpectPagesUnderTheControl(TsgLayout* root) {
        auto* tabs = Find<TsgTabControl>(root, "Tabs");
        ASSERT_NE(tabs, nullptr);
        for (int i = 0; i < 3; ++i) {
            const std::string n = std::to_string(i);
            auto* item = Find<TsgTabItem>(root, ("Item" + n).c_str());
            auto* page = Find<TsgLayout>(root, ("Page" + n).c_str());
            ASSERT_NE(item, nullptr);
            ASSERT_NE(page, nullptr);
            EXPECT_EQ(item->Layout(), page) << i;
            EXPECT_EQ(page->Parent(), tabs) << i;
            EXPECT_EQ(item->Index(), i);
            EXPECT_FLOAT_EQ(page->Position()->Y(), 20) << i;
            EXPECT_FLOAT_EQ(page->Height(), tabs->Height() - 20) << i;
        }
        EXPECT_EQ(Find<TsgText>(root, "Text1")->Parent(), Find<TsgLayout>(root, "Page1"));
    }
};

TEST_F(TabControlStream, NestedPagesLoadSwitchByItemIndexAndRoundTrip) {
    auto root = Load(kWizard);
    ExpectPagesUnderTheControl(root.get());
    auto* tabs = Find<TsgTabControl>(root.get(), "Tabs");
    EXPECT_EQ(tabs->ItemIndex(), 1);
    EXPECT_EQ(Shown(root.get()), "Page1");
    tabs->SetItemIndex(2);
    EXPECT_EQ(Shown(root.get()), "Page2");

    const AnsiString saved = Save(root.get());
    EXPECT_NE(std::string(saved.c_str()).find("Layout = Page2"), std::string::npos)
        << saved.c_str();
    auto again = Load(saved);
    ExpectPagesUnderTheControl(again.get());
    EXPECT_EQ(Find<TsgTabControl>(again.get(), "Tabs")->ItemIndex(), 2);
    EXPECT_EQ(Shown(again.get()), "Page2");
    EXPECT_EQ(Save(again.get()), saved);
}

// A scene reads a text-form tree object by object: each header is read with its page under it
// and only then joins the control. The pages must reach the control all the same.
TEST_F(TabControlStream, HeadersReadOneByOneStillHandTheirPagesToTheControl) {
    TComponent owner(nullptr);
    TStringStream source{AnsiString(kWizard)};
    TsgObject* root = CreateObjectFromStream(&owner, source);
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->ChildrenCount(), 1);
    auto* tabs = dynamic_cast<TsgTabControl*>(root->GetChild(0));
    ASSERT_NE(tabs, nullptr);
    std::string shown;
    for (int i = 0; i < 3; ++i) {
        TsgTabItem* item = tabs->TabItem(i);
        ASSERT_NE(item, nullptr) << i;
        ASSERT_NE(item->Layout(), nullptr) << i;
        EXPECT_EQ(item->Layout()->Parent(), tabs) << i;
        EXPECT_FLOAT_EQ(item->Layout()->Position()->Y(), 20) << i;
        shown += item->Layout()->Visible() ? "1" : "0";
    }
    EXPECT_EQ(shown, "010");
    root->Free();
}

TEST_F(TabControlStream, DefaultSheetDressesTheControlAndItsHeaders) {
    rangetest::UseBuiltSheet();
    struct Case {
        bool hud;
        const char* controlStyle;
        const char* itemStyle;
    };
    for (const Case& c : {Case{false, "tabcontrolstyle", "tabitemstyle"},
                          Case{true, "hudtabcontrolstyle", "hudtabitemstyle"}}) {
        SCOPED_TRACE(c.controlStyle);
        TsgOffscreenScene scene(nullptr, 320, 240);
        TsgTabControl* tabs = c.hud ? new TsgHudTabControl(&scene) : new TsgTabControl(&scene);
        scene.AddObject(tabs);
        tabs->SetBounds(0, 0, 300, 200);
        std::vector<TsgTabItem*> items;
        for (int i = 0; i < 2; ++i) {
            TsgTabItem* item = c.hud ? new TsgHudTabItem(&scene) : new TsgTabItem(&scene);
            item->SetText(u"Tab");
            tabs->AddObject(item);
            items.push_back(item);
        }
        EXPECT_EQ(tabs->ItemClass(), AnsiString(c.hud ? "TsgHudTabItem" : "TsgTabItem"));
        tabs->SetItemIndex(1);
        rangetest::ApplyStyles(tabs);
        ASSERT_NE(tabs->StyleClone(), nullptr);
        EXPECT_EQ(tabs->StyleClone()->ResourceName(), UnicodeString(c.controlStyle));
        for (TsgTabItem* item : items) {
            ASSERT_NE(item->StyleClone(), nullptr);
            EXPECT_EQ(item->StyleClone()->ResourceName(), UnicodeString(c.itemStyle));
            ASSERT_NE(item->TextPart(), nullptr);
            EXPECT_EQ(item->TextPart()->Text(), UnicodeString(u"Tab"));
        }
        EXPECT_FALSE(items[0]->IsSelected());
        EXPECT_TRUE(items[1]->IsSelected());
        // The clone of the control sits below the header strip.
        EXPECT_FLOAT_EQ(tabs->StyleClone()->Visual()->Position()->Y(),
                        items[0]->Height() + items[0]->Padding()->Top() +
                            items[0]->Padding()->Bottom());
        scene.PaintScene(0xFFFFFFFF);
        // For a look by eye: DBI_SCREENSHOT_DIR=dir keeps the picture of each style.
        if (const char* dir = std::getenv("DBI_SCREENSHOT_DIR")) {
            TsgCanvas* canvas = scene.Canvas();
            TsgBitmap shot(canvas->Width(), canvas->Height());
            canvas->SaveToBits(shot.StartLine());
            const std::string file = std::string(dir) + "/" + c.controlStyle + ".png";
            EXPECT_TRUE(shot.SaveToFile(UnicodeString(file.c_str())));
        }
    }
    FreeDefaultStyles();
}

} // namespace
