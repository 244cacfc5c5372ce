// The brush designer built from its layout: every page sets the edited brush to its style with
// the values shown there (channels, colour text, gradient angle and kind, tile mode, a brush
// resource of the scene), the dialogs showing only their page and writing back only on OK, the
// brush list of an object's brushes, the shared window keeping its size when its object changes,
// and a new brush resource named through the input box.
#include "scene/controls/Sg_controls.h"
#include "scene/controls/Sg_controls_angle.h"
#include "scene/controls/Sg_controls_popupbox.h"
#include "scene/controls/Sg_controls_text.h"
#include "scene/controls/Sg_layouts.h"
#include "scene/controls/Sg_listbox.h"
#include "scene/controls/Sg_numberbox.h"
#include "scene/controls/Sg_scrollbox.h"
#include "scene/controls/Sg_tabcontrol.h"
#include "scene/controls/Sg_textbox.h"
#include "scene/core/Sg_ani.h"
#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_canvas_gdip.h"
#include "scene/core/Sg_effects.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_background.h"
#include "scene/core/Sg_scene_color.h"
#include "scene/design/DesignToolUnits.h"
#include "scene/design/Sg_colors.h"
#include "scene/design/Sg_dsgn_brush.h"
#include "scene/design/Sg_dsgn_form.h"
#include "scene/design/Sg_dsgn_input.h"
#include "scene/design/Sg_scene_design.h"

#include "platform/ui/Application.h"
#include "platform/ui/SdlVideo.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class BrushDesigner : public testing::Test {
protected:
    void SetUp() override {
        RegisterDesignToolUnits();
        ASSERT_TRUE(EnsureVideo());
        form = std::make_unique<TsgBrushDesign>();
    }
    void TearDown() override {
        sgDesignShowModal() = [](TForm& f) { return f.ShowModal(); };
        form.reset();
        delete sgDesign;
        sgDesign = nullptr;
        Application->Reset();
    }
    static void Channels(TsgNumberBox* R, TsgNumberBox* G, TsgNumberBox* B, TsgNumberBox* A, int r,
                         int g, int b, int a) {
        R->SetValue(float(r));
        G->SetValue(float(g));
        B->SetValue(float(b));
        A->SetValue(float(a));
    }
    std::unique_ptr<TsgBrushDesign> form;
};

// The scene whose objects the designer edits: a rectangle and a brush resource under a root.
struct TEditedScene {
    TComponent owner{nullptr};
    TsgScene* scene = new TsgScene(&owner);
    TsgBackground* root = new TsgBackground(&owner);
    TsgRectangle* rect = new TsgRectangle(&owner);
    TsgBrushObject* res = new TsgBrushObject(&owner);
    TEditedScene() {
        scene->AddObject(root);
        root->AddObject(rect);
        root->AddObject(res);
        res->SetResourceName(u"Accent");
        res->Brush()->SetSolidColor(0xFF2060C0);
    }
};

TEST_F(BrushDesigner, EveryPageSetsTheBrushToItsStyle) {
    EXPECT_EQ(form->Caption(), UnicodeString(u"Brush Designer"));
    EXPECT_EQ(form->ClientWidth(), 328);
    EXPECT_EQ(form->ClientHeight(), 362);
    TsgBrush brush(sgBrushSolid, 0xFF102030);
    form->SetBrush(&brush);
    EXPECT_EQ(form->brushTabControl->TabItem(form->brushTabControl->ItemIndex()), form->tabSolid);
    const struct {
        TsgTabItem* tab;
        TsgBrushStyle style;
        bool makeResource;
    } pages[] = {{form->tabNone, sgBrushNone, false},
                 {form->tabGradient, sgBrushGradient, true},
                 {form->tabBitmap, sgBrushBitmap, true},
                 {form->tabRes, sgBrushResource, false},
                 {form->tabSolid, sgBrushSolid, true}};
    for (const auto& page : pages) {
        form->brushTabControl->SetItemIndex(page.tab->Index());
        EXPECT_EQ(brush.Style(), page.style) << AnsiString(page.tab->Text()).c_str();
        EXPECT_EQ(form->btnMakeRes->Visible(), page.makeResource)
            << AnsiString(page.tab->Text()).c_str();
    }
}

TEST_F(BrushDesigner, TheSolidPageWritesTheTypedChannelsAndColourText) {
    TsgBrush brush(sgBrushSolid, 0xFF808080);
    form->SetBrush(&brush);
    EXPECT_EQ(form->textSolidR->Value(), 0x80);
    EXPECT_EQ(form->textSolidA->Value(), 255);
    EXPECT_EQ(form->textSolidHex->Text(), UnicodeString(u"#FF808080"));

    Channels(form->textSolidR, form->textSolidG, form->textSolidB, form->textSolidA, 200, 10, 30,
             128);
    form->textSolidRChange(form->textSolidR);
    EXPECT_EQ(brush.SolidColor(), 0x80C80A1Eu);
    EXPECT_EQ(form->textSolidHex->Text(), sgColorToStr(0x80C80A1E));

    form->textSolidHex->SetText(u"#FF00FF00");
    form->textSolidHexChange(form->textSolidHex);
    EXPECT_EQ(brush.SolidColor(), 0xFF00FF00u);
    EXPECT_EQ(form->textSolidG->Value(), 255);
    EXPECT_EQ(form->textSolidR->Value(), 0);
    form->textSolidHex->SetText(u"Red");
    form->textSolidHexChange(form->textSolidHex);
    EXPECT_EQ(brush.SolidColor(), 0xFFFF0000u);
    EXPECT_EQ(form->textSolidR->Value(), 255);

    // Picking in the square keeps the brush's alpha.
    brush.SetSolidColor(0x40000000);
    form->solidQuad->SetHue(2.0f / 3);
    form->solidQuad->SetSat(1);
    form->solidQuad->SetLum(0.5f);
    EXPECT_EQ(brush.SolidColor(), 0x400000FFu);
    EXPECT_EQ(form->textSolidA->Value(), 0x40);
}

TEST_F(BrushDesigner, TheGradientPageSetsStopColoursKindAndAngle) {
    TsgBrush brush(sgBrushSolid, 0xFF808080);
    brush.Gradient()->SetColor(u"#FF000000");
    brush.Gradient()->SetColor1(u"#FFFFFFFF");
    form->SetBrush(&brush);
    form->brushTabControl->SetItemIndex(form->tabGradient->Index());
    ASSERT_EQ(brush.Style(), sgBrushGradient);

    form->gradEditor->SetCurrentPoint(1);
    Channels(form->textGradR, form->textGradG, form->textGradB, form->textGradA, 0, 0, 255, 255);
    form->textGradRChange(form->textGradR);
    ASSERT_EQ(brush.Gradient()->Points()->Count(), 2);
    EXPECT_EQ(brush.Gradient()->Points()->Points(1)->IntColor(), 0xFF0000FFu);
    form->textGradHex->SetText(u"#80FF0000");
    form->textGradHexChange(form->textGradHex);
    EXPECT_EQ(brush.Gradient()->Points()->Points(1)->IntColor(), 0x80FF0000u);
    EXPECT_EQ(brush.Gradient()->Points()->Points(0)->IntColor(), 0xFF000000u);

    const struct {
        float angle, x0, y0, x1, y1;
    } angles[] = {{-90, 0.5f, 0, 0.5f, 1}, {0, 0, 0.5f, 1, 0.5f}, {-45, 0, 0, 1, 1}};
    for (const auto& a : angles) {
        form->gradAngle->SetValue(a.angle);
        form->gradAngleChange(form->gradAngle);
        TsgGradient* g = brush.Gradient();
        EXPECT_NEAR(g->StartPosition()->X(), a.x0, 0.01) << a.angle;
        EXPECT_NEAR(g->StartPosition()->Y(), a.y0, 0.01) << a.angle;
        EXPECT_NEAR(g->StopPosition()->X(), a.x1, 0.01) << a.angle;
        EXPECT_NEAR(g->StopPosition()->Y(), a.y1, 0.01) << a.angle;
    }
    EXPECT_EQ(form->gradAngleLabel->Text(), UnicodeString(u"-45"));

    form->gradKind->SetItemIndex(1);
    EXPECT_EQ(brush.Gradient()->Style(), sgRadialGradient);
    EXPECT_FALSE(form->gradAngle->Visible());
    form->gradKind->SetItemIndex(0);
    EXPECT_EQ(brush.Gradient()->Style(), sgLinearGradient);
    EXPECT_TRUE(form->gradAngle->Visible());

    // Opening a gradient brush shows its angle and kind.
    TsgBrush other(sgBrushGradient, 0);
    other.Gradient()->StartPosition()->SetPoint({1, 0.5f});
    other.Gradient()->StopPosition()->SetPoint({0, 0.5f});
    form->SetBrush(&other);
    EXPECT_FLOAT_EQ(form->gradAngle->Value(), -180);
    EXPECT_EQ(form->brushTabControl->TabItem(form->brushTabControl->ItemIndex()),
              form->tabGradient);
}

TEST_F(BrushDesigner, TheBitmapPageSetsTheTileMode) {
    TsgBrush brush(sgBrushBitmap, 0);
    brush.Bitmap()->Bitmap()->SetSize(8, 4);
    brush.Bitmap()->SetWrapMode(sgWrapTileStretch);
    form->SetBrush(&brush);
    EXPECT_EQ(form->brushTabControl->TabItem(form->brushTabControl->ItemIndex()), form->tabBitmap);
    EXPECT_EQ(form->tileModeList->ItemIndex(), 2);
    EXPECT_EQ(form->bitmapImage->Bitmap()->Width(), 8);
    form->tileModeList->SetItemIndex(1);
    EXPECT_EQ(brush.Bitmap()->WrapMode(), sgWrapTileOriginal);
    EXPECT_EQ(brush.Style(), sgBrushBitmap);
}

TEST_F(BrushDesigner, TheResourcePageListsTheScenesBrushesAndRefersToTheChosenOne) {
    TEditedScene edited;
    form->SetComp(edited.rect);
    ASSERT_EQ(form->Brush(), edited.rect->Fill());
    form->brushTabControl->SetItemIndex(form->tabRes->Index());
    ASSERT_EQ(form->resList->Count(), 1);
    form->resList->SetItemIndex(0);
    TsgBrush* fill = edited.rect->Fill();
    EXPECT_EQ(fill->Style(), sgBrushResource);
    EXPECT_EQ(fill->Resource()->Resource(), edited.res);
    EXPECT_EQ(fill->SolidColor(), 0xFF2060C0u);

    // A new resource is named through the input box; Cancel makes none.
    form->brushTabControl->SetItemIndex(form->tabSolid->Index());
    fill->SetSolidColor(0xFF00FF00);
    std::vector<UnicodeString> proposed;
    bool confirm = false;
    sgDesignShowModal() = [&](TForm& f) {
        auto* query = dynamic_cast<TsgInputQueryForm*>(&f);
        if (!query)
            return mrCancel;
        EXPECT_EQ(query->Caption(), UnicodeString(u"New TsgBrushObject"));
        EXPECT_EQ(query->PromptLabel->Text(), UnicodeString(u"Enter resource name:"));
        proposed.push_back(query->Edit->Text());
        query->Edit->SetText(u"Leaf");
        return confirm ? mrOk : mrCancel;
    };
    form->btnMakeResClick(nullptr);
    EXPECT_EQ(edited.root->ChildrenCount(), 2);
    confirm = true;
    form->btnMakeResClick(nullptr);
    ASSERT_EQ(proposed.size(), 2u);
    EXPECT_EQ(proposed[0], UnicodeString(u"Brush1"));
    EXPECT_EQ(proposed[1], UnicodeString(u"Brush2"));
    ASSERT_EQ(edited.root->ChildrenCount(), 3);
    auto* made = dynamic_cast<TsgBrushObject*>(edited.root->GetChild(2));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->ResourceName(), UnicodeString(u"Leaf"));
    EXPECT_EQ(made->Brush()->SolidColor(), 0xFF00FF00u);
    EXPECT_EQ(form->resList->Count(), 2);
}

TEST_F(BrushDesigner, WithoutASceneRootNoResourceIsListedOrMade) {
    TsgRectangle loose(nullptr);
    form->SetComp(&loose);
    form->brushTabControl->SetItemIndex(form->tabRes->Index());
    EXPECT_EQ(form->resList->Count(), 0);
    bool asked = false;
    sgDesignShowModal() = [&](TForm&) {
        asked = true;
        return mrOk;
    };
    form->btnMakeResClick(nullptr);
    EXPECT_FALSE(asked);
}

TEST_F(BrushDesigner, TheSharedWindowListsFillAndStrokeAndKeepsItsSize) {
    TEditedScene edited;
    SelectInDesign(edited.rect, nullptr);
    ASSERT_NE(sgDesign, nullptr);
    ASSERT_EQ(sgDesign->brushList->Count(), 2);
    auto rowText = [](TsgListBoxItem* row) {
        auto* label = dynamic_cast<TsgLabel*>(row->GetChild(row->ChildrenCount() - 1));
        return label ? label->Text() : UnicodeString();
    };
    EXPECT_EQ(rowText(sgDesign->brushList->ItemByIndex(0)), UnicodeString(u"Fill"));
    EXPECT_EQ(rowText(sgDesign->brushList->ItemByIndex(1)), UnicodeString(u"Stroke"));
    EXPECT_EQ(sgDesign->Brush(), edited.rect->Fill());
    EXPECT_EQ(sgDesign->brushList->ItemIndex(), 0);
    const int height = sgDesign->ClientHeight();
    EXPECT_EQ(height, 362 + 4 + 2 * 23);

    sgDesign->brushList->SetItemIndex(1);
    EXPECT_EQ(sgDesign->Brush(), edited.rect->Stroke());

    // Choosing the object again, or another, does not grow the window each time.
    SelectInDesign(edited.rect, nullptr);
    SelectInDesign(edited.rect, nullptr);
    EXPECT_EQ(sgDesign->ClientHeight(), height);
    SelectInDesign(edited.rect->Stroke(), edited.rect);
    EXPECT_EQ(sgDesign->Brush(), edited.rect->Stroke());
    EXPECT_EQ(sgDesign->brushList->ItemIndex(), 1);
    EXPECT_EQ(sgDesign->ClientHeight(), height);
    SelectInDesign(nullptr, nullptr);
    EXPECT_EQ(sgDesign->Brush(), nullptr);
    EXPECT_EQ(sgDesign->brushList->Count(), 0);
    EXPECT_EQ(sgDesign->ClientHeight(), 362);
}

TEST_F(BrushDesigner, TheEditedObjectFreedIsForgotten) {
    auto edited = std::make_unique<TEditedScene>();
    SelectInDesign(edited->rect, nullptr);
    ASSERT_NE(sgDesign, nullptr);
    edited.reset();
    EXPECT_EQ(sgDesign->Brush(), nullptr);
    EXPECT_EQ(sgDesign->Comp(), nullptr);
}

TEST_F(BrushDesigner, TheColourDialogShowsTheSolidPageAloneAndAnswersOnlyOnOk) {
    bool ok = true;
    sgDesignShowModal() = [&](TForm& f) {
        auto* d = dynamic_cast<TsgBrushDesign*>(&f);
        EXPECT_NE(d, nullptr);
        if (!d)
            return mrCancel;
        EXPECT_FALSE(d->tabNone->Visible());
        EXPECT_TRUE(d->tabSolid->Visible());
        EXPECT_FALSE(d->tabGradient->Visible());
        EXPECT_FALSE(d->brushList->Visible());
        EXPECT_TRUE(d->btnOK->Visible());
        EXPECT_EQ(d->textSolidR->Value(), 0);
        EXPECT_EQ(d->textSolidG->Value(), 255);
        EXPECT_EQ(d->textSolidB->Value(), 0);
        EXPECT_EQ(d->textSolidA->Value(), 255);
        d->textSolidB->SetValue(128);
        d->textSolidRChange(d->textSolidB);
        return ok ? mrOk : mrCancel;
    };
    EXPECT_EQ(ShowColorDialog(u"#FF00FF00"), std::optional<UnicodeString>(u"#FF00FF80"));
    ok = false;
    EXPECT_EQ(ShowColorDialog(u"#FF00FF00"), std::nullopt);
}

TEST_F(BrushDesigner, TheGradientAndBrushDialogsWriteBackOnlyOnOk) {
    bool ok = false;
    sgDesignShowModal() = [&](TForm& f) {
        auto* d = dynamic_cast<TsgBrushDesign*>(&f);
        if (!d)
            return mrCancel;
        if (d->tabSolid->Visible()) {
            d->brushTabControl->SetItemIndex(d->tabNone->Index());
        } else {
            EXPECT_TRUE(d->tabGradient->Visible());
            EXPECT_FALSE(d->brushList->Visible());
            d->gradKind->SetItemIndex(1);
        }
        return ok ? mrOk : mrCancel;
    };
    TsgGradient gradient;
    EXPECT_FALSE(ShowGradientDialog(&gradient));
    EXPECT_EQ(gradient.Style(), sgLinearGradient);
    TsgBrush brush(sgBrushSolid, 0xFF000000);
    EXPECT_FALSE(ShowBrushDialog(&brush, sgAllBrushStyles, true));
    EXPECT_EQ(brush.Style(), sgBrushSolid);
    ok = true;
    EXPECT_TRUE(ShowGradientDialog(&gradient));
    EXPECT_EQ(gradient.Style(), sgRadialGradient);
    EXPECT_TRUE(ShowBrushDialog(&brush, sgAllBrushStyles, true));
    EXPECT_EQ(brush.Style(), sgBrushNone);
}

} // namespace
