// The path designer built from its layout: the typed text drawn as the path it names, nothing
// drawn for no text, the preview left alone while its column is hidden, "Paste" replacing the
// text with the clipboard's, and the edit entry writing the path back only on OK.
#include "scene/controls/Sg_controls.h"
#include "scene/controls/Sg_layout.h"
#include "scene/controls/Sg_layouts.h"
#include "scene/controls/Sg_scrollbox.h"
#include "scene/controls/Sg_textbox.h"
#include "scene/core/Sg_ani.h"
#include "scene/core/Sg_canvas_gdip.h"
#include "scene/core/Sg_effects.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_path.h"
#include "scene/design/Sg_dsgn_form.h"
#include "scene/design/Sg_dsgn_path.h"
#include "scene/design/Sg_scene_design.h"

#include "platform/ui/Application.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/SdlVideo.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class PathDesigner : public testing::Test {
protected:
    void SetUp() override {
        RegisterSgSceneUnit();
        RegisterSgObjectsUnit();
        RegisterSgAniUnit();
        RegisterSgEffectsUnit();
        RegisterSgControlsUnit();
        RegisterSgLayoutsUnit();
        RegisterSgScrollBoxUnit();
        RegisterSgTextboxUnit();
        RegisterSgDesignUnit();
        InitSgCanvasUnit();
        ASSERT_TRUE(EnsureVideo());
        form = std::make_unique<TsgPathDataDesigner>();
    }
    void TearDown() override {
        sgDesignShowModal() = [](TForm& f) { return f.ShowModal(); };
        form.reset();
        Clipboard()->Clear();
        Application->Reset();
    }
    std::unique_ptr<TsgPathDataDesigner> form;
};

TEST_F(PathDesigner, TheTypedTextIsDrawnAsThePathItNames) {
    EXPECT_EQ(form->Caption(), UnicodeString(u"Path Designer"));
    EXPECT_EQ(form->ClientWidth(), 666);
    EXPECT_FLOAT_EQ(form->previewPath->Width(), 183);
    EXPECT_FLOAT_EQ(form->previewPath->Height(), 210);
    for (const char* text : {"M 0 0 L 100 0 L 100 50 Z", "M10,10 C 20,0 40,0 50,10 z",
                             "M 0 0 H 30 V 30 H 0 Z M 5 5 L 25 25"}) {
        form->PathData->SetText(UnicodeString(text));
        TsgPathData expected;
        expected.SetPathString(AnsiString(text));
        EXPECT_EQ(form->previewPath->Data()->GetPathString(), expected.GetPathString()) << text;
        const TsgRect a = form->previewPath->Data()->GetBounds(), b = expected.GetBounds();
        EXPECT_EQ(std::vector<float>({a.Left, a.Top, a.Right, a.Bottom}),
                  std::vector<float>({b.Left, b.Top, b.Right, b.Bottom}))
            << text;
    }
    form->PathData->SetText(UnicodeString());
    EXPECT_TRUE(form->previewPath->Data()->IsEmpty());
}

TEST_F(PathDesigner, AHiddenPreviewIsLeftAlone) {
    form->PathData->SetText(u"M 0 0 L 10 10");
    const AnsiString shown = form->previewPath->Data()->GetPathString();
    form->previewLayout->SetVisible(false);
    form->PathData->SetText(u"M 0 0 L 50 50 L 0 50 Z");
    EXPECT_EQ(form->previewPath->Data()->GetPathString(), shown);
}

TEST_F(PathDesigner, PasteReplacesTheWholeText) {
    form->PathData->SetText(u"M 0 0 L 10 10");
    Clipboard()->SetAsText(u"M 1 1 L 2 2");
    form->Button1Click(nullptr);
    EXPECT_EQ(form->PathData->Text(), UnicodeString(u"M 1 1 L 2 2"));
    TsgPathData expected;
    expected.SetPathString("M 1 1 L 2 2");
    EXPECT_EQ(form->previewPath->Data()->GetPathString(), expected.GetPathString());
    Clipboard()->Clear();
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
