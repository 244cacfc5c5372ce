// The property inspector over a small tree of objects: which rows it lists (sorted, nested
// sub-objects, read-only and disabled properties left out, events only of the component itself),
// the editor each kind of row gets, values written from the text and popup editors and written
// back again,
// a value that does not convert, moving between rows with the keys, and forgetting a component
// that is freed; in a real (offscreen) window, edits made with pushed pointer and key events.
#include "scene/controls/Sg_controls.h"
#include "scene/controls/Sg_controls_popupbox.h"
#include "scene/controls/Sg_controls_text.h"
#include "scene/controls/Sg_layouts.h"
#include "scene/controls/Sg_memo.h"
#include "scene/controls/Sg_scrollbox.h"
#include "scene/controls/Sg_textbox.h"
#include "scene/core/Sg_ani.h"
#include "scene/core/Sg_effects.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_offscreen.h"
#include "scene/core/Sg_scene_path.h"
#include "scene/core/Sg_scene_streams.h"
#include "scene/core/Sg_timerheap.h"
#include "scene/design/DesignToolUnits.h"
#include "scene/design/Sg_dsgn_form.h"
#include "scene/design/Sg_dsgn_path.h"
#include "scene/design/Sg_inspector.h"
#include "scene/design/Sg_scene_design.h"
#include "support/TestSupport.h"

#include "platform/ui/FontDialog.h"

#include "platform/rtl/Conversions.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/rtl/StringUtils.h"
#include "platform/ui/Application.h"
#include "platform/ui/Input.h"
#include "platform/ui/MenuWindow.h"
#include "platform/ui/Menus.h"
#include "platform/ui/PointerPosition.h"
#include "platform/ui/SdlVideo.h"
#include "platform/ui/TimerHeap.h"
#include "platform/ui/UiClock.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct TNoFlush {
    void Flush(TObject*) {}
} noFlush;

// Names the methods of a form the way a designer would; records what it is told.
class TMethodDesigner : public TsgDesigner {
public:
    int ModifiedCount = 0;
    void SelectObject(TComponent*, TsgObject*, const std::vector<TsgObject*>&) override {}
    void Modified(TComponent*) override { ++ModifiedCount; }
    AnsiString UniqueName(TComponent*, const AnsiString& ClassName) override { return ClassName; }
    bool IsSelected(TComponent*, const TObject*) override { return false; }
    TMethod AddMethod(const AnsiString& Name) override {
        if (Name == "Clicked")
            return TMethod{reinterpret_cast<void*>(&Clicked), this};
        return TMethod{};
    }
    AnsiString GetMethodName(const TMethod& M) override {
        return M.Code == reinterpret_cast<void*>(&Clicked) ? AnsiString("Clicked") : AnsiString();
    }
    static void Clicked() {}
};

void UseBuiltSheet() {
    FreeDefaultStyles();
    const std::string bytes = testsupport::ReadFile(std::filesystem::path(DBI_BINARY_DIR) /
                                                    "resources" / "styles" / "defaultsgstyle.bin");
    ASSERT_FALSE(bytes.empty());
    TCustomMemoryStream stream(bytes.data(), static_cast<int64_t>(bytes.size()));
    DefaultStyles = CreateObjectFromBinStream(nullptr, stream);
    ASSERT_NE(DefaultStyles, nullptr);
}

class Inspector : public testing::Test {
protected:
    void SetUp() override {
        RegisterDesignToolUnits();
        UseBuiltSheet();
        sgDesigner = &designer;
        scene = std::make_unique<TsgScene>(nullptr);
        scene->CreateEmbedded(400, 500, TNotifyEvent::Bind<&TNoFlush::Flush>(&noFlush));
        inspector = new TsgInspector(scene.get());
        inspector->SetAnimated(false);
        scene->AddObject(inspector);
        scene->RealignRoot();
        inspector->SetBounds(0, 0, 400, 500);
        inspector->ApplyResource();

        // The inspected tree: a rectangle holding a text.
        rect = new TsgRectangle(nullptr);
        rect->SetName("Box");
        rect->SetBounds(10, 20, 100, 50);
        text = new TsgText(nullptr);
        text->SetName("Caption");
        rect->AddObject(text);
    }
    void TearDown() override {
        delete rect;
        scene.reset();
        sgDesigner = nullptr;
        FreeDefaultStyles();
    }
    std::vector<std::string> TopRows() {
        std::vector<std::string> rows;
        for (int i = 0; i < inspector->Count(); ++i)
            rows.push_back(AnsiString(inspector->ItemByIndex(i)->Text()).c_str());
        return rows;
    }
    std::string Shown(const char* path) {
        TsgTreeViewItem* row = inspector->RowOf(UnicodeString(path));
        if (!row)
            return "(no row)";
        TsgLabel* label = TsgInspector::ValueLabel(row);
        return label ? AnsiString(label->Text()).c_str() : "(no label)";
    }
    // Selects a row and enters the value through its editor: typed into the text editor and
    // committed with Enter, or chosen in the popup box's list by its name.
    void Type(const char* path, const char* value) {
        TsgTreeViewItem* row = inspector->RowOf(UnicodeString(path));
        ASSERT_NE(row, nullptr) << path;
        inspector->SetSelected(row);
        if (inspector->Editor() == inspector->PopupEditor()) {
            const int index = inspector->PopupEditor()->Items()->IndexOf(UnicodeString(value));
            ASSERT_GE(index, 0) << path << " offers no " << value;
            inspector->PopupEditor()->SetItemIndex(index);
            return;
        }
        ASSERT_EQ(inspector->Editor(), inspector->TextEditor()) << path;
        inspector->TextEditor()->SetText(UnicodeString(value));
        inspector->TextEditor()->Change();
    }

    TMethodDesigner designer;
    std::unique_ptr<TsgScene> scene;
    TsgInspector* inspector = nullptr;
    TsgRectangle* rect = nullptr;
    TsgText* text = nullptr;
};

TEST_F(Inspector, ListsTheWritablePropertiesSortedWithSubObjectsNested) {
    inspector->SetSelectedObject(rect);
    const std::vector<std::string> rows = TopRows();
    ASSERT_FALSE(rows.empty());
    EXPECT_TRUE(
        std::is_sorted(rows.begin(), rows.end(), [](const std::string& a, const std::string& b) {
            return CompareText(AnsiString(a.c_str()), AnsiString(b.c_str())) < 0;
        }));
    for (const char* present : {"Name", "Opacity", "Width", "Fill", "Position", "Visible"})
        EXPECT_NE(inspector->RowOf(UnicodeString(present)), nullptr) << present;
    // Events are left out until asked for.
    EXPECT_EQ(inspector->RowOf(u"OnClick"), nullptr);

    EXPECT_EQ(Shown("Name"), "Box");
    EXPECT_EQ(Shown("Width"), "100");
    EXPECT_EQ(Shown("Visible"), "True");
    // An owned sub-object: its class name, collapsed, its own properties below it.
    TsgTreeViewItem* fill = inspector->RowOf(u"Fill");
    EXPECT_EQ(Shown("Fill"), "TsgBrush");
    EXPECT_FALSE(fill->IsExpanded());
    EXPECT_GT(fill->Count(), 0);
    EXPECT_EQ(Shown("Position.X"), "10");
    EXPECT_EQ(Shown("Position.Y"), "20");
    EXPECT_EQ(inspector->RowOf(u"Position.X")->Level(), 1);
}

TEST_F(Inspector, DisabledPropertiesAndShowSwitchesRebuildTheRows) {
    inspector->SetSelectedObject(rect);
    TStringList disabled;
    disabled.Add(u"Name");
    inspector->SetDisabledProperties(disabled);
    inspector->RebuildList();
    EXPECT_EQ(inspector->RowOf(u"Name"), nullptr);
    EXPECT_NE(inspector->RowOf(u"Width"), nullptr);

    inspector->SetShowEvents(true);
    EXPECT_NE(inspector->RowOf(u"OnClick"), nullptr);
    // Events of nested objects are never listed.
    TsgTreeViewItem* fill = inspector->RowOf(u"Fill");
    for (int i = 0; i < fill->Count(); ++i)
        EXPECT_NE(AnsiString(fill->ItemByIndex(i)->Text()), AnsiString("OnChanged"));

    inspector->SetShowProperties(false);
    EXPECT_EQ(inspector->RowOf(u"Width"), nullptr);
    EXPECT_NE(inspector->RowOf(u"OnClick"), nullptr);
}

TEST_F(Inspector, EditsAreWrittenAndWrittenBack) {
    inspector->SetSelectedObject(rect);
    struct TCase {
        const char* path;
        const char* value;
        std::function<std::string()> read;
    };
    const std::vector<TCase> cases = {
        {"Width", "150", [&] { return std::to_string(int(rect->Width())); }},
        {"Position.X", "42", [&] { return std::to_string(int(rect->Position()->X())); }},
        {"Opacity", "0.5", [&] { return std::to_string(rect->Opacity()); }},
        {"Visible", "False", [&] { return std::string(rect->Visible() ? "True" : "False"); }},
        {"Name", "Frame", [&] { return std::string(rect->Name().c_str()); }},
        {"Fill.Style", "sgBrushNone",
         [&] { return std::to_string(int(rect->Fill()->Style() == sgBrushNone)); }},
    };
    const std::vector<std::string> expected = {"150",   "42",    std::to_string(0.5f),
                                               "False", "Frame", "1"};
    std::vector<std::string> before;
    for (const TCase& c : cases)
        before.push_back(Shown(c.path));
    for (size_t i = 0; i < cases.size(); ++i) {
        Type(cases[i].path, cases[i].value);
        EXPECT_EQ(cases[i].read(), expected[i]) << cases[i].path;
        EXPECT_EQ(Shown(cases[i].path), cases[i].value) << cases[i].path;
        EXPECT_FALSE(inspector->EditorInvalid()) << cases[i].path;
    }
    EXPECT_EQ(designer.ModifiedCount, static_cast<int>(cases.size()));
    // Reverted by typing the old values again.
    for (size_t i = 0; i < cases.size(); ++i)
        Type(cases[i].path, before[i].c_str());
    EXPECT_EQ(rect->Width(), 100);
    EXPECT_EQ(rect->Position()->X(), 10);
    EXPECT_EQ(rect->Opacity(), 1);
    EXPECT_TRUE(rect->Visible());
    EXPECT_EQ(rect->Name(), AnsiString("Box"));
    EXPECT_NE(rect->Fill()->Style(), sgBrushNone);
}

TEST_F(Inspector, EachKindOfRowGetsItsEditor) {
    auto* button = new TsgButton(nullptr);
    rect->AddObject(button);
    inspector->SetShowEvents(true);
    inspector->SetSelectedObject(button);
    struct TCase {
        const char* path;
        TsgVisualObject* editor;
    };
    const std::vector<TCase> cases = {
        {"Width", inspector->TextEditor()},       {"Opacity", inspector->TextEditor()},
        {"Name", inspector->TextEditor()},        {"Text", inspector->TextEditor()},
        {"OnClick", inspector->TextEditor()},     {"Visible", inspector->PopupEditor()},
        {"Align", inspector->PopupEditor()},      {"Font", inspector->ButtonEditor()},
        {"Font.Style", inspector->PopupEditor()}, {"Position", nullptr},
    };
    for (const TCase& c : cases) {
        TsgTreeViewItem* row = inspector->RowOf(UnicodeString(c.path));
        ASSERT_NE(row, nullptr) << c.path;
        inspector->SetSelected(row);
        EXPECT_EQ(inspector->Editor(), c.editor) << c.path;
        if (c.editor) {
            EXPECT_TRUE(c.editor->Visible()) << c.path;
            EXPECT_FALSE(TsgInspector::ValueLabel(row)->Visible()) << c.path;
        }
    }
}

TEST_F(Inspector, ThePopupBoxOffersTheValueNamesInOrderAndWritesAChoiceAtOnce) {
    inspector->SetSelectedObject(rect);
    inspector->SetSelected(inspector->RowOf(u"Fill.Style"));
    TsgPopupBox* box = inspector->PopupEditor();
    ASSERT_EQ(inspector->Editor(), box);
    const TPropInfo* style = rect->Fill()->ClassInfo().FindProperty("Style");
    ASSERT_NE(style, nullptr);
    ASSERT_EQ(box->Items()->GetCount(), static_cast<int>(style->ElementNames.size()));
    for (int i = 0; i < box->Items()->GetCount(); ++i)
        EXPECT_EQ(box->Items()->Get(i), UnicodeString(style->ElementNames[size_t(i)])) << i;
    EXPECT_EQ(box->ItemIndex(), static_cast<int>(rect->Fill()->Style()));
    EXPECT_EQ(box->Text(), UnicodeString(Shown("Fill.Style").c_str()));

    // Choosing from the list writes the value, shows its name and tells the designer.
    box->SetItemIndex(box->Items()->IndexOf(u"sgBrushNone"));
    EXPECT_EQ(rect->Fill()->Style(), sgBrushNone);
    EXPECT_EQ(Shown("Fill.Style"), "sgBrushNone");
    EXPECT_EQ(designer.ModifiedCount, 1);

    // A Boolean offers False and True; moving on with the keys keeps what was chosen.
    inspector->SetSelected(inspector->RowOf(u"Visible"));
    ASSERT_EQ(inspector->Editor(), box);
    ASSERT_EQ(box->Items()->GetCount(), 2);
    EXPECT_EQ(box->Items()->Get(0), UnicodeString(u"False"));
    EXPECT_EQ(box->Text(), UnicodeString(u"True"));
    box->SetItemIndex(0);
    EXPECT_FALSE(rect->Visible());
    scene->SetFocused(box);
    const int visibleIndex = inspector->Selected()->GlobalIndex();
    uint16_t key = VK_UP;
    inspector->DialogKey(key, TShiftState{});
    EXPECT_EQ(key, 0);
    EXPECT_EQ(inspector->Selected()->GlobalIndex(), visibleIndex - 1);
    EXPECT_FALSE(rect->Visible());
    EXPECT_EQ(Shown("Visible"), "False");
    EXPECT_EQ(designer.ModifiedCount, 2);
}

TEST_F(Inspector, AValueThatDoesNotConvertIsMarkedInvalidAndNotWritten) {
    inspector->SetSelectedObject(rect);
    for (const char* path : {"Width", "Opacity", "Position.X"}) {
        const std::string shown = Shown(path);
        Type(path, "no such value");
        EXPECT_TRUE(inspector->EditorInvalid()) << path;
        EXPECT_EQ(Shown(path), shown) << path;
        // A good value clears the mark.
        Type(path, shown.c_str());
        EXPECT_FALSE(inspector->EditorInvalid()) << path;
    }
    EXPECT_EQ(rect->Width(), 100);
}

TEST_F(Inspector, TheEditorFollowsTheRowAndCommitsWhenMovingOn) {
    inspector->SetSelectedObject(rect);
    // An object property of an edited kind gets the button, others no editor.
    inspector->SetSelected(inspector->RowOf(u"Fill"));
    EXPECT_EQ(inspector->Editor(), inspector->ButtonEditor());
    EXPECT_EQ(inspector->ButtonEditor()->Text(), UnicodeString(u"Edit..."));
    inspector->SetSelected(inspector->RowOf(u"Position"));
    EXPECT_EQ(inspector->Editor(), nullptr);
    // Without an editor the keys go to the tree itself.
    EXPECT_EQ(scene->GetFocused(), inspector);

    // The editor covers the value label of its row.
    TsgTreeViewItem* width = inspector->RowOf(u"Width");
    inspector->SetSelected(width);
    EXPECT_EQ(inspector->TextEditor()->Text(), UnicodeString(u"100"));
    EXPECT_FALSE(TsgInspector::ValueLabel(width)->Visible());
    const TsgRect r = inspector->GetItemRect(width);
    EXPECT_FLOAT_EQ(inspector->TextEditor()->Position()->Y(), r.Top + 1);
    EXPECT_FLOAT_EQ(inspector->TextEditor()->Position()->X(), inspector->Width() / 2);

    // Down moves to the next row and writes what was typed on the way.
    inspector->TextEditor()->SetText(u"120");
    scene->SetFocused(inspector->TextEditor());
    uint16_t key = VK_DOWN;
    inspector->DialogKey(key, TShiftState{});
    EXPECT_EQ(key, 0);
    EXPECT_EQ(rect->Width(), 120);
    EXPECT_EQ(inspector->Selected()->GlobalIndex(), width->GlobalIndex() + 1);
    EXPECT_TRUE(TsgInspector::ValueLabel(width)->Visible());
    // Home stays in the text box.
    key = VK_HOME;
    inspector->DialogKey(key, TShiftState{});
    EXPECT_EQ(key, VK_HOME);
}

TEST_F(Inspector, TheEditButtonOpensTheEditorOfTheObject) {
    ASSERT_TRUE(EnsureVideo());
    auto* path = new TsgPath(nullptr);
    rect->AddObject(path);
    inspector->SetSelectedObject(path);
    inspector->SetSelected(inspector->RowOf(u"Data"));
    ASSERT_EQ(inspector->Editor(), inspector->ButtonEditor());
    sgDesignShowModal() = [](TForm& form) {
        dynamic_cast<TsgPathDataDesigner&>(form).PathData->SetText(u"M 0 0 L 10 0 L 10 10 Z");
        return mrOk;
    };
    inspector->ButtonEditor()->Click();
    sgDesignShowModal() = [](TForm& form) { return form.ShowModal(); };
    TsgPathData expected;
    expected.SetPathString("M 0 0 L 10 0 L 10 10 Z");
    EXPECT_EQ(path->Data()->GetPathString(), expected.GetPathString());
    EXPECT_EQ(designer.ModifiedCount, 1);
}

TEST_F(Inspector, TheFontRowOpensTheFontDialog) {
    ASSERT_TRUE(EnsureVideo());
    text->Font()->SetFamily(u"Dbi No Such Family");
    text->Font()->SetSize(13);
    text->Font()->SetStyle(sgFontUnderline);
    inspector->SetSelectedObject(text);
    inspector->SetSelected(inspector->RowOf(u"Font"));
    ASSERT_EQ(inspector->Editor(), inspector->ButtonEditor());

    // Cancel leaves the font.
    UnicodeString offered;
    sgDesignShowModal() = [&](TForm& form) {
        auto& chooser = dynamic_cast<TFontChooser&>(form);
        offered =
            chooser.Item(TFontChooser::FamilyList, chooser.ItemIndex(TFontChooser::FamilyList));
        chooser.SetItemIndex(TFontChooser::FamilyList, 0);
        return mrCancel;
    };
    inspector->ButtonEditor()->Click();
    EXPECT_EQ(offered, UnicodeString(u"Dbi No Such Family"));
    EXPECT_EQ(text->Font()->Family(), UnicodeString(u"Dbi No Such Family"));
    EXPECT_EQ(designer.ModifiedCount, 0);

    // A changed size alone keeps the underline; a style chosen replaces it.
    struct TCase {
        int style, size;
        TsgFontStyle expected;
    };
    for (const TCase& c : {TCase{0, 20, sgFontUnderline}, TCase{3, 24, sgFontBoldItalic}}) {
        UnicodeString family;
        sgDesignShowModal() = [&](TForm& form) {
            auto& chooser = dynamic_cast<TFontChooser&>(form);
            chooser.SetItemIndex(TFontChooser::FamilyList, 0);
            family = chooser.Item(TFontChooser::FamilyList, 0);
            chooser.SetItemIndex(TFontChooser::StyleList, c.style);
            for (int i = 0; i < chooser.Count(TFontChooser::SizeList); ++i)
                if (chooser.Item(TFontChooser::SizeList, i) == IntToStr(c.size))
                    chooser.SetItemIndex(TFontChooser::SizeList, i);
            return mrOk;
        };
        inspector->ButtonEditor()->Click();
        EXPECT_EQ(text->Font()->Family(), family);
        EXPECT_EQ(text->Font()->Size(), c.size);
        EXPECT_EQ(text->Font()->Style(), c.expected);
    }
    sgDesignShowModal() = [](TForm& form) { return form.ShowModal(); };
    EXPECT_EQ(designer.ModifiedCount, 2);
}

TEST_F(Inspector, EventsAreNamedThroughTheDesigner) {
    auto* button = new TsgButton(nullptr);
    rect->AddObject(button);
    inspector->SetShowEvents(true);
    inspector->SetSelectedObject(button);
    Type("OnClick", "Clicked");
    EXPECT_EQ(button->OnClick.AsMethod().Code, reinterpret_cast<void*>(&TMethodDesigner::Clicked));
    EXPECT_EQ(Shown("OnClick"), "Clicked");
    inspector->RebuildList();
    EXPECT_EQ(Shown("OnClick"), "Clicked");
}

TEST_F(Inspector, AFreedComponentIsForgotten) {
    inspector->SetSelectedObject(text);
    inspector->SetSelected(inspector->RowOf(u"Width"));
    ASSERT_GT(inspector->Count(), 0);
    delete text;
    text = nullptr;
    EXPECT_EQ(inspector->SelectedObject(), nullptr);
    EXPECT_EQ(inspector->Count(), 0);
    EXPECT_EQ(inspector->Editor(), nullptr);

    // A component that is not a scene node is watched as well.
    auto* plain = new TComponent(nullptr);
    plain->SetName("Plain");
    inspector->SetSelectedObject(plain);
    EXPECT_NE(inspector->RowOf(u"Name"), nullptr);
    delete plain;
    EXPECT_EQ(inspector->SelectedObject(), nullptr);
    EXPECT_EQ(inspector->Count(), 0);
}

// The inspector filling a window, used with the pointer and the keys.
class InspectorWindow : public Inspector {
protected:
    void SetUp() override {
        Inspector::SetUp();
        clock.AutoAdvance = false;
        SetUiClock(&clock);
        ASSERT_TRUE(EnsureVideo());
        ResetPointerPosition();
        form = std::make_unique<TForm>();
        form->SetBounds(100, 80, 400, 500);
        auto* windowScene = new TsgScene(form.get());
        windowScene->SetParent(form.get());
        windowScene->SetBounds(0, 0, 400, 500);
        auto* root = new TsgBackground(nullptr);
        root->SetAlign(vaClient);
        windowScene->AddObject(root);
        shown = new TsgInspector(nullptr);
        shown->SetAnimated(false);
        shown->SetAlign(vaClient);
        root->AddObject(shown);
        shown->SetSelectedObject(rect);
        form->Show();
        Run();
        id = SDL_GetWindowID(form->PlatformWindow());
    }
    void TearDown() override {
        shown->SetSelectedObject(nullptr);
        form.reset();
        Application->Reset();
        TTimerHeap::Instance().Reset();
        TsgTimerHeap::Instance().Reset();
        ResetPointerPosition();
        SetUiClock(nullptr);
        Inspector::TearDown();
    }
    static void Run() {
        Application->ProcessMessages();
        Application->ProcessMessages();
    }
    static void Click(Uint32 window, TsgPoint at) {
        const int x = int(at.X), y = int(at.Y);
        SDL_Event m{};
        m.type = SDL_MOUSEMOTION;
        m.motion.windowID = window;
        m.motion.x = x;
        m.motion.y = y;
        SDL_PushEvent(&m);
        for (bool down : {true, false}) {
            SDL_Event e{};
            e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
            e.button.windowID = window;
            e.button.button = SDL_BUTTON_LEFT;
            e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
            e.button.clicks = 1;
            e.button.x = x;
            e.button.y = y;
            SDL_PushEvent(&e);
        }
        Run();
    }
    void Key(SDL_Keycode sym) {
        for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
            SDL_Event e{};
            e.type = type;
            e.key.windowID = id;
            e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
            e.key.keysym.sym = sym;
            SDL_PushEvent(&e);
        }
        Run();
    }
    void TypeText(const char* text) {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        e.text.windowID = id;
        SDL_strlcpy(e.text.text, text, sizeof e.text.text);
        SDL_PushEvent(&e);
        Run();
    }
    // Clicks the name of a property's row.
    void ClickRow(const char16_t* path) {
        TsgTreeViewItem* row = shown->RowOf(path);
        ASSERT_NE(row, nullptr);
        Click(id, row->LocalToAbsolute(TsgPoint{30, row->Height() / 2}));
    }

    TManualClock clock;
    std::unique_ptr<TForm> form;
    TsgInspector* shown = nullptr;
    Uint32 id = 0;
};

TEST_F(InspectorWindow, AValueIsChosenFromThePopupBoxWithThePointer) {
    ClickRow(u"ClipChildren");
    TsgPopupBox* box = shown->PopupEditor();
    ASSERT_EQ(shown->Editor(), box);
    EXPECT_EQ(box->Text(), UnicodeString(u"False"));
    Click(id, box->LocalToAbsolute(TsgPoint{box->Width() / 2, box->Height() / 2}));
    TPopupMenu* menu = box->PopupMenu();
    ASSERT_TRUE(menu->IsOpen());
    ASSERT_EQ(menu->Items()->Count(), 2);
    TMenuWindow* level = menu->Levels().front();
    const TRect row = level->RowRect(1);
    Click(SDL_GetWindowID(level->PlatformWindow()),
          TsgPoint{float(row.Left + row.Right) / 2, float(row.Top + row.Bottom) / 2});
    Run();
    EXPECT_FALSE(menu->IsOpen());
    EXPECT_TRUE(rect->ClipChildren());
    EXPECT_EQ(AnsiString(TsgInspector::ValueLabel(shown->RowOf(u"ClipChildren"))->Text()),
              AnsiString("True"));
    EXPECT_EQ(designer.ModifiedCount, 1);
}

TEST_F(InspectorWindow, AValueTypedIntoTheTextBoxIsWrittenOnEnter) {
    ClickRow(u"Height");
    ASSERT_EQ(shown->Editor(), shown->TextEditor());
    EXPECT_EQ(shown->TextEditor()->Text(), UnicodeString(u"50"));
    Key(SDLK_END);
    Key(SDLK_BACKSPACE);
    Key(SDLK_BACKSPACE);
    TypeText("75");
    Key(SDLK_RETURN);
    EXPECT_EQ(rect->Height(), 75);
    EXPECT_EQ(AnsiString(TsgInspector::ValueLabel(shown->RowOf(u"Height"))->Text()),
              AnsiString("75"));
}

} // namespace
