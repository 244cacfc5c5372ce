// The font dialog: the families it offers, what it selects for a font, and choices made in its
// window with the pointer and the keys, confirmed or cancelled.
#include "platform/gfx/Gfx.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/StringUtils.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/FontDialog.h"
#include "platform/ui/SdlVideo.h"

#include "UiTestSupport.h"

#include <SDL.h>

#include <functional>
#include <vector>

namespace {

class FontDialogTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        ASSERT_TRUE(EnsureVideo());
    }
    static Uint32 Id(TForm& f) { return SDL_GetWindowID(f.PlatformWindow()); }
    static TPoint Centre(const TRect& r) {
        return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    // Queues a click; the modal loop of the dialog delivers it.
    static void Click(TForm& f, TPoint p, int clicks = 1) {
        SDL_Event m{};
        m.type = SDL_MOUSEMOTION;
        m.motion.windowID = Id(f);
        m.motion.x = p.X;
        m.motion.y = p.Y;
        SDL_PushEvent(&m);
        for (bool down : {true, false}) {
            SDL_Event e{};
            e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
            e.button.windowID = Id(f);
            e.button.button = SDL_BUTTON_LEFT;
            e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
            e.button.clicks = Uint8(clicks);
            e.button.x = p.X;
            e.button.y = p.Y;
            SDL_PushEvent(&e);
        }
    }
    static void Key(TForm& f, SDL_Keycode sym) {
        for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
            SDL_Event e{};
            e.type = type;
            e.key.windowID = Id(f);
            e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
            e.key.keysym.sym = sym;
            SDL_PushEvent(&e);
        }
    }
    static TFont Start() {
        TFont font;
        font.SetName(u"Dbi No Such Family");
        font.SetHeight(-13);
        font.SetStyle(TFontStyles(1u << fsUnderline));
        font.SetColor(clRed);
        return font;
    }
};

TEST_F(FontDialogTest, TheFamiliesAreTheInstalledOnesSorted) {
    TFontChooser chooser;
    const std::vector<std::string> installed = gfx::InstalledFontFamilies();
    ASSERT_GT(chooser.Count(TFontChooser::FamilyList), 0);
    ASSERT_EQ(chooser.Count(TFontChooser::FamilyList), static_cast<int>(installed.size()));
    for (int i = 1; i < chooser.Count(TFontChooser::FamilyList); ++i)
        EXPECT_LE(CompareText(chooser.Item(TFontChooser::FamilyList, i - 1),
                              chooser.Item(TFontChooser::FamilyList, i)),
                  0)
            << i;
    EXPECT_EQ(chooser.Count(TFontChooser::StyleList), 4);
    EXPECT_EQ(chooser.Item(TFontChooser::StyleList, 3), UnicodeString(u"Bold Italic"));
}

TEST_F(FontDialogTest, AFontIsSelectedAndGivenBackAsItWas) {
    TFontChooser chooser;
    const UnicodeString family = chooser.Item(TFontChooser::FamilyList, 0);
    struct TCase {
        UnicodeString name;
        int height;
        TFontStyles style;
    };
    const std::vector<TCase> cases = {
        {family, -12, TFontStyles(1u << fsBold)},
        {family, -13, TFontStyles((1u << fsBold) | (1u << fsItalic) | (1u << fsStrikeOut))},
        // Neither the family nor the size is listed: both become entries of their own.
        {u"Dbi No Such Family", -17, TFontStyles(1u << fsItalic)},
    };
    for (const TCase& c : cases) {
        TFont font;
        font.SetName(c.name);
        font.SetHeight(c.height);
        font.SetStyle(c.style);
        font.SetColor(clBlue);
        chooser.SetChoice(font);
        EXPECT_EQ(
            chooser.Item(TFontChooser::FamilyList, chooser.ItemIndex(TFontChooser::FamilyList)),
            c.name);
        EXPECT_EQ(chooser.Item(TFontChooser::SizeList, chooser.ItemIndex(TFontChooser::SizeList)),
                  IntToStr(-c.height));
        TFont back;
        back.Assign(&font);
        back.SetName(u"other");
        back.SetHeight(-50);
        back.SetStyle(0);
        chooser.GetChoice(back);
        back.SetStyle(back.Style() |
                      (c.style & TFontStyles((1u << fsUnderline) | (1u << fsStrikeOut))));
        EXPECT_TRUE(back == font) << AnsiString(c.name).c_str() << " " << c.height;
    }
}

TEST_F(FontDialogTest, ChoicesMadeInTheWindowAreGivenOnOk) {
    TFontDialog dialog;
    dialog.Font = Start();
    UnicodeString wanted;
    dialog.OnShow = [&](TFontChooser& chooser) {
        // The first family, Bold Italic, and the size two rows below 13 (14, 16).
        Click(chooser, Centre(chooser.RowRect(TFontChooser::FamilyList, 0)));
        wanted = chooser.Item(TFontChooser::FamilyList, 0);
        Click(chooser, Centre(chooser.RowRect(TFontChooser::StyleList, 3)));
        Key(chooser, SDLK_TAB);
        Key(chooser, SDLK_DOWN);
        Key(chooser, SDLK_DOWN);
        Click(chooser, Centre(chooser.OkRect()));
    };
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Font.Name(), wanted);
    EXPECT_EQ(dialog.Font.Height(), -16);
    EXPECT_EQ(dialog.Font.Style(),
              TFontStyles((1u << fsBold) | (1u << fsItalic) | (1u << fsUnderline)));
    EXPECT_EQ(dialog.Font.Color(), clRed);

    // A double click on a row confirms at once; Enter confirms what is selected.
    dialog.OnShow = [&](TFontChooser& chooser) {
        Click(chooser, Centre(chooser.RowRect(TFontChooser::StyleList, 0)), 2);
    };
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Font.Style(), TFontStyles(1u << fsUnderline));
    dialog.OnShow = [&](TFontChooser& chooser) {
        Key(chooser, SDLK_END);
        Key(chooser, SDLK_RETURN);
    };
    ASSERT_TRUE(dialog.Execute());
    TFontChooser probe;
    EXPECT_EQ(dialog.Font.Name(),
              probe.Item(TFontChooser::FamilyList, probe.Count(TFontChooser::FamilyList) - 1));
}

TEST_F(FontDialogTest, CancelLeavesTheFont) {
    const std::vector<std::function<void(TFontChooser&)>> cancels = {
        [](TFontChooser& c) { Click(c, Centre(c.CancelRect())); },
        [](TFontChooser& c) { Key(c, SDLK_ESCAPE); },
        // A press on OK released outside it does nothing; then the window is closed.
        [](TFontChooser& c) {
            SDL_Event e{};
            e.type = SDL_MOUSEBUTTONDOWN;
            e.button.windowID = Id(c);
            e.button.button = SDL_BUTTON_LEFT;
            e.button.state = SDL_PRESSED;
            e.button.clicks = 1;
            e.button.x = Centre(c.OkRect()).X;
            e.button.y = Centre(c.OkRect()).Y;
            SDL_PushEvent(&e);
            e.type = SDL_MOUSEBUTTONUP;
            e.button.state = SDL_RELEASED;
            e.button.x = 5;
            e.button.y = 5;
            SDL_PushEvent(&e);
            Key(c, SDLK_ESCAPE);
        },
    };
    for (size_t i = 0; i < cancels.size(); ++i) {
        TFontDialog dialog;
        dialog.Font = Start();
        dialog.OnShow = [&](TFontChooser& chooser) {
            Click(chooser, Centre(chooser.RowRect(TFontChooser::StyleList, 1)));
            Click(chooser, Centre(chooser.RowRect(TFontChooser::FamilyList, 0)));
            cancels[i](chooser);
        };
        EXPECT_FALSE(dialog.Execute()) << i;
        EXPECT_TRUE(dialog.Font == Start()) << i;
    }
}

TEST_F(FontDialogTest, TheListsScrollToTheirSelection) {
    TFontChooser chooser;
    const int last = chooser.Count(TFontChooser::SizeList) - 1;
    chooser.SetItemIndex(TFontChooser::SizeList, last + 10);
    EXPECT_EQ(chooser.ItemIndex(TFontChooser::SizeList), last);
    const TRect row = chooser.RowRect(TFontChooser::SizeList, last);
    const TRect box = chooser.ListRect(TFontChooser::SizeList);
    EXPECT_GT(chooser.TopIndex(TFontChooser::SizeList), 0);
    EXPECT_LE(row.Bottom, box.Bottom);
    EXPECT_GE(row.Top, box.Top);
    chooser.SetItemIndex(TFontChooser::SizeList, -3);
    EXPECT_EQ(chooser.ItemIndex(TFontChooser::SizeList), 0);
    EXPECT_EQ(chooser.TopIndex(TFontChooser::SizeList), 0);
}

} // namespace
