// The bitmap editor built from its layout: which controls a picture enables, cropping (the frame
// placed after fitting, kept over the same pixels when the scale changes, cut out on OK), the
// proposed sizes of the resize panel's number boxes, resizing, clearing, saving, and taking the
// picture of an X11 clipboard (on a private Xvfb display); crop, resize and the saved files are
// checked against Pillow.
#include "scene/controls/Sg_controls.h"
#include "scene/controls/Sg_controls_text.h"
#include "scene/controls/Sg_controls_track.h"
#include "scene/controls/Sg_layouts.h"
#include "scene/controls/Sg_numberbox.h"
#include "scene/controls/Sg_scrollbox.h"
#include "scene/controls/Sg_textbox.h"
#include "scene/core/Sg_ani.h"
#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_canvas_gdip.h"
#include "scene/core/Sg_effects.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_objects_selection.h"
#include "scene/core/Sg_scene.h"
#include "scene/design/DesignToolUnits.h"
#include "scene/design/Sg_dsgn_bmp.h"
#include "scene/design/Sg_dsgn_form.h"
#include "scene/design/Sg_scene_design.h"
#include "support/ClipboardOwner.h"
#include "support/TestSupport.h"
#include "support/XvfbServer.h"

#include "platform/ui/Application.h"
#include "platform/ui/SdlVideo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

namespace {

// A picture with a different colour at every pixel, opaque.
std::unique_ptr<TsgBitmap> Pattern(int w, int h) {
    auto b = std::make_unique<TsgBitmap>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b->Scanline(y)[x] = 0xFF000000u | uint32_t(x * 255 / w) << 16 |
                                uint32_t(y * 255 / h) << 8 | uint32_t((x + y) % 256);
    b->BitmapChanged();
    return b;
}

int Oracle(const std::string& args) {
    const std::string script =
        (testsupport::SourceDir() / "tests/scene/design/data/bitmap_oracle.py").string();
    return std::system(("/usr/bin/python3 '" + script + "' " + args).c_str());
}

class BitmapEditor : public testing::Test {
protected:
    void SetUp() override {
        RegisterDesignToolUnits();
        ASSERT_TRUE(EnsureVideo());
        editor = std::make_unique<TsgBitmapEditor>();
    }
    void TearDown() override {
        sgDesignShowModal() = [](TForm& form) { return form.ShowModal(); };
        editor.reset();
        Application->Reset();
    }
    // Typed and committed, as Enter or leaving the box does.
    void TypeSize(TsgNumberBox* box, const char* value) {
        box->SetText(UnicodeString(value));
        box->Change();
    }
    std::string Text(TsgNumberBox* box) { return AnsiString(box->Text()).c_str(); }

    std::unique_ptr<TsgBitmapEditor> editor;
    testsupport::ScratchFolder folder;
};

TEST_F(BitmapEditor, APictureWiderThanOnePixelEnablesEditingAndOk) {
    EXPECT_FALSE(editor->editControl->Enabled());
    EXPECT_FALSE(editor->btnOk->Enabled());
    EXPECT_FALSE(editor->resizeLayout->Visible());
    TsgBitmap dot(1, 1);
    editor->AssignFromBitmap(&dot);
    EXPECT_FALSE(editor->editControl->Enabled());
    EXPECT_FALSE(editor->btnOk->Enabled());
    auto picture = Pattern(200, 100);
    editor->AssignFromBitmap(picture.get());
    EXPECT_TRUE(editor->editControl->Enabled());
    EXPECT_TRUE(editor->btnOk->Enabled());
    EXPECT_FLOAT_EQ(editor->Preview->Width(), 200);
    EXPECT_FLOAT_EQ(editor->Preview->Height(), 100);
    // Without a crop frame OK gives the whole picture back.
    TsgBitmap out(1, 1);
    editor->AssignToBitmap(&out);
    ASSERT_EQ(out.Width(), 200);
    EXPECT_EQ(out.GetPixels(150, 70), picture->GetPixels(150, 70));
}

TEST_F(BitmapEditor, CropFitsFirstAndCutsTheFramedPartAsPillowDoes) {
    auto picture = Pattern(200, 100);
    const std::string source = folder / "source.png";
    ASSERT_TRUE(picture->SaveToFile(UnicodeString::FromUtf8(source)));
    editor->AssignFromBitmap(picture.get());
    editor->cropButtonClick(nullptr);
    TsgSelection* frame = editor->CropRect();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(editor->cropButton->Text(), UnicodeString(u"Full"));
    const float s = editor->Scale();
    // Fitted into the box: the picture fills it in one direction.
    const TsgRect box = editor->ScrollBox1->LocalRect();
    EXPECT_NEAR(std::min(sgRectWidth(box) / 200, sgRectHeight(box) / 100), s, 0.01);
    EXPECT_FLOAT_EQ(frame->Position()->X(), std::trunc(0.1f * 200 * s));
    EXPECT_FLOAT_EQ(frame->Position()->Y(), std::trunc(0.1f * 100 * s));

    TsgBitmap out(1, 1);
    editor->AssignToBitmap(&out);
    EXPECT_NEAR(out.Width(), 160, 1);
    EXPECT_NEAR(out.Height(), 80, 1);
    const int left = int(frame->Position()->X() / s), top = int(frame->Position()->Y() / s);
    EXPECT_NEAR(left, 20, 1);
    EXPECT_NEAR(top, 10, 1);
    const std::string cut = folder / "cut.png", expected = folder / "expected.png";
    ASSERT_TRUE(out.SaveToFile(UnicodeString::FromUtf8(cut)));
    ASSERT_EQ(Oracle("crop '" + source + "' " + std::to_string(left) + " " + std::to_string(top) +
                     " " + std::to_string(out.Width()) + " " + std::to_string(out.Height()) + " '" +
                     expected + "'"),
              0);
    EXPECT_EQ(Oracle("compare '" + cut + "' '" + expected + "' 0"), 0);

    // "Full" removes the frame again.
    editor->cropButtonClick(nullptr);
    EXPECT_EQ(editor->CropRect(), nullptr);
    EXPECT_EQ(editor->cropButton->Text(), UnicodeString(u"Crop"));
}

TEST_F(BitmapEditor, TheFrameKeepsItsPixelsWhenTheScaleChanges) {
    auto picture = Pattern(200, 100);
    editor->AssignFromBitmap(picture.get());
    editor->cropButtonClick(nullptr);
    editor->trackScale->SetValue(2);
    TsgSelection* frame = editor->CropRect();
    const float x = frame->Position()->X(), w = frame->Width(), h = frame->Height();
    editor->trackScale->SetValue(1);
    EXPECT_FLOAT_EQ(frame->Position()->X(), x / 2);
    EXPECT_FLOAT_EQ(frame->Width(), w / 2);
    EXPECT_FLOAT_EQ(frame->Height(), h / 2);
    EXPECT_EQ(editor->labelScale->Text(), UnicodeString(u"Scale: 100%"));
    EXPECT_FLOAT_EQ(editor->Preview->Width(), 200);
}

TEST_F(BitmapEditor, TheResizePanelProposesSizesOfTheSameAspect) {
    auto picture = Pattern(200, 100);
    editor->AssignFromBitmap(picture.get());
    editor->btnResizeClick(nullptr);
    EXPECT_TRUE(editor->resizeLayout->Visible());
    EXPECT_EQ(Text(editor->newWidth), "200");
    EXPECT_EQ(Text(editor->newHeight), "100");
    // Typed one after another into the same panel.
    struct Step {
        bool width;
        const char* typed;
        const char* expectedWidth;
        const char* expectedHeight;
    };
    const Step steps[] = {
        {true, "100", "100", "50"},
        // Halves round to the even neighbour: 50.5 and 51.5.
        {true, "101", "101", "50"},
        {true, "103", "103", "52"},
        {false, "30", "60", "30"},
        {false, "25", "50", "25"},
        // The boxes keep 1 .. 4000, and so do their proposals.
        {true, "5000", "4000", "2000"},
        {false, "0", "2", "1"},
        {true, "1", "1", "1"},
        {false, "2500", "4000", "2500"},
        // What is no number brings the value back.
        {true, "-", "4000", "2000"},
        {true, "12.7", "12", "6"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(std::string(s.width ? "width " : "height ") + s.typed);
        TypeSize(s.width ? editor->newWidth : editor->newHeight, s.typed);
        EXPECT_EQ(Text(editor->newWidth), s.expectedWidth);
        EXPECT_EQ(Text(editor->newHeight), s.expectedHeight);
    }
    // Cancel leaves the picture.
    editor->Button5Click(nullptr);
    EXPECT_FALSE(editor->resizeLayout->Visible());
    EXPECT_EQ(editor->Picture()->Width(), 200);
    EXPECT_EQ(editor->Picture()->Height(), 100);
    // Opening the panel again shows the picture's size, whatever was typed before.
    editor->btnResizeClick(nullptr);
    EXPECT_EQ(Text(editor->newWidth), "200");
    EXPECT_EQ(Text(editor->newHeight), "100");
}

TEST_F(BitmapEditor, ResizeScalesThePictureAsPillowDoes) {
    // A smooth picture, so that both scalers agree closely.
    TsgBitmap smooth(200, 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            smooth.Scanline(y)[x] =
                0xFF000000u | uint32_t(x * 255 / 199) << 16 | uint32_t(y * 255 / 99) << 8 | 0x40;
    smooth.BitmapChanged();
    const std::string source = folder / "smooth.png";
    ASSERT_TRUE(smooth.SaveToFile(UnicodeString::FromUtf8(source)));
    editor->AssignFromBitmap(&smooth);
    editor->SetFileName(u"picture.png");
    editor->btnResizeClick(nullptr);
    TypeSize(editor->newWidth, "100");
    editor->Button4Click(nullptr);
    EXPECT_FALSE(editor->resizeLayout->Visible());
    ASSERT_EQ(editor->Picture()->Width(), 100);
    ASSERT_EQ(editor->Picture()->Height(), 50);
    EXPECT_EQ(editor->FileName(), UnicodeString(u"picture.png"));
    const std::string mine = folder / "mine.png", expected = folder / "pillow.png";
    ASSERT_TRUE(editor->SavePicture(UnicodeString::FromUtf8(mine)));
    ASSERT_EQ(Oracle("resize '" + source + "' 100 50 '" + expected + "'"), 0);
    EXPECT_EQ(Oracle("compare '" + mine + "' '" + expected + "' 8"), 0);
}

TEST_F(BitmapEditor, ClearLeavesOnePixelAndOk) {
    auto picture = Pattern(200, 100);
    editor->AssignFromBitmap(picture.get());
    editor->cropButtonClick(nullptr);
    editor->Button3Click(nullptr);
    EXPECT_EQ(editor->Picture()->Width(), 1);
    EXPECT_EQ(editor->Picture()->Height(), 1);
    EXPECT_EQ(editor->CropRect(), nullptr);
    EXPECT_FLOAT_EQ(editor->Scale(), 1);
    EXPECT_FALSE(editor->editControl->Enabled());
    EXPECT_TRUE(editor->btnOk->Enabled());
    EXPECT_EQ(editor->btnOk->ModalResult(), mrOk);
}

TEST_F(BitmapEditor, SavedFilesReadBackInPillow) {
    auto picture = Pattern(64, 48);
    const std::string reference = folder / "reference.png";
    ASSERT_TRUE(picture->SaveToFile(UnicodeString::FromUtf8(reference)));
    ASSERT_TRUE(editor->LoadPicture(UnicodeString::FromUtf8(reference)));
    EXPECT_EQ(editor->FileName(), UnicodeString::FromUtf8(reference));
    EXPECT_TRUE(editor->editControl->Enabled());
    // PNG and BMP keep every pixel; JPEG is close.
    for (const auto& [name, tolerance] :
         {std::pair<std::string, int>{"out.png", 0}, {"out.bmp", 0}, {"out.jpeg", 40}}) {
        const std::string file = folder / name;
        ASSERT_TRUE(editor->SavePicture(UnicodeString::FromUtf8(file))) << name;
        EXPECT_EQ(Oracle("compare '" + file + "' '" + reference + "' " + std::to_string(tolerance)),
                  0)
            << name;
    }
    EXPECT_FALSE(editor->LoadPicture(UnicodeString::FromUtf8(folder / "missing.png")));
}

TEST_F(BitmapEditor, TheEditEntryCopiesBackOnlyOnOk) {
    auto picture = Pattern(200, 100);
    TsgBitmap edited(1, 1);
    edited.Assign(picture.get());
    sgDesignShowModal() = [](TForm& form) {
        auto& e = dynamic_cast<TsgBitmapEditor&>(form);
        EXPECT_EQ(sgBitmapEditor, &e);
        e.cropButtonClick(nullptr);
        return mrOk;
    };
    EXPECT_TRUE(sgEditBitmap(&edited));
    EXPECT_NEAR(edited.Width(), 160, 1);
    sgDesignShowModal() = [](TForm& form) {
        dynamic_cast<TsgBitmapEditor&>(form).Button3Click(nullptr);
        return mrCancel;
    };
    EXPECT_FALSE(sgEditBitmap(&edited));
    EXPECT_NEAR(edited.Width(), 160, 1);
    EXPECT_EQ(sgBitmapEditor, nullptr);
}

// The editor's Paste takes the picture an owner thread holds on the clipboard of a private Xvfb
// display (the scene itself stays on the offscreen driver).
class BitmapEditorPaste : public BitmapEditor {
protected:
    static void SetUpTestSuite() { server = new testsupport::XvfbServer(); }
    static void TearDownTestSuite() {
        delete server;
        server = nullptr;
    }
    void SetUp() override {
        BitmapEditor::SetUp();
        if (server->Name().empty())
            GTEST_SKIP() << "Xvfb cannot be started here";
        display.emplace("DISPLAY", server->Name());
    }
    void TearDown() override {
        owner.reset();
        BitmapEditor::TearDown();
    }
    void Hold(std::vector<testsupport::ClipboardOwner::Offer> offers) {
        owner = std::make_unique<testsupport::ClipboardOwner>(server->Name(), std::move(offers));
        ASSERT_TRUE(owner->Holding());
    }
    std::string Png(TsgBitmap& picture) {
        const std::string file = folder / "clipboard.png";
        EXPECT_TRUE(picture.SaveToFile(UnicodeString::FromUtf8(file)));
        return testsupport::ReadFile(file);
    }
    static bool SamePixels(const TsgBitmap& a, const TsgBitmap& b) {
        if (a.Width() != b.Width() || a.Height() != b.Height())
            return false;
        for (int y = 0; y < a.Height(); ++y)
            if (!std::equal(a.Scanline(y), a.Scanline(y) + a.Width(), b.Scanline(y)))
                return false;
        return true;
    }

    static testsupport::XvfbServer* server;
    std::optional<testsupport::ScopedEnv> display;
    std::unique_ptr<testsupport::ClipboardOwner> owner;
};

testsupport::XvfbServer* BitmapEditorPaste::server = nullptr;

TEST_F(BitmapEditorPaste, PasteTakesTheClipboardsPictureAsLoadDoes) {
    // The button is there for the handler, but hidden.
    EXPECT_FALSE(editor->btnPaste->Visible());
    auto copied = Pattern(120, 80);
    Hold({{"UTF8_STRING", "not this"}, {"image/png", Png(*copied)}});
    editor->SetFileName(u"earlier.png");
    editor->trackScale->SetValue(2);
    editor->btnPasteClick(nullptr);
    EXPECT_TRUE(SamePixels(*editor->Picture(), *copied));
    EXPECT_FLOAT_EQ(editor->Preview->Width(), 240);
    EXPECT_FLOAT_EQ(editor->Preview->Height(), 160);
    EXPECT_TRUE(editor->editControl->Enabled());
    EXPECT_TRUE(editor->btnOk->Enabled());
    EXPECT_EQ(editor->FileName(), UnicodeString(u"earlier.png"));
    TsgBitmap out(1, 1);
    editor->AssignToBitmap(&out);
    EXPECT_TRUE(SamePixels(out, *copied));
}

TEST_F(BitmapEditorPaste, AClipboardWithoutAReadablePictureLeavesTheEditorAsItWas) {
    const std::vector<std::pair<const char*, std::vector<testsupport::ClipboardOwner::Offer>>>
        cases{
            {"nobody holds it", {}},
            {"text only", {{"UTF8_STRING", "a picture"}}},
            {"garbage as PNG", {{"image/png", "\x89PNG\r\n\x1a\nno chunks here at all"}}},
            {"garbage as BMP", {{"image/bmp", "BM garbage"}}},
        };
    auto picture = Pattern(200, 100);
    for (bool withPicture : {false, true}) {
        if (withPicture)
            editor->AssignFromBitmap(picture.get());
        TsgBitmap before(1, 1);
        before.Assign(editor->Picture());
        for (const auto& [what, offers] : cases) {
            SCOPED_TRACE(std::string(what) + (withPicture ? " over a picture" : ""));
            if (!offers.empty())
                Hold(offers);
            editor->btnPasteClick(nullptr);
            EXPECT_TRUE(SamePixels(*editor->Picture(), before));
            EXPECT_EQ(editor->editControl->Enabled(), withPicture);
            EXPECT_EQ(editor->btnOk->Enabled(), withPicture);
            EXPECT_FLOAT_EQ(editor->Preview->Width(), float(before.Width()));
            owner.reset();
        }
    }
}

} // namespace
