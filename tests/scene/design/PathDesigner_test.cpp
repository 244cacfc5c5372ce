// The path designer built from its layout: the text typed into its memo (on one line or on
// several) drawn stretched into the preview once the memo hands it over, nothing drawn for no
// text, the preview left alone while its column is hidden, "Paste" replacing the whole text
// with the clipboard's, and the edit entry opening on the path and writing it back only on OK.
#include "scene/controls/Sg_controls.h"
#include "scene/controls/Sg_layout.h"
#include "scene/controls/Sg_layouts.h"
#include "scene/controls/Sg_memo.h"
#include "scene/controls/Sg_scrollbox.h"
#include "scene/controls/Sg_textbox.h"
#include "scene/core/Sg_ani.h"
#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_canvas_gdip.h"
#include "scene/core/Sg_effects.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_paint.h"
#include "scene/core/Sg_scene_path.h"
#include "scene/design/DesignToolUnits.h"
#include "scene/design/Sg_dsgn_form.h"
#include "scene/design/Sg_dsgn_path.h"
#include "scene/design/Sg_scene_design.h"

#include "platform/ui/Application.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/SdlVideo.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

class PathDesigner : public testing::Test {
protected:
    void SetUp() override {
        RegisterDesignToolUnits();
        ASSERT_TRUE(EnsureVideo());
        form = std::make_unique<TsgPathDataDesigner>();
    }
    void TearDown() override {
        sgDesignShowModal() = [](TForm& f) { return f.ShowModal(); };
        form.reset();
        Clipboard()->Clear();
        Application->Reset();
    }
    // The window on screen (offscreen video), the pointer and keys as SDL events.
    void ShowWindow() {
        form->Show();
        Application->ProcessMessages();
        id = SDL_GetWindowID(form->PlatformWindow());
        form->sgScene1->SetFocus();
    }
    void Click(TsgVisualObject* Target) {
        const TsgPoint p =
            Target->LocalToAbsolute(TsgPoint{Target->Width() / 2, Target->Height() / 2});
        SDL_Event m{};
        m.type = SDL_MOUSEMOTION;
        m.motion.windowID = id;
        m.motion.x = int(p.X);
        m.motion.y = int(p.Y);
        SDL_PushEvent(&m);
        for (bool down : {true, false}) {
            SDL_Event b{};
            b.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
            b.button.windowID = id;
            b.button.button = SDL_BUTTON_LEFT;
            b.button.state = down ? SDL_PRESSED : SDL_RELEASED;
            b.button.clicks = 1;
            b.button.x = int(p.X);
            b.button.y = int(p.Y);
            SDL_PushEvent(&b);
        }
        Application->ProcessMessages();
    }
    void Key(SDL_Keycode Key, Uint16 Mod = KMOD_NONE) {
        for (bool down : {true, false}) {
            SDL_Event e{};
            e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
            e.key.windowID = id;
            e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
            e.key.keysym.sym = Key;
            e.key.keysym.mod = Mod;
            SDL_PushEvent(&e);
        }
        Application->ProcessMessages();
    }
    // Typed text arrives in pieces no longer than one text event holds.
    void Type(const std::string& Text) {
        for (size_t at = 0; at < Text.size(); at += 16) {
            SDL_Event e{};
            e.type = SDL_TEXTINPUT;
            e.text.windowID = id;
            std::snprintf(e.text.text, sizeof e.text.text, "%s", Text.substr(at, 16).c_str());
            SDL_PushEvent(&e);
        }
        Application->ProcessMessages();
    }
    // The preview path painted alone into a picture of its own size.
    std::unique_ptr<TsgBitmap> PaintPreview() {
        auto picture = std::make_unique<TsgBitmap>(183, 210);
        sgPaintTo(form->previewPath, picture->Canvas(), TsgRect{0, 0, 183, 210}, nullptr);
        return picture;
    }
    static bool Painted(const TsgBitmap& Picture, int X, int Y) {
        return (Picture.GetPixels(X, Y) >> 24) != 0;
    }

    std::unique_ptr<TsgPathDataDesigner> form;
    Uint32 id = 0;
};

TEST_F(PathDesigner, TheTypedTextIsDrawnAsThePathItNames) {
    EXPECT_EQ(form->Caption(), UnicodeString(u"Path Designer"));
    EXPECT_EQ(form->ClientWidth(), 666);
    EXPECT_FLOAT_EQ(form->previewPath->Width(), 183);
    EXPECT_FLOAT_EQ(form->previewPath->Height(), 210);
    ShowWindow();
    // Triangles stretched over the 183 x 210 preview: one point inside, one outside.
    const struct {
        const char* name;
        std::vector<std::string> lines;
        int inX, inY, outX, outY;
    } cases[] = {
        {"OneLine", {"M 0 0 L 100 0 L 100 50 Z"}, 170, 20, 15, 190},
        {"TwoLines", {"M 0 50 L 100 50", "L 0 0 Z"}, 15, 190, 170, 20},
        {"Curve", {"M10,10 C 20,0 40,0 50,10", "L 50 60 L 10 60 z"}, 91, 150, 2, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Click(form->PathData);
        ASSERT_EQ(form->sgScene1->Focused(), form->PathData);
        Key(SDLK_a, KMOD_LCTRL);
        Key(SDLK_DELETE);
        std::string joined;
        for (size_t i = 0; i < c.lines.size(); ++i) {
            if (i) {
                Key(SDLK_RETURN);
                joined += ' ';
            }
            Type(c.lines[i]);
            joined += c.lines[i];
        }
        EXPECT_EQ(form->PathData->GetLineCount(), int(c.lines.size()));
        // Leaving the memo hands its text over.
        Key(SDLK_TAB);
        EXPECT_NE(form->sgScene1->Focused(), form->PathData);
        TsgPathData expected;
        expected.SetPathString(AnsiString(joined));
        EXPECT_EQ(form->previewPath->Data()->GetPathString(), expected.GetPathString());
        const std::unique_ptr<TsgBitmap> picture = PaintPreview();
        EXPECT_TRUE(Painted(*picture, c.inX, c.inY));
        EXPECT_FALSE(Painted(*picture, c.outX, c.outY));
    }

    // Emptied, the memo gives an empty path and the preview draws nothing.
    Click(form->PathData);
    Key(SDLK_a, KMOD_LCTRL);
    Key(SDLK_DELETE);
    Key(SDLK_TAB);
    EXPECT_TRUE(form->PathData->Text().IsEmpty());
    EXPECT_TRUE(form->previewPath->Data()->IsEmpty());
    const std::unique_ptr<TsgBitmap> blank = PaintPreview();
    for (int y = 0; y < 210; y += 3)
        for (int x = 0; x < 183; x += 3)
            ASSERT_FALSE(Painted(*blank, x, y)) << x << "," << y;
}

TEST_F(PathDesigner, LongTextStaysOnItsLineAndFocusSelectsNothing) {
    std::string text = "M 0 0";
    for (int i = 1; i <= 40; ++i)
        text += " L " + std::to_string(i * 10) + " " + std::to_string(i % 7);
    form->PathData->Lines()->SetTextStr(UnicodeString(text));
    EXPECT_EQ(form->PathData->GetLineCount(), 1);
    form->sgScene1->SetFocused(form->PathData);
    EXPECT_EQ(form->PathData->SelLength(), 0);
}

TEST_F(PathDesigner, AHiddenPreviewIsLeftAlone) {
    form->PathData->Lines()->SetTextStr(u"M 0 0 L 10 10");
    const AnsiString shown = form->previewPath->Data()->GetPathString();
    EXPECT_FALSE(form->previewPath->Data()->IsEmpty());
    form->previewLayout->SetVisible(false);
    form->PathData->Lines()->SetTextStr(u"M 0 0 L 50 50 L 0 50 Z");
    EXPECT_EQ(form->previewPath->Data()->GetPathString(), shown);
    form->PathData->Lines()->Clear();
    EXPECT_EQ(form->previewPath->Data()->GetPathString(), shown);
}

TEST_F(PathDesigner, PasteReplacesTheWholeText) {
    form->PathData->Lines()->SetTextStr(u"M 0 0 L 10 10");
    const struct {
        const char* name;
        const char16_t* clipboard;
        const char* path;
    } cases[] = {
        {"OneLine", u"M 1 1 L 2 2", "M 1 1 L 2 2"},
        {"Lines", u"M 0 0 L 40 0\r\nL 40 20 Z", "M 0 0 L 40 0 L 40 20 Z"},
        {"SameAgain", u"M 0 0 L 40 0\r\nL 40 20 Z", "M 0 0 L 40 0 L 40 20 Z"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Clipboard()->SetAsText(c.clipboard);
        form->Button1Click(nullptr);
        EXPECT_EQ(form->PathData->Text(), UnicodeString(c.clipboard));
        TsgPathData expected;
        expected.SetPathString(c.path);
        EXPECT_EQ(form->previewPath->Data()->GetPathString(), expected.GetPathString());
    }
    Clipboard()->Clear();
    form->Button1Click(nullptr);
    EXPECT_TRUE(form->PathData->Text().IsEmpty());
    EXPECT_TRUE(form->previewPath->Data()->IsEmpty());
    // Once more on the empty memo: still empty.
    form->Button1Click(nullptr);
    EXPECT_TRUE(form->PathData->Text().IsEmpty());
    EXPECT_TRUE(form->previewPath->Data()->IsEmpty());
}

TEST_F(PathDesigner, TheEditEntryWritesThePathOnlyOnOk) {
    TsgPathData data;
    data.SetPathString("M 0 0 L 10 0");
    const AnsiString before = data.GetPathString();
    sgDesignShowModal() = [&](TForm& f) {
        auto& d = dynamic_cast<TsgPathDataDesigner&>(f);
        EXPECT_EQ(AnsiString(d.PathData->Text()), before);
        // The window opens on the path drawn.
        EXPECT_EQ(d.previewPath->Data()->GetPathString(), before);
        d.PathData->SetText(u"M 0 0 L 20 20 L 0 20 Z");
        return mrCancel;
    };
    EXPECT_FALSE(sgEditPathData(&data));
    EXPECT_EQ(data.GetPathString(), before);
    sgDesignShowModal() = [](TForm& f) {
        dynamic_cast<TsgPathDataDesigner&>(f).PathData->SetText(u"M 0 0 L 20 20 L 0 20 Z");
        return mrOk;
    };
    EXPECT_TRUE(sgEditPathData(&data));
    TsgPathData expected;
    expected.SetPathString("M 0 0 L 20 20 L 0 20 Z");
    EXPECT_EQ(data.GetPathString(), expected.GetPathString());
}

} // namespace
