// The brush dialog as a streamed component: its settings go out in the text form and come back
// (the offered styles as a set of style names), what equals a declared default stays out, an
// unknown style name is refused, and Execute shows the designer as the settings say.
#include "scene/controls/Sg_controls.h"
#include "scene/controls/Sg_controls_buttons.h"
#include "scene/controls/Sg_controls_windows.h"
#include "scene/controls/Sg_layout.h"
#include "scene/controls/Sg_layouts.h"
#include "scene/controls/Sg_listbox.h"
#include "scene/controls/Sg_scrollbox.h"
#include "scene/controls/Sg_tabcontrol.h"
#include "scene/controls/Sg_textbox.h"
#include "scene/core/Sg_ani.h"
#include "scene/core/Sg_canvas_gdip.h"
#include "scene/core/Sg_effects.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"
#include "scene/design/DesignToolUnits.h"
#include "scene/design/Sg_dsgn_brush.h"
#include "scene/design/Sg_dsgn_form.h"
#include "scene/design/Sg_scene_design.h"

#include "platform/classes/ObjectText.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/ui/Application.h"
#include "platform/ui/SdlVideo.h"
#include "support/ComponentText.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class BrushDialog : public testing::Test {
protected:
    void SetUp() override { RegisterDesignToolUnits(); }
    void TearDown() override {
        sgDesignShowModal() = [](TForm& f) { return f.ShowModal(); };
        Application->Reset();
    }
};

std::string TextOf(TComponent* root) {
    return testsupport::ComponentText(root).str();
}

std::unique_ptr<TsgBrushDialog> DialogFromText(const std::string& text) {
    TStringStream in{AnsiString(text)};
    TBytesStream binary;
    ObjectTextToBinary(in, binary);
    binary.SetPosition(0);
    TReader reader(binary);
    std::unique_ptr<TComponent> read(reader.ReadRootComponent(nullptr));
    auto* dialog = dynamic_cast<TsgBrushDialog*>(read.get());
    if (dialog)
        read.release();
    return std::unique_ptr<TsgBrushDialog>(dialog);
}

TEST_F(BrushDialog, ConstructionValuesStreamAllButTheDeclaredDefault) {
    TsgBrushDialog dialog;
    dialog.SetName("BrushDialog1");
    // Only ShowBrushList declares a default; the styles, the switch without a default, the
    // sizes and the texts go out as constructed.
    EXPECT_EQ(TextOf(&dialog), "object BrushDialog1: TsgBrushDialog\n"
                               "  ShowStyles = [sgBrushNone, sgBrushSolid, sgBrushGradient, "
                               "sgBrushBitmap, sgBrushResource]\n"
                               "  ShowMakeResource = False\n"
                               "  TxtTitle = 'Brush Designer'\n"
                               "  TxtNone = 'None'\n"
                               "  TxtSolid = 'Solid'\n"
                               "  TxtGradient = 'Gradient'\n"
                               "  TxtResource = 'Resource'\n"
                               "  TxtMakeResource = 'Make a resource'\n"
                               "  TxtOk = 'OK'\n"
                               "  TxtCancel = 'Cancel'\n"
                               "  DialogWidth = 330\n"
                               "  DialogHeight = 360\n"
                               "  DialogLeft = 0\n"
                               "  DialogTop = 0\n"
                               "end\n");
}

TEST_F(BrushDialog, SettingsRoundTripThroughTheTextForm) {
    const struct {
        const char* name;
        TsgBrushStyles styles;
        const char* text;
    } sets[] = {
        {"Two", sgBrushStyleSet(sgBrushSolid) | sgBrushStyleSet(sgBrushGradient),
         "[sgBrushSolid, sgBrushGradient]"},
        {"One", sgBrushStyleSet(sgBrushResource), "[sgBrushResource]"},
        {"None", 0, "[]"},
        {"WithVisual", sgBrushStyleSet(sgBrushNone) | sgBrushStyleSet(sgBrushVisual),
         "[sgBrushNone, sgBrushVisual]"},
    };
    for (const auto& c : sets) {
        SCOPED_TRACE(c.name);
        TsgBrushDialog dialog;
        dialog.SetName("Picker");
        dialog.SetShowStyles(c.styles);
        dialog.SetShowBrushList(false);
        dialog.SetShowMakeResource(true);
        dialog.SetDialogWidth(412);
        dialog.SetDialogHeight(398);
        dialog.SetDialogLeft(-20);
        dialog.SetDialogTop(64);
        dialog.SetTxtTitle(u"Pędzel");
        dialog.SetTxtNone(u"Brak");
        dialog.SetTxtSolid(u"Kolor");
        dialog.SetTxtGradient(u"Gradient liniowy");
        dialog.SetTxtResource(u"Zasób");
        dialog.SetTxtMakeResource(u"Utwórz zasób");
        dialog.SetTxtOk(u"Tak");
        dialog.SetTxtCancel(u"Anuluj");

        const std::string text = TextOf(&dialog);
        EXPECT_NE(text.find(std::string("  ShowStyles = ") + c.text + "\n"), std::string::npos)
            << text;
        EXPECT_NE(text.find("  ShowBrushList = False\n"), std::string::npos) << text;
        EXPECT_NE(text.find("  ShowMakeResource = True\n"), std::string::npos) << text;

        std::unique_ptr<TsgBrushDialog> read = DialogFromText(text);
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(read->Name(), "Picker");
        EXPECT_EQ(read->ShowStyles(), c.styles);
        EXPECT_FALSE(read->ShowBrushList());
        EXPECT_TRUE(read->ShowMakeResource());
        EXPECT_EQ(read->DialogWidth(), 412);
        EXPECT_EQ(read->DialogHeight(), 398);
        EXPECT_EQ(read->DialogLeft(), -20);
        EXPECT_EQ(read->DialogTop(), 64);
        EXPECT_EQ(read->TxtTitle(), UnicodeString(u"Pędzel"));
        EXPECT_EQ(read->TxtNone(), UnicodeString(u"Brak"));
        EXPECT_EQ(read->TxtSolid(), UnicodeString(u"Kolor"));
        EXPECT_EQ(read->TxtGradient(), UnicodeString(u"Gradient liniowy"));
        EXPECT_EQ(read->TxtResource(), UnicodeString(u"Zasób"));
        EXPECT_EQ(read->TxtMakeResource(), UnicodeString(u"Utwórz zasób"));
        EXPECT_EQ(read->TxtOk(), UnicodeString(u"Tak"));
        EXPECT_EQ(read->TxtCancel(), UnicodeString(u"Anuluj"));
        // What was read writes back to the same text.
        EXPECT_EQ(TextOf(read.get()), text);
    }
}

TEST_F(BrushDialog, StyleNamesAreReadWithoutRegardToCaseAndUnknownOnesAreRefused) {
    std::unique_ptr<TsgBrushDialog> read = DialogFromText(
        "object D: TsgBrushDialog\n  ShowStyles = [SGBRUSHBITMAP, sgbrushnone]\nend\n");
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->ShowStyles(), sgBrushStyleSet(sgBrushBitmap) | sgBrushStyleSet(sgBrushNone));

    for (const char* value :
         {"[sgBrushSolid, sgBrushPlaid]", "[sgLinearGradient]", "sgBrushSolid", "3"}) {
        SCOPED_TRACE(value);
        EXPECT_THROW(DialogFromText(std::string("object D: TsgBrushDialog\n  ShowStyles = ") +
                                    value + "\nend\n"),
                     EReadError);
    }
}

TEST_F(BrushDialog, ExecuteShowsTheDesignerAsTheStreamedSettingsSay) {
    ASSERT_TRUE(EnsureVideo());
    std::unique_ptr<TsgBrushDialog> dialog =
        DialogFromText("object D: TsgBrushDialog\n"
                       "  ShowStyles = [sgBrushNone, sgBrushGradient, sgBrushResource]\n"
                       "  ShowBrushList = False\n"
                       "  ShowMakeResource = True\n"
                       "  TxtTitle = 'Wybierz'\n"
                       "  TxtNone = 'Brak'\n"
                       "  TxtSolid = 'Kolor'\n"
                       "  TxtGradient = 'Przej\xC5\x9B\x63ie'\n"
                       "  TxtResource = 'Zas\xC3\xB3\x62'\n"
                       "  TxtMakeResource = 'Nowy'\n"
                       "  TxtOk = 'Tak'\n"
                       "  TxtCancel = 'Nie'\n"
                       "  DialogWidth = 400\n"
                       "  DialogHeight = 380\n"
                       "  DialogLeft = 30\n"
                       "  DialogTop = 40\n"
                       "end\n");
    ASSERT_NE(dialog, nullptr);
    bool shown = false;
    sgDesignShowModal() = [&](TForm& f) {
        shown = true;
        auto* d = dynamic_cast<TsgBrushDesign*>(&f);
        EXPECT_NE(d, nullptr);
        if (!d)
            return mrCancel;
        const struct {
            TsgTabItem* tab;
            bool visible;
            const char16_t* text;
        } tabs[] = {{d->tabNone, true, u"Brak"},
                    {d->tabSolid, false, u"Kolor"},
                    {d->tabGradient, true, u"Przejście"},
                    {d->tabBitmap, false, nullptr},
                    {d->tabRes, true, u"Zasób"}};
        for (const auto& t : tabs) {
            EXPECT_EQ(t.tab->Visible(), t.visible) << AnsiString(t.tab->Text()).c_str();
            if (t.text) {
                EXPECT_EQ(t.tab->Text(), UnicodeString(t.text));
            }
        }
        EXPECT_FALSE(d->brushList->Visible());
        EXPECT_TRUE(d->makeResLayout->Visible());
        EXPECT_EQ(d->Caption(), UnicodeString(u"Wybierz"));
        EXPECT_EQ(d->HudWindow1->Text(), UnicodeString(u"Wybierz"));
        EXPECT_EQ(d->btnMakeRes->Text(), UnicodeString(u"Nowy"));
        EXPECT_EQ(d->btnOK->Text(), UnicodeString(u"Tak"));
        EXPECT_EQ(d->btnCancel->Text(), UnicodeString(u"Nie"));
        EXPECT_TRUE(d->btnOK->Visible());
        EXPECT_TRUE(d->btnCancel->Visible());
        EXPECT_EQ(d->ClientWidth(), 400);
        EXPECT_EQ(d->ClientHeight(), 380);
        EXPECT_EQ(d->Left(), 30);
        EXPECT_EQ(d->Top(), 40);
        // The form edits the dialog's own brush.
        EXPECT_EQ(d->Brush(), dialog->Brush());
        d->brushTabControl->SetItemIndex(d->tabNone->Index());
        return mrOk;
    };
    EXPECT_TRUE(dialog->Execute());
    EXPECT_TRUE(shown);
    EXPECT_EQ(dialog->Brush()->Style(), sgBrushNone);
}

TEST_F(BrushDialog, TheListShowsTheComponentsBrushesUntilTheComponentIsFreed) {
    ASSERT_TRUE(EnsureVideo());
    TsgBrushDialog dialog;
    auto* rect = new TsgRectangle(nullptr);
    dialog.SetComponent(rect);
    int rows = -1;
    bool listShown = false;
    sgDesignShowModal() = [&](TForm& f) {
        auto& d = dynamic_cast<TsgBrushDesign&>(f);
        rows = d.brushList->Count();
        listShown = d.brushList->Visible();
        return mrCancel;
    };
    EXPECT_FALSE(dialog.Execute());
    EXPECT_TRUE(listShown);
    EXPECT_EQ(rows, 2); // Fill and Stroke
    delete rect;
    EXPECT_EQ(dialog.Component(), nullptr);
    EXPECT_FALSE(dialog.Execute());
    EXPECT_FALSE(listShown);
}

struct DialogWatch : TObject {
    TObject* showingSender = nullptr;
    TsgBrushDialog* shown = nullptr;
    int closings = 0;
    uint32_t choose = 0;
    void Showing(TObject* Sender, TObject* Dialog) {
        showingSender = Sender;
        shown = dynamic_cast<TsgBrushDialog*>(Dialog);
        if (shown && choose)
            shown->Brush()->SetSolidColor(choose);
    }
    void Closing(TObject*) { ++closings; }
};

TEST_F(BrushDialog, AColourButtonOffersTheSolidPageBelowItself) {
    ASSERT_TRUE(EnsureVideo());
    struct Case {
        TModalResult result;
        const char16_t* color;
    } cases[] = {{mrOk, u"#FF00FF00"}, {mrCancel, u"#FF102030"}};
    for (const Case& c : cases) {
        TsgColorButton button(nullptr);
        button.SetBounds(0, 0, 80, 30);
        button.SetColor(u"#FF102030");
        DialogWatch watch;
        watch.choose = 0xFF00FF00;
        button.OnDialogShowing = TsgBrushDialogEvent::Bind<&DialogWatch::Showing>(&watch);
        button.OnDialogClosing = TNotifyEvent::Bind<&DialogWatch::Closing>(&watch);
        bool onlySolid = false, listShown = true;
        int left = 0, top = 0;
        sgDesignShowModal() = [&](TForm& f) {
            auto& d = dynamic_cast<TsgBrushDesign&>(f);
            onlySolid = d.tabSolid->Visible() && !d.tabNone->Visible() &&
                        !d.tabGradient->Visible() && !d.tabBitmap->Visible() &&
                        !d.tabRes->Visible();
            listShown = d.brushList->Visible();
            left = f.Left();
            top = f.Top();
            return c.result;
        };
        button.Click();
        EXPECT_EQ(watch.showingSender, &button);
        ASSERT_NE(watch.shown, nullptr);
        EXPECT_TRUE(onlySolid);
        EXPECT_FALSE(listShown);
        // A button in no scene has its own coordinates as the screen's.
        EXPECT_EQ(left, -10);
        EXPECT_EQ(top, 20);
        EXPECT_EQ(button.Color(), UnicodeString(c.color));
        EXPECT_EQ(watch.closings, 1);
    }
}

} // namespace
