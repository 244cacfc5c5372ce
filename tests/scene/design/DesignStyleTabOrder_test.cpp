// The design menu's style and tab-order entries: which selections offer them, the copies of a
// control's style (and of the styles of the controls inside it) moved into the scene's style
// container under their default or their own names, and the tab-order editor, driven through its
// buttons and through pushed pointer events in its real modal window.
#include "scene/controls/Sg_controls.h"
#include "scene/controls/Sg_controls_bars.h"
#include "scene/controls/Sg_controls_buttons.h"
#include "scene/controls/Sg_controls_windows.h"
#include "scene/controls/Sg_listbox.h"
#include "scene/core/Sg_canvas_gdip.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_resources.h"
#include "scene/design/Sg_dsgn_form.h"
#include "scene/design/Sg_scene_design.h"
#include "scene/design/Sg_scene_design_taborder.h"
#include "support/TestSupport.h"

#include "platform/rtl/MemoryStream.h"
#include "platform/rtl/StringUtils.h"
#include "platform/ui/Application.h"
#include "platform/ui/Menus.h"
#include "platform/ui/SdlVideo.h"
#include "platform/ui/Timer.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class TStyleDesigner : public TsgDesigner {
public:
    int Names = 0;
    std::vector<std::pair<TsgResources*, std::string>> Edited;
    void SelectObject(TComponent*, TsgObject*, const std::vector<TsgObject*>&) override {}
    void Modified(TComponent*) override {}
    AnsiString UniqueName(TComponent*, const AnsiString& ClassName) override {
        const AnsiString base =
            Pos(AnsiString("Tsg"), ClassName) == 1 ? ClassName.SubString(4, 100) : ClassName;
        return base + AnsiString(std::to_string(++Names).c_str());
    }
    bool IsSelected(TComponent*, const TObject*) override { return false; }
    void EditStyle(TsgResources* Res, const UnicodeString& ASelected) override {
        Edited.emplace_back(Res, ASelected.ToUtf8());
    }
};

struct TNoFlush {
    void Flush(TObject*) {}
} noFlush;

// A button style with a text part, a panel style holding a button of its own, and a style only
// reachable by its name.
const char* const kSheet = R"(object TsgBackground
  object TsgRectangle
    ResourceName = 'buttonstyle'
    object TsgText
      ResourceName = 'text'
    end
  end
  object TsgRectangle
    ResourceName = 'panelstyle'
    object TsgButton
      ResourceName = 'closer'
    end
  end
  object TsgEllipse
    ResourceName = 'special'
  end
end
)";

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

std::vector<std::string> Rows(TsgListBox* list) {
    std::vector<std::string> out;
    for (int i = 0; i < list->Count(); ++i)
        out.push_back(list->ItemByIndex(i)->Text().ToUtf8());
    return out;
}

class DesignStyleTabOrder : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(EnsureVideo());
        RegisterSgSceneUnit();
        RegisterSgObjectsUnit();
        RegisterSgControlsUnit();
        RegisterSgControlsBars();
        RegisterSgDesignUnit();
        InitSgCanvasUnit();
        sgDesigner = &designer;
        owner.SetDesigning(true);
        scene = std::make_unique<TsgScene>(&owner);
        scene->CreateEmbedded(400, 300, TNotifyEvent::Bind<&TNoFlush::Flush>(&noFlush));
        root = new TsgBackground(&owner);
        root->SetName("Root1");
        scene->AddObject(root);
        scene->RealignRoot();
        root->SetBounds(0, 0, 400, 300);
        design = TsgSceneDesign::Of(scene.get());
        ASSERT_NE(design, nullptr);
    }
    void TearDown() override {
        sgDesignShowModal() = [](TForm& form) { return form.ShowModal(); };
        if (design && design->DesignPopup())
            design->DesignPopup()->CloseMenu();
        scene.reset();
        owner.DestroyComponents();
        sgDesigner = nullptr;
        if (ownSheet)
            FreeDefaultStyles();
        Application->ProcessMessages();
    }
    // The small sheet above in place of the program's own.
    void UseSheet() {
        FreeDefaultStyles();
        TStringStream sheet{AnsiString(kSheet)};
        DefaultStyles = CreateObjectFromStream(nullptr, sheet);
        ASSERT_NE(DefaultStyles, nullptr);
        ownSheet = true;
    }
    template <class T>
    T* Add(TsgVisualObject* parent, const char* name) {
        auto* o = new T(&owner);
        o->SetName(name);
        parent->AddObject(o);
        o->SetBounds(10, 10, 80, 30);
        return o;
    }
    void Choose(TsgVisualObject* sel, const char16_t* caption) {
        design->SetSelected(sel);
        design->OpenDesignPopup();
        TMenuItem* item = Find(design->DesignPopup()->Items(), caption);
        ASSERT_NE(item, nullptr) << UnicodeString(caption).ToUtf8();
        item->Click();
    }
    TsgObject* StyleRoot() { return scene->Style() ? scene->Style()->Root : nullptr; }

    TStyleDesigner designer;
    TComponent owner{nullptr};
    std::unique_ptr<TsgScene> scene;
    TsgBackground* root = nullptr;
    TsgSceneDesign* design = nullptr;
    bool ownSheet = false;
};

TEST_F(DesignStyleTabOrder, StyleAndTabOrderEntriesFollowTheSelection) {
    auto* shape = Add<TsgRectangle>(root, "Shape");
    auto* focusable = Add<TsgRectangle>(root, "Focusable");
    focusable->SetCanFocused(true);
    auto* panel = Add<TsgPanel>(root, "Panel");
    auto* button = Add<TsgButton>(root, "Button");
    const std::vector<std::string> none{"Add object", "Delete object", "Load From File...",
                                        "Order",      "Edit",          "Grid"};
    const std::vector<std::string> hide{
        "Add object", "Delete object", "Load From File...", "Hide in Design-time", "Order",
        "Edit",       "Grid"};
    auto with = [&](std::vector<std::string> extra) {
        std::vector<std::string> out = hide;
        out.insert(out.begin() + 4, extra.begin(), extra.end());
        return out;
    };
    const struct {
        TsgVisualObject* selection;
        std::vector<std::string> captions;
    } cases[] = {
        {nullptr, none},
        {shape, hide},
        {focusable, with({"Tab Order..."})},
        {panel, with({"Edit Default Style...", "Edit Custom Style..."})},
        {button, with({"Edit Default Style...", "Edit Custom Style...", "Tab Order..."})},
    };
    for (const auto& c : cases) {
        design->SetSelected(c.selection);
        design->OpenDesignPopup();
        EXPECT_EQ(Captions(design->DesignPopup()->Items()), c.captions)
            << (c.selection ? c.selection->Name().c_str() : "nothing selected");
    }
}

TEST_F(DesignStyleTabOrder, DefaultStyleIsCopiedOnceUnderTheNameTheControlLooksFor) {
    UseSheet();
    const struct {
        const char16_t* resource;
        const char* name;
    } cases[] = {{u"", "ButtonStyle"}, {u"special", "special"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto* button = Add<TsgButton>(root, "Button");
        button->SetResource(c.resource);
        designer.Edited.clear();
        Choose(button, u"Edit Default Style...");
        // The container is made on first use, owned by the form and named by the designer.
        TsgResources* style = scene->Style();
        ASSERT_NE(style, nullptr);
        EXPECT_EQ(style->Owner(), &owner);
        EXPECT_EQ(style->Name(), AnsiString("Resources1"));
        ASSERT_NE(dynamic_cast<TsgBackground*>(StyleRoot()), nullptr);
        auto* copy = dynamic_cast<TsgVisualObject*>(StyleRoot()->FindResource(c.name));
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->Parent(), StyleRoot());
        EXPECT_EQ(copy->Align(), vaNone);
        EXPECT_EQ(copy->Owner(), nullptr) << "the copy outlives the control";
        EXPECT_EQ(button->Resource(), UnicodeString(c.resource));
        ASSERT_EQ(designer.Edited.size(), 1u);
        EXPECT_EQ(designer.Edited[0].first, style);
        EXPECT_EQ(designer.Edited[0].second, c.name);

        // Once there, the copy is not made again, and the control wears what is edited in it.
        const int count = StyleRoot()->ChildrenCount();
        Choose(button, u"Edit Default Style...");
        EXPECT_EQ(StyleRoot()->ChildrenCount(), count);
        copy->SetOpacity(0.25f);
        std::unique_ptr<TsgObject> worn(button->GetResourceObject());
        ASSERT_NE(worn, nullptr);
        EXPECT_FLOAT_EQ(worn->Visual()->Opacity(), 0.25f);
        worn.reset();

        button->Free();
        EXPECT_EQ(StyleRoot()->FindResource(c.name), copy);
    }
}

TEST_F(DesignStyleTabOrder, DefaultStyleBringsTheStylesOfTheControlsInsideIt) {
    UseSheet();
    auto* panel = Add<TsgPanel>(root, "Panel1");
    Choose(panel, u"Edit Default Style...");
    TsgObject* copy = StyleRoot()->FindResource(u"PanelStyle");
    ASSERT_NE(copy, nullptr);
    // The button inside the panel's style keeps asking for its class style, now copied beside.
    auto* inner = dynamic_cast<TsgButton*>(copy->FindResource(u"closer"));
    ASSERT_NE(inner, nullptr);
    EXPECT_TRUE(inner->Resource().IsEmpty());
    TsgObject* innerStyle = StyleRoot()->FindResource(u"ButtonStyle");
    ASSERT_NE(innerStyle, nullptr);
    EXPECT_EQ(innerStyle->Parent(), StyleRoot());
    EXPECT_EQ(innerStyle->Visual()->Align(), vaNone);
    EXPECT_NE(innerStyle->FindResource(u"text"), nullptr);
    ASSERT_EQ(designer.Edited.size(), 1u);
    EXPECT_EQ(designer.Edited[0].second, "PanelStyle");
}

TEST_F(DesignStyleTabOrder, CustomStyleGetsANameOfItsOwnAndTheControlPointsAtIt) {
    UseSheet();
    auto* panel = Add<TsgPanel>(root, "Panel1");
    Choose(panel, u"Edit Custom Style...");
    // The designer named the container (1), the control's Resource (2), the copy (3) and the
    // copy of the inner button's style (4).
    const UnicodeString name = panel->Resource();
    EXPECT_EQ(name, UnicodeString(u"Panel1Style3"));
    TsgObject* copy = StyleRoot()->FindResource(name);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Name(), AnsiString("Panel1Style3"));
    EXPECT_EQ(copy->Parent(), StyleRoot());
    EXPECT_EQ(copy->Visual()->Align(), vaNone);
    auto* inner = dynamic_cast<TsgButton*>(copy->FindResource(u"closer"));
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->Resource(), UnicodeString(u"Panel1closer4"));
    TsgObject* innerStyle = StyleRoot()->FindResource(u"Panel1closer4");
    ASSERT_NE(innerStyle, nullptr);
    EXPECT_EQ(innerStyle->Parent(), StyleRoot());
    EXPECT_NE(innerStyle->FindResource(u"text"), nullptr);
    ASSERT_EQ(designer.Edited.size(), 1u);
    EXPECT_EQ(designer.Edited[0].second, "Panel1Style3");
    std::unique_ptr<TsgObject> worn(panel->GetResourceObject());
    ASSERT_NE(worn, nullptr);
    EXPECT_NE(worn->FindResource(u"closer"), nullptr);

    // Again: the control's style is there already.
    const int count = StyleRoot()->ChildrenCount();
    Choose(panel, u"Edit Custom Style...");
    EXPECT_EQ(StyleRoot()->ChildrenCount(), count);
    EXPECT_EQ(panel->Resource(), name);
}

TEST_F(DesignStyleTabOrder, CustomStyleWithoutADesignerIsNamedAfterTheControl) {
    UseSheet();
    auto* button = Add<TsgButton>(root, "OkButton");
    sgDesigner = nullptr;
    Choose(button, u"Edit Custom Style...");
    EXPECT_EQ(button->Resource(), UnicodeString(u"OkButton"));
    TsgObject* copy = StyleRoot()->FindResource(u"OkButton");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Name(), AnsiString("OkButton"));
    EXPECT_TRUE(scene->Style()->Name().IsEmpty());
    EXPECT_TRUE(designer.Edited.empty());
}

TEST_F(DesignStyleTabOrder, AnExistingContainerWithoutRootGetsOne) {
    UseSheet();
    auto* style = new TsgResources(&owner);
    scene->SetStyle(style);
    auto* button = Add<TsgButton>(root, "Button");
    Choose(button, u"Edit Default Style...");
    EXPECT_EQ(scene->Style(), style);
    ASSERT_NE(style->Root, nullptr);
    EXPECT_NE(style->Root->FindResource(u"ButtonStyle"), nullptr);
}

class TabOrderFixture : public DesignStyleTabOrder {
protected:
    void SetUp() override {
        DesignStyleTabOrder::SetUp();
        // A parent without a style of its own, whose tab list holds just the buttons.
        group = Add<TsgRectangle>(root, "Group");
        group->SetBounds(0, 0, 300, 200);
        a = Add<TsgButton>(group, "A");
        b = Add<TsgButton>(group, "B");
        c = Add<TsgButton>(group, "C");
        // Nested objects are listed with their own parent only.
        Add<TsgButton>(b, "Inner");
    }
    TsgRectangle* group = nullptr;
    TsgButton *a = nullptr, *b = nullptr, *c = nullptr;
};

TEST_F(TabOrderFixture, TheEditorListsTheSiblingsAndItsButtonsMoveTheSelectedRow) {
    c->SetName("");
    bool shown = false;
    sgDesignShowModal() = [&](TForm& form) {
        shown = true;
        auto& editor = dynamic_cast<TsgTabOrderEditor&>(form);
        EXPECT_EQ(editor.BorderStyle(), bsNone);
        EXPECT_EQ(editor.Position(), poScreenCenter);
        EXPECT_EQ(editor.Width(), 400);
        EXPECT_EQ(editor.Height(), 300);
        EXPECT_TRUE(editor.Scene->Transparency());
        EXPECT_EQ(editor.Window->Text(), UnicodeString(u"TabOrder Editor"));
        EXPECT_FALSE(editor.Window->ShowSizeGrip());
        EXPECT_EQ(editor.UpButton->Text(), UnicodeString(u"Up"));
        EXPECT_EQ(editor.DownButton->Text(), UnicodeString(u"Down"));
        EXPECT_FLOAT_EQ(editor.DownButton->Position()->X(), 330);
        EXPECT_FLOAT_EQ(editor.DownButton->Position()->Y(), 90);
        EXPECT_FLOAT_EQ(editor.UpButton->Width(), 50);
        EXPECT_FLOAT_EQ(editor.UpButton->Height(), 26);
        EXPECT_EQ(editor.UpButton->TagObject, editor.List);
        TsgHudListBox* list = editor.List;
        EXPECT_EQ(list->Padding()->Rect(), (TsgRect{26, 45, 86, 33}));
        EXPECT_FLOAT_EQ(list->ItemHeight(), 20);
        EXPECT_FALSE(list->HideSelectionUnfocused());

        EXPECT_EQ(Rows(list), (std::vector<std::string>{"A", "B", "TsgButton"}));
        EXPECT_EQ(list->ItemIndex(), 1);
        EXPECT_EQ(list->Selected()->TagObject, b);

        // Down moves B to the end, and its row stays selected.
        editor.DownButton->Click();
        EXPECT_EQ(b->TabOrder(), 2);
        EXPECT_EQ(Rows(list), (std::vector<std::string>{"A", "TsgButton", "B"}));
        EXPECT_EQ(list->ItemIndex(), 2);
        editor.DownButton->Click();
        EXPECT_EQ(b->TabOrder(), 2);
        for (int i = 0; i < 3; ++i)
            editor.UpButton->Click();
        EXPECT_EQ(b->TabOrder(), 0);
        EXPECT_EQ(Rows(list), (std::vector<std::string>{"B", "A", "TsgButton"}));
        EXPECT_EQ(list->ItemIndex(), 0);

        // Another row: its own object moves.
        list->SetItemIndex(2);
        editor.UpButton->Click();
        EXPECT_EQ(c->TabOrder(), 1);
        EXPECT_EQ(list->ItemIndex(), 1);
        EXPECT_EQ(Rows(list), (std::vector<std::string>{"B", "TsgButton", "A"}));
        return mrCancel;
    };
    Choose(b, u"Tab Order...");
    EXPECT_TRUE(shown);
    // The children themselves keep their places; only the tab list changed.
    EXPECT_EQ(group->GetChild(1), b);
}

TEST_F(TabOrderFixture, TheRootHasNoSiblingsToOrder) {
    root->SetCanFocused(true);
    bool shown = false;
    sgDesignShowModal() = [&](TForm&) {
        shown = true;
        return mrCancel;
    };
    Choose(root, u"Tab Order...");
    EXPECT_FALSE(shown);
}

// A press and release at a window point, with the move that brings the pointer there.
void PushClick(Uint32 window, int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = window;
    e.motion.x = x;
    e.motion.y = y;
    SDL_PushEvent(&e);
    for (bool down : {true, false}) {
        SDL_Event b{};
        b.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        b.button.windowID = window;
        b.button.button = SDL_BUTTON_LEFT;
        b.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        b.button.clicks = 1;
        b.button.x = x;
        b.button.y = y;
        SDL_PushEvent(&b);
    }
}

TEST_F(TabOrderFixture, TheModalWindowTakesPointerClicksAndClosesWithItsCloseButton) {
    TTimer driver;
    driver.SetInterval(20);
    TsgTabOrderEditor* editor = nullptr;
    int ticks = 0, pushedAt = -1;
    driver.SetOnTimer([&](TTimer& timer) {
        ++ticks;
        if (!editor || !editor->PlatformWindow())
            return;
        if (pushedAt >= 0) {
            // The clicks went unanswered: end the loop rather than wait for ever.
            if (ticks - pushedAt > 1000) {
                timer.SetEnabled(false);
                ADD_FAILURE() << "the close button did not close the window";
                editor->Close();
            }
            return;
        }
        // Once painted the window wears its style, close button included.
        auto* close = dynamic_cast<TsgVisualObject*>(editor->Window->FindResource(u"close"));
        if (!close && ticks < 200)
            return;
        pushedAt = ticks;
        const Uint32 id = SDL_GetWindowID(editor->PlatformWindow());
        const TsgPoint down = editor->DownButton->LocalToAbsolute(TsgPoint{25, 13});
        PushClick(id, int(down.X), int(down.Y));
        if (close) {
            const TsgPoint p =
                close->LocalToAbsolute(TsgPoint{close->Width() / 2, close->Height() / 2});
            PushClick(id, int(p.X), int(p.Y));
        } else {
            timer.SetEnabled(false);
            ADD_FAILURE() << "the window shows no close button";
            editor->Close();
        }
    });
    sgDesignShowModal() = [&](TForm& form) {
        editor = &dynamic_cast<TsgTabOrderEditor&>(form);
        return form.ShowModal();
    };
    Choose(a, u"Tab Order...");
    EXPECT_EQ(a->TabOrder(), 1);
    EXPECT_EQ(b->TabOrder(), 0);
}

} // namespace
