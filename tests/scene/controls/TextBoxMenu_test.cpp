// The text box's context menu: its five entries, which of them may run for the box's state,
// what each does, and a root background's OnMenuPopup taking the menu over.
#include "TextBoxTestSupport.h"

#include "platform/ui/Application.h"
#include "platform/ui/MenuWindow.h"
#include "platform/ui/Menus.h"
#include "platform/ui/SdlVideo.h"

#include <string>
#include <vector>

namespace {

std::string Enabled(TPopupMenu* menu) {
    std::string out;
    for (int i = 0; i < menu->Items()->Count(); ++i)
        out += menu->Items()->Items(i)->Enabled() ? '1' : '0';
    return out;
}

TEST_F(TextBoxTest, ContextMenuHasTheFiveEditingEntries) {
    TPopupMenu* menu = box->PopupMenu();
    ASSERT_NE(menu, nullptr);
    std::vector<std::string> captions;
    for (int i = 0; i < menu->Items()->Count(); ++i)
        captions.push_back(menu->Items()->Items(i)->Caption().ToUtf8());
    EXPECT_EQ(captions, (std::vector<std::string>{"Cut", "Copy", "Paste", "Delete", "Select All"}));
}

TEST_F(TextBoxTest, ContextMenuEnablesEntriesForTheState) {
    ASSERT_TRUE(EnsureVideo());
    TPopupMenu* menu = box->PopupMenu();
    struct Case {
        const char16_t* text;
        int selStart, selLength;
        bool readOnly;
        const char16_t* clipboard;
        const char* expected; // Cut Copy Paste Delete SelectAll
    } cases[] = {
        {u"hello", 0, 0, false, u"", "00001"},  {u"hello", 1, 2, false, u"", "11011"},
        {u"hello", 0, 5, false, u"x", "11110"}, {u"hello", 1, 2, true, u"x", "01001"},
        {u"", 0, 0, false, u"x", "00100"},
    };
    for (const Case& c : cases) {
        box->SetText(c.text);
        box->SetSelStart(c.selStart);
        box->SetSelLength(c.selLength);
        box->SetReadOnly(c.readOnly);
        Clipboard()->SetAsText(c.clipboard);
        box->ContextMenu({40.4f, 30.6f});
        EXPECT_EQ(Enabled(menu), c.expected)
            << UnicodeString(c.text).ToUtf8() << " " << c.selStart << "+" << c.selLength;
        EXPECT_EQ(menu->PopupComponent(), box);
        ASSERT_TRUE(menu->IsOpen());
        EXPECT_EQ(menu->Levels()[0]->Left(), 40);
        EXPECT_EQ(menu->Levels()[0]->Top(), 31);
        menu->CloseMenu();
    }
    Application->ProcessMessages();
}

TEST_F(TextBoxTest, ContextMenuEntriesEdit) {
    TMenuItem* items = box->PopupMenu()->Items();
    box->SetText(u"hello world");
    box->SetSelStart(0);
    box->SetSelLength(5);
    items->Items(1)->Click(); // Copy
    EXPECT_EQ(Clipboard()->AsText(), UnicodeString(u"hello"));
    items->Items(0)->Click(); // Cut
    EXPECT_EQ(box->Text(), UnicodeString(u" world"));
    items->Items(2)->Click(); // Paste
    EXPECT_EQ(box->Text(), UnicodeString(u"hello world"));
    items->Items(4)->Click(); // Select All
    EXPECT_EQ(box->SelLength(), 11);
    items->Items(3)->Click(); // Delete
    EXPECT_EQ(box->Text(), UnicodeString(u""));
}

// Records what the root background's handler was given and whether it lets the menu show.
struct MenuPopupRecorder {
    int calls = 0;
    TPopupMenu* menu = nullptr;
    TsgPoint at;
    bool letShow = false;
    void Handle(TObject*, TPopupMenu* m, TsgPoint p, bool& handled) {
        ++calls;
        menu = m;
        at = p;
        EXPECT_TRUE(handled);
        if (letShow)
            handled = false;
    }
};

TEST(TextBoxMenuPopup, RootBackgroundHandlerDecidesWhetherTheMenuShows) {
    ASSERT_TRUE(EnsureVideo());
    RegisterSgSceneUnit();
    RegisterSgTextboxUnit();
    TsgOffscreenScene scene(nullptr, 200, 40);
    auto* background = new TsgBackground(&scene);
    scene.AddObject(background);
    auto* box = new TsgTextBox(&scene);
    background->AddObject(box);
    MenuPopupRecorder recorder;
    background->OnMenuPopup = TsgMenuPopupEvent::Bind<&MenuPopupRecorder::Handle>(&recorder);

    box->ContextMenu({10, 12});
    EXPECT_EQ(recorder.calls, 1);
    EXPECT_EQ(recorder.menu, box->PopupMenu());
    EXPECT_FLOAT_EQ(recorder.at.X, 10);
    EXPECT_FALSE(box->PopupMenu()->IsOpen());

    recorder.letShow = true;
    box->ContextMenu({10, 12});
    EXPECT_EQ(recorder.calls, 2);
    EXPECT_TRUE(box->PopupMenu()->IsOpen());
    box->PopupMenu()->CloseMenu();
    Application->ProcessMessages();
}

} // namespace
